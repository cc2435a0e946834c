// Speed of the advanced search: a full pass over the Japanese dictionary with
// one field cut per line. On a generated dictionary of the largest size the
// program takes (32767 lines), or, with KIRVALE_BENCH_DIR set to a folder
// holding a plain "multilingual.dic", on that one.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dictionary/advanced_search.h"

using namespace kirvale::dictionary;

namespace {

const DictionaryReader& japanese() {
  static const DictionaryReader reader = [] {
    DictionaryReader r;
    if (const char* dir = std::getenv("KIRVALE_BENCH_DIR")) {
      r.Bind(std::string(dir) + "/multilingual.dic");
      return r;
    }
    static const char* kana[] = {"あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し"};
    static const char* senses[] = {"(n) word", "(v5k,vi) to walk about", "(adj-i) blue/green/pale",
                                   "(n,vs) study/learning", "(n) category/classification"};
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < kMaxLines; ++i) {
      std::string reading;
      for (std::size_t k = i; k; k /= 12) reading += kana[k % 12];
      lines.push_back("語" + reading + " [" + reading + "] /" + senses[i % 5] + " " + std::to_string(i) +
                      "//词语" + std::to_string(i) + "；单词/");
    }
    r.BindLines(std::move(lines));
    return r;
  }();
  return reader;
}

void Run(benchmark::State& state, const char* text, SearchField field) {
  const DictionaryReader& r = japanese();
  std::size_t matches = 0;
  for (auto _ : state) {
    auto result = AdvancedSearch(r, text, field);
    matches = result ? result->count() : 0;
    benchmark::DoNotOptimize(result);
  }
  state.counters["lines"] = static_cast<double>(r.size());
  state.counters["matches"] = static_cast<double>(matches);
}

// Common English text: many matches.
void AdvancedSearchEnglishCat(benchmark::State& state) { Run(state, "cat", SearchField::English); }
BENCHMARK(AdvancedSearchEnglishCat)->Unit(benchmark::kMillisecond);

// The whole line, a text no line holds: the longest texts searched, no match.
void AdvancedSearchWholeLineMiss(benchmark::State& state) { Run(state, "存在しない", SearchField::WholeLine); }
BENCHMARK(AdvancedSearchWholeLineMiss)->Unit(benchmark::kMillisecond);

// The whole line, one byte that nearly every line holds: the most matches.
void AdvancedSearchWholeLineEveryLine(benchmark::State& state) { Run(state, "/", SearchField::WholeLine); }
BENCHMARK(AdvancedSearchWholeLineEveryLine)->Unit(benchmark::kMillisecond);

void AdvancedSearchKana(benchmark::State& state) { Run(state, "か", SearchField::Kana); }
BENCHMARK(AdvancedSearchKana)->Unit(benchmark::kMillisecond);

void AdvancedSearchChinese(benchmark::State& state) { Run(state, "词", SearchField::Chinese); }
BENCHMARK(AdvancedSearchChinese)->Unit(benchmark::kMillisecond);

}  // namespace
