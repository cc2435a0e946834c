// Speed of the capture pop-up's look-up, from a captured text to the
// visible lines, on dictionaries of the largest size the program takes
// (32767 lines each), generated here; or, with KIRVALE_BENCH_DIR set to a
// folder holding plain "multilingual.dic" and "english.dic", on those.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "capture/capture_lookup.h"
#include "tools/bench/bench_data.h"

using namespace kirvale;
using namespace kirvale::capture;

namespace {

struct Data {
  dictionary::DictionaryReader japanese, english;
  dictionary::SuffixTable table;
  bool real = false;

  Data() {
    if (const char* dir = std::getenv("KIRVALE_BENCH_DIR")) {
      real = japanese.Bind(std::string(dir) + "/multilingual.dic") && english.Bind(std::string(dir) + "/english.dic");
    }
    if (!real) {
      std::vector<std::string> jp, en;
      for (std::size_t i = 0; i < dictionary::kMaxLines; ++i) {
        jp.push_back("語" + bench::KanaOf(i) + " [" + bench::KanaOf(i) + "] /(n) word number " + std::to_string(i) +
                     "/another sense//词语" + std::to_string(i) + "；词/");
        en.push_back("word" + std::to_string(i) + ",词语" + std::to_string(i) + "；单词");
      }
      japanese.BindLines(jp);
      english.BindLines(en);
    }
  }
};

const Data& data() {
  static const Data d;
  return d;
}

void run(benchmark::State& state, const char* text) {
  const Data& d = data();
  LookupOptions options;
  for (auto _ : state) benchmark::DoNotOptimize(LookUp(text, d.japanese, d.english, d.table, options));
  state.SetLabel(d.real ? "real dictionaries" : "generated 32767 lines");
}

// No line begins with any candidate: the Japanese scan reads every line.
void CaptureJapaneseMiss(benchmark::State& state) { run(state, "鑿鑿鑿鑿鑿"); }
BENCHMARK(CaptureJapaneseMiss)->Unit(benchmark::kMicrosecond);

// A common first character: the scan stops once the five candidates have lines.
void CaptureJapaneseCommon(benchmark::State& state) { run(state, "日本語を話す"); }
BENCHMARK(CaptureJapaneseCommon)->Unit(benchmark::kMicrosecond);

// "walking" is not in the list: the English scan reads the whole file.
void CaptureEnglishFullScan(benchmark::State& state) { run(state, "Walking,"); }
BENCHMARK(CaptureEnglishFullScan)->Unit(benchmark::kMicrosecond);

void CaptureEnglishHit(benchmark::State& state) { run(state, "the"); }
BENCHMARK(CaptureEnglishHit)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
