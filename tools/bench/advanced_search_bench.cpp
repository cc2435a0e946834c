// Speed of the advanced search: a full pass over the Japanese dictionary with
// one field cut per line, on the dictionaries of bench_data.h.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dictionary/advanced_search.h"
#include "tools/bench/bench_data.h"

using namespace kirvale::dictionary;

namespace {

const DictionaryReader& japanese() {
  static const DictionaryReader reader = [] {
    DictionaryReader r;
    kirvale::bench::BindBenchReader(r, false);
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
