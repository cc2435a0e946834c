#include "dictionary/english_candidates.h"

#include "text/codec.h"

namespace kirvale::dictionary {

SuffixTable::SuffixTable()
    : suffixes_{{{"es", true},
                 {"ed", true},
                 {"ing", true},
                 {"able", true},
                 {"ly", true},
                 {"y", true},
                 {"or", true},
                 {"er", true},
                 {"ize", true},
                 {"est", true},
                 {"fly", false},
                 {"ness", false},
                 {"less", false},
                 {"s", false},
                 {"ful", false},
                 {"ment", false}}} {}

std::vector<std::string> CandidateForms(std::string_view query, const SuffixTable& table) {
  std::vector<std::string> out{std::string(query)};
  std::string working(query);
  const std::string lower = text::asciiLower(query);
  if (lower != query) {
    out.push_back(lower);
    working = lower;
  }
  for (const Suffix& s : table.suffixes()) {
    const std::string_view suffix(s.text);
    if (suffix.size() > working.size() || !std::string_view(working).ends_with(suffix)) continue;
    std::string stem = working.substr(0, working.size() - suffix.size());
    out.push_back(stem);
    if (s.stemPlusE) out.push_back(stem + "e");
    break;
  }
  return out;
}

}  // namespace kirvale::dictionary
