// The indexed searches against the passes over the file they replace: on
// random dictionaries built to collide (shared prefixes, case variants,
// missing marks, empty lines, text outside GBK), on dictionaries shaped like
// the real ones, and on the built dictionaries themselves, every query must
// give the very same line.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "capture/capture_lookup.h"
#include "crypto/aes.h"
#include "dictionary/lookup.h"
#include "support/temp_dir.h"

namespace dictionary = kirvale::dictionary;
namespace capture = kirvale::capture;

namespace {

const dictionary::SuffixTable kTable;

// Pieces chosen so that random lines share head words and prefixes often.
const std::vector<std::string> kPieces = {"あ", "い", "日", "本", "a", "b", "A", "B", "e", "s", "ing", "ed",
                                          " ",  "[", "]",  "/",  ",", "//", "\xF0\x9F\x98\x80" /* not in GBK */,
                                          "한", "\t", "-", "'"};

struct Random {
  std::mt19937 gen;
  explicit Random(unsigned seed) : gen(seed) {}
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); }
  std::string word(int maxPieces) {
    std::string s;
    for (int n = below(maxPieces + 1); n > 0; --n) s += kPieces[static_cast<std::size_t>(below(static_cast<int>(kPieces.size())))];
    return s;
  }
  // A query drawn from the dictionary's own text (a whole head word, a
  // prefix of one, a case variant) or made up.
  std::string query(const std::vector<std::string>& lines) {
    if (lines.empty() || below(4) == 0) return word(4);
    const std::string& line = lines[static_cast<std::size_t>(below(static_cast<int>(lines.size())))];
    std::string q = line.substr(0, static_cast<std::size_t>(below(static_cast<int>(line.size()) + 1)));
    if (below(3) == 0) {
      for (char& c : q)
        if (below(2) == 0) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    for (const auto& key : {dictionary::IndexKey::JapaneseItem, dictionary::IndexKey::EnglishHead,
                            dictionary::IndexKey::HeadBeforeSpace})
      if (below(3) == 0) return std::string(dictionary::KeyOf(key, line));
    return q;
  }
};

std::vector<std::string> RandomLines(Random& r, int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(r.word(8));
  return lines;
}

std::vector<std::string> RealLookingJapanese(Random& r, int count) {
  static const char* heads[] = {"食べる", "食べ物", "食", "日本", "日本語", "本", "本日", "あい", "あいさつ", "テレビ"};
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    std::string head = heads[r.below(10)];
    if (r.below(3) == 0) head += heads[r.below(10)];
    lines.push_back(head + (r.below(4) ? " [たべる]" : "") + " /(v1) to eat " + std::to_string(i) + "//吃" +
                    std::to_string(i) + "/");
  }
  return lines;
}

std::vector<std::string> RealLookingEnglish(Random& r, int count) {
  static const char* heads[] = {"walk", "walking", "Walk", "walke", "talk", "talked", "talke", "cat", "Cat's",
                                "cats", "a cat", "happy", "happiness", "happ", "zoo"};
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    std::string head = heads[r.below(15)];
    if (r.below(5) == 0) head += " ";
    lines.push_back(head + ",解释" + std::to_string(i));
  }
  return lines;
}

capture::Slots RandomSlots(Random& r, const std::vector<std::string>& lines) {
  capture::Slots s;
  const int n = r.below(6);
  for (int k = 0; k < n; ++k) s[static_cast<std::size_t>(k)] = r.query(lines);
  // Now and then a gap: only the leading run of candidates counts.
  if (r.below(6) == 0) s[static_cast<std::size_t>(r.below(5))].clear();
  return s;
}

// Checks every indexed search against its scan on `lines` with `queries`
// random queries; returns the number of disagreements (each one reported).
void ExpectSameAnswers(const std::vector<std::string>& lines, Random& r, int queries) {
  dictionary::DictionaryReader reader;
  reader.BindLines(lines);
  const std::vector<std::string> japaneseItems = dictionary::JapaneseListItems(reader);
  const std::vector<std::string> englishItems = dictionary::EnglishListItems(reader);
  // The lists the main window fills from the keys are the head-word lists.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(dictionary::KeyOf(dictionary::IndexKey::JapaneseItem, lines[i]), japaneseItems[i]);
    ASSERT_EQ(dictionary::KeyOf(dictionary::IndexKey::EnglishItem, lines[i]), englishItems[i]);
  }
  for (int i = 0; i < queries; ++i) {
    const std::string q = r.query(lines);
    SCOPED_TRACE("query \"" + q + "\"");
    ASSERT_EQ(dictionary::FindJapaneseLine(reader, q), dictionary::ScanJapaneseLine(reader, q));
    ASSERT_EQ(dictionary::TrackJapaneseList(reader, q), dictionary::TrackList(japaneseItems, q));
    ASSERT_EQ(dictionary::TrackEnglishList(reader, q), dictionary::TrackList(englishItems, q));

    const std::vector<std::string> forms = dictionary::CandidateForms(q, kTable);
    ASSERT_EQ(dictionary::FindEnglishLine(reader, forms), dictionary::ScanEnglishLine(reader, forms));
    std::vector<std::string> any;
    for (int n = 1 + r.below(4); n > 0; --n) any.push_back(r.query(lines));
    ASSERT_EQ(dictionary::FindEnglishLine(reader, any), dictionary::ScanEnglishLine(reader, any));

    // The capture look-up: candidates as the pop-up builds them, and any.
    for (bool japanese : {true, false}) {
      const capture::Slots built = capture::Candidates(capture::CaptureKey(q), japanese, kTable);
      ASSERT_EQ(capture::FindJapanese(reader, built), capture::SearchJapanese(lines, built));
      ASSERT_EQ(capture::FindEnglish(reader, built), capture::SearchEnglish(lines, built));
    }
    const capture::Slots slots = RandomSlots(r, lines);
    ASSERT_EQ(capture::FindJapanese(reader, slots), capture::SearchJapanese(lines, slots));
    ASSERT_EQ(capture::FindEnglish(reader, slots), capture::SearchEnglish(lines, slots));
  }
}

