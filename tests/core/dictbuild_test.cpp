// The dictionary builder (tools/dictbuild) on the small source samples in
// tests/data/dictbuild.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "crypto/aes.h"
#include "dictionary/entry_line.h"
#include "support/temp_dir.h"
#include "text/codec.h"
#include "tools/dictbuild/dictbuild.h"

using namespace kirvale::dictbuild;
using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;

namespace {

const std::string kData = std::string(KIRVALE_SOURCE_DIR) + "/tests/data/dictbuild/";
const std::string kJp2t = "/usr/share/opencc/jp2t.json";
const std::string kT2s = "/usr/share/opencc/t2s.json";

Options SampleOptions(const std::string& out) {
  Options o;
  o.edict = kData + "edict";
  o.cedict = kData + "cedict_ts.u8";
  o.jp2t = kJp2t;
  o.t2s = kT2s;
  o.zipcode = kData + "SKK-JISYO.zipcode";
  o.englishWords = kData + "american-english";
  o.englishCommon = kData + "american-english-small";
  o.frequency = kData + "jieba.txt";
  o.placeReadings = kData + "Noun.place.csv";
  o.reviewed = kData + "ja-zh-reviewed.tsv";
  o.reviewedEnglish = kData + "en-zh-reviewed.tsv";
  o.wordnet = kData + "wordnet";
  o.outDir = out;
  return o;
}

// Runs the builder on the samples into `dir`; returns its summary.
std::string RunOnSamples(const std::string& dir, Options* changed = nullptr, std::string* errors = nullptr) {
  Options o = changed ? *changed : SampleOptions(dir);
  std::ostringstream out, err;
  int rc = RunBuilder(o, out, err);
  EXPECT_EQ(rc, 0) << err.str();
  if (errors) *errors = err.str();
  return out.str();
}

std::vector<std::string> DecryptLines(const TempDir& tmp, const std::string& name) {
  std::string plain = tmp.file(name + ".decrypted");
  kirvale::crypto::DecryptContainerToFile(tmp.file(name), plain, kirvale::crypto::kDictionaryPassphrase);
  std::vector<std::string> lines;
  EXPECT_TRUE(kirvale::text::readGbkLines(plain, lines));
  return lines;
}

const std::string* LineOf(const std::vector<std::string>& lines, const std::string& head) {
  for (const auto& l : lines)
    if (kirvale::dictionary::JapaneseListItem(l) == head) return &l;
  return nullptr;
}

std::string ChineseOf(const std::vector<std::string>& lines, const std::string& head) {
  const std::string* l = LineOf(lines, head);
  return l ? kirvale::dictionary::ParseEntryLine(*l).chinese : "(missing)";
}

std::string EnglishLineOf(const std::vector<std::string>& lines, const std::string& word) {
  for (const auto& l : lines)
    if (kirvale::dictionary::EnglishHeadWord(l) == word) return l;
  return "";
}

struct Built {
  TempDir tmp;
  std::string summary, errors;
  std::vector<std::string> japanese, english, appendix;
  Built() {
    summary = RunOnSamples(tmp.path(), nullptr, &errors);
    japanese = DecryptLines(tmp, "multilingual.dic");
    english = DecryptLines(tmp, "english.dic");
    kirvale::text::readGbkLines(tmp.file("appendix.app"), appendix);
  }
};

const Built& Sample() {
  static const Built built;
  return built;
}

}  // namespace

// ---------------------------------------------------------------- sources

TEST(DictbuildSources, ParsesEdictLinesAndMarksCommonOnes) {
  EdictEntry e;
  ASSERT_TRUE(ParseEdictLine("食べる [たべる] /(v1,vt) (1) to eat/(v1,vt) (2) to live on/(P)/", e));
  EXPECT_EQ(e.head, "食べる");
  EXPECT_EQ(e.kana, "たべる");
  EXPECT_TRUE(e.common);
  EXPECT_EQ(e.glosses, (std::vector<std::string>{"(v1,vt) (1) to eat", "(v1,vt) (2) to live on"}));
  ASSERT_TRUE(ParseEdictLine("テレビ /(n) television/TV/", e));
  EXPECT_EQ(e.kana, "");
  EXPECT_FALSE(e.common);
  // Malformed: no gloss at all, no " /", an unclosed reading.
  EXPECT_FALSE(ParseEdictLine("４° [しど] /", e));
  EXPECT_FALSE(ParseEdictLine("本[ほん]/book/", e));
  EXPECT_FALSE(ParseEdictLine("本 [ほん /book/", e));
}

