// Inputs the fuzz harnesses (tests/fuzz) found faults with, kept so that the
// faults stay mended.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "crypto/aes.h"
#include "platform/chm_file.h"
#include "support/temp_dir.h"

using namespace kirvale::crypto;
using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

// A length header larger than the ciphertext (here 0x7FFFFFFF before one
// block) made the plain copy a 2 GB file; negative lengths likewise went
// unchecked. Both are refused before the plain file exists.
TEST(FuzzFindings, ContainerLengthBeyondItsCiphertextIsRefused) {
  TempDir dir;
  const std::string container = dir.file("winnt001.ini"), plain = dir.file("winnt002.ini");
  for (const std::string& header : {std::string("\xff\xff\xff\x7f", 4), std::string("\x11\x00\x00\x00", 4),
                                   std::string("\xff\xff\xff\xff", 4), std::string("\x00\x00\x00\x80", 4)}) {
    WriteBytes(container, header + std::string(16, 'k'));
    EXPECT_THROW(DecryptContainerToFile(container, plain, kSettingsPassphrase), EContainerDamaged);
    EXPECT_FALSE(Exists(plain));
  }

  // The largest true length, and a shorter one, still decrypt to that many bytes.
  WriteBytes(dir.file("text"), std::string(16, 'a'));
  EncryptFileToContainer(dir.file("text"), container, kSettingsPassphrase);
  DecryptContainerToFile(container, plain, kSettingsPassphrase);
  EXPECT_EQ(ReadBytes(plain), std::string(16, 'a'));
  std::string bytes = ReadBytes(container);
  bytes[0] = 3;
  WriteBytes(container, bytes);
  DecryptContainerToFile(container, plain, kSettingsPassphrase);
  EXPECT_EQ(ReadBytes(plain), "aaa");
}

// Help files that make the help file library divide by zero while opening
// them, or loop forever (found by the chm harness from a help file of our
// own). They are refused, and this process lives on to say so.
TEST(FuzzFindings, HelpFileThatCrashesTheLibraryIsRefused) {
  kirvale::platform::ChmFile chm;
  EXPECT_FALSE(chm.Open(std::string(KIRVALE_SOURCE_DIR) + "/tests/data/fuzz/damaged-help.chm"));
  EXPECT_FALSE(chm.isOpen());
  EXPECT_FALSE(chm.Read("/#SYSTEM"));
  EXPECT_TRUE(chm.Contents().empty());

  // A directory that sends the library round in circles while listing the
  // file's objects: refused after a few seconds instead of hanging forever.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(chm.Open(std::string(KIRVALE_SOURCE_DIR) + "/tests/data/fuzz/looping-help.chm"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_FALSE(chm.isOpen());
}
