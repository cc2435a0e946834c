// Reading a help file: the contents and index sitemaps, links between
// pages, and a real CHM compiled by chmcmd.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "platform/chm_file.h"
#include "support/temp_dir.h"
#include "text/codec.h"

using kirvale::platform::ChmFile;
using kirvale::platform::HelpTopic;
using kirvale::platform::ParseHelpSitemap;
using kirvale::platform::ResolveHelpPath;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

TEST(ChmSitemap, NestedListsBecomeATree) {
  const std::string hhc = R"(<HTML><BODY>
<UL>
 <LI><OBJECT type="text/sitemap"><param name="Name" value="Book"><param name="Local" value="zh/index.html"></OBJECT>
 <UL>
  <li><object TYPE="Text/Sitemap"><PARAM NAME="name" VALUE='A &amp; B'><param name=Local value=zh/a.html#top></object>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="&#x5E2E;&#21161;"><param name="Local" value="zh/b.html"></OBJECT>
  <UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Deep"><param name="Local" value="zh/c.html"></OBJECT></UL>
 </UL>
 <LI><OBJECT type="text/sitemap"><param name="Name" value="Second"><param name="Local" value="en/index.html"></OBJECT>
</UL>
<OBJECT type="text/site properties"><param name="Name" value="ignored"></OBJECT>
</BODY></HTML>)";
  const auto tree = ParseHelpSitemap(hhc);
  ASSERT_EQ(tree.size(), 2u);
  EXPECT_EQ(tree[0].name, "Book");
  EXPECT_EQ(tree[0].local, "zh/index.html");
  ASSERT_EQ(tree[0].children.size(), 2u);
  EXPECT_EQ(tree[0].children[0].name, "A & B");
  EXPECT_EQ(tree[0].children[0].local, "zh/a.html#top");
  EXPECT_EQ(tree[0].children[1].name, "帮助");
  ASSERT_EQ(tree[0].children[1].children.size(), 1u);
  EXPECT_EQ(tree[0].children[1].children[0].local, "zh/c.html");
  EXPECT_EQ(tree[1].name, "Second");
  EXPECT_TRUE(tree[1].children.empty());
}

TEST(ChmSitemap, GbkTextAndBrokenInputAreHandled) {
  // A sitemap in GBK, as older help compilers write it.
  const std::string gbk = kirvale::text::utf8ToGbk(
      "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"附录\"><param name=\"Local\" "
      "value=\"a.html\"></OBJECT></UL>");
  const auto tree = ParseHelpSitemap(gbk);
  ASSERT_EQ(tree.size(), 1u);
  EXPECT_EQ(tree[0].name, "附录");
  // Missing closing tags, stray closers, an unterminated tag, bad entities:
  // no crash, what can be read is kept.
  const auto broken = ParseHelpSitemap(
      "</UL></UL><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"&bogus; &#xZZ; &#99999999;\">"
      "</OBJECT><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\"><param name=");
  ASSERT_EQ(broken.size(), 1u);
  EXPECT_EQ(broken[0].name, "&bogus; &#xZZ; &#99999999;");
  EXPECT_TRUE(ParseHelpSitemap("").empty());
}

TEST(ChmPaths, LinksResolveAgainstThePage) {
  EXPECT_EQ(ResolveHelpPath("/zh/index.html", "lookup.html"), "/zh/lookup.html");
  EXPECT_EQ(ResolveHelpPath("/zh/index.html", "../en/lookup.html#x"), "/en/lookup.html#x");
  EXPECT_EQ(ResolveHelpPath("/zh/index.html#top", "../images/main.png"), "/images/main.png");
  EXPECT_EQ(ResolveHelpPath("/zh/a.html", "/help.css"), "/help.css");
  EXPECT_EQ(ResolveHelpPath("/zh/a.html", "#part"), "/zh/a.html#part");
  EXPECT_EQ(ResolveHelpPath("/a.html", "../../../b.html"), "/b.html");
  EXPECT_EQ(ResolveHelpPath("/zh/a.html", "./b/./c.html"), "/zh/b/c.html");
}

