// The built dictionaries against the gold lists in tests/data/gold. Runs only
// where the build made the full dictionaries (KIRVALE_FULL_DICTIONARY ON and
// the sources installed); a build with the bundled sample skips it.
//
// A gold word whose Chinese comes from a reviewed table must be right: the
// test fails otherwise. Words not yet in a reviewed table take what the
// builder found on its own (the converted head word, the inverted CC-CEDICT)
// or the placeholder; for them the test reports how many are good, how many
// are still placeholders and which ones disagree, without failing, so that
// the figure shows how far the reviewed table has come.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "crypto/aes.h"
#include "dictionary/english_candidates.h"
#include "dictionary/lookup.h"
#include "support/temp_dir.h"
#include "text/codec.h"
#include "tools/dictbuild/dictbuild.h"

using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
namespace dictionary = kirvale::dictionary;
namespace dictbuild = kirvale::dictbuild;

namespace {

const std::string kSource = KIRVALE_SOURCE_DIR;
const std::string kFolder = KIRVALE_PROGRAM_FOLDER;
const std::string kStamp = std::string(KIRVALE_BINARY_DIR) + "/dictbuild/full-dictionary.stamp";

struct GoldLine {
  std::vector<std::string> fields;
  std::set<std::string> accepted;
};

// Tab-separated lines, "#" comments; the last field holds the accepted
// words separated by "|".
std::vector<GoldLine> ReadGold(const std::string& path, size_t fields) {
  std::vector<GoldLine> out;
  std::istringstream in(ReadBytes(path));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    GoldLine g;
    size_t pos = 0;
    while (true) {
      size_t tab = line.find('\t', pos);
      g.fields.push_back(line.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos));
      if (tab == std::string::npos) break;
      pos = tab + 1;
    }
    EXPECT_EQ(g.fields.size(), fields) << path << ": " << line;
    if (g.fields.size() != fields) continue;
    std::string answers = g.fields.back();
    pos = 0;
    while (true) {
      size_t bar = answers.find('|', pos);
      g.accepted.insert(answers.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos));
      if (bar == std::string::npos) break;
      pos = bar + 1;
    }
    out.push_back(std::move(g));
  }
  return out;
}

std::vector<std::string> BuiltLines(const TempDir& tmp, const std::string& name) {
  std::string plain = tmp.file(name);
  kirvale::crypto::DecryptContainerToFile(kFolder + "/" + name, plain, kirvale::crypto::kDictionaryPassphrase);
  std::vector<std::string> lines;
  EXPECT_TRUE(kirvale::text::readGbkLines(plain, lines)) << name;
  return lines;
}

// The first Chinese word a user reads: up to the first "；", after the "："
// of an inflected form's note ("go的过去式：去；走" -> 去).
std::string FirstWord(std::string chinese) {
  if (size_t colon = chinese.find("："); colon != std::string::npos && colon < chinese.find("；"))
    chinese = chinese.substr(colon + std::string("：").size());
  return chinese.substr(0, chinese.find("；"));
}

struct Tally {
  size_t reviewed = 0, good = 0, placeholder = 0, missing = 0;
  std::vector<std::string> disagree;
  std::string report(const std::string& what, size_t total) const {
    std::ostringstream o;
    o << what << ": " << total << " gold words; " << reviewed << " from the reviewed table (all must agree), "
      << good << " others good, " << disagree.size() << " others disagree, " << placeholder
      << " placeholders, " << missing << " not found; good first word: "
      << (total ? 100.0 * static_cast<double>(reviewed + good) / static_cast<double>(total) : 0.0) << " %\n";
    for (const auto& d : disagree) o << "  disagrees: " << d << "\n";
    return o.str();
  }
};

bool FullDictionaryBuilt() { return Exists(kStamp) && Exists(kFolder + "/multilingual.dic"); }

}  // namespace

