#include "tools/cli/search_cmd.h"

#include <charconv>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "crypto/aes.h"
#include "dictionary/advanced_search.h"
#include "text/codec.h"

namespace kirvale::cli {
namespace {

int usage() {
  std::cerr << "usage: kirvale-cli search [--dir PROGRAM_FOLDER] --field N TEXT\n"
               "  N: 0 head word, 1 kana, 2 Chinese, 3 English, 4 the whole line\n";
  return 2;
}

bool parseField(const std::string& s, int& field) {
  const char* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, field);
  return ec == std::errc() && p == end && field >= 0 && field < dictionary::kSearchFieldCount;
}

}  // namespace

int SearchCommand(int argc, char** argv) {
  std::string folder = ".";
  int field = -1;
  bool haveText = false;
  std::string text;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--dir" && i + 1 < argc) {
      folder = argv[++i];
    } else if (a == "--field" && i + 1 < argc) {
      if (!parseField(argv[++i], field)) return usage();
    } else if (!haveText && a != "--dir" && a != "--field") {
      text = a;
      haveText = true;
    } else {
      return usage();
    }
  }
  if (field < 0 || !haveText || text::trim(text).empty()) return usage();

  const std::string source = folder + "/multilingual.dic";
  dictionary::DictionaryReader reader;
  try {
    reader.BindGbk(crypto::DecryptContainerToBytes(source, crypto::kDictionaryPassphrase));
  } catch (const std::exception& e) {
    std::cerr << source << ": " << e.what() << "\n";
    return 2;
  }
  const auto result = dictionary::AdvancedSearch(reader, text, static_cast<dictionary::SearchField>(field));
  if (!result) return usage();
  for (const std::string& head : result->headWords) std::cout << head << "\n";
  return result->count() > 0 ? 0 : 1;
}

}  // namespace kirvale::cli
