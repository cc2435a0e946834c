#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "crypto/aes.h"
#include "support/temp_dir.h"

using namespace kirvale::crypto;
using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

namespace {

AesBlock hexBlock(const char* hex) {
  AesBlock b{};
  for (int i = 0; i < 16; ++i) b[i] = static_cast<std::uint8_t>(std::stoul(std::string(hex + 2 * i, 2), nullptr, 16));
  return b;
}

std::string pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  return s;
}

}  // namespace

TEST(BlockCipher, ReproducesFips197AppendixC1BothWays) {
  AesKey key{};
  AesBlock k = hexBlock("000102030405060708090a0b0c0d0e0f");
  std::copy(k.begin(), k.end(), key.begin());
  const AesBlock plain = hexBlock("00112233445566778899aabbccddeeff");
  const AesBlock cipher = hexBlock("69c4e0d86a7b0430d8cdb78070b4c55a");
  EXPECT_EQ(AesEncryptBlock(plain, AesExpandEncryptKey(key)), cipher);
  EXPECT_EQ(AesDecryptBlock(cipher, AesExpandDecryptKey(key)), plain);
}

TEST(BlockCipher, KeyIsPassphraseCutOrZeroFilled) {
  AesKey k = KeyFromPassphrase("tomvi-karsel");
  EXPECT_EQ(std::string(k.begin(), k.begin() + 12), "tomvi-karsel");
  for (int i = 12; i < 16; ++i) EXPECT_EQ(k[i], 0);
  EXPECT_EQ(KeyFromPassphrase("0123456789abcdefXYZ"), KeyFromPassphrase("0123456789abcdef"));
  EXPECT_EQ(KeyFromPassphrase(""), AesKey{});
}

TEST(StreamCipher, CountRuleAndZeroFilledLastBlock) {
  const AesKey key = KeyFromPassphrase("k");
  // Count 0: the whole source from its start, whatever its position.
  MemoryStream src(pattern(33));
  src.seek(20);
  MemoryStream whole;
  AesEncryptStream(src, 0, key, whole);
  EXPECT_EQ(whole.bytes().size(), 48u);
  // The last block held one data byte and fifteen zero bytes.
  MemoryStream back;
  MemoryStream wholeIn(whole.bytes());
  AesDecryptStream(wholeIn, 0, key, back);
  EXPECT_EQ(back.bytes(), pattern(33) + std::string(15, '\0'));

  // A count beyond what is left is cut to the rest of the source.
  MemoryStream src2(pattern(40));
  src2.seek(8);
  MemoryStream part;
  AesEncryptStream(src2, 1000, key, part);
  EXPECT_EQ(part.bytes().size(), 32u);

  // Decryption insists on whole blocks and writes nothing otherwise.
  MemoryStream odd(pattern(17));
  MemoryStream none;
  try {
    AesDecryptStream(odd, 0, key, none);
    FAIL() << "no error";
  } catch (const EAESError& e) {
    EXPECT_STREQ(e.what(), "Invalid buffer size for decryption");
  }
  EXPECT_TRUE(none.bytes().empty());
  EXPECT_EQ(odd.position(), 0);
}

TEST(Container, SizesAndRoundTrips) {
  TempDir dir;
  for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 32u, 33u, 4096u, 70000u}) {
    SCOPED_TRACE(n);
    const std::string plain = pattern(n);
    WriteBytes(dir.file("p"), plain);
    EncryptFileToContainer(dir.file("p"), dir.file("c"), "tomvi-karsel");
    const std::string c = ReadBytes(dir.file("c"));
    EXPECT_EQ(c.size(), 4 + 16 * ((n + 15) / 16));
    EXPECT_EQ(static_cast<unsigned char>(c[0]) | static_cast<unsigned char>(c[1]) << 8 |
                  static_cast<unsigned char>(c[2]) << 16,
              n);
    DecryptContainerToFile(dir.file("c"), dir.file("q"), "tomvi-karsel");
    EXPECT_EQ(ReadBytes(dir.file("q")), plain);
  }
}