TEST(DictbuildSources, ReadsRawCedictAndTheNpmPackagesDataAlike) {
  std::size_t bad = 0;
  auto raw = ParseCedict(ReadBytes(kData + "cedict_ts.u8"), bad);
  EXPECT_EQ(bad, 1u);  // "this line is broken"
  ASSERT_FALSE(raw.empty());
  EXPECT_EQ(raw[0].traditional, "電話");
  EXPECT_EQ(raw[0].simplified, "电话");
  EXPECT_EQ(raw[0].senses.front(), "telephone");

  bad = 0;
  auto js = ParseCedict(ReadBytes(kData + "all.js"), bad);
  EXPECT_EQ(bad, 1u);  // "not an entry"
  ASSERT_EQ(js.size(), 5u);
  EXPECT_EQ(js[0].simplified, "电话");
  EXPECT_EQ(js[0].senses, (std::vector<std::string>{"telephone", "phone call", "phone number"}));
  EXPECT_EQ(js[1].senses, (std::vector<std::string>{"beer (loanword)"}));
  EXPECT_EQ(js[3].traditional, "吃");  // a \u escape
  EXPECT_EQ(js[4].simplified, "走");
  EXPECT_FALSE(js[0].properNoun());
  auto japan = std::find_if(raw.begin(), raw.end(), [](const CedictEntry& e) { return e.simplified == "日本"; });
  ASSERT_NE(japan, raw.end());
  EXPECT_TRUE(japan->properNoun());
}

TEST(DictbuildSources, ReadsZipcodesFrequenciesAndPlaceReadings) {
  std::size_t bad = 0;
  std::string zip = ReadBytes(kData + "SKK-JISYO.zipcode");
  // The builder decodes the EUC file first; the sample is ASCII apart from
  // the addresses, so count the entries on the raw bytes.
  auto addresses = ParseZipcodeAddresses(zip, bad);
  EXPECT_EQ(addresses.size(), 8u);
  EXPECT_EQ(bad, 1u);
  bad = 0;
  auto freq = ParseWordFrequencies("电话 8354 n\n吃 21000 v\nbroken\n", bad);
  EXPECT_EQ(freq.at("吃"), 21000);
  EXPECT_EQ(bad, 1u);
  bad = 0;
  auto places = ParsePlaceReadings("北斗,1,1,6501,名詞,固有名詞,地域,一般,*,*,北斗,ホクト,ホクト\n"
                                   "市川,1,1,7000,名詞,固有名詞,地域,一般,*,*,市川,イチカワ,イチカワ\n"
                                   "市川,1,1,7100,名詞,固有名詞,地域,一般,*,*,市川,イチガワ,イチガワ\nshort,line\n",
                                   bad);
  EXPECT_EQ(places.at("北斗"), (std::vector<std::string>{"ほくと"}));
  EXPECT_EQ(places.at("市川").size(), 2u);
  EXPECT_EQ(bad, 1u);
}

// ---------------------------------------------------------------- text

TEST(DictbuildText, MapsWhatGbkLacksToWhatItHas) {
  EXPECT_EQ(MapToGbk("ボール・ペン"), "ボール·ペン");
  EXPECT_EQ(MapToGbk("〜様"), "～様");
  EXPECT_EQ(MapToGbk("café naïve ½"), "café naive ½");  // é is in GBK, ï is not; ½ stays for the check
  EXPECT_FALSE(GbkChecker().fits(MapToGbk("½")));
  GbkChecker gbk;
  for (std::string s : {"電話", "电话", "·", "～", "・", "〜", "ï", "abc", "ゔ", "ヴ"})
    EXPECT_EQ(gbk.fits(s), kirvale::text::fitsGbk(s)) << s;
  EXPECT_TRUE(gbk.fits(MapToGbk("ボール・ペン")));
}

