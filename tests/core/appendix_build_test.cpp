// The appendix builder's six sections, read through the viewer's own section
// rules as the main window shows them.
#include <gtest/gtest.h>

#include <algorithm>

#include "dictionary/appendix_section.h"
#include "tools/dictbuild/appendix.h"

namespace dict = kirvale::dictionary;
using namespace kirvale::dictbuild;

namespace {

struct Built {
  std::vector<std::string> lines;
  dict::DictionaryReader reader;
};

const Built& Appendix() {
  static const Built built = [] {
    Built b;
    AppendixEntry litf{"抱く", "いだく", {"(v5k,vt) (1) (litf) to hold in one's arms", "(2) to have"}, "抱", 0, true};
    AppendixEntry dialect{"おおきに", "", {"(int) (ksb:) thank you"}, "谢谢", 0, true};
    AppendixEntry remark{"位", "くらい", {"(n) (not) about"}, "位", 0, true};
    Inputs in;
    in.addresses = {"北海道札幌市中央区", "東京都八王子市元本郷町"};
    in.edict = {EdictEntry{}};
    in.edict[0].head = "札幌市";
    in.edict[0].kana = "さっぽろし";
    GbkChecker gbk;
    Counts counts;
    b.lines = BuildAppendix({litf, dialect, remark}, in, gbk, counts);
    b.reader.BindLines(b.lines);
    return b;
  }();
  return built;
}

std::vector<std::string> Section(const char* title) { return dict::AppendixSection(Appendix().reader, title); }

bool Has(const std::vector<std::string>& v, const std::string& line) {
  return std::find(v.begin(), v.end(), line) != v.end();
}

}  // namespace

TEST(AppendixBuild, EverySectionShowsItsTitleFirstAndOnlyItsOwnLines) {
  for (const char* title : dict::kAppendixTopics) {
    auto lines = Section(title);
    ASSERT_GT(lines.size(), 3u) << title;
    EXPECT_EQ(lines.front(), title);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_FALSE(dict::IsAppendixTopic(lines[i])) << lines[i];
  }
  // The sections together are the whole file: nothing is lost between them.
  std::size_t total = 0;
  for (const char* title : dict::kAppendixTopics) total += Section(title).size();
  std::size_t trailingBlanks = 0;
  for (const char* title : dict::kAppendixTopics) {
    auto lines = Section(title);
    while (!lines.empty() && lines.back().empty()) lines.pop_back(), ++trailingBlanks;
  }
  EXPECT_EQ(total, Appendix().lines.size());
  EXPECT_EQ(trailingBlanks, 5u);  // one blank line between sections
}

TEST(AppendixBuild, AbbreviationsExplainEveryTagTheEntriesUse) {
  auto abbr = Section("词典缩略语");
  // A tag that EDICT writes although the tag table lacks it.
  EXPECT_TRUE(Has(abbr, "litf：书面语、正式用语（literary or formal term）"));
  // Dialect tags carry their own colon.
  EXPECT_TRUE(Has(abbr, "ksb: 关西方言（Kansai-ben）"));
  EXPECT_TRUE(Has(abbr, "v5k：五段动词（词尾为「く」）（Godan verb with 'ku' ending）"));
  // An ordinary remark in parentheses is no tag.
  for (const auto& l : abbr) EXPECT_NE(l.rfind("not", 0), 0u) << l;
  // Only tags in use are listed.
  for (const auto& l : abbr) EXPECT_NE(l.rfind("v1：", 0), 0u) << l;
}

TEST(AppendixBuild, PartsOfSpeechAndLanguageTermsHaveReviewedChinese) {
  auto pos = Section("日语的词类");
  EXPECT_TRUE(Has(pos, "五段动词（五段動詞）"));
  EXPECT_TRUE(Has(pos, "例：書く [かく]　写"));
  EXPECT_TRUE(Has(pos, "例：は　提示主题，如「私は学生です」"));
  // Every part has an explanation, its tags and three examples.
  int parts = 0;
  for (std::size_t i = 0; i + 5 < pos.size(); ++i) {
    if (pos[i].empty()) {
      ++parts;
      EXPECT_EQ(pos[i + 3].rfind("缩写：", 0), 0u) << pos[i + 1];
      for (int k = 4; k < 7; ++k) EXPECT_EQ(pos[i + k].rfind("例：", 0), 0u) << pos[i + 1];
    }
  }
  EXPECT_EQ(parts, 23);
  auto terms = Section("日语有关词汇");
  EXPECT_TRUE(Has(terms, "品詞 [ひんし]　词类"));
  EXPECT_TRUE(Has(terms, "送り仮名 [おくりがな]　送假名（写在汉字后面的假名词尾）"));
}

TEST(AppendixBuild, KanaTablesAreComplete) {
  auto romaji = Section("罗马字-假名对应表");
  EXPECT_TRUE(Has(romaji, "shi (si)\tし　シ"));
  EXPECT_TRUE(Has(romaji, "pyo\tぴょ　ピョ"));
  EXPECT_TRUE(Has(romaji, "fa\tファ"));
  EXPECT_TRUE(Has(romaji, "vu\tヴ"));
  auto kana = Section("平假名-片假名对照表");
  int pairs = 0;
  for (const auto& l : kana)
    if (l.find("　　　") != std::string::npos) ++pairs;
  // 46 basic kana, 25 voiced and half-voiced, 10 small and 2 old ones.
  EXPECT_EQ(pairs, 46 + 25 + 10 + 2);
  EXPECT_TRUE(Has(kana, "を　　　ヲ"));
  EXPECT_TRUE(Has(kana, "っ　　　ッ"));
  EXPECT_TRUE(Has(kana, "只用片假名：ヴ　ヵ　ヶ"));
}

TEST(AppendixBuild, CitiesAreGroupedByPrefecture) {
  auto cities = Section("日本城市地名");
  auto hokkaido = std::find(cities.begin(), cities.end(), "北海道 [ほっかいどう]");
  auto tokyo = std::find(cities.begin(), cities.end(), "東京都 [とうきょうと]");
  ASSERT_NE(hokkaido, cities.end());
  ASSERT_NE(tokyo, cities.end());
  EXPECT_EQ(*(hokkaido + 1), "　札幌市 [さっぽろし]");
  EXPECT_EQ(*(tokyo + 1), "　八王子市");  // no reading known: none guessed
  EXPECT_LT(hokkaido, tokyo);
}