TEST(Container, FailuresAreReportedWithTheirTexts) {
  TempDir dir;
  // 21 bytes: a header and 17 bytes of ciphertext. The plain file is created
  // and stays empty.
  WriteBytes(dir.file("c21"), std::string("\x05\x00\x00\x00", 4) + pattern(17));
  try {
    DecryptContainerToFile(dir.file("c21"), dir.file("p21"), "x");
    FAIL() << "no error";
  } catch (const EAESError& e) {
    EXPECT_STREQ(e.what(), "Invalid buffer size for decryption");
  }
  EXPECT_TRUE(Exists(dir.file("p21")));
  EXPECT_EQ(ReadBytes(dir.file("p21")), "");

  // Shorter than its header: fails before the plain file is created.
  WriteBytes(dir.file("c3"), "abc");
  EXPECT_THROW(DecryptContainerToFile(dir.file("c3"), dir.file("p3"), "x"), EStreamError);
  EXPECT_FALSE(Exists(dir.file("p3")));

  // A missing container or plain file fails before anything is written.
  EXPECT_THROW(DecryptContainerToFile(dir.file("none"), dir.file("p4"), "x"), EStreamError);
  EXPECT_FALSE(Exists(dir.file("p4")));
  EXPECT_THROW(EncryptFileToContainer(dir.file("none"), dir.file("c5"), "x"), EStreamError);
  EXPECT_FALSE(Exists(dir.file("c5")));

  // A wrong passphrase is not detected: same length, other bytes.
  WriteBytes(dir.file("p6"), "hello world, this is plain");
  EncryptFileToContainer(dir.file("p6"), dir.file("c6"), "right");
  DecryptContainerToFile(dir.file("c6"), dir.file("q6"), "wrong");
  EXPECT_EQ(ReadBytes(dir.file("q6")).size(), 26u);
  EXPECT_NE(ReadBytes(dir.file("q6")), "hello world, this is plain");
}

TEST(Cli, EncryptAndDecryptFiles) {
  TempDir dir;
  WriteBytes(dir.file("plain"), pattern(1000));
  const std::string cli = KIRVALE_CLI;
  auto run = [&](const std::string& args) {
    return std::system((cli + " " + args + " 2>" + dir.file("err")).c_str());
  };
  EXPECT_EQ(run("encrypt " + dir.file("plain") + " " + dir.file("c") + " tomvi-karsel"), 0);
  EXPECT_EQ(run("decrypt " + dir.file("c") + " " + dir.file("back") + " tomvi-karsel"), 0);
  EXPECT_EQ(ReadBytes(dir.file("back")), pattern(1000));

  // A system OpenSSL configuration that allows only FIPS-approved
  // implementations (none is installed here) must not stop our own files
  // from being read and written.
  WriteBytes(dir.file("fips.cnf"),
             "openssl_conf = openssl_init\n[openssl_init]\nalg_section = evp_properties\n"
             "[evp_properties]\ndefault_properties = \"fips=yes\"\n");
  const std::string conf = "OPENSSL_CONF=" + dir.file("fips.cnf") + " ";
  EXPECT_EQ(std::system((conf + cli + " encrypt " + dir.file("plain") + " " + dir.file("c2") + " tomvi-karsel").c_str()),
            0);
  EXPECT_EQ(std::system((conf + cli + " decrypt " + dir.file("c2") + " " + dir.file("back2") + " tomvi-karsel").c_str()),
            0);
  EXPECT_EQ(ReadBytes(dir.file("back2")), pattern(1000));

  WriteBytes(dir.file("bad"), std::string(21, 'x'));
  EXPECT_NE(run("decrypt " + dir.file("bad") + " " + dir.file("out") + " tomvi-karsel"), 0);
  EXPECT_EQ(ReadBytes(dir.file("err")), "Invalid buffer size for decryption\n");
  EXPECT_NE(run("decrypt onlyone"), 0);
}