TEST(DictbuildText, ContentWordsLeaveOutGrammarWordsAndRemarks) {
  EXPECT_EQ(ContentWords("to force sb to do sth"), (std::set<std::string>{"force"}));
  EXPECT_EQ(ContentWords("(n) (1) cat (esp. the domestic cat)"), (std::set<std::string>{"cat"}));
  EXPECT_EQ(ContentWords("letters; libraries"), (std::set<std::string>{"letter", "library"}));
  EXPECT_EQ(NormaliseGloss("beer (dut: bier, eng:)"), "beer");
  EXPECT_EQ(NormaliseGloss("(v1,vt) (1)  to eat"), "to eat");
  EXPECT_EQ(StripTrailingKana("食べる"), "食");
  EXPECT_EQ(StripTrailingKana("テレビ"), "");
  EXPECT_EQ(StripTrailingKana("電話"), "");
  EXPECT_EQ(LeadingTags("(n,vs) (1) (abbr) study"), (std::vector<std::string>{"n", "vs", "abbr"}));
  EXPECT_EQ(LeadingTags("(one's) own"), (std::vector<std::string>{}));
  EXPECT_EQ(SplitPieces("to learn; to study (a subject; a skill)"),
            (std::vector<std::string>{"to learn", "to study (a subject; a skill)"}));
}

// ---------------------------------------------------------------- OpenCC

TEST(DictbuildOpenCC, ConvertsJapaneseKanjiToSimplifiedChinese) {
  ChineseConverter conv(kJp2t, kT2s);
  EXPECT_EQ(conv.toTraditional("図書館"), "圖書館");
  EXPECT_EQ(conv.japaneseToSimplified("図書館"), "图书馆");
  EXPECT_EQ(conv.japaneseToSimplified("電話"), "电话");
  EXPECT_EQ(conv.japaneseToSimplified("広"), "广");
  EXPECT_EQ(conv.japaneseToSimplified("テレビ"), "テレビ");
  EXPECT_THROW(ChineseConverter("/nonexistent/jp2t.json", kT2s), std::runtime_error);
}

// ---------------------------------------------------------------- multilingual.dic

TEST(DictbuildJapanese, EveryLineFollowsTheEntryGrammarAndFitsGbk) {
  const auto& lines = Sample().japanese;
  ASSERT_EQ(lines.size(), 23u);  // the 22 common entries of the sample and one kana line
  for (const auto& l : lines) {
    auto e = kirvale::dictionary::ParseEntryLine(l);
    EXPECT_FALSE(e.headWord.empty()) << l;
    EXPECT_EQ(e.headWord.find('/'), std::string::npos) << l;
    EXPECT_EQ(e.kana.find('/'), std::string::npos) << l;
    EXPECT_FALSE(e.english.empty()) << l;
    EXPECT_EQ(e.english.find("//"), std::string::npos) << l;
    EXPECT_FALSE(e.chinese.empty()) << l;
    EXPECT_EQ(l.back(), '/') << l;
    EXPECT_TRUE(kirvale::text::fitsGbk(l)) << l;
    // The line puts the reading in brackets only when there is one.
    EXPECT_EQ(l.find(" [") != std::string::npos, !e.kana.empty()) << l;
  }
  EXPECT_NE(LineOf(lines, "ボール·ペン"), nullptr);  // ・ mapped to ·
  EXPECT_NE(LineOf(lines, "～様"), nullptr);         // 〜 mapped to ～
  EXPECT_EQ(LineOf(lines, "犬小屋"), nullptr);       // not a common entry
  const std::string* eat = LineOf(lines, "食べる");
  ASSERT_NE(eat, nullptr);
  auto e = kirvale::dictionary::ParseEntryLine(*eat);
  EXPECT_EQ(e.kana, "たべる");
  // The part of speech is written once while it stays the same.
  EXPECT_EQ(e.english, "(v1,vt) (1) to eat/(2) to live on (e.g. a salary)/to live off/to subsist on");
}

