#include <gtest/gtest.h>

#include "crypto/aes.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

using namespace kirvale::settings;
using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

namespace {

const char* kDefaultsChinese =
    "langu:1\r\nstyle:0\r\nspeed:35\r\ngivepron:1\r\ngivechin:1\r\ngiveeng:1\r\nuseuser:1\r\n"
    "showtip:0\r\ntipindex:-1\r\ncapturing:0\r\nlevel:0\r\nshowwhat:1\r\nmatch:0\r\ntrans:0\r\n";

void writeContainer(const TempDir& dir, const std::string& plain) {
  WriteBytes(dir.file("plain"), plain);
  kirvale::crypto::EncryptFileToContainer(dir.file("plain"), dir.file("winnt001.ini"), "karsel-tomvi");
}

}  // namespace

TEST(Settings, FirstRunWritesExactlyTheFourteenDefaultLines) {
  TempDir dir;
  Settings s;
  s.langu = 1;
  SetFirstRunDefaults(dir.path(), s);
  EXPECT_TRUE(Exists(dir.file("winnt001.ini")));
  EXPECT_FALSE(Exists(dir.file("winnt002.ini")));
  kirvale::crypto::DecryptContainerToFile(dir.file("winnt001.ini"), dir.file("check"), "karsel-tomvi");
  EXPECT_EQ(ReadBytes(dir.file("check")), kDefaultsChinese);

  Settings loaded;
  auto outcome = LoadSettings(dir.path(), loaded);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(loaded.tipindex, -1);
  EXPECT_EQ(loaded.speed, 35);
  EXPECT_EQ(loaded.langu, 1);
  EXPECT_FALSE(Exists(dir.file("winnt002.ini")));
}

TEST(Settings, ParserQuirks) {
  Settings s;
  // Key found anywhere in the line, value trimmed, later lines override,
  // low 16 bits kept, lines without a key ignored, missing keys untouched.
  auto r = ParseSettingsLines({"  style : 3  ", "junk line", "tipindex:-1", "style:2",
                               "level:65537", "langu:-32769", "match\t:\t1\t"},
                              s);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(s.style, 2);
  EXPECT_EQ(s.tipindex, -1);
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(s.langu, 32767);
  EXPECT_EQ(s.match, 1);
  EXPECT_EQ(s.speed, 0);  // no speed line: stays 0, not its first-run value
  // A line holding two key names sets both.
  Settings t;
  ParseSettingsLines({"showtip showwhat:1"}, t);
  EXPECT_EQ(t.showtip, 1);
  EXPECT_EQ(t.showwhat, 1);
}

TEST(Settings, BadValueStopsAtThatLineKeepingEarlierFields) {
  Settings s;
  auto r = ParseSettingsLines({"langu:0", "style:3", "speed:fast", "givepron:0"}, s);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "'fast' is not a valid integer value");
  EXPECT_EQ(s.langu, 0);
  EXPECT_EQ(s.style, 3);
  EXPECT_TRUE(r.read.test(0));
  EXPECT_TRUE(r.read.test(1));
  EXPECT_FALSE(r.read.test(2));
  EXPECT_FALSE(r.read.test(3));
  std::int16_t v = 0;
  EXPECT_FALSE(ParseSettingValue("99999999999", v));
  EXPECT_FALSE(ParseSettingValue("", v));
  EXPECT_FALSE(ParseSettingValue("-", v));
  EXPECT_TRUE(ParseSettingValue("+7", v));
  EXPECT_EQ(v, 7);
}

TEST(Settings, LoadReportsUndecryptableContainersAndCleansUp) {
  TempDir dir;
  WriteBytes(dir.file("winnt001.ini"), std::string(21, 'x'));
  Settings s;
  auto r = LoadSettings(dir.path(), s);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "Invalid buffer size for decryption");
  EXPECT_FALSE(Exists(dir.file("winnt002.ini")));

  writeContainer(dir, "langu:0\r\nstyle:2\r\nspeed:x\r\n");
  Settings t;
  r = LoadSettings(dir.path(), t);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(t.style, 2);
  EXPECT_FALSE(Exists(dir.file("winnt002.ini")));

  // Saving afterwards writes a valid file.
  ApplyFirstRunValues(t);
  SaveSettings(dir.path(), t);
  Settings u;
  EXPECT_TRUE(LoadSettings(dir.path(), u).ok);
  EXPECT_EQ(u.speed, 35);
}

TEST(Settings, SaveIntoMissingFolderFailsWithoutLeavingFiles) {
  Settings s;
  EXPECT_THROW(SaveSettings("/nonexistent-kirvale-folder", s), std::exception);
}
