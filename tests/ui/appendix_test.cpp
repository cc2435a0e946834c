// The appendix viewer in the main window: the topic list, a section shown in
// the Chinese pane, and the next search taking the pane back.
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include "app/main.h"
#include "ui/head_word_list.h"
#include "support/program_folder.h"
#include "text/codec.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

// Each section has a line that a user would recognise, and the file has the
// traps of the section rules: text before the first title, a body line 日语
// that starts 日语的词类 early, the same title written again, an empty line,
// a title in another letter case, and no section for 日本城市地名.
const std::vector<std::string> kAppendix = {
    "appendix of the test",
    "词典缩略语",
    "n：名词",
    "",
    "vt：他动词",
    "日语的词类",
    "名词（名詞）",
    "日语的词类",
    "written twice: never shown",
    "日语有关词汇",
    "日语",
    "品詞 [ひんし]　词类",
    "罗马字-假名对应表",
    "ka        か　カ",
    "平假名-片假名对照表",
    "あ　　　ア",
};

void doubleClick(QListWidget* list, int row) {
  list->setCurrentRow(row);
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

bool scrollBarsOn(QTextEdit* pane) {
  return pane->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn &&
         pane->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
}
}  // namespace

class AppendixTest : public QObject {
  Q_OBJECT
  std::unique_ptr<ProgramFolder> folder;
  std::unique_ptr<app::TForm3> w;

  void start(int langu, const std::string& settings = {}) {
    folder = std::make_unique<ProgramFolder>();
    QVERIFY(text::writeGbkLinesAtomically(folder->file("appendix.app"), kAppendix));
    folder->writeSettings(settings.empty() ? kirvale::testing::DefaultSettingsText(langu) : settings);
    w = std::make_unique<app::TForm3>();
    QVERIFY(w->FormCreate());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  }

  void type(const QString& t) {
    w->wordtext->clear();
    QInputMethodEvent e;
    e.setCommitString(t);
    QApplication::sendEvent(w->wordtext, &e);
  }

 private slots:
  void init() {
    ui::ResetProcessState();
    ui::Presenter::setHandler([](ui::DialogKind, const QString&) { return true; });
  }
  void cleanup() {
    if (w) w->close();
    w.reset();
    folder.reset();
  }

  void theButtonShowsTheTopicList() {
    start(1);
    QVERIFY(w->FlatSpeedButton2->isEnabled());
    QCOMPARE(w->applist->count(), 6);
    const char* topics[] = {"词典缩略语", "日语的词类", "日语有关词汇", "日本城市地名", "罗马字-假名对应表",
                            "平假名-片假名对照表"};
    for (int i = 0; i < 6; ++i) QCOMPARE(w->applist->item(i)->text(), u8(topics[i]));
    QCOMPARE(w->applist->toolTip(), u8("双击显示"));
    QVERIFY(w->applist->isHidden());
    QTest::mouseClick(w->FlatSpeedButton2, Qt::LeftButton);
    QVERIFY(w->applist->isVisible());
    QVERIFY(w->wordlist->isHidden());
    QVERIFY(w->englishlist->isHidden());
    QVERIFY(w->FlatSpeedButton2->isChecked());
    QCOMPARE(w->Label2->text(), u8("附录"));
    // A change of query mode brings a head-word list back.
    type("walk");
    QVERIFY(w->englishlist->isVisible());
    QVERIFY(w->applist->isHidden());
  }

