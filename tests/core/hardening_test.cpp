// Damaged and unusual input that must not cost the user data: containers
// whose header lies, lines without their marks, pasted line breaks, and the
// atomic, synced writes of the user's files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "crypto/aes.h"
#include "dictionary/english_candidates.h"
#include "dictionary/history.h"
#include "dictionary/lookup.h"
#include "personal/notebook.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"
#include "text/codec.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

namespace {

std::string header(std::uint32_t len) {
  return std::string{static_cast<char>(len), static_cast<char>(len >> 8), static_cast<char>(len >> 16),
                     static_cast<char>(len >> 24)};
}

unsigned permissions(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return 07777;
  return st.st_mode & 07777;
}

dictionary::DictionaryReader readerOf(const std::vector<std::string>& lines, const TempDir& dir) {
  text::writeGbkLinesAtomically(dir.file("plain.dic"), lines);
  dictionary::DictionaryReader r;
  r.Bind(dir.file("plain.dic"));
  return r;
}

}  // namespace

TEST(DamagedContainer, LengthBeyondTheCiphertextIsRefusedWithoutWritingAnything) {
  TempDir dir;
  // A real container of 40 plain bytes whose header was then damaged.
  WriteBytes(dir.file("plain"), std::string(40, 'a'));
  crypto::EncryptFileToContainer(dir.file("plain"), dir.file("good"), "k");
  const std::string body = ReadBytes(dir.file("good")).substr(4);
  ASSERT_EQ(body.size(), 48u);
  for (std::uint32_t stated : {0x7FFFFFF0u, 49u, 0x80000000u, 0xFFFFFFFFu}) {
    WriteBytes(dir.file("bad"), header(stated) + body);
    try {
      crypto::DecryptContainerToFile(dir.file("bad"), dir.file("out"), "k");
      FAIL() << "accepted a header of " << stated;
    } catch (const crypto::EContainerDamaged& e) {
      EXPECT_EQ(e.path, dir.file("bad"));
      EXPECT_EQ(e.present, 48);
      EXPECT_NE(std::string(e.what()).find(dir.file("bad")), std::string::npos);
    }
    EXPECT_FALSE(Exists(dir.file("out"))) << stated;
    EXPECT_THROW(crypto::DecryptContainerToBytes(dir.file("bad"), "k"), crypto::EContainerDamaged);
  }
  // A header with nothing behind it but a length.
  WriteBytes(dir.file("empty"), header(100));
  EXPECT_THROW(crypto::DecryptContainerToFile(dir.file("empty"), dir.file("out"), "k"), crypto::EContainerDamaged);
  EXPECT_FALSE(Exists(dir.file("out")));
  // The length the ciphertext can hold is still fine, and the cipher's own
  // error keeps its text.
  WriteBytes(dir.file("edge"), header(48) + body);
  crypto::DecryptContainerToFile(dir.file("edge"), dir.file("out"), "k");
  EXPECT_EQ(ReadBytes(dir.file("out")).size(), 48u);
  WriteBytes(dir.file("odd"), header(0x7FFFFFF0u) + body.substr(0, 17));
  EXPECT_THROW(crypto::DecryptContainerToFile(dir.file("odd"), dir.file("out2"), "k"), crypto::EAESError);
  // In memory the good container gives its text back.
  EXPECT_EQ(crypto::DecryptContainerToBytes(dir.file("good"), "k"), std::string(40, 'a'));
  EXPECT_EQ(crypto::EncryptToContainerBytes(std::string(40, 'a'), "k"), ReadBytes(dir.file("good")));
}

TEST(DamagedContainer, PrivatePlainCopyIsReadableByItsUserOnlyAndReplacesALeftover) {
  TempDir dir;
  WriteBytes(dir.file("plain"), "new text");
  crypto::EncryptFileToContainer(dir.file("plain"), dir.file("c"), "k");
  // A copy left by a run that crashed, readable by everyone.
  WriteBytes(dir.file("copy"), "an older and longer text");
  ::chmod(dir.file("copy").c_str(), 0644);
  crypto::DecryptContainerToFile(dir.file("c"), dir.file("copy"), "k", 0600);
  EXPECT_EQ(ReadBytes(dir.file("copy")), "new text");
  EXPECT_EQ(permissions(dir.file("copy")), 0600u);
}

TEST(EntryLineMarks, LineWithoutSeparatorsHasNoHeadWordAndIsNeverFound) {
  TempDir dir;
  auto jp = readerOf({"a line without marks", "本 [ほん] /book//书/"}, dir);
  EXPECT_EQ(dictionary::ParseEntryLine("a line without marks").headWord, "");
  EXPECT_EQ(dictionary::JapaneseListItems(jp), (std::vector<std::string>{"", "本"}));
  EXPECT_FALSE(dictionary::SearchJapanese(jp, "a line without marks", nullptr).found);
  EXPECT_TRUE(dictionary::SearchJapanese(jp, "本", nullptr).found);

  TempDir dir2;
  auto en = readerOf({"nocomma", "book,书"}, dir2);
  const dictionary::SuffixTable table;
  EXPECT_FALSE(dictionary::SearchEnglish(en, "nocomma", table).found);
  EXPECT_TRUE(dictionary::SearchEnglish(en, "book", table).found);
  EXPECT_EQ(dictionary::EnglishListItems(en), (std::vector<std::string>{"", "book"}));
}

