#include "dictionary/history.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "text/codec.h"

using namespace kirvale::dictionary;
using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;
using V = std::vector<std::string>;

namespace {

// One search as the main window runs it: the text enters the history, the
// lookup finds the entry or not, the search ends.
void Search(SearchSession& s, const std::string& text, bool found = true) {
  s.SearchStarted(text);
  s.SearchEnded(text, found);
}

// Back or Forward as the main window runs them: the returned text is
// searched again (always found here, as it was found before).
std::optional<std::string> GoBack(SearchSession& s) {
  auto text = s.Back();
  if (text) Search(s, *text);
  return text;
}
std::optional<std::string> GoForward(SearchSession& s) {
  auto text = s.Forward();
  if (text) Search(s, *text);
  return text;
}

}  // namespace

// ------------------------------------------------------------ HistoryList

TEST(HistoryList, AppleThenAppleInCapitalsLeavesOneItem) {
  SearchSession s;
  EXPECT_TRUE(s.SearchStarted("apple"));  // the drop-down gains an item
  s.SearchEnded("apple", true);
  EXPECT_FALSE(s.SearchStarted("Apple"));
  s.SearchEnded("Apple", true);
  EXPECT_EQ(s.history().items(), V{"apple"});
}

TEST(HistoryList, AddKeepsFirstSearchOrderAndReportsGrowth) {
  HistoryList h;
  EXPECT_TRUE(h.Add("banana"));
  EXPECT_TRUE(h.Add("食べる"));
  EXPECT_FALSE(h.Add("BANANA"));
  EXPECT_FALSE(h.Add("食べる"));
  EXPECT_TRUE(h.Add("apple"));
  EXPECT_FALSE(h.Add(""));
  EXPECT_EQ(h.items(), (V{"banana", "食べる", "apple"}));
}

TEST(HistoryList, OnlyAsciiLettersAreFoldedWhenComparing) {
  HistoryList h;
  EXPECT_TRUE(h.Add("Äpfel"));
  EXPECT_TRUE(h.Add("äpfel"));  // not an ASCII letter: a different text
  EXPECT_FALSE(h.Add("ÄPFEL"));
  EXPECT_TRUE(h.Add("apples"));  // equal ignoring case means the whole text
  EXPECT_EQ(h.size(), 3u);
}

TEST(HistoryList, NotFoundSearchEntersHistoryButNotPath) {
  SearchSession s;
  Search(s, "zzzq", /*found=*/false);
  EXPECT_EQ(s.history().items(), V{"zzzq"});
  EXPECT_EQ(s.path().count(), 0);
  EXPECT_EQ(s.path().position(), 0);
  EXPECT_FALSE(s.Back());
}

TEST(HistoryList, SaveWritesGbkWithCrLfAndLoadReadsItBack) {
  TempDir d;
  const std::string file = d.file(kHistoryFile);
  HistoryList h;
  h.Add("apple");
  h.Add("猫");
  h.Add("食べる");
  std::string error;
  ASSERT_TRUE(h.Save(file, &error)) << error;
  EXPECT_EQ(ReadBytes(file), "apple\r\n" + kirvale::text::utf8ToGbk("猫") + "\r\n" +
                                 kirvale::text::utf8ToGbk("食べる") + "\r\n");
  EXPECT_EQ(ReadBytes(file).substr(7, 2), "\xC3\xA8");  // 猫 in GBK

  HistoryList again;
  ASSERT_TRUE(again.Load(file, &error)) << error;
  EXPECT_EQ(again.items(), (V{"apple", "猫", "食べる"}));
  // Nothing but the history file is left in the folder.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(d.path())) (void)e, ++files;
  EXPECT_EQ(files, 1);
}

TEST(HistoryList, LoadTakesLinesUnchangedWithoutDeduplication) {
  TempDir d;
  const std::string file = d.file(kHistoryFile);
  WriteBytes(file, "apple\r\nApple\r\n  pear \r\napple\r\n");
  HistoryList h;
  std::string error;
  ASSERT_TRUE(h.Load(file, &error)) << error;
  EXPECT_EQ(h.items(), (V{"apple", "Apple", "  pear ", "apple"}));
  // A later search still does not add a duplicate.
  EXPECT_FALSE(h.Add("APPLE"));
  EXPECT_TRUE(h.Add("pear"));
}

TEST(HistoryList, MissingFileGivesAnEmptyList) {
  TempDir d;
  HistoryList h;
  h.Add("old");
  std::string error;
  EXPECT_TRUE(h.Load(d.file(kHistoryFile), &error));
  EXPECT_TRUE(h.empty());
  EXPECT_TRUE(error.empty());
}

