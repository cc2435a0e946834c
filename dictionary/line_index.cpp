#include "dictionary/line_index.h"

#include <algorithm>
#include <array>

namespace kirvale::dictionary {
namespace {

constexpr auto npos = std::string_view::npos;

unsigned char fold(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

std::string_view trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

// Keys are views into their line (callers take positions from them), so an
// empty key is the line's first zero characters.
std::string_view beforeComma(std::string_view line) {
  const std::size_t comma = line.find(',');
  return line.substr(0, comma == npos ? 0 : comma);
}

bool foldedKind(IndexKey kind) {
  return kind == IndexKey::EnglishHeadFolded || kind == IndexKey::HeadBeforeCommaFolded ||
         kind == IndexKey::HeadBeforeCommaFoldedNoSpace;
}

// Kinds whose empty keys are not entries: a line without the mark never
// matches a non-empty query.
bool dropsEmpty(IndexKey kind) {
  return kind == IndexKey::HeadBeforeSpace || kind == IndexKey::HeadBeforeComma ||
         kind == IndexKey::HeadBeforeCommaFolded || kind == IndexKey::HeadBeforeCommaFoldedNoSpace;
}

}  // namespace

std::string_view HeadBeforeSpace(std::string_view line) {
  const std::size_t space = line.find(' ');
  return space == npos ? std::string_view() : line.substr(0, space);
}

std::string_view HeadBeforeComma(std::string_view line) {
  const std::size_t comma = line.find(',');
  return comma == npos ? std::string_view() : line.substr(0, comma);
}

std::string_view KeyOf(IndexKey kind, std::string_view line) {
  switch (kind) {
    case IndexKey::JapaneseItem: {
      std::size_t cut = line.find('[');
      if (cut == npos) cut = line.find('/');
      // A line without either mark has no head word.
      if (cut == npos) return line.substr(0, 0);
      return trimmed(line.substr(0, cut));
    }
    case IndexKey::EnglishItem:
      return trimmed(beforeComma(line));
    case IndexKey::EnglishHead:
    case IndexKey::EnglishHeadFolded:
      return beforeComma(line);
    case IndexKey::HeadBeforeSpace:
      return HeadBeforeSpace(line);
    case IndexKey::HeadBeforeComma:
    case IndexKey::HeadBeforeCommaFolded:
      return HeadBeforeComma(line);
    case IndexKey::HeadBeforeCommaFoldedNoSpace: {
      const std::string_view head = HeadBeforeComma(line);
      return head.find(' ') == npos ? head : std::string_view();
    }
    case IndexKey::Count:
      break;
  }
  return {};
}

int CompareFolded(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = fold(a[i]), y = fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

LineIndex::LineIndex(const LineStore& lines, IndexKey kind)
    : lines_(&lines), folded_(foldedKind(kind)), rank_(lines.size(), -1) {
  const bool dropEmpty = dropsEmpty(kind);
  entries_.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const std::string_view k = KeyOf(kind, line);
    if (dropEmpty && k.empty()) continue;
    entries_.push_back({static_cast<std::int32_t>(i), static_cast<std::uint32_t>(k.data() - line.data()),
                        static_cast<std::uint32_t>(k.size())});
  }
  std::stable_sort(entries_.begin(), entries_.end(),
                   [this](const Entry& a, const Entry& b) { return compare(key(a), key(b)) < 0; });
  for (std::size_t e = 0; e < entries_.size(); ++e) rank_[static_cast<std::size_t>(entries_[e].line)] = static_cast<int>(e);

  leaves_ = 1;
  while (leaves_ < entries_.size()) leaves_ *= 2;
  tree_.assign(2 * leaves_, INT32_MAX);
  for (std::size_t e = 0; e < entries_.size(); ++e) tree_[leaves_ + e] = entries_[e].line;
  for (std::size_t n = leaves_ - 1; n > 0; --n) tree_[n] = std::min(tree_[2 * n], tree_[2 * n + 1]);
}

int LineIndex::compare(std::string_view a, std::string_view b) const {
  if (folded_) return CompareFolded(a, b);
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::pair<int, int> LineIndex::Equal(std::string_view k) const {
  auto lo = std::partition_point(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return compare(key(e), k) < 0; });
  auto hi = std::partition_point(lo, entries_.end(), [&](const Entry& e) { return compare(key(e), k) == 0; });
  return {static_cast<int>(lo - entries_.begin()), static_cast<int>(hi - entries_.begin())};
}

std::pair<int, int> LineIndex::Prefix(std::string_view prefix) const {
  auto lo = std::partition_point(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return key(e).compare(prefix) < 0; });
  auto hi = std::partition_point(lo, entries_.end(), [&](const Entry& e) { return key(e).starts_with(prefix); });
  return {static_cast<int>(lo - entries_.begin()), static_cast<int>(hi - entries_.begin())};
}

int LineIndex::UpperBound(std::string_view k) const {
  auto it = std::partition_point(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return compare(key(e), k) <= 0; });
  return static_cast<int>(it - entries_.begin());
}

int LineIndex::FirstLine(int from, int to) const {
  std::int32_t best = INT32_MAX;
  for (std::size_t l = leaves_ + static_cast<std::size_t>(from), r = leaves_ + static_cast<std::size_t>(to); l < r;
       l /= 2, r /= 2) {
    if (l & 1) best = std::min(best, tree_[l++]);
    if (r & 1) best = std::min(best, tree_[--r]);
  }
  return best == INT32_MAX ? -1 : best;
}

int LineIndex::FirstLineExcept(int from, int to, std::span<const int> skip) const {
  // The skipped lines cut [from, to) into pieces; the answer is the smallest
  // of their minima. Callers skip a handful of lines: no allocation for up
  // to eight.
  std::array<int, 8> small{};
  std::vector<int> large;
  int* cuts = small.data();
  if (skip.size() > small.size()) {
    large.resize(skip.size());
    cuts = large.data();
  }
  std::size_t count = 0;
  for (int line : skip) {
    if (line < 0 || static_cast<std::size_t>(line) >= rank_.size()) continue;
    const int e = rank_[static_cast<std::size_t>(line)];
    if (e >= from && e < to) cuts[count++] = e;
  }
  std::sort(cuts, cuts + count);
  int best = -1;
  int start = from;
  for (std::size_t i = 0; i <= count; ++i) {
    const int cut = i < count ? cuts[i] : to;
    if (cut > start) {
      const int first = FirstLine(start, cut);
      if (first >= 0 && (best < 0 || first < best)) best = first;
    }
    start = std::max(start, cut + 1);
  }
  return best;
}

}  // namespace kirvale::dictionary
