// The appendix file "appendix.app": its six sections
// generated from the built dictionary and the sources (internal).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/dictbuild/dictbuild.h"

namespace kirvale::dictbuild {

// One entry of the built "multilingual.dic", as the appendix needs it.
struct AppendixEntry {
  std::string head, kana;
  std::vector<std::string> glosses;  // as written (tags included)
  std::string chinese;               // the Chinese explanation; empty when none
  std::int64_t frequency = 0;        // how common its first Chinese word is
  bool headWordAgrees = false;       // the Chinese came from the head word itself ((a) or (b))
};

// The appendix lines (UTF-8, GBK characters only), in dictionary order of
// `entries`. Counts skipped lines and cities in `counts`.
std::vector<std::string> BuildAppendix(const std::vector<AppendixEntry>& entries, const Inputs& in,
                                       const GbkChecker& gbk, Counts& counts);

}  // namespace kirvale::dictbuild