TEST(ChmFile, ReadsACompiledHelpFile) {
  TempDir dir;
  WriteBytes(dir.file("index.html"), "<html><body><a href=\"sub/p.html\">p</a></body></html>");
  ::mkdir(dir.file("sub").c_str(), 0700);
  WriteBytes(dir.file("sub/p.html"), "<html><body>页面</body></html>");
  WriteBytes(dir.file("toc.hhc"),
             "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"首页\"><param name=\"Local\" "
             "value=\"index.html\"></OBJECT><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
             "value=\"P\"><param name=\"Local\" value=\"sub/p.html\"></OBJECT></UL></UL>");
  WriteBytes(dir.file("index.hhk"),
             "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"key\"><param name=\"Local\" "
             "value=\"sub/p.html\"></OBJECT></UL>");
  WriteBytes(dir.file("t.hhp"),
             "[OPTIONS]\nCompiled file=T.chm\nContents file=toc.hhc\nIndex file=index.hhk\nDefault "
             "topic=index.html\nTitle=Test help\n\n[FILES]\nindex.html\nsub/p.html\n");
  const std::string cmd = "cd " + dir.path() + " && chmcmd --no-html-scan t.hhp >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);

  ChmFile chm;
  EXPECT_FALSE(chm.Open(dir.file("missing.chm")));
  EXPECT_FALSE(chm.Open(dir.file("index.html")));  // not a help file
  EXPECT_FALSE(chm.isOpen());
  EXPECT_FALSE(chm.Read("/index.html"));
  ASSERT_TRUE(chm.Open(dir.file("T.chm")));
  EXPECT_EQ(chm.title(), "Test help");
  EXPECT_EQ(chm.defaultTopic(), "/index.html");
  EXPECT_EQ(chm.Read("/sub/p.html").value_or(""), "<html><body>页面</body></html>");
  EXPECT_EQ(chm.Read("sub/P.HTML#x").value_or(""), "<html><body>页面</body></html>");  // any letter case
  EXPECT_FALSE(chm.Read("/nothing.html"));
  const auto contents = chm.Contents();
  ASSERT_EQ(contents.size(), 1u);
  EXPECT_EQ(contents[0].name, "首页");
  ASSERT_EQ(contents[0].children.size(), 1u);
  EXPECT_EQ(contents[0].children[0].local, "sub/p.html");
  const auto index = chm.Index();
  ASSERT_EQ(index.size(), 1u);
  EXPECT_EQ(index[0].name, "key");
  const auto objects = chm.Objects();
  EXPECT_NE(std::find(objects.begin(), objects.end(), "/sub/p.html"), objects.end());
}

TEST(ChmFile, ADamagedHelpFileNeverCrashes) {
  TempDir dir;
  WriteBytes(dir.file("index.html"), "<html><body>" + std::string(3000, 'x') + "</body></html>");
  WriteBytes(dir.file("toc.hhc"),
             "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"a\"><param name=\"Local\" "
             "value=\"index.html\"></OBJECT></UL>");
  WriteBytes(dir.file("t.hhp"),
             "[OPTIONS]\nCompiled file=T.chm\nContents file=toc.hhc\nDefault topic=index.html\n\n[FILES]\nindex.html\n");
  const std::string cmd = "cd " + dir.path() + " && chmcmd --no-html-scan t.hhp >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const std::string whole = kirvale::testing::ReadBytes(dir.file("T.chm"));
  ASSERT_GT(whole.size(), 1000u);
  // Cut short at many places, and with bytes overwritten: opening and
  // reading either works or fails cleanly.
  for (std::size_t cut = 0; cut < whole.size(); cut += whole.size() / 40 + 1) {
    for (bool scribble : {false, true}) {
      std::string bytes = whole.substr(0, scribble ? whole.size() : cut);
      if (scribble)
        for (std::size_t i = cut; i < std::min(bytes.size(), cut + 16); ++i) bytes[i] = static_cast<char>(0xFF);
      WriteBytes(dir.file("bad.chm"), bytes);
      ChmFile chm;
      if (!chm.Open(dir.file("bad.chm"))) continue;
      (void)chm.Read("/index.html");
      (void)chm.Contents();
      (void)chm.Index();
      (void)chm.Objects();
    }
  }
  SUCCEED();
}