TEST(HistoryList, HandEditedFileWithMixedLineEndsAndBadBytesLoadsAndSurvivesSaving) {
  TempDir d;
  const std::string file = d.file(kHistoryFile);
  const std::string cat = kirvale::text::utf8ToGbk("猫");
  // CR only, LF only, CR LF, a lone GBK lead byte, an invalid pair, a last
  // line without a line end.
  const std::string bad1 = std::string("ab\x81");
  const std::string bad2 = std::string("\xFF\xFFz");
  WriteBytes(file, "one\rtwo\n" + cat + "\r\n" + bad1 + "\n" + bad2 + "\r\nlast");
  HistoryList h;
  std::string error;
  ASSERT_TRUE(h.Load(file, &error)) << error;
  ASSERT_EQ(h.size(), 6u);
  EXPECT_EQ(h.items()[0], "one");
  EXPECT_EQ(h.items()[1], "two");
  EXPECT_EQ(h.items()[2], "猫");
  EXPECT_EQ(h.items()[3].substr(0, 2), "ab");
  EXPECT_NE(h.items()[3].find("\xEF\xBF\xBD"), std::string::npos);  // shown as U+FFFD
  EXPECT_NE(h.items()[4].find("\xEF\xBF\xBD"), std::string::npos);
  EXPECT_EQ(h.items()[5], "last");

  // Saving gives every line a CR LF and writes the bad lines' own bytes back.
  h.Add("new");
  ASSERT_TRUE(h.Save(file, &error)) << error;
  EXPECT_EQ(ReadBytes(file), "one\r\ntwo\r\n" + cat + "\r\n" + bad1 + "\r\n" + bad2 + "\r\nlast\r\nnew\r\n");
}

TEST(HistoryList, ClearingAndExitingDeletesTheFileAndTheNextRunStartsEmpty) {
  TempDir d;
  const std::string file = d.file(kHistoryFile);
  std::string error;
  {  // first run: two searches, exit
    SearchSession s;
    Search(s, "apple");
    Search(s, "pear", false);
    ASSERT_TRUE(s.history().Save(file, &error)) << error;
    ASSERT_TRUE(Exists(file));
  }
  {  // second run: load, clear in the settings dialog, exit
    SearchSession s;
    ASSERT_TRUE(s.history().Load(file, &error)) << error;
    EXPECT_EQ(s.history().items(), (V{"apple", "pear"}));
    Search(s, "plum");
    s.history().Clear();
    EXPECT_EQ(s.path().elements(), V{"plum"});  // clearing leaves the path alone
    ASSERT_TRUE(s.history().Save(file, &error)) << error;
    EXPECT_FALSE(Exists(file));
  }
  {  // third run: empty list
    SearchSession s;
    ASSERT_TRUE(s.history().Load(file, &error)) << error;
    EXPECT_TRUE(s.history().empty());
    // An empty list without a file is saved as no file at all.
    ASSERT_TRUE(s.history().Save(file, &error)) << error;
    EXPECT_FALSE(Exists(file));
  }
}

TEST(HistoryList, SaveIntoAFolderThatIsNotThereReportsFailure) {
  TempDir d;
  HistoryList h;
  h.Add("apple");
  std::string error;
  EXPECT_FALSE(h.Save(d.file("no-such-folder/history.txt"), &error));
  EXPECT_NE(error.find("history.txt"), std::string::npos);
}

