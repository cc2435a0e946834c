// Speed of the main search on dictionaries of the largest size the program
// takes (32767 lines each), generated here; or, with KIRVALE_BENCH_DIR set to
// a folder holding plain "multilingual.dic" and "english.dic", on those.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dictionary/lookup.h"

using namespace kirvale::dictionary;

namespace {

std::string kanaOf(std::size_t i) {
  static const char* kana[] = {"あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し", "す", "せ", "そ", "た"};
  std::string s;
  do {
    s += kana[i % 16];
    i /= 16;
  } while (i);
  return s;
}

struct Data {
  DictionaryReader japanese, english;
  std::string lastJapanese, lastEnglishStem;
  std::vector<std::string> japaneseItems;

  Data() {
    if (const char* dir = std::getenv("KIRVALE_BENCH_DIR")) {
      japanese.Bind(std::string(dir) + "/multilingual.dic");
      english.Bind(std::string(dir) + "/english.dic");
    } else {
      std::vector<std::string> jp, en;
      for (std::size_t i = 0; i < kMaxLines; ++i) {
        jp.push_back("語" + kanaOf(i) + " [" + kanaOf(i) + "] /(n) word number " + std::to_string(i) +
                     "/another sense//词语" + std::to_string(i) + "；词/");
        en.push_back("word" + std::to_string(i) + ",词语" + std::to_string(i) + "；单词");
      }
      japanese.BindLines(jp);
      english.BindLines(en);
    }
    lastJapanese = JapaneseListItem(japanese.lines().back());
    japaneseItems = JapaneseListItems(japanese);
  }
};

const Data& data() {
  static const Data d;
  return d;
}

void JapaneseSearchLastLine(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(SearchJapanese(d.japanese, d.lastJapanese, nullptr));
}
BENCHMARK(JapaneseSearchLastLine)->Unit(benchmark::kMillisecond);

void JapaneseSearchMiss(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(SearchJapanese(d.japanese, "存在しない言葉", nullptr));
}
BENCHMARK(JapaneseSearchMiss)->Unit(benchmark::kMillisecond);

// "walking" matches no line as typed, so the scan reads the whole file.
void EnglishSearchFullScan(benchmark::State& state) {
  const Data& d = data();
  const SuffixTable table;
  for (auto _ : state) benchmark::DoNotOptimize(SearchEnglish(d.english, "walking", table));
}
BENCHMARK(EnglishSearchFullScan)->Unit(benchmark::kMillisecond);

// One keystroke whose prefix only the last item has.
void ListTrackingOneKeystroke(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(TrackList(d.japaneseItems, d.lastJapanese));
}
BENCHMARK(ListTrackingOneKeystroke)->Unit(benchmark::kMicrosecond);

void StartupListFilling(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(JapaneseListItems(d.japanese));
    benchmark::DoNotOptimize(EnglishListItems(d.english));
  }
}
BENCHMARK(StartupListFilling)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