TEST(DictbuildJapanese, APartOfSpeechIsWrittenOnlyWhereItChanges) {
  EXPECT_EQ(WithoutRepeatedPartsOfSpeech({"(n,vs) (1) study", "(n,vs) (2) diligence", "(n,vs) (3) discount",
                                          "reduction"}),
            (std::vector<std::string>{"(n,vs) (1) study", "(2) diligence", "(3) discount", "reduction"}));
  // A change of part of speech is kept, and so is a return to an earlier one;
  // other tags and remarks stay where they are.
  EXPECT_EQ(WithoutRepeatedPartsOfSpeech({"(n,adj-no) (1) (abbr) telephone", "(n,adj-no) (2) (uk) phone",
                                          "(adv) (3) surely", "(n,adj-no) (4) (arch) great man"}),
            (std::vector<std::string>{"(n,adj-no) (1) (abbr) telephone", "(2) (uk) phone", "(adv) (3) surely",
                                      "(n,adj-no) (4) (arch) great man"}));
  EXPECT_EQ(WithoutRepeatedPartsOfSpeech({"(n) (one's) own", "(n) (see X) cat"}),
            (std::vector<std::string>{"(n) (one's) own", "(see X) cat"}));
}

TEST(DictbuildJapanese, ChineseComesFromTheReviewedTableThenFromTheConvertedHeadWord) {
  const auto& lines = Sample().japanese;
  // The reviewed table, for the entry of the same head word and kana.
  EXPECT_EQ(ChineseOf(lines, "食べる"), "吃；吃饭");
  EXPECT_EQ(ChineseOf(lines, "手紙"), "信；书信");
  EXPECT_EQ(ChineseOf(lines, "テレビ"), "电视；电视机");  // a head word written in kana: empty kana field
  EXPECT_EQ(ChineseOf(lines, "有難う"), "谢谢；多谢");
  // (a): the converted head word when its main meaning agrees with the first
  // sense: 電話 -> 电话 (its table line has five words and is skipped),
  // 図書館 -> 图书馆, 猫 -> 猫 (its CC-CEDICT sense carries a CL: remark).
  EXPECT_EQ(ChineseOf(lines, "電話"), "电话");
  EXPECT_EQ(ChineseOf(lines, "図書館"), "图书馆");
  EXPECT_EQ(ChineseOf(lines, "猫"), "猫");
}

TEST(DictbuildJapanese, FalseFriendsAndGuessesGiveWayToAnHonestPlaceholder) {
  const auto& lines = Sample().japanese;
  const std::string none(kNoChinese);
  // 勉强 is "reluctant" (the table's line for 勉強 is faulty and skipped).
  EXPECT_EQ(ChineseOf(lines, "勉強"), none);
  // 爱人 means "spouse" first; 大丈夫 is "great man" only in its archaic
  // third sense.
  EXPECT_EQ(ChineseOf(lines, "愛人"), none);
  EXPECT_EQ(ChineseOf(lines, "大丈夫"), none);
  // 告诉 reads "to tell" in its common reading, whatever its other reading
  // means; 人间 is "the human world", not a human being.
  EXPECT_EQ(ChineseOf(lines, "告訴"), none);
  EXPECT_EQ(ChineseOf(lines, "人間"), none);
  // No guess from the head word without its kana (広い -> 广) or from
  // definitions that merely equal a gloss (ビール -> 啤酒).
  EXPECT_EQ(ChineseOf(lines, "広い"), none);
  EXPECT_EQ(ChineseOf(lines, "ビール"), none);
  EXPECT_EQ(ChineseOf(lines, "宅地"), none);
}

TEST(DictbuildJapanese, WordsUsuallyWrittenInKanaAreFoundUnderTheirKana) {
  const auto& lines = Sample().japanese;
  // The first line with the head word ありがとう (the one the lookup shows)
  // is the reviewed 有難う, with its kanji spelling first in the English.
  const std::string* thanks = LineOf(lines, "ありがとう");
  ASSERT_NE(thanks, nullptr);
  EXPECT_EQ(*thanks, "ありがとう /kanji: 有難う/(int) (uk) (abbr) thank you/thanks//谢谢；多谢/");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) {
                            return kirvale::dictionary::JapaneseListItem(l) == "ありがとう";
                          }),
            1);
  // It stands beside the kanji entries of the same reading.
  auto at = [&](const std::string& head) {
    return std::find_if(lines.begin(), lines.end(),
                        [&](const std::string& l) { return kirvale::dictionary::JapaneseListItem(l) == head; }) -
           lines.begin();
  };
  EXPECT_LT(std::abs(at("ありがとう") - at("有難う")), 3);
  // あの is an entry of its own (an interjection): it is not shadowed by a
  // kana line for 彼の.
  EXPECT_EQ(kirvale::dictionary::ParseEntryLine(*LineOf(lines, "あの")).english, "(int) say/well/um/er");
  for (const auto& l : lines) EXPECT_EQ(l.find("kanji: 彼の"), std::string::npos) << l;
}