TEST(EntryLineMarks, NotebookKeepsAHandMadeLineWithoutMarks) {
  TempDir dir;
  WriteBytes(dir.file("newdict.dic"), text::utf8ToGbk("just a note\r\n猫 [ねこ] /cat//猫/\r\n\r\n"));
  personal::Notebook nb;
  ASSERT_TRUE(personal::LoadNotebook(dir.file("newdict.dic"), nb).ok);
  ASSERT_EQ(nb.size(), 3);
  EXPECT_EQ(nb.row(0).headWord, "");
  ASSERT_TRUE(personal::SaveNotebook(dir.file("newdict.dic"), nb).ok);
  EXPECT_EQ(ReadBytes(dir.file("newdict.dic")), text::utf8ToGbk("just a note\r\n猫[ねこ]/cat//猫/\r\n///\r\n"));
}

TEST(SearchText, LineBreaksAndIdeographicSpacesNeverReachTheSearch) {
  EXPECT_EQ(text::searchText("  apple\r\n"), "apple");
  EXPECT_EQ(text::searchText("red\r\napple"), "red apple");
  EXPECT_EQ(text::searchText("red \n\n\rapple"), "red  apple");
  EXPECT_EQ(text::searchText("a\nb\rc"), "a b c");
  EXPECT_EQ(text::searchText("\xE3\x80\x80猫\xE3\x80\x80"), "猫");
  EXPECT_EQ(text::searchText(" \xE3\x80\x80 \xE3\x80\x80本 \xE3\x80\x80"), "本");
  EXPECT_EQ(text::searchText("本\xE3\x80\x80屋"), "本\xE3\x80\x80屋");  // inside: kept
  EXPECT_EQ(text::searchText("\xE3\x80\x80"), "");
  EXPECT_EQ(text::searchText("\xE3\x80"), "\xE3\x80");  // a broken character is not a space

  // The history never stores a line break, so a restart gives one item back.
  TempDir dir;
  dictionary::HistoryList h;
  EXPECT_TRUE(h.Add("red\napple"));
  EXPECT_FALSE(h.Add("RED\rAPPLE"));
  std::string error;
  ASSERT_TRUE(h.Save(dir.file("history.txt"), &error)) << error;
  EXPECT_EQ(ReadBytes(dir.file("history.txt")), "red apple\r\n");
  dictionary::HistoryList again;
  ASSERT_TRUE(again.Load(dir.file("history.txt"), &error));
  EXPECT_EQ(again.items(), std::vector<std::string>{"red apple"});
}

TEST(AtomicWrite, KeepsPermissionsSetsModeAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string f = dir.file("list.txt");
  ASSERT_TRUE(text::writeFileAtomically(f, "one"));
  ::chmod(f.c_str(), 0640);
  ASSERT_TRUE(text::writeFileAtomically(f, "two"));
  EXPECT_EQ(ReadBytes(f), "two");
  EXPECT_EQ(permissions(f), 0640u);
  ASSERT_TRUE(text::writeFileAtomically(f, "three", 0600));
  EXPECT_EQ(permissions(f), 0600u);
  // A folder that is not there: false, errno set, nothing left behind.
  errno = 0;
  EXPECT_FALSE(text::writeFileAtomically(dir.file("no/such"), "x"));
  EXPECT_NE(errno, 0);
  // A directory in the file's place cannot be replaced; the old one stays.
  ::mkdir(dir.file("taken").c_str(), 0700);
  EXPECT_FALSE(text::writeFileAtomically(dir.file("taken"), "x"));
  int files = 0;
  for (const char* name : {"list.txt", "taken"}) files += Exists(dir.file(name)) ? 1 : 0;
  EXPECT_EQ(files, 2);
  EXPECT_FALSE(Exists(dir.file("taken.tmp-" + std::to_string(::getpid()))));
}

TEST(SettingsFile, ReadWithoutWritingAndSavedPrivately) {
  TempDir dir;
  settings::Settings s;
  s.langu = 1;
  s.speed = 50;
  settings::SaveSettings(dir.path(), s);
  EXPECT_EQ(permissions(dir.file("winnt001.ini")), 0600u);
  // Nothing can be created under the plain copy's name: the settings are
  // read all the same, and nothing is written to read them.
  ::mkdir(dir.file("winnt002.ini").c_str(), 0700);
  ::chmod(dir.file("winnt001.ini").c_str(), 0644);
  settings::Settings read;
  const settings::ParseOutcome r = settings::LoadSettings(dir.path(), read);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(read.langu, 1);
  EXPECT_EQ(read.speed, 50);
  EXPECT_EQ(permissions(dir.file("winnt001.ini")), 0600u);
  // A settings file that cannot be replaced says why.
  TempDir other;
  ::mkdir(other.file("winnt001.ini").c_str(), 0700);
  try {
    settings::SaveSettings(other.path(), s);
    FAIL() << "saved over a directory";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("winnt001.ini"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("directory"), std::string::npos) << e.what();
  }
}
