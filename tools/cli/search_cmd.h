// kirvale-cli search [--dir FOLDER] --field N TEXT
#pragma once

namespace kirvale::cli {

// The advanced search over the program folder's Japanese dictionary: prints
// the matching head words in file order, one per line. Exit 0 when at least
// one line matches, 1 when none does, 2 on bad usage or unreadable files.
// argv[1] is "search".
int SearchCommand(int argc, char** argv);

}  // namespace kirvale::cli