TEST(DictbuildJapanese, LinesAreSortedByReading) {
  std::vector<std::string> keys;
  for (const auto& l : Sample().japanese) {
    auto e = kirvale::dictionary::ParseEntryLine(l);
    keys.push_back(e.kana.empty() ? e.headWord : e.kana);
  }
  // かな before カナ-only words is not required; hiragana order is.
  auto pos = [&](const std::string& k) { return std::find(keys.begin(), keys.end(), k) - keys.begin(); };
  EXPECT_LT(pos("ありがとう"), pos("たべる"));
  EXPECT_LT(pos("たべる"), pos("でんわ"));
  EXPECT_LT(pos("でんわ"), pos("としょかん"));
  EXPECT_LT(pos("としょかん"), pos("ひろい"));
}

TEST(DictbuildJapanese, SummaryCountsSkippedLinesAndChineseSources) {
  const std::string& s = Sample().summary;
  EXPECT_NE(s.find("EDICT: 26 lines, 1 malformed (skipped), 22 common entries"), std::string::npos) << s;
  EXPECT_NE(s.find("CC-CEDICT: 37 entries, 1 malformed (skipped)"), std::string::npos) << s;
  EXPECT_NE(s.find("from the reviewed table: 5, the converted head word: 3, none (placeholder): 14; coverage 36.4 %"),
            std::string::npos)
      << s;
  EXPECT_NE(s.find("lines under the kana of words usually written in kana: 1"), std::string::npos) << s;
  // The unused table line is named in the summary.
  EXPECT_NE(s.find("1 lines whose entry is not among the common EDICT entries written:\n      line 12: 存在しない [そんざいしない]"),
            std::string::npos)
      << s;
  EXPECT_NE(s.find("zip codes: 8 addresses, 1 malformed"), std::string::npos) << s;
  // Faulty table lines are reported with their line numbers.
  const std::string& e = Sample().errors;
  for (std::string m : {"ja-zh-reviewed.tsv: line 8: expected 3 tab-separated fields, found 1",
                        "ja-zh-reviewed.tsv: line 9: empty Chinese word",
                        "ja-zh-reviewed.tsv: line 10: repeats an earlier line's entry",
                        "ja-zh-reviewed.tsv: line 11: more than four Chinese words",
                        "en-zh-reviewed.tsv: line 5: the English word must be lower-case letters"})
    EXPECT_NE(e.find(m), std::string::npos) << m << "\n" << e;
}