TEST(HistoryList, UnreadableFileIsReportedKeptAndNeverOverwritten) {
  TempDir d;
  const std::string file = d.file(kHistoryFile);
  // A folder where the file should be cannot be read as a list.
  std::filesystem::create_directory(file);
  HistoryList h;
  h.Add("kept");
  std::string error;
  EXPECT_FALSE(h.Load(file, &error));
  EXPECT_NE(error.find("history.txt"), std::string::npos);
  EXPECT_EQ(h.items(), V{"kept"});  // nothing lost
  error.clear();
  EXPECT_FALSE(h.Save(file, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST(HistoryList, SomethingThatIsNotAPlainFileIsNotReplacedAtExit) {
  TempDir d;
  const std::string file = d.file(kHistoryFile);
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  HistoryList h;
  std::string error;
  EXPECT_FALSE(h.Load(file, &error));
  EXPECT_NE(error.find("not a file"), std::string::npos);
  h.Add("new");
  error.clear();
  EXPECT_FALSE(h.Save(file, &error));
  EXPECT_NE(error.find("could not be read at start"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_fifo(file));
  // Once a later Load succeeds (the user mended the file), saving works.
  std::filesystem::remove(file);
  EXPECT_TRUE(h.Load(file, &error));
  h.Add("new");
  EXPECT_TRUE(h.Save(file, &error)) << error;
  EXPECT_EQ(ReadBytes(file), "new\r\n");
}

TEST(HistoryList, FileWithoutReadPermissionIsNotReplacedAtExit) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir d;
  const std::string file = d.file(kHistoryFile);
  WriteBytes(file, "precious\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0200), 0);
  HistoryList h;
  std::string error;
  EXPECT_FALSE(h.Load(file, &error));
  EXPECT_FALSE(error.empty());
  h.Add("new");
  EXPECT_FALSE(h.Save(file, &error));
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  EXPECT_EQ(ReadBytes(file), "precious\r\n");
  // Another file is still written normally.
  EXPECT_TRUE(h.Save(d.file("other.txt"), &error)) << error;
}

// ------------------------------------------------------------ NavigationPath

TEST(NavigationPath, AppendAfterSteppingBackKeepsEveryElement) {
  SearchSession s;
  Search(s, "a");
  Search(s, "b");
  Search(s, "c");
  EXPECT_EQ(GoBack(s), "b");
  EXPECT_EQ(GoBack(s), "a");
  EXPECT_EQ(s.path().position(), 1);
  EXPECT_EQ(s.path().count(), 3);  // Back never appends
  Search(s, "d");
  EXPECT_EQ(s.path().elements(), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(s.path().count(), 4);
  EXPECT_EQ(s.path().position(), 4);
  EXPECT_EQ(GoBack(s), "c");
  EXPECT_EQ(s.path().position(), 3);
}

TEST(NavigationPath, SameWordTwiceInARowIsKeptTwice) {
  SearchSession s;
  Search(s, "apple");
  Search(s, "apple");
  EXPECT_EQ(s.path().elements(), (V{"apple", "apple"}));
  EXPECT_EQ(s.history().items(), V{"apple"});
  EXPECT_EQ(GoBack(s), "apple");
  EXPECT_EQ(s.path().position(), 1);
}

TEST(NavigationPath, BackAndForwardAtTheEndsDoNothing) {
  SearchSession s;
  // Empty path.
  EXPECT_FALSE(s.Back());
  EXPECT_FALSE(s.Forward());
  EXPECT_FALSE(s.navigating());
  EXPECT_EQ(s.path().position(), 0);

  Search(s, "a");
  Search(s, "b");
  // At the last element: Forward does nothing.
  EXPECT_FALSE(s.Forward());
  EXPECT_FALSE(s.navigating());
  EXPECT_EQ(s.path().position(), 2);
  // At the first element: Back does nothing.
  EXPECT_EQ(GoBack(s), "a");
  EXPECT_FALSE(s.Back());
  EXPECT_FALSE(s.navigating());
  EXPECT_EQ(s.path().position(), 1);
  // And Forward walks on again.
  EXPECT_EQ(GoForward(s), "b");
  EXPECT_EQ(s.path().position(), 2);
  EXPECT_EQ(s.path().count(), 2);
}

// ------------------------------------------------------------ SearchSession

TEST(SearchSession, NavigationFlagIsSetByBackAndClearedWhenTheSearchEnds) {
  SearchSession s;
  Search(s, "a");
  Search(s, "b");
  auto text = s.Back();
  ASSERT_EQ(text, "a");
  EXPECT_TRUE(s.navigating());
  s.SearchStarted(*text);
  s.SearchEnded(*text, true);
  EXPECT_FALSE(s.navigating());
  EXPECT_EQ(s.path().count(), 2);

  text = s.Forward();
  ASSERT_EQ(text, "b");
  EXPECT_TRUE(s.navigating());
  // Even when the repeated search finds nothing (a My Dictionary entry
  // deleted since), the flag clears and the path does not grow.
  s.SearchStarted(*text);
  s.SearchEnded(*text, false);
  EXPECT_FALSE(s.navigating());
  EXPECT_EQ(s.path().count(), 2);
  EXPECT_EQ(s.path().position(), 2);

  // The next typed search appends again.
  Search(s, "c");
  EXPECT_EQ(s.path().elements(), (V{"a", "b", "c"}));
}

TEST(SearchSession, ResetPathEmptiesThePathAndClearsTheFlag) {
  SearchSession s;
  EXPECT_EQ(s.path().count(), 0);
  EXPECT_EQ(s.path().position(), 0);
  Search(s, "a");
  Search(s, "b");
  ASSERT_TRUE(s.Back());
  s.ResetPath();
  EXPECT_FALSE(s.navigating());
  EXPECT_EQ(s.path().count(), 0);
  EXPECT_EQ(s.path().position(), 0);
  EXPECT_EQ(s.history().size(), 2u);  // the history is not the path
}
