// The main window's search, driven through its controls.
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "ui/globals.h"
#include "app/main.h"
#include "dictionary/line_index.h"
#include "ui/head_word_list.h"
#include "ui/presenter.h"
#include "support/program_folder.h"
#include "crypto/aes.h"
#include "text/codec.h"

using namespace kirvale;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }
}  // namespace

class LookupTest : public QObject {
  Q_OBJECT
  std::unique_ptr<ProgramFolder> folder;
  std::unique_ptr<app::TForm3> w;

  void start(int langu = 1, const std::string& extraUserDict = {}) {
    ui::ResetProcessState();
    folder = std::make_unique<ProgramFolder>();
    folder->writeSettings(kirvale::testing::DefaultSettingsText(langu));
    if (!extraUserDict.empty()) kirvale::text::writeGbkLinesAtomically(folder->file("userdict.dic"), {extraUserDict});
    w = std::make_unique<app::TForm3>();
    QVERIFY(w->FormCreate());
    w->show();
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
  }

  // Types text key by key, as a user (or an input method) would.
  void type(const QString& text) {
    w->wordtext->clear();
    for (QChar ch : text) QTest::sendKeyEvent(QTest::Click, w->wordtext, Qt::Key_unknown, QString(ch), Qt::NoModifier);
  }

 private slots:
  void init() {
    ui::Presenter::setHandler([](ui::DialogKind, const QString&) { return true; });
  }
  void cleanup() {
    if (w) w->close();
    w.reset();
    folder.reset();
  }

