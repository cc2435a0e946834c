// The offset cache of an encrypted dictionary: the lines it names hold every
// line whose key matches, in file order; a changed dictionary or a damaged
// cache file is made again; reading parts of a container gives the bytes of
// the decrypted file.
#include "dictionary/offset_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "dictionary/lookup.h"
#include "dictionary/plain_search.h"
#include "support/temp_dir.h"
#include "text/codec.h"

namespace dictionary = kirvale::dictionary;
namespace crypto = kirvale::crypto;
namespace text = kirvale::text;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

namespace {

std::string Encrypt(const TempDir& tmp, const std::string& name, const std::string& plain) {
  WriteBytes(tmp.file(name + ".plain"), plain);
  crypto::EncryptFileToContainer(tmp.file(name + ".plain"), tmp.file(name), crypto::kDictionaryPassphrase);
  return tmp.file(name);
}

TEST(ContainerFile, PartsAreTheDecryptedFilesBytes) {
  TempDir tmp;
  std::string plain;
  for (int i = 0; i < 300; ++i) plain += static_cast<char>(i * 7);
  const std::string path = Encrypt(tmp, "c", plain);
  crypto::ContainerFile file(path, crypto::kDictionaryPassphrase);
  EXPECT_EQ(file.plainSize(), plain.size());
  for (std::uint64_t off : {0, 1, 15, 16, 17, 250, 299})
    for (std::uint64_t len : {0, 1, 16, 33, 1000}) EXPECT_EQ(file.read(off, len), plain.substr(off, len)) << off << " " << len;
  EXPECT_EQ(file.read(300, 5), "");
  EXPECT_EQ(crypto::DecryptContainerToBytes(path, crypto::kDictionaryPassphrase), plain);
  EXPECT_THROW(crypto::ContainerFile(tmp.file("missing"), crypto::kDictionaryPassphrase), crypto::EStreamError);
}

TEST(OffsetCache, NamesEveryMatchingLineAndFollowsChanges) {
  TempDir tmp;
  const std::string cacheFolder = tmp.file("cache");
  std::mt19937 gen(3);
  const std::vector<std::string> heads = {"食べる", "食", "日本", "Walk", "walk", "WALK", "walking", "b"};
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(gen); };
  std::string plain;
  for (int i = 0; i < 400; ++i)
    plain += text::utf8ToGbk(heads[pick(heads.size())] + (pick(2) ? " [x] /e//c" + std::to_string(i) + "/" : ",解释" + std::to_string(i))) +
             (pick(3) ? "\r\n" : "\n");
  const std::string path = Encrypt(tmp, "multilingual.dic", plain);
  for (int round = 0; round < 2; ++round) {  // made, then read back
    dictionary::OffsetCache cache(path, cacheFolder, dictionary::CachedKey::JapaneseItem);
    ASSERT_TRUE(cache.usable());
    for (const std::string& q : heads) {
      dictionary::DictionaryReader subset;
      subset.BindLines(cache.Lines({q}));
      const int hit = dictionary::ScanJapaneseLine(subset, q);
      const auto expected = dictionary::FindJapaneseLineInBytes(plain, q);
      EXPECT_EQ(hit >= 0 ? std::optional<std::string>(subset.line(static_cast<std::size_t>(hit))) : std::nullopt, expected) << q;
    }
  }
  dictionary::OffsetCache english(path, cacheFolder, dictionary::CachedKey::EnglishHeadFolded);
  ASSERT_TRUE(english.usable());
  const dictionary::SuffixTable table;
  for (const std::string q : {"Walking", "walk", "WALK", "b", "x"}) {
    const std::vector<std::string> forms = dictionary::CandidateForms(q, table);
    std::vector<std::string> keys;
    for (const auto& f : forms) keys.push_back(text::asciiLower(f));
    dictionary::DictionaryReader subset;
    subset.BindLines(english.Lines(keys));
    const int hit = dictionary::ScanEnglishLine(subset, forms);
    EXPECT_EQ(hit >= 0 ? std::optional<std::string>(subset.line(static_cast<std::size_t>(hit))) : std::nullopt,
              dictionary::FindEnglishLineInBytes(plain, forms))
        << q;
  }

  // A new dictionary of another size: the cache is made again.
  const std::string changed = text::utf8ToGbk("新 /n//新/\r\n日本 [にほん] /Japan//日本/\r\n");
  Encrypt(tmp, "multilingual.dic", changed);
  {
    dictionary::OffsetCache cache(path, cacheFolder, dictionary::CachedKey::JapaneseItem);
    ASSERT_TRUE(cache.usable());
    EXPECT_EQ(cache.Lines({"日本"}), std::vector<std::string>{"日本 [にほん] /Japan//日本/"});
  }
  // A damaged cache file is not used and is made again.
  const std::string cacheFile = dictionary::OffsetCache::PathFor(path, cacheFolder, dictionary::CachedKey::JapaneseItem);
  WriteBytes(cacheFile, ReadBytes(cacheFile).substr(0, 40));
  {
    dictionary::OffsetCache cache(path, cacheFolder, dictionary::CachedKey::JapaneseItem);
    ASSERT_TRUE(cache.usable());
    EXPECT_EQ(cache.Lines({"新"}), std::vector<std::string>{"新 /n//新/"});
  }
  // No cache folder that can be written: no cache, and nothing else breaks.
  WriteBytes(tmp.file("file"), "x");
  dictionary::OffsetCache none(path, tmp.file("file") + "/sub", dictionary::CachedKey::JapaneseItem);
  EXPECT_FALSE(none.usable());
}

}  // namespace