TEST(DictbuildTables, ReadTheReviewedTablesAndTheWordNetLists) {
  std::vector<std::string> problems;
  auto ja = ParseReviewedJapanese("\xEF\xBB\xBF# comment\n\n食べる\tたべる\t吃 ；吃饭\r\nテレビ\t\t电视\n"
                                  "本\tほん\t书/书籍\n本\tほん\ta；b；c；d\n",
                                  problems);
  ASSERT_EQ(ja.size(), 3u);
  EXPECT_EQ(ja[0].chinese, (std::vector<std::string>{"吃", "吃饭"}));  // trimmed, CR LF line ends
  EXPECT_EQ(ja[0].lineNumber, 3u);
  EXPECT_EQ(ja[1].kana, "");
  EXPECT_EQ(ja[2].chinese.size(), 4u);
  EXPECT_EQ(problems, (std::vector<std::string>{
                          "line 5: \"/\" or \";\" inside a Chinese word (separate words with \"；\")"}));
  problems.clear();
  auto en = ParseReviewedEnglish("go\t去；走\ngo\t去\nWent\t去\nsee\n", problems);
  ASSERT_EQ(en.size(), 1u);
  EXPECT_EQ(problems.size(), 3u);

  EXPECT_EQ(ParseWordNetExceptions("went go\nbetter good well\n"),
            (std::vector<std::pair<std::string, std::string>>{{"went", "go"}, {"better", "good"}, {"better", "well"}}));
  auto verbs = ParseWordNetIndex("  1 licence text\nrun v 41 7 ! @ ~ ^ $ + ; 41 29 01926329\neven v 3 4 @ ~ > ^ 3 0 1\n");
  EXPECT_EQ(verbs.at("run"), 29);
  EXPECT_EQ(verbs.at("even"), 0);
  verbs["hop"] = 2;
  verbs["hope"] = 3;
  verbs["try"] = 7;
  verbs["make"] = 20;
  verbs["walk"] = 5;
  verbs["die"] = 4;
  EXPECT_EQ(RegularVerbBase("running", verbs, 2), "run");
  EXPECT_EQ(RegularVerbBase("hoping", verbs, 2), "hope");
  EXPECT_EQ(RegularVerbBase("hopping", verbs, 2), "hop");
  EXPECT_EQ(RegularVerbBase("tried", verbs, 2), "try");
  EXPECT_EQ(RegularVerbBase("making", verbs, 2), "make");
  EXPECT_EQ(RegularVerbBase("walked", verbs, 2), "walk");
  EXPECT_EQ(RegularVerbBase("dying", verbs, 2), "die");
  EXPECT_EQ(RegularVerbBase("evening", verbs, 2), "");  // "even" is hardly ever a verb
  EXPECT_EQ(RegularVerbBase("evening", verbs, 0), "even");
  EXPECT_EQ(RegularVerbBase("thing", verbs, 0), "");
}

// ---------------------------------------------------------------- english.dic

TEST(DictbuildEnglish, InvertsCedictIntoSortedLowerCaseWords) {
  const auto& lines = Sample().english;
  ASSERT_FALSE(lines.empty());
  std::vector<std::string> heads;
  for (const auto& l : lines) {
    std::string head(kirvale::dictionary::EnglishHeadWord(l));
    heads.push_back(head);
    EXPECT_EQ(head, kirvale::text::asciiLower(head)) << l;  // no proper nouns
    EXPECT_EQ(head.find(' '), std::string::npos) << l;      // single words
    EXPECT_TRUE(kirvale::text::fitsGbk(l)) << l;
  }
  EXPECT_TRUE(std::is_sorted(heads.begin(), heads.end()));
  // A Chinese word whose main meaning it is comes first: 走 "to walk" before
  // 步行 "to go on foot / to walk"; then the more common word.
  EXPECT_EQ(EnglishLineOf(lines, "walk"), "walk,走；步行");
  EXPECT_EQ(EnglishLineOf(lines, "computer"), "computer,电脑；计算机");
  EXPECT_EQ(EnglishLineOf(lines, "eat"), "eat,吃；食");
  // A "(bound form)" definition is no word of its own (习).
  EXPECT_EQ(EnglishLineOf(lines, "practice"), "practice,练习");
  // No proper noun (日本 "Japan"), no "variant of" entry, no classifier remark.
  EXPECT_EQ(EnglishLineOf(lines, "japan"), "");
  EXPECT_EQ(EnglishLineOf(lines, "Japan"), "");
  for (const auto& l : lines) EXPECT_EQ(l.find("㐌"), std::string::npos) << l;
  EXPECT_EQ(EnglishLineOf(lines, "classifier"), "");
  // Forms that the lookup's suffix stripping finds by itself get no line.
  EXPECT_EQ(EnglishLineOf(lines, "walked"), "");
  EXPECT_EQ(EnglishLineOf(lines, "walking"), "");
}

