#include <gtest/gtest.h>

#include <filesystem>

#include "platform/startup_check.h"
#include "support/temp_dir.h"

using namespace kirvale::platform;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

namespace {
void makeAll(const TempDir& d) {
  std::filesystem::create_directories(d.file("styles"));
  for (const char* f : {"multilingual.dic", "english.dic", "appendix.app", "language.ini", "styles/0.jpg",
                        "styles/1.jpg", "styles/2.jpg", "styles/3.jpg", "Kirvale.chm"})
    WriteBytes(d.file(f), "x");
}
}  // namespace

TEST(StartupCheck, ListsMissingFilesInOrder) {
  TempDir d;
  makeAll(d);
  EXPECT_TRUE(CheckDataFiles(d.path()).empty());

  std::filesystem::remove(d.file("appendix.app"));
  auto m = CheckDataFiles(d.path());
  EXPECT_EQ(m.list, "appendix.app ");
  EXPECT_FALSE(m.dictionaryMissing);
  EXPECT_EQ(MissingFilesMessage(m, 0),
            "File(s) missing:appendix.app . Some functions unavailable or it has to terminate. Download the "
            "software again. See help file.");
  EXPECT_EQ(MissingFilesMessage(m, 1),
            "以下文件丢失：appendix.app 。某些功能将不可用或者无法运行；建议重新下载软件。请参阅帮助文件。");

  for (const char* f : {"styles/0.jpg", "styles/1.jpg", "styles/2.jpg", "styles/3.jpg", "english.dic",
                        "Kirvale.chm", "language.ini"})
    std::filesystem::remove(d.file(f));
  m = CheckDataFiles(d.path());
  EXPECT_EQ(m.list, "english.dic appendix.app language.ini style file Kirvale.chm ");
  EXPECT_TRUE(m.dictionaryMissing);
}
