// Sorted indexes over a bound dictionary's lines.
//
// Each index sorts the lines by one key cut from the line (a head word in
// one of its forms), ties kept in file order, and keeps a tree of the
// smallest line number per range. So "the first line in file order whose key
// equals / begins with X" is two binary searches and a range minimum instead
// of a pass over the file, and it gives the same line the pass would.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dictionary/line_store.h"

namespace kirvale::dictionary {

// The keys an index can be built on. Lines for which a key is empty are
// left out of the indexes marked so.
enum class IndexKey {
  JapaneseItem,       // the Japanese list item (text before "[" or "/", trimmed)
  EnglishItem,        // the English list item (text before ",", trimmed)
  EnglishHead,        // text before "," (empty without one)
  EnglishHeadFolded,  // the same, ASCII letters compared without case
  HeadBeforeSpace,    // text before the first space; lines without one left out
  HeadBeforeComma,    // text before the first ","; lines without one left out
  HeadBeforeCommaFolded,
  HeadBeforeCommaFoldedNoSpace,  // the same, only head words without a space
  Count
};

// The key of a line; a view into `line`. Empty when the line has none.
std::string_view KeyOf(IndexKey kind, std::string_view line);

// Text before the first space / the first ","; empty when there is none.
std::string_view HeadBeforeSpace(std::string_view line);
std::string_view HeadBeforeComma(std::string_view line);

// Byte-wise order of the ASCII-lower-case forms (negative, 0, positive).
int CompareFolded(std::string_view a, std::string_view b);

class LineIndex {
 public:
  // `lines` must outlive the index and stay unchanged.
  LineIndex(const LineStore& lines, IndexKey kind);

  // Entries [first, last) whose key equals `key` (without case in a folded
  // index), in file order.
  std::pair<int, int> Equal(std::string_view key) const;
  // Entries [first, last) whose key begins with `prefix` (case significant;
  // unfolded indexes only).
  std::pair<int, int> Prefix(std::string_view prefix) const;
  // The first entry whose key sorts after `key`.
  int UpperBound(std::string_view key) const;

  int size() const { return static_cast<int>(entries_.size()); }
  int LineAt(int entry) const { return entries_[static_cast<std::size_t>(entry)].line; }
  // The smallest line number among entries [from, to), or -1.
  int FirstLine(int from, int to) const;
  // The same, leaving out the lines in `skip`.
  int FirstLineExcept(int from, int to, std::span<const int> skip) const;

 private:
  struct Entry {
    std::int32_t line;
    std::uint32_t offset;
    std::uint32_t length;
  };
  std::string_view key(const Entry& e) const {
    return (*lines_)[static_cast<std::size_t>(e.line)].substr(e.offset, e.length);
  }
  int compare(std::string_view a, std::string_view b) const;

  const LineStore* lines_;
  bool folded_;
  std::vector<Entry> entries_;
  std::vector<int> rank_;  // entry of each line, -1 when left out
  std::size_t leaves_ = 0;
  std::vector<std::int32_t> tree_;  // minimum line per node, leaves at [leaves_, 2 * leaves_)
};

}  // namespace kirvale::dictionary