TEST(IndexEquivalence, RandomDictionaries) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Random r(seed);
    const std::vector<std::string> lines = RandomLines(r, 1 + r.below(seed % 3 == 0 ? 400 : 40));
    ExpectSameAnswers(lines, r, 150);
  }
  // Nothing bound: every search finds nothing.
  Random r(7);
  ExpectSameAnswers({}, r, 20);
  // A copy shares the lines and their indexes; a moved-from reader is empty.
  dictionary::DictionaryReader a;
  a.BindLines({"日本 [にほん] /Japan//日本/", "walk,走"});
  const dictionary::DictionaryReader copy = a;
  EXPECT_EQ(dictionary::FindJapaneseLine(copy, "日本"), 0);
  dictionary::DictionaryReader moved = std::move(a);
  EXPECT_EQ(dictionary::TrackEnglishList(moved, "wa"), 1);
  EXPECT_EQ(a.size(), 0u);  // NOLINT(bugprone-use-after-move): the state a moved-from reader is left in
  EXPECT_EQ(dictionary::FindJapaneseLine(a, "日本"), -1);
}

TEST(IndexEquivalence, RealLookingDictionaries) {
  for (unsigned seed = 100; seed < 110; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Random r(seed);
    ExpectSameAnswers(RealLookingJapanese(r, 300), r, 200);
    ExpectSameAnswers(RealLookingEnglish(r, 300), r, 200);
  }
}

TEST(IndexEquivalence, KnownOrderRules) {
  dictionary::DictionaryReader english;
  english.BindLines({"Walk,upper", "walking,stored", "walke,stem e", "walk,lower", "WALK,loud"});
  // "walking" as typed matches line 2 exactly and ends the pass there.
  EXPECT_EQ(dictionary::FindEnglishLine(english, {"walking"}), 1);
  // "Walk" as stored is the first candidate: line 1, before any lower-case match.
  EXPECT_EQ(dictionary::FindEnglishLine(english, {"Walk", "walk"}), 0);
  // Without a first-candidate match the last line any other candidate matches wins.
  EXPECT_EQ(dictionary::FindEnglishLine(english, {"walks", "walk", "walke"}), 4);
  // An upper-case candidate is never compared without case.
  EXPECT_EQ(dictionary::FindEnglishLine(english, {"x", "WALK"}), -1);
  EXPECT_EQ(dictionary::TrackEnglishList(english, "walk"), 1);
  EXPECT_EQ(dictionary::TrackEnglishList(english, "Z"), -1);

  // A line never serves two capture candidates: both want "日本 ..." first.
  const std::vector<std::string> lines = {"本 x", "日本 first", "日本 second", "ほん y"};
  dictionary::DictionaryReader japanese;
  japanese.BindLines(lines);
  const capture::Slots slots = {"日本", "日", "本"};
  const capture::Slots found = capture::FindJapanese(japanese, slots);
  EXPECT_EQ(found[0], "日本 first");
  EXPECT_EQ(found[1], "日本 second");
  EXPECT_EQ(found[2], "本 x");
  EXPECT_EQ(found, capture::SearchJapanese(lines, slots));

  // The English pass ends on the line that closes the last of candidates
  // 1..4: a fifth candidate only finds lines before it.
  const std::vector<std::string> words = {"e,0", "a,1", "b,2", "c,3", "d,4", "e,5", "f,6"};
  dictionary::DictionaryReader wordReader;
  wordReader.BindLines(words);
  EXPECT_EQ(capture::FindEnglish(wordReader, {"a", "b", "c", "d", "e"})[4], "e,0");
  EXPECT_EQ(capture::FindEnglish(wordReader, {"a", "b", "c", "d", "f"})[4], "");
  EXPECT_EQ(capture::FindEnglish(wordReader, {"a", "b", "c", "x", "f"})[4], "f,6");
  for (const capture::Slots& s : {capture::Slots{"a", "b", "c", "d", "e"}, capture::Slots{"a", "b", "c", "d", "f"},
                                  capture::Slots{"a", "b", "c", "x", "f"}, capture::Slots{"x", "y", "z", "w", "f"}})
    EXPECT_EQ(capture::FindEnglish(wordReader, s), capture::SearchEnglish(words, s));
}

// The dictionaries in the program folder, every head word and its prefixes.
TEST(IndexEquivalence, BuiltDictionaries) {
  using kirvale::testing::Exists;
  const std::string folder = KIRVALE_PROGRAM_FOLDER;
  if (!Exists(folder + "/multilingual.dic") || !Exists(folder + "/english.dic"))
    GTEST_SKIP() << "no dictionaries in " << folder;
  kirvale::testing::TempDir tmp;
  Random r(2024);
  for (const char* name : {"multilingual.dic", "english.dic"}) {
    SCOPED_TRACE(name);
    kirvale::crypto::DecryptContainerToFile(folder + "/" + name, tmp.file(name), kirvale::crypto::kDictionaryPassphrase);
    dictionary::DictionaryReader reader;
    ASSERT_TRUE(reader.Bind(tmp.file(name)));
    ASSERT_GT(reader.size(), 0u);
    // Sampled: a full cross-check of every word would be quadratic.
    ExpectSameAnswers(std::vector<std::string>(reader.lines().begin(), reader.lines().end()), r, 300);
  }
}

}  // namespace
