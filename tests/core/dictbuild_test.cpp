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
  o.outDir = out;
  return o;
}

// Runs the builder on the samples into `dir`; returns its summary.
std::string RunOnSamples(const std::string& dir, Options* changed = nullptr) {
  Options o = changed ? *changed : SampleOptions(dir);
  std::ostringstream out, err;
  int rc = RunBuilder(o, out, err);
  EXPECT_EQ(rc, 0) << err.str();
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
  std::string summary;
  std::vector<std::string> japanese, english, appendix;
  Built() {
    summary = RunOnSamples(tmp.path());
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
  ASSERT_EQ(lines.size(), 14u);  // the common entries of the sample
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
  EXPECT_EQ(e.english, "(v1,vt) (1) to eat/(v1,vt) (2) to live on (e.g. a salary)/to live off/to subsist on");
}

TEST(DictbuildJapanese, ChineseComesFromTheConvertedHeadWordWhenTheMeaningsAgree) {
  const auto& lines = Sample().japanese;
  // (a): 電話 -> 电话, 図書館 -> 图书馆, 猫 -> 猫 (its CC-CEDICT sense carries a CL: remark)
  EXPECT_EQ(ChineseOf(lines, "電話").rfind("电话", 0), 0u) << ChineseOf(lines, "電話");
  EXPECT_EQ(ChineseOf(lines, "図書館"), "图书馆");
  EXPECT_EQ(ChineseOf(lines, "猫"), "猫");
  // (b): 広い -> 广 (the head word without its trailing kana); 食べる -> 食, then the more common 吃 (c)
  EXPECT_EQ(ChineseOf(lines, "広い").rfind("广", 0), 0u) << ChineseOf(lines, "広い");
  EXPECT_EQ(ChineseOf(lines, "食べる"), "食；吃");
  // (c): kana words by their glosses
  EXPECT_EQ(ChineseOf(lines, "テレビ"), "电视");
  EXPECT_EQ(ChineseOf(lines, "ビール"), "啤酒");
}

TEST(DictbuildJapanese, FalseFriendsAreDroppedAndAnHonestPlaceholderStays) {
  const auto& lines = Sample().japanese;
  // 手紙 is "toilet paper" in Chinese, 勉强 "reluctant": neither is taken.
  EXPECT_EQ(ChineseOf(lines, "手紙").find("手纸"), std::string::npos);
  EXPECT_EQ(ChineseOf(lines, "手紙"), "信；书");  // "letter" of both, the closer one first
  EXPECT_EQ(ChineseOf(lines, "勉強").find("勉强"), std::string::npos);
  EXPECT_EQ(ChineseOf(lines, "勉強"), "学习");  // "study" of a suru noun matches "to study"
  // Nothing in CC-CEDICT matches 宅地.
  EXPECT_EQ(ChineseOf(lines, "宅地"), std::string(kNoChinese));
}

TEST(DictbuildJapanese, LinesAreSortedByReading) {
  std::vector<std::string> keys;
  for (const auto& l : Sample().japanese) {
    auto e = kirvale::dictionary::ParseEntryLine(l);
    keys.push_back(e.kana.empty() ? e.headWord : e.kana);
  }
  // かな before カナ-only words is not required; hiragana order is.
  auto pos = [&](const std::string& k) { return std::find(keys.begin(), keys.end(), k) - keys.begin(); };
  EXPECT_LT(pos("たべる"), pos("でんわ"));
  EXPECT_LT(pos("でんわ"), pos("としょかん"));
  EXPECT_LT(pos("としょかん"), pos("ひろい"));
}

TEST(DictbuildJapanese, SummaryCountsSkippedLinesAndChineseSources) {
  const std::string& s = Sample().summary;
  EXPECT_NE(s.find("EDICT: 18 lines, 1 malformed (skipped), 14 common entries"), std::string::npos) << s;
  EXPECT_NE(s.find("CC-CEDICT: 24 entries, 1 malformed (skipped)"), std::string::npos) << s;
  EXPECT_NE(s.find("(a) head word: 3"), std::string::npos) << s;  // 電話 図書館 猫
  EXPECT_NE(s.find("(b) head word without trailing kana: 2"), std::string::npos) << s;
  EXPECT_NE(s.find("(c) matching definition: 5"), std::string::npos) << s;  // テレビ ビール 手紙 勉強 品詞
  EXPECT_NE(s.find("none (placeholder): 4"), std::string::npos) << s;      // ボール·ペン ～様 宅地 札幌
  EXPECT_NE(s.find("zip codes: 8 addresses, 1 malformed"), std::string::npos) << s;
}

// ---------------------------------------------------------------- english.dic

TEST(DictbuildEnglish, InvertsCedictIntoSortedLowerCaseWords) {
  const auto& lines = Sample().english;
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
  for (const auto& l : lines) {
    std::string head(kirvale::dictionary::EnglishHeadWord(l));
    EXPECT_EQ(head, kirvale::text::asciiLower(head)) << l;  // no proper nouns
    EXPECT_EQ(head.find(' '), std::string::npos) << l;      // single words
    EXPECT_TRUE(kirvale::text::fitsGbk(l)) << l;
  }
  // Common Chinese words first.
  EXPECT_EQ(EnglishLineOf(lines, "walk"), "walk,走；步行");
  EXPECT_EQ(EnglishLineOf(lines, "computer"), "computer,计算机；电脑");
  EXPECT_EQ(EnglishLineOf(lines, "book"), "book,书");
  EXPECT_EQ(EnglishLineOf(lines, "eat"), "eat,吃；食");
  // No proper noun (日本 "Japan"), no "variant of" entry, no classifier remark.
  EXPECT_EQ(EnglishLineOf(lines, "japan"), "");
  EXPECT_EQ(EnglishLineOf(lines, "Japan"), "");
  for (const auto& l : lines) EXPECT_EQ(l.find("㐌"), std::string::npos) << l;
  EXPECT_EQ(EnglishLineOf(lines, "classifier"), "");
  EXPECT_EQ(EnglishLineOf(lines, "walked"), "");  // the lookup strips suffixes itself
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
  EXPECT_EQ(ChineseOf(lines, "電話").rfind("电话", 0), 0u);
  EXPECT_EQ(ChineseOf(lines, "ビール"), "啤酒");
}

TEST(DictbuildRun, AMissingSourceFailsLoudlyAndWritesNothing) {
  TempDir tmp;
  Options o = SampleOptions(tmp.path());
  o.edict = tmp.file("no-such-edict");
  o.zipcode = "";
  std::ostringstream out, err;
  EXPECT_NE(RunBuilder(o, out, err), 0);
  EXPECT_NE(err.str().find("missing source: EDICT"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("missing source: SKK zip-code dictionary"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("install edict"), std::string::npos) << err.str();
  EXPECT_FALSE(Exists(tmp.file("multilingual.dic")));
  EXPECT_FALSE(Exists(tmp.file("appendix.app")));
}
