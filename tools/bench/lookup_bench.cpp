// Speed of the look-ups a user waits for, on the dictionaries of
// bench_data.h: the main search (Japanese head word, English with its
// candidates), list tracking per keystroke, the capture pop-up's look-up,
// the command line's search in the file's bytes, and what binding a reader
// costs at start-up. The passes over the file that the indexes replaced run
// beside them for comparison.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "capture/capture_lookup.h"
#include "dictionary/lookup.h"
#include "dictionary/plain_search.h"
#include "tools/bench/bench_data.h"

using namespace kirvale::dictionary;
namespace capture = kirvale::capture;

namespace {

struct Data {
  DictionaryReader japanese, english;
  std::string japaneseBytes, englishBytes;
  // Words that are there: every 97th head word of each dictionary.
  std::vector<std::string> japaneseWords, englishWords;
  // Typed text, one keystroke at a time: every prefix of the words.
  std::vector<std::string> japanesePrefixes;
  std::vector<std::string> japaneseItems;

  Data() {
    kirvale::bench::BindBenchReader(japanese, false);
    kirvale::bench::BindBenchReader(english, true);
    japaneseBytes = kirvale::bench::DictionaryBytes("multilingual.dic");
    englishBytes = kirvale::bench::DictionaryBytes("english.dic");
    if (japaneseBytes.empty()) japaneseBytes = kirvale::text::utf8ToGbk(join(japanese.lines()));
    if (englishBytes.empty()) englishBytes = kirvale::text::utf8ToGbk(join(english.lines()));
    for (std::size_t i = 0; i < japanese.size(); i += 97) {
      const std::string w = JapaneseListItem(japanese.line(i));
      if (w.empty()) continue;
      japaneseWords.push_back(w);
      for (std::size_t n = 1; n <= w.size(); ++n)
        if (n == w.size() || (static_cast<unsigned char>(w[n]) & 0xC0) != 0x80) japanesePrefixes.push_back(w.substr(0, n));
    }
    for (std::size_t i = 0; i < english.size(); i += 97) {
      const std::string w = EnglishListItem(english.line(i));
      if (!w.empty() && ModeOf(w) == Mode::English) englishWords.push_back(w + (i % 2 ? "ing" : ""));
    }
    japaneseItems = JapaneseListItems(japanese);
    // Build the indexes before timing.
    SearchJapanese(japanese, "x", nullptr);
    SearchEnglish(english, "x", SuffixTable());
    TrackJapaneseList(japanese, "x");
    capture::LookUp("x", japanese, english, SuffixTable(), {});
    capture::LookUp("日", japanese, english, SuffixTable(), {});
  }
  static std::string join(const LineStore& lines) {
    std::string s;
    for (const std::string_view l : lines) (s += l) += "\r\n";
    return s;
  }
};

const Data& data() {
  static const Data d;
  return d;
}

template <typename F>
void Cycle(benchmark::State& state, const std::vector<std::string>& words, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(words[i]));
    if (++i == words.size()) i = 0;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// ---------------------------------------------------------------- main search, indexed

void JapaneseLookup(benchmark::State& state) {
  const Data& d = data();
  Cycle(state, d.japaneseWords, [&](const std::string& w) { return SearchJapanese(d.japanese, w, nullptr); });
}
BENCHMARK(JapaneseLookup)->Unit(benchmark::kMicrosecond);

void JapaneseLookupMiss(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(SearchJapanese(d.japanese, "存在しない言葉", nullptr));
}
BENCHMARK(JapaneseLookupMiss)->Unit(benchmark::kMicrosecond);

void EnglishLookup(benchmark::State& state) {
  const Data& d = data();
  const SuffixTable table;
  Cycle(state, d.englishWords, [&](const std::string& w) { return SearchEnglish(d.english, w, table); });
}
BENCHMARK(EnglishLookup)->Unit(benchmark::kMicrosecond);

// One keystroke: the typed text grows by one character.
void ListTrackingOneKeystroke(benchmark::State& state) {
  const Data& d = data();
  Cycle(state, d.japanesePrefixes, [&](const std::string& p) { return TrackJapaneseList(d.japanese, p); });
}
BENCHMARK(ListTrackingOneKeystroke)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- capture pop-up

void CaptureLookUpJapanese(benchmark::State& state) {
  const Data& d = data();
  const SuffixTable table;
  Cycle(state, d.japaneseWords,
        [&](const std::string& w) { return capture::LookUp(w, d.japanese, d.english, table, {}); });
}
BENCHMARK(CaptureLookUpJapanese)->Unit(benchmark::kMicrosecond);

void CaptureLookUpEnglish(benchmark::State& state) {
  const Data& d = data();
  const SuffixTable table;
  Cycle(state, d.englishWords,
        [&](const std::string& w) { return capture::LookUp(w, d.japanese, d.english, table, {}); });
}
BENCHMARK(CaptureLookUpEnglish)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- the passes the indexes replaced

void JapaneseLookupScan(benchmark::State& state) {
  const Data& d = data();
  Cycle(state, d.japaneseWords, [&](const std::string& w) { return ScanJapaneseLine(d.japanese, w); });
}
BENCHMARK(JapaneseLookupScan)->Unit(benchmark::kMicrosecond);

void EnglishLookupScan(benchmark::State& state) {
  const Data& d = data();
  const SuffixTable table;
  Cycle(state, d.englishWords,
        [&](const std::string& w) { return ScanEnglishLine(d.english, CandidateForms(w, table)); });
}
BENCHMARK(EnglishLookupScan)->Unit(benchmark::kMicrosecond);

void ListTrackingScan(benchmark::State& state) {
  const Data& d = data();
  Cycle(state, d.japanesePrefixes, [&](const std::string& p) { return TrackList(d.japaneseItems, p); });
}
BENCHMARK(ListTrackingScan)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- command line: one look-up in the bytes

void CommandLineJapaneseSearch(benchmark::State& state) {
  const Data& d = data();
  Cycle(state, d.japaneseWords, [&](const std::string& w) { return FindJapaneseLineInBytes(d.japaneseBytes, w); });
}
BENCHMARK(CommandLineJapaneseSearch)->Unit(benchmark::kMicrosecond);

void CommandLineEnglishSearch(benchmark::State& state) {
  const Data& d = data();
  const SuffixTable table;
  Cycle(state, d.englishWords,
        [&](const std::string& w) { return FindEnglishLineInBytes(d.englishBytes, CandidateForms(w, table)); });
}
BENCHMARK(CommandLineEnglishSearch)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- start-up

// Decoding both files and binding them, as the main window does.
void StartupBind(benchmark::State& state) {
  const Data& d = data();
  // The plain copies as start-up binds them: read, decoded and split.
  static const std::string folder = [] {
    char name[] = "/tmp/kirvale-bench-XXXXXX";
    return std::string(::mkdtemp(name));
  }();
  static const bool written = kirvale::text::writeFileAtomically(folder + "/j", d.japaneseBytes, 0600) &&
                              kirvale::text::writeFileAtomically(folder + "/e", d.englishBytes, 0600);
  if (!written) state.SkipWithError("cannot write the plain copies");
  for (auto _ : state) {
    DictionaryReader j, e;
    j.Bind(folder + "/j");
    e.Bind(folder + "/e");
    benchmark::DoNotOptimize(j.size() + e.size());
  }
}
BENCHMARK(StartupBind)->Unit(benchmark::kMillisecond);

// Every index of both readers, built once (on first use).
void IndexBuild(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) {
    for (const DictionaryReader* source : {&d.japanese, &d.english}) {
      state.PauseTiming();
      DictionaryReader r;
      r.BindLines(std::vector<std::string>(source->lines().begin(), source->lines().end()));
      state.ResumeTiming();
      for (int k = 0; k < static_cast<int>(IndexKey::Count); ++k) benchmark::DoNotOptimize(&r.Index(static_cast<IndexKey>(k)));
    }
  }
}
BENCHMARK(IndexBuild)->Unit(benchmark::kMillisecond);


}  // namespace

BENCHMARK_MAIN();