  void aDoubleClickShowsEachSection() {
    start(0);
    QTest::mouseClick(w->FlatSpeedButton2, Qt::LeftButton);
    QCOMPARE(w->Label2->text(), QString("Appendix"));
    // The head-word label keeps what the last search showed.
    type(u8("猫"));
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    const QString head = w->Label3->text();
    const QString english = w->FlatMemo2->toPlainText();
    QTest::mouseClick(w->FlatSpeedButton2, Qt::LeftButton);
    const char* expected[] = {
        "词典缩略语\nn：名词\n\nvt：他动词",
        // Starts at the title; the same title written again ends it.
        "日语的词类\n名词（名詞）",
        // 日语 is a leading part of 日语有关词汇 but comes after its title.
        "日语有关词汇\n日语\n品詞 [ひんし]　词类",
        // No section: an empty pane with scroll bars.
        "",
        "罗马字-假名对应表\nka        か　カ",
        "平假名-片假名对照表\nあ　　　ア",
    };
    for (int row = 0; row < 6; ++row) {
      w->FlatMemo1->setPlainText("old text");
      doubleClick(w->applist, row);
      QCOMPARE(w->FlatMemo1->toPlainText(), u8(expected[row]));
      QVERIFY(scrollBarsOn(w->FlatMemo1));
      QCOMPARE(w->FlatMemo1->textCursor().position(), 0);
      QCOMPARE(w->FlatMemo1->textCursor().selectionEnd(), 0);
      QCOMPARE(w->FlatMemo1->verticalScrollBar()->value(), 0);
    }
    QCOMPARE(w->Label3->text(), head);
    QCOMPARE(w->FlatMemo2->toPlainText(), english);
  }

  void aLeadingPartOfTheTitleStartsTheSectionEarly() {
    start(1);
    QTest::mouseClick(w->FlatSpeedButton2, Qt::LeftButton);
    // 日语 (in the terms section) begins 日语的词类 too; the real title came
    // before it, so the section shown is the one that starts at its title.
    doubleClick(w->applist, 1);
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("日语的词类\n名词（名詞）"));
    // With the title line gone from the file, the section starts at 日语.
    std::vector<std::string> lines = kAppendix;
    lines.erase(lines.begin() + 5, lines.begin() + 9);
    QVERIFY(text::writeGbkLinesAtomically(folder->file("appendix.app"), lines));
    w->close();
    w.reset();
    ui::ResetProcessState();
    w = std::make_unique<app::TForm3>();
    QVERIFY(w->FormCreate());
    w->show();
    QTest::mouseClick(w->FlatSpeedButton2, Qt::LeftButton);
    doubleClick(w->applist, 1);
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("日语\n品詞 [ひんし]　词类"));
  }

  void theChineseFullLayoutIsKeptAtExitAndASearchRemovesTheScrollBars() {
    std::string settings = kirvale::testing::DefaultSettingsText(1);
    settings.replace(settings.find("level:0"), 7, "level:-1");
    start(1, settings);
    QCOMPARE(w->Panel4->y(), 19);  // English full
    QTest::mouseClick(w->FlatSpeedButton2, Qt::LeftButton);
    doubleClick(w->applist, 0);
    QCOMPARE(w->Panel4->y(), 216);
    QCOMPARE(w->Panel4->height(), 18);
    QCOMPARE(ui::Settings.level, 1);
    QVERIFY(scrollBarsOn(w->FlatMemo1));
    // The next search, found or not, takes the scroll bars away.
    type("zebra");
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->FlatMemo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(w->FlatMemo1->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QVERIFY(w->FlatMemo1->toPlainText() != u8("词典缩略语\nn：名词\n\nvt：他动词"));
    // Even a search with an empty input box.
    doubleClick(w->applist, 0);
    QVERIFY(scrollBarsOn(w->FlatMemo1));
    w->wordtext->clear();
    w->FlatButton1->click();
    QCOMPARE(w->FlatMemo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    w->close();
    QVERIFY(folder->readSettings().find("level:1\r\n") != std::string::npos);
  }

  void withoutTheAppendixFileADoubleClickDoesNothing() {
    start(1);
    QTest::mouseClick(w->FlatSpeedButton2, Qt::LeftButton);
    folder->remove("appendix.app");
    w->FlatMemo1->setPlainText(u8("上次的结果"));
    doubleClick(w->applist, 0);
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("上次的结果"));
    QVERIFY(!scrollBarsOn(w->FlatMemo1));
    QCOMPARE(ui::Settings.level, 0);
    // No item selected: nothing either.
    QVERIFY(text::writeGbkLinesAtomically(folder->file("appendix.app"), kAppendix));
    w->applist->setCurrentItem(nullptr);
    w->applistDblClick();
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("上次的结果"));
  }
};

QTEST_MAIN(AppendixTest)
#include "appendix_test.moc"
