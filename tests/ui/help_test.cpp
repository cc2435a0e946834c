// The help: opened by the desktop when it has a help viewer, else in the
// program's own help window, which reads Kirvale.chm with its contents tree,
// index, pages, links and pictures.
#include <QAction>
#include <QListWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QtTest>
#include <cstdlib>

#include "app/help.h"
#include "app/main.h"
#include "platform/shell.h"
#include "support/program_folder.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using app::HelpOutcome;
using app::HelpWindow;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

// With KIRVALE_SCREENSHOT_DIR set, the window is saved there as a picture to
// look at.
void saveShot(QWidget* w, const char* name) {
  if (const char* dir = std::getenv("KIRVALE_SCREENSHOT_DIR"))
    w->grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
}

QTreeWidgetItem* findTopic(QTreeWidget* tree, const QString& name) {
  for (QTreeWidgetItemIterator it(tree); *it; ++it)
    if ((*it)->text(0) == name) return *it;
  return nullptr;
}
}  // namespace

class HelpTest : public QObject {
  Q_OBJECT
  QStringList shown;
  QStringList opened;

 private slots:
  void init() {
    ui::ResetProcessState();
    shown.clear();
    opened.clear();
    ui::Presenter::setHandler([this](ui::DialogKind, const QString& t) {
      shown << t;
      return true;
    });
    platform::SetShellOpener([this](const QString& p) {
      opened << p;
      return true;
    });
    app::SetDesktopHelpQuery([] { return false; });  // the usual Linux desktop
  }
  void cleanup() {
    platform::SetShellOpener(nullptr);
    app::SetDesktopHelpQuery(nullptr);
  }

  void theHelpWindowShowsTheChineseHelp() {
    ProgramFolder folder;
    QWidget parent;
    HelpWindow* help = nullptr;
    QCOMPARE(app::OpenHelp(&parent, help, 1), HelpOutcome::OpenedInHelpWindow);
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(opened.isEmpty());
    QVERIFY(shown.isEmpty());
    QCOMPARE(help->tabs->tabText(0), u8("目录"));
    QCOMPARE(help->tabs->tabText(1), u8("索引"));
    // Two books, Chinese and English, each with a page per window and function.
    QCOMPARE(help->contents->topLevelItemCount(), 2);
    QTreeWidgetItem* zh = help->contents->topLevelItem(0);
    QCOMPARE(zh->text(0), u8("Kirvale 中文帮助"));
    QCOMPARE(zh->childCount(), help->contents->topLevelItem(1)->childCount());
    QVERIFY(zh->childCount() >= 15);
    for (const char* topic : {"查词与词条列表", "查询记录、后退与前进", "高级查询", "附录", "我的词典", "生词本：浏览与练习",
                              "每日一词", "屏幕取词与取词窗口", "朗读", "风格与设置", "界面语言", "文件存放位置",
                              "命令行工具 kirvale-cli", "数据来源与许可"})
      QVERIFY2(findTopic(help->contents, u8(topic)), topic);
    // The start page in Chinese, marked in the tree, with its picture loaded.
    QCOMPARE(help->browser->currentPath(), std::string("/zh/index.html"));
    QVERIFY(help->browser->toPlainText().contains(u8("欢迎使用 Kirvale")));
    QCOMPARE(help->contents->currentItem(), zh);
    const QVariant picture = help->browser->loadResource(QTextDocument::ImageResource, QUrl("../images/main.png"));
    QVERIFY(!picture.value<QImage>().isNull());
    QCOMPARE(picture.value<QImage>().size(), QSize(491, 353));
    // The pages' style sheet comes from the help file as well.
    QVERIFY(help->browser->loadResource(QTextDocument::StyleSheetResource, QUrl("../help.css")).toString().contains("h1"));
    saveShot(help, "help-zh");

    // A topic of the tree.
    QTreeWidgetItem* appendix = findTopic(help->contents, u8("附录"));
    help->contents->itemClicked(appendix, 0);
    QCOMPARE(help->browser->currentPath(), std::string("/zh/appendix.html"));
    QVERIFY(help->browser->toPlainText().contains(u8("罗马字-假名对应表")));
    // A link inside a page, relative to it, leads to the other language.
    emit help->browser->anchorClicked(QUrl("../en/appendix.html"));
    QCOMPARE(help->browser->currentPath(), std::string("/en/appendix.html"));
    QVERIFY(help->browser->toPlainText().contains("The appendix"));
    QCOMPARE(help->contents->currentItem()->text(0), QString("The appendix"));
    emit help->browser->anchorClicked(QUrl("lookup.html"));
    QCOMPARE(help->browser->currentPath(), std::string("/en/lookup.html"));
    // The index: keywords in both languages lead to their pages.
    QVERIFY(help->index->count() > 40);
    QList<QListWidgetItem*> hits = help->index->findItems(u8("生词本"), Qt::MatchExactly);
    QCOMPARE(hits.size(), 1);
    help->index->itemClicked(hits[0]);
    QCOMPARE(help->browser->currentPath(), std::string("/zh/notebook.html"));
    // A page the file does not have says so instead of going blank.
    help->browser->showPath("/zh/nothing.html");
    QVERIFY(help->browser->toPlainText().contains("/zh/nothing.html"));
    delete help;
  }

  void theMainMenuOpensItInTheInterfaceLanguage() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QVERIFY(w.N9->isEnabled());
    w.N9->trigger();
    QVERIFY(w.helpWindow());
    QVERIFY(w.helpWindow()->isVisible());
    QCOMPARE(w.helpWindow()->windowTitle(), QString("Kirvale Help"));
    QCOMPARE(w.helpWindow()->tabs->tabText(0), QString("Contents"));
    QCOMPARE(w.helpWindow()->browser->currentPath(), std::string("/en/index.html"));
    QVERIFY(w.helpWindow()->browser->toPlainText().contains("Welcome to Kirvale"));
    emit w.helpWindow()->browser->anchorClicked(QUrl("appendix.html"));
    saveShot(w.helpWindow(), "help-en");
    // Choosing it again reuses the window.
    HelpWindow* first = w.helpWindow();
    w.N9->trigger();
    QCOMPARE(w.helpWindow(), first);
    QVERIFY(shown.isEmpty());
    w.close();
  }

  void aDesktopViewerIsPreferredAndProblemsAreReported() {
    ProgramFolder folder;
    QWidget parent;
    HelpWindow* help = nullptr;
    // A desktop with a viewer for help files opens the file itself.
    app::SetDesktopHelpQuery([] { return true; });
    QCOMPARE(app::OpenHelp(&parent, help, 0), HelpOutcome::OpenedByDesktop);
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened[0].endsWith("/Kirvale.chm"));
    QVERIFY(!help);
    // When the viewer fails, the help window steps in.
    platform::SetShellOpener([](const QString&) { return false; });
    QCOMPARE(app::OpenHelp(&parent, help, 0), HelpOutcome::OpenedInHelpWindow);
    QVERIFY(help && help->isVisible());
    help->close();
    // A damaged file and a missing file are reported, in the interface language.
    app::SetDesktopHelpQuery([] { return false; });
    kirvale::testing::WriteBytes(folder.file("Kirvale.chm"), "not a help file");
    QCOMPARE(app::OpenHelp(&parent, help, 1), HelpOutcome::Unreadable);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].contains(u8("无法读取帮助文件")));
    folder.remove("Kirvale.chm");
    QCOMPARE(app::OpenHelp(&parent, help, 0), HelpOutcome::Missing);
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[1].contains("Kirvale.chm is missing"));
    delete help;
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
