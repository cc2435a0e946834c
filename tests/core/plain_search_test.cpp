// The search on a file's GBK bytes against the search on a reader bound to
// the same file: same line for every query, whatever the line breaks, bad
// bytes or length of the file.
#include "dictionary/plain_search.h"

#include <gtest/gtest.h>

#include <random>

#include "crypto/aes.h"
#include "dictionary/lookup.h"
#include "support/temp_dir.h"
#include "text/codec.h"

namespace dictionary = kirvale::dictionary;
namespace text = kirvale::text;

namespace {

const dictionary::SuffixTable kTable;

// The reader's answer on the same bytes, as the window gets it.
std::optional<std::string> Bound(const std::string& bytes, const std::string& query, bool english) {
  dictionary::DictionaryReader reader;
  reader.BindLines(text::splitLines(text::gbkToUtf8(bytes)));
  const int line = english ? dictionary::ScanEnglishLine(reader, dictionary::CandidateForms(query, kTable))
                           : dictionary::ScanJapaneseLine(reader, query);
  if (line < 0) return std::nullopt;
  return std::string(reader.line(static_cast<std::size_t>(line)));
}

void ExpectSame(const std::string& bytes, const std::string& query) {
  SCOPED_TRACE("query \"" + query + "\"");
  EXPECT_EQ(dictionary::FindJapaneseLineInBytes(bytes, query), Bound(bytes, query, false));
  EXPECT_EQ(dictionary::FindEnglishLineInBytes(bytes, dictionary::CandidateForms(query, kTable)),
            Bound(bytes, query, true));
}

TEST(PlainSearch, SameLineAsTheBoundReader) {
  const std::vector<std::string> pieces = {"食べる", "食", "日本", " ", "[", "]", "/", "//", ",", "Walk", "walk",
                                           "ing", "s", "\r\n", "\n", "\r", "\x81", "\xA1", "€", "\xEF\xBF\xBD", "x"};
  std::mt19937 gen(5);
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(gen); };
  for (int round = 0; round < 200; ++round) {
    // GBK text with raw bytes that are not GBK mixed in.
    std::string bytes;
    for (std::size_t n = pick(60); n > 0; --n) {
      const std::string& p = pieces[pick(pieces.size())];
      bytes += p[0] == '\x81' || p[0] == '\xA1' ? p : text::utf8ToGbk(p);
    }
    const std::vector<std::string> lines = text::splitLines(text::gbkToUtf8(bytes));
    for (int q = 0; q < 10; ++q) {
      std::string query = pieces[pick(pieces.size())] + pieces[pick(pieces.size())];
      if (!lines.empty() && pick(2) == 0) {
        const std::string& line = lines[pick(lines.size())];
        query = pick(2) ? dictionary::JapaneseListItem(line) : std::string(dictionary::EnglishHeadWord(line));
      }
      query = text::trim(query);
      if (!query.empty()) ExpectSame(bytes, query);
    }
  }
}

TEST(PlainSearch, LinesPastTheLimitAreNotSearched) {
  std::string bytes;
  for (std::size_t i = 0; i < dictionary::kMaxLines; ++i) bytes += i % 2 ? "a\r\n" : "b\r";
  bytes += text::utf8ToGbk("日本 [にほん] /Japan//日本/\r\nlast,word\n");
  EXPECT_EQ(dictionary::FindJapaneseLineInBytes(bytes, "日本"), std::nullopt);
  EXPECT_EQ(dictionary::FindEnglishLineInBytes(bytes, {"last"}), std::nullopt);
  // One line fewer before them and the first of the two is in.
  const std::string shorter = bytes.substr(2);
  EXPECT_EQ(dictionary::FindJapaneseLineInBytes(shorter, "日本"), std::optional<std::string>("日本 [にほん] /Japan//日本/"));
  EXPECT_EQ(dictionary::FindEnglishLineInBytes(shorter, {"last"}), std::nullopt);
  ExpectSame(shorter, "日本");
}

