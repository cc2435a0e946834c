// The forms an English query is looked up under: the query as typed, its
// lower-case form, and the stem left by the first matching suffix (with an
// "e" added for the first ten suffixes).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::dictionary {

struct Suffix {
  const char* text;
  bool stemPlusE;  // the stem followed by "e" is a candidate too
};

class SuffixTable {
 public:
  SuffixTable();
  const std::array<Suffix, 16>& suffixes() const { return suffixes_; }

 private:
  std::array<Suffix, 16> suffixes_;
};

// One to four candidates, in the order they are compared.
std::vector<std::string> CandidateForms(std::string_view query, const SuffixTable& table);

}  // namespace kirvale::dictionary