TEST(DictionaryGold, JapaneseWordsHaveTheChineseALearnerExpects) {
  if (!FullDictionaryBuilt()) GTEST_SKIP() << "the full dictionary was not built (" << kStamp << ")";
  auto gold = ReadGold(kSource + "/tests/data/gold/ja-zh-gold.tsv", 3);
  ASSERT_GE(gold.size(), 300u);
  std::vector<std::string> problems;
  auto table = dictbuild::ParseReviewedJapanese(ReadBytes(kSource + "/tools/dictbuild/data/ja-zh-reviewed.tsv"),
                                                problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  std::set<std::pair<std::string, std::string>> reviewed;
  for (const auto& r : table) reviewed.emplace(r.head, r.kana);

  TempDir tmp;
  dictionary::DictionaryReader reader;
  reader.BindLines(BuiltLines(tmp, "multilingual.dic"));
  ASSERT_GT(reader.size(), 20000u);
  Tally t;
  for (const auto& g : gold) {
    const std::string &head = g.fields[0], &kana = g.fields[1];
    dictionary::DictionaryEntry entry;
    bool found = false;
    if (kana.empty()) {
      // Typed as it is: the first line with that head word, as the lookup finds it.
      auto r = dictionary::SearchJapanese(reader, head, nullptr);
      found = r.found;
      entry = r.entry;
    } else {
      for (const auto& l : reader.lines()) {
        auto e = dictionary::ParseEntryLine(l);
        if (e.headWord == head && e.kana == kana) {
          entry = e;
          found = true;
          break;
        }
      }
    }
    if (!found) {
      ++t.missing;
      ADD_FAILURE() << head << " [" << kana << "] is not in the dictionary";
      continue;
    }
    // Which table line the Chinese came from: a kana line names its kanji
    // spelling first ("kanji: 有難う/...").
    std::pair<std::string, std::string> key{head, kana};
    if (entry.kana.empty() && entry.english.rfind("kanji: ", 0) == 0)
      key = {entry.english.substr(7, entry.english.find('/') - 7), head};
    std::string first = FirstWord(entry.chinese);
    if (reviewed.count(key)) {
      ++t.reviewed;
      EXPECT_TRUE(g.accepted.count(first)) << head << " [" << kana << "]: the reviewed table gives " << entry.chinese
                                           << ", the gold list accepts " << g.fields.back();
    } else if (entry.chinese == dictbuild::kNoChinese) {
      ++t.placeholder;
    } else if (g.accepted.count(first)) {
      ++t.good;
    } else {
      t.disagree.push_back(head + " [" + kana + "] " + entry.chinese + " (gold: " + g.fields.back() + ")");
    }
  }
  std::string report = t.report("Japanese", gold.size());
  std::cout << report;
  RecordProperty("report", report);
}

TEST(DictionaryGold, EnglishWordsAndTheirFormsHaveTheChineseALearnerExpects) {
  if (!FullDictionaryBuilt()) GTEST_SKIP() << "the full dictionary was not built (" << kStamp << ")";
  auto gold = ReadGold(kSource + "/tests/data/gold/en-zh-gold.tsv", 2);
  ASSERT_GE(gold.size(), 100u);
  std::vector<std::string> problems;
  auto table = dictbuild::ParseReviewedEnglish(ReadBytes(kSource + "/tools/dictbuild/data/en-zh-reviewed.tsv"),
                                               problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  std::set<std::string> reviewed;
  for (const auto& r : table) reviewed.insert(r.word);

  TempDir tmp;
  dictionary::DictionaryReader reader;
  reader.BindLines(BuiltLines(tmp, "english.dic"));
  const dictionary::SuffixTable suffixes;
  Tally t;
  for (const auto& g : gold) {
    const std::string& word = g.fields[0];
    auto r = dictionary::SearchEnglish(reader, word, suffixes);
    if (!r.found) {
      ++t.missing;
      t.disagree.push_back(word + ": not found");
      continue;
    }
    // Reviewed: the word itself, the word the lookup landed on, or the base
    // word an inflected form's note names ("go的过去式：...").
    std::string shown = r.chinesePane;
    std::string base = shown.find("的") != std::string::npos ? shown.substr(0, shown.find("的")) : "";
    std::string first = FirstWord(shown);
    if (reviewed.count(word) || reviewed.count(r.entry.headWord) || reviewed.count(base)) {
      ++t.reviewed;
      EXPECT_TRUE(g.accepted.count(first)) << word << ": the dictionary gives " << shown << ", the gold list accepts "
                                           << g.fields.back();
    } else if (g.accepted.count(first)) {
      ++t.good;
    } else {
      t.disagree.push_back(word + " " + shown + " (gold: " + g.fields.back() + ")");
    }
  }
  std::string report = t.report("English", gold.size());
  std::cout << report;
  RecordProperty("report", report);
}