TEST(DictbuildEnglish, ReviewedWordsAndInflectedFormsComeFirst) {
  const auto& lines = Sample().english;
  // The reviewed table replaces what the inversion found (书 only).
  EXPECT_EQ(EnglishLineOf(lines, "book"), "book,书；书籍");
  EXPECT_EQ(EnglishLineOf(lines, "Bad"), "");  // a faulty table line
  // Irregular forms name their base word and what they are.
  EXPECT_EQ(EnglishLineOf(lines, "went"), "went,go的过去式：去；走");
  EXPECT_EQ(EnglishLineOf(lines, "gone"), "gone,go的过去分词：去；走");
  EXPECT_EQ(EnglishLineOf(lines, "ran"), "ran,run的过去式：跑；经营；运行");
  EXPECT_EQ(EnglishLineOf(lines, "ate"), "ate,eat的过去式：吃；食");
  EXPECT_EQ(EnglishLineOf(lines, "eaten"), "eaten,eat的过去分词：吃；食");
  EXPECT_EQ(EnglishLineOf(lines, "mice"), "mice,mouse的复数：老鼠；鼠标");
  EXPECT_EQ(EnglishLineOf(lines, "children"), "children,child的复数：孩子；儿童");
  EXPECT_EQ(EnglishLineOf(lines, "women"), "women,woman的复数：女人；妇女");  // -men plurals by rule
  EXPECT_EQ(EnglishLineOf(lines, "better"), "better,good的比较级：好");
  EXPECT_EQ(EnglishLineOf(lines, "best"), "best,good的最高级：好");
  EXPECT_EQ(EnglishLineOf(lines, "bought"), "");  // buy has no line to point to
  // The form's own line (营运 "running") no longer hides the verb.
  EXPECT_EQ(EnglishLineOf(lines, "running"), "running,run的现在分词：跑；经营；运行；营运");
  // A regular form that the lookup would not bring back to its verb
  // (hopping -> hopp, hoppe) gets its own line; hoping (hope) has none to
  // point to.
  EXPECT_EQ(EnglishLineOf(lines, "hopping"), "hopping,hop的现在分词：跳");
  EXPECT_EQ(EnglishLineOf(lines, "hoping"), "");
  const std::string& s = Sample().summary;
  EXPECT_NE(s.find("7 from the reviewed table, 12 inflected forms (1 with the base word put before"), std::string::npos) << s;
}

// ---------------------------------------------------------------- appendix.app

TEST(DictbuildAppendix, HasTheSixTitlesInOrderAndNoLineThatCouldStartASection) {
  const auto& lines = Sample().appendix;
  std::vector<std::string> titles;
  for (const auto& l : lines)
    if (std::find(AppendixTitles().begin(), AppendixTitles().end(), l) != AppendixTitles().end()) titles.push_back(l);
  EXPECT_EQ(titles, (std::vector<std::string>{"词典缩略语", "日语的词类", "日语有关词汇", "日本城市地名",
                                              "罗马字-假名对应表", "平假名-片假名对照表"}));
  EXPECT_EQ(lines.front(), "词典缩略语");
  for (const auto& l : lines) {
    EXPECT_TRUE(kirvale::text::fitsGbk(l)) << l;
    bool isTitle = std::find(AppendixTitles().begin(), AppendixTitles().end(), l) != AppendixTitles().end();
    if (isTitle || l.empty()) continue;
    for (const auto& t : AppendixTitles()) {
      EXPECT_NE(t.rfind(l, 0), 0u) << "body line " << l << " begins title " << t;
      EXPECT_FALSE(kirvale::text::equalsIgnoringAsciiCase(l, t)) << l;
    }
  }
}