TEST(PlainSearch, BuiltDictionariesAgreeWithTheReader) {
  using kirvale::testing::Exists;
  const std::string folder = KIRVALE_PROGRAM_FOLDER;
  if (!Exists(folder + "/multilingual.dic") || !Exists(folder + "/english.dic"))
    GTEST_SKIP() << "no dictionaries in " << folder;
  for (const char* name : {"multilingual.dic", "english.dic"}) {
    const std::string bytes =
        kirvale::crypto::DecryptContainerToBytes(folder + "/" + name, kirvale::crypto::kDictionaryPassphrase);
    kirvale::testing::TempDir tmp;
    kirvale::crypto::DecryptContainerToFile(folder + "/" + name, tmp.file("plain"),
                                            kirvale::crypto::kDictionaryPassphrase);
    // The memory copy is the file's.
    ASSERT_EQ(bytes, kirvale::testing::ReadBytes(tmp.file("plain")));
    dictionary::DictionaryReader reader;
    ASSERT_TRUE(reader.Bind(tmp.file("plain")));
    auto line = [&](int i) { return i < 0 ? std::nullopt : std::optional<std::string>(reader.line(static_cast<std::size_t>(i))); };
    // Against the reader's indexed searches (which the index tests hold to
    // the scans), on every 53rd line.
    for (std::size_t i = 0; i < reader.size(); i += 53) {
      const std::string japanese = dictionary::JapaneseListItem(reader.line(i));
      const std::string english = text::trim(dictionary::EnglishHeadWord(reader.line(i)));
      // The first half of the Japanese word, cut between characters.
      std::size_t half = japanese.size() / 2;
      while (half > 0 && (static_cast<unsigned char>(japanese[half]) & 0xC0) == 0x80) --half;
      for (const std::string& q : {japanese, english, japanese.substr(0, half), text::asciiLower(english)}) {
        if (q.empty()) continue;
        SCOPED_TRACE(q);
        const std::vector<std::string> forms = dictionary::CandidateForms(q, kTable);
        ASSERT_EQ(dictionary::FindJapaneseLineInBytes(bytes, q), line(dictionary::FindJapaneseLine(reader, q)));
        ASSERT_EQ(dictionary::FindEnglishLineInBytes(bytes, forms), line(dictionary::FindEnglishLine(reader, forms)));
      }
    }
  }
}

}  // namespace

#include <iconv.h>

namespace {

// The code points fitsGbk accepts without asking the converter are all in
// GBK.
TEST(PlainSearch, CommonRangesAreAllInGbk) {
  iconv_t cv = iconv_open("GBK", "UTF-8");
  ASSERT_NE(cv, reinterpret_cast<iconv_t>(-1));
  int checked = 0;
  for (unsigned cp = 0x3041; cp <= 0x9FA5; ++cp) {
    if (cp > 0x3093 && cp < 0x30A1) continue;
    if (cp > 0x30F6 && cp < 0x4E00) continue;
    char in[3] = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                  static_cast<char>(0x80 | (cp & 0x3F))};
    char out[8];
    char* src = in;
    char* dst = out;
    size_t left = 3, room = sizeof out;
    iconv(cv, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(iconv(cv, &src, &left, &dst, &room), static_cast<size_t>(-1)) << std::hex << cp;
    ASSERT_TRUE(text::fitsGbk(std::string(in, 3)));
    ++checked;
  }
  iconv_close(cv);
  EXPECT_EQ(checked, (0x3093 - 0x3041 + 1) + (0x30F6 - 0x30A1 + 1) + (0x9FA5 - 0x4E00 + 1));
  // Just outside them the converter still decides.
  EXPECT_FALSE(text::fitsGbk("・"));
  EXPECT_TRUE(text::fitsGbk("ー"));
}

}  // namespace

namespace {

// The table-driven decoder against the converter on its own, on text and on
// random bytes (four-byte GB18030, cut characters, bytes that do not decode).
TEST(PlainSearch, FastDecodingIsTheConverters) {
  // Every two-byte code, one after another (a text this long makes the
  // table, which then serves the short texts below too).
  std::string all;
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x30; trail <= 0xFF; ++trail) {
      all += static_cast<char>(lead);
      all += static_cast<char>(trail);
    }
  EXPECT_EQ(text::gbkToUtf8(all), text::decodeToUtf8(all, "GB18030"));
  std::mt19937 gen(11);
  const std::vector<std::string> pieces = {text::utf8ToGbk("日本語・テスト"), text::utf8ToGbk("😀€"), "\x81\x30\x81\x30",
                                           "\x81", "\xFE\xFE", "\x80", "\xFF", "\x81\x7F", "ab/", "\r\n", "\x84\x31\xA4\x39"};
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    for (int n = std::uniform_int_distribution<int>(0, 12)(gen); n > 0; --n) {
      if (std::uniform_int_distribution<int>(0, 2)(gen) == 0)
        bytes += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(gen));
      else
        bytes += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(gen)];
    }
    ASSERT_EQ(text::gbkToUtf8(bytes), text::decodeToUtf8(bytes, "GB18030")) << ::testing::PrintToString(bytes);
    // A file's lines, decoded one by one, are the lines of the whole decoded.
    if (round % 50 == 0) {
      kirvale::testing::TempDir tmp;
      kirvale::testing::WriteBytes(tmp.file("f"), bytes);
      std::vector<std::string> lines;
      ASSERT_TRUE(text::readGbkLines(tmp.file("f"), lines));
      ASSERT_EQ(lines, text::splitLines(text::decodeToUtf8(bytes, "GB18030")));
    }
  }
}

}  // namespace
