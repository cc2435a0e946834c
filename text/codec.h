// GBK text on disk, UTF-8 inside the program.
//
// Every file the program reads or writes goes through these functions. They
// use glibc iconv with GB18030, the superset of GBK: all GBK byte sequences
// decode the same, and a character GBK cannot hold is still written without
// loss. Rules that count GBK bytes ask gbkLength / fitsGbk.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::text {

// Decodes GBK/GB18030 bytes to UTF-8. A byte sequence that is not valid
// GB18030 is decoded as U+FFFD per bad byte, so that nothing is ever dropped
// silently and every line still yields text.
std::string gbkToUtf8(std::string_view gbk);
// The same, appended to `out`.
void appendGbkAsUtf8(std::string_view gbk, std::string& out);

// Decodes bytes in any iconv character set to UTF-8, each byte that does
// not decode becoming U+FFFD. An unknown character set leaves the bytes as
// they are.
std::string decodeToUtf8(std::string_view bytes, const char* charset);

// Encodes UTF-8 to GB18030 bytes (GBK for every character GBK holds).
// Invalid UTF-8 bytes are encoded as "?".
std::string utf8ToGbk(std::string_view utf8);

// Number of bytes the text takes in GB18030 (GBK for GBK characters: a
// Chinese or Japanese character counts 2, ASCII 1).
std::size_t gbkLength(std::string_view utf8);

// True when every character of the UTF-8 text has a GBK (code page 936) form.
bool fitsGbk(std::string_view utf8);

// Characters 0..32 removed at both ends.
std::string trim(std::string_view s);
// The text a search looks up: each run of line breaks inside it becomes one
// blank, and codes 0..32 and ideographic spaces (U+3000) are removed at both
// ends.
std::string searchText(std::string_view s);
// ASCII A-Z mapped to a-z; every other byte unchanged.
std::string asciiLower(std::string_view s);
// ASCII case-insensitive equality (the list box's own comparison).
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Splits a file's bytes into lines. CR LF, LF and a lone CR all end a line;
// a final line without a line break is still a line; a trailing line break
// does not make an extra empty line.
std::vector<std::string> splitLines(std::string_view bytes);

// Reads a GBK text file into UTF-8 lines. Returns false when the file cannot
// be opened.
bool readGbkLines(const std::string& path, std::vector<std::string>& lines);
// GBK text in memory, decoded line by line: each line goes to `take` in
// order until it returns false.
void forEachGbkLine(std::string_view gbk, const std::function<bool(std::string_view)>& take);

// Writes UTF-8 lines as a GBK text file, each line ended by CR LF, through a
// temporary file in the same folder renamed over the old one. Returns false
// (and leaves the old file untouched) when the file cannot be written.
bool writeGbkLinesAtomically(const std::string& path, const std::vector<std::string>& lines);

// Writes bytes to a file through a temporary file in the same folder, synced
// to the disk and renamed over the old one. The file keeps the old file's
// permissions; `mode` (e.g. 0600) sets them instead. Returns false with errno
// set, leaving the old file untouched, when the file cannot be written.
bool writeFileAtomically(const std::string& path, std::string_view bytes, int mode = -1);

// The text of a system error number ("input/output error" for 0).
std::string systemError(int err);

// How writing one of the user's list files went.
struct ListSave {
  bool ok = true;
  std::string error;
};

// Writes one of the user's list files: when `keepOriginalAs` is named, the
// file as it is now is first renamed to it; an empty list deletes the file;
// otherwise the lines are written as writeGbkLinesAtomically writes them.
ListSave SaveListFile(const std::string& path, const std::vector<std::string>& lines,
                      const std::string& keepOriginalAs = {});

// Reads a whole file. Returns false when it cannot be opened.
bool readFile(const std::string& path, std::string& bytes);
// The same, telling a file that is not there from one that cannot be read;
// `err` gets the errno of a failure.
enum class FileRead { Ok, Missing, Failed };
FileRead readFileReporting(const std::string& path, std::string& bytes, int& err);

}  // namespace kirvale::text