  void typingTracksTheListAndEnterSearches() {
    start();
    QCOMPARE(w->wordlist->count(), 77);
    QCOMPARE(w->englishlist->count(), 67);
    QVERIFY(w->wordtext->hasFocus());
    type(u8("  食べ"));
    QCOMPARE(w->wordlist->currentText(), u8("食べる"));
    type(u8("  食べる "));
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->Label3->text(), u8("◇食べる"));
    QCOMPARE(w->Label4->text(), u8("〖たべる〗"));
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("吃"));
    QCOMPARE(w->FlatMemo2->toPlainText(), u8("(v1,vt) to eat"));
    QCOMPARE(w->FlatGroupBox1->title(), u8("日语"));
    QCOMPARE(QString::fromStdString(w->currentEntryLine()), u8("食べる [たべる] /(v1,vt) to eat//吃/"));

    // The copy button: four lines.
    w->SpeedButton1->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), u8("◇食べる\n〖たべる〗\n(v1,vt) to eat\n 吃"));

    // A reading finds nothing in Japanese mode.
    type(u8("たべる"));
    w->FlatButton1->click();
    QCOMPARE(w->Label3->text(), u8("◇たべる"));
    QCOMPARE(w->Label4->text(), QString());
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("Sorry, the typed entry has not been found. Try advanced search."));
    QCOMPARE(w->FlatMemo2->toPlainText(), u8("对不起，未找到输入的词条。请使用高级查询。"));
    QCOMPARE(QString::fromStdString(w->currentEntryLine()), QString());
  }

  void englishModeSwitchesListsButtonsAndLayout() {
    start(0);
    QVERIFY(w->wordlist->isVisible());
    // English full layout is switched to Chinese full by an English search.
    w->Panel3->clicked();
    QCOMPARE(w->Panel4->y(), 19);
    QCOMPARE(ui::Settings.level, -1);
    type("walking");
    QVERIFY(w->englishlist->isVisible());
    QVERIFY(!w->wordlist->isVisible());
    QVERIFY(w->SpeedButton4->isChecked());
    QCOMPARE(w->Label2->text(), QString("English list"));
    // "walk" was the last prefix with a matching item; "walki…" moves nothing.
    QCOMPARE(w->englishlist->currentText(), QString("walk"));
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->Label3->text(), QString::fromUtf8("◇walk"));  // the last line matching walk or walke
    QCOMPARE(w->FlatGroupBox1->title(), QString("English"));
    QVERIFY(w->SpeedButton3->isVisible());
    QVERIFY(!w->SpeedButton2->isVisible());
    QCOMPARE(w->Panel4->y(), 216);
    QCOMPARE(ui::Settings.level, 1);

    type("Books");
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->Label3->text(), QString::fromUtf8("◇book"));
    type("zebra");
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->FlatMemo1->toPlainText(), QString("Sorry, the typed entry has not been found."));
    QCOMPARE(w->FlatMemo2->toPlainText(), u8("对不起，未找到输入的词条。"));
    // Back to Japanese: the add button returns.
    type(u8("猫"));
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QVERIFY(w->SpeedButton2->isVisible());
    QVERIFY(!w->SpeedButton3->isVisible());
    QVERIFY(w->wordlist->isVisible());
    QCOMPARE(w->Label2->text(), QString("Japanese list"));
  }

  void listClickFillsWithoutSearchingAndDoubleClickSearches() {
    start();
    const int row = w->wordlist->findRow(u8("電話"));
    QVERIFY(row >= 0);
    w->wordlist->scrollToRow(row);
    QTest::mouseClick(w->wordlist->viewport(), Qt::LeftButton, {}, w->wordlist->rowRect(row).center());
    QCOMPARE(w->wordtext->text(), u8("電話"));
    QVERIFY(w->listSelectionFlag());
    QCOMPARE(w->Label3->text(), QString());
    // While the flag is set, typing does not move the selection.
    w->wordtext->setText(u8("本"));
    QCOMPARE(w->wordlist->currentText(), u8("電話"));
    QTest::mouseDClick(w->wordlist->viewport(), Qt::LeftButton, {}, w->wordlist->rowRect(row).center());
    QCOMPARE(w->Label3->text(), u8("◇電話"));
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("电话"));
    // A key release clears the flag.
    QTest::keyClick(w->wordtext, Qt::Key_End);
    QVERIFY(!w->listSelectionFlag());
  }

  void doubleClickInTheEnglishPaneLooksUpTheWordWithoutSemicolon() {
    start();
    w->FlatMemo2->setPlainText("drink; eat; dine");
    QTextCursor c(w->FlatMemo2->document());
    c.setPosition(8);  // inside "eat"
    const QPoint at = w->FlatMemo2->cursorRect(c).center();
    QTest::mouseDClick(w->FlatMemo2->viewport(), Qt::LeftButton, {}, at);
    QTRY_COMPARE(w->wordtext->text(), QString("eat"));
    QCOMPARE(w->Label3->text(), u8("◇eat"));
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("吃"));
    QVERIFY(w->englishlist->isVisible());
  }

  void myDictionaryFallbackFollowsTheSetting() {
    const std::string line = "鞄" + std::string(20, ' ') + "[かばん] /(n)bag//(名)包/";
    start(1, line);
    type(u8("鞄"));
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->Label3->text(), u8("◇鞄"));
    QCOMPARE(w->Label4->text(), u8("〖かばん〗"));
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("(名)包（出现在我的词典）"));
    QCOMPARE(w->FlatMemo2->toPlainText(), u8("(n)bagFound in My Dictionary."));
    int added = 0;
    ui::Published.AddNewWord = [&](const std::string&, int) { ++added; };
    w->SpeedButton2->click();
    QCOMPARE(added, 0);  // nothing to add from My Dictionary
    ui::Settings.useuser = 0;
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->Label3->text(), u8("◇鞄"));
    QVERIFY(w->FlatMemo1->toPlainText().startsWith("Sorry"));
  }

  void addButtonHandsTheShownLineToTheNotebook() {
    start();
    std::vector<std::string> lines;
    ui::Published.AddNewWord = [&](const std::string& l, int) { lines.push_back(l); };
    type(u8("電話"));
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    w->SpeedButton2->click();
    QCOMPARE(lines.size(), size_t(1));
    QCOMPARE(QString::fromStdString(lines[0]), u8("電話 [でんわ] /(n,vs) telephone/phone call//电话/"));
  }

  void anOverlongDictionaryIsCutWithOneMessage() {
    ui::ResetProcessState();
    folder = std::make_unique<ProgramFolder>();
    folder->writeSettings(kirvale::testing::DefaultSettingsText(0));
    std::vector<std::string> lines;
    for (int i = 0; i < 32768 + 10; ++i) lines.push_back("w" + std::to_string(i) + " /x//y/");
    QVERIFY(kirvale::text::writeGbkLinesAtomically(folder->file("plain"), lines));
    kirvale::crypto::EncryptFileToContainer(folder->file("plain"), folder->file("multilingual.dic"), "tomvi-karsel");
    QStringList shown;
    ui::Presenter::setHandler([&](ui::DialogKind, const QString& t) {
      shown << t;
      return true;
    });
    w = std::make_unique<app::TForm3>();
    QVERIFY(w->FormCreate());
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].contains("32767"));
    QVERIFY(shown[0].contains("multilingual.dic"));
    QCOMPARE(w->wordlist->count(), 32767);
    QCOMPARE(w->wordlist->text(32766), QString("w32766"));
  }

  void theListsShowTheLinesAndLetGoOfThemAtTheEnd() {
    start();
    // Rows are the readers' lines cut as the list tracking cuts them.
    for (int row = 0; row < w->wordlist->count(); ++row)
      QCOMPARE(w->wordlist->text(row).toStdString(),
               std::string(dictionary::KeyOf(dictionary::IndexKey::JapaneseItem, ui::JapaneseReader.line(row))));
    QCOMPARE(w->englishlist->text(w->englishlist->count()), QString());
    QCOMPARE(w->englishlist->findRow("no such word"), -1);
    w->englishlist->setCurrentRow(3);
    QCOMPARE(w->englishlist->selectionModel()->selectedRows().size(), 1);
    w->englishlist->setCurrentRow(-1);
    QCOMPARE(w->englishlist->currentText(), QString());
    QVERIFY(w->englishlist->selectionModel()->selectedRows().isEmpty());
    // At the end the lists are emptied before the readers close, so a
    // repaint meanwhile reads nothing that is gone.
    w->close();
    QCOMPARE(w->wordlist->count(), 0);
    QCOMPARE(w->englishlist->count(), 0);
    QVERIFY(!w->wordlist->grab().isNull());
  }

  void captionBarsSwitchTheLayout() {
    start();
    QCOMPARE(w->Panel4->y(), 115);
    w->Panel3->clicked();
    QCOMPARE(w->Panel4->y(), 19);
    QCOMPARE(w->Panel4->height(), 216);
    QCOMPARE(w->FlatMemo2->height(), 193);
    QCOMPARE(ui::Settings.level, -1);
    w->Panel3->clicked();
    QCOMPARE(w->Panel4->y(), 115);
    QCOMPARE(w->FlatMemo2->height(), 97);
    QCOMPARE(ui::Settings.level, 0);
    w->Panel2->clicked();
    QCOMPARE(w->Panel4->y(), 216);
    QCOMPARE(w->Panel4->height(), 18);
    QCOMPARE(ui::Settings.level, 1);
    w->Panel3->clicked();  // Chinese full -> split
    QCOMPARE(w->Panel4->y(), 115);
    // A stored level of 5 lays the panes out Chinese full.
    ui::Settings.level = 5;
    w->ApplySettings();
    QCOMPARE(w->Panel4->y(), 216);
  }
};

QTEST_MAIN(LookupTest)
#include "lookup_test.moc"