TEST(DictbuildAppendix, SectionsHoldTheTagsCitiesAndKanaTables) {
  const auto& lines = Sample().appendix;
  auto has = [&](const std::string& s) { return std::find(lines.begin(), lines.end(), s) != lines.end(); };
  auto section = [&](const std::string& title) {
    std::vector<std::string> body;
    bool in = false;
    for (const auto& l : lines) {
      bool isTitle = std::find(AppendixTitles().begin(), AppendixTitles().end(), l) != AppendixTitles().end();
      if (isTitle) in = l == title;
      else if (in) body.push_back(l);
    }
    return body;
  };
  // Every tag of the built dictionary, with our Chinese explanation.
  auto abbr = section("词典缩略语");
  auto hasPrefix = [](const std::vector<std::string>& v, const std::string& p) {
    return std::any_of(v.begin(), v.end(), [&](const std::string& l) { return l.rfind(p, 0) == 0; });
  };
  for (std::string t : {"n：", "v1：", "vt：", "vs：", "adj-i：", "adj-no：", "abbr：", "ling：", "hon：", "suf："})
    EXPECT_TRUE(hasPrefix(abbr, t)) << t;
  EXPECT_TRUE(has("v1：一段动词（Ichidan verb）"));
  EXPECT_FALSE(hasPrefix(abbr, "P：")) << "the common-word marker is not written";
  EXPECT_FALSE(hasPrefix(abbr, "v5k：")) << "a tag that the sample does not use";
  // Parts of speech with reviewed examples, and the language terms.
  auto pos = section("日语的词类");
  EXPECT_TRUE(hasPrefix(pos, "一段动词（一段動詞）"));
  EXPECT_TRUE(has("例：食べる [たべる]　吃"));
  EXPECT_TRUE(has("品詞 [ひんし]　词类"));
  // Cities by prefecture, with readings from EDICT or IPAdic, none guessed.
  auto cities = section("日本城市地名");
  EXPECT_TRUE(has("北海道 [ほっかいどう]"));
  EXPECT_TRUE(has("　札幌市 [さっぽろし]"));   // EDICT 札幌 (city)
  EXPECT_TRUE(has("　北斗市 [ほくとし]"));     // IPAdic, one reading; 北斗市市渡 is no city 北斗市市
  EXPECT_TRUE(has("　四日市市 [よっかいちし]"));  // the city's name ends in 市 itself
  EXPECT_TRUE(has("　市川市"));                 // two readings in IPAdic: none shown
  for (const auto& l : cities) {
    EXPECT_EQ(l.find("北斗市市"), std::string::npos);
    EXPECT_EQ(l.find("余市"), std::string::npos);  // 余市郡 is a district, not a city
  }
  EXPECT_TRUE(has("ka\tか　カ"));
  EXPECT_TRUE(has("あ　　　ア"));
  EXPECT_TRUE(has("ん　　　ン"));
}

// ---------------------------------------------------------------- running

TEST(DictbuildRun, SameSourcesGiveByteIdenticalFiles) {
  TempDir a, b;
  RunOnSamples(a.path());
  RunOnSamples(b.path());
  for (std::string f : {"multilingual.dic", "english.dic", "appendix.app"}) {
    ASSERT_TRUE(Exists(a.file(f))) << f;
    std::string bytes = ReadBytes(a.file(f));
    EXPECT_FALSE(bytes.empty()) << f;
    EXPECT_EQ(bytes, ReadBytes(b.file(f))) << f;
  }
  // The appendix is GBK with CR LF line ends.
  std::string app = ReadBytes(a.file("appendix.app"));
  EXPECT_EQ(app.rfind(kirvale::text::utf8ToGbk("词典缩略语") + "\r\n", 0), 0u);
}

TEST(DictbuildRun, TheNpmPackagesDataBuildsToo) {
  TempDir tmp;
  Options o = SampleOptions(tmp.path());
  o.cedict = kData + "all.js";
  RunOnSamples(tmp.path(), &o);
  auto lines = DecryptLines(tmp, "multilingual.dic");
  EXPECT_EQ(ChineseOf(lines, "電話"), "电话");
  EXPECT_EQ(ChineseOf(lines, "食べる"), "吃；吃饭");
  EXPECT_EQ(ChineseOf(lines, "図書館"), std::string(kNoChinese));  // not in this sample
}

TEST(DictbuildRun, AMissingSourceFailsLoudlyAndWritesNothing) {
  TempDir tmp;
  Options o = SampleOptions(tmp.path());
  o.edict = tmp.file("no-such-edict");
  o.zipcode = "";
  o.reviewed = tmp.file("no-such-table.tsv");
  o.wordnet = tmp.file("no-wordnet");
  std::ostringstream out, err;
  EXPECT_NE(RunBuilder(o, out, err), 0);
  EXPECT_NE(err.str().find("missing source: EDICT"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("missing source: SKK zip-code dictionary"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("install edict"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("missing reviewed table"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("install wordnet-base"), std::string::npos) << err.str();
  EXPECT_FALSE(Exists(tmp.file("multilingual.dic")));
  EXPECT_FALSE(Exists(tmp.file("appendix.app")));
}
