// The main window's lists, labels and keys: double-clicks that search the
// item clicked, text that is never markup, pasted line breaks, the history
// list's hiding, and the keyboard's way through the lists.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include "app/main.h"
#include "ui/head_word_list.h"
#include "crypto/aes.h"
#include "personal/newwords.h"
#include "support/program_folder.h"
#include "text/codec.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

// Replaces one of the folder's dictionaries by these lines.
void writeDictionary(const ProgramFolder& folder, const char* name, const std::vector<std::string>& lines) {
  text::writeGbkLinesAtomically(folder.file("plain.tmp"), lines);
  crypto::EncryptFileToContainer(folder.file("plain.tmp"), folder.file(name), crypto::kDictionaryPassphrase);
  folder.remove("plain.tmp");
}

std::vector<std::string> englishLines() {
  std::vector<std::string> lines{"apple,苹果", "booklet,小册子", "book,书"};
  for (int i = 0; i < 80; ++i) lines.push_back("word" + std::to_string(100 + i) + ",词");
  return lines;
}
}  // namespace

class MainWindowFaultsTest : public QObject {
  Q_OBJECT
  std::unique_ptr<ProgramFolder> folder;
  std::unique_ptr<app::TForm3> w;
  QStringList shown;

  void start() {
    w = std::make_unique<app::TForm3>();
    QVERIFY(w->FormCreate());
    w->show();
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
  }

  void search(const QString& text) {
    w->wordtext->setText(text);
    QTest::keyClick(w->wordtext, Qt::Key_Return);
  }

 private slots:
  void init() {
    ui::ResetProcessState();
    shown.clear();
    ui::Presenter::setHandler([this](ui::DialogKind, const QString& t) {
      shown << t;
      return true;
    });
    folder = std::make_unique<ProgramFolder>();
    folder->writeSettings(kirvale::testing::DefaultSettingsText(1));
    writeDictionary(*folder, "english.dic", englishLines());
  }
  void cleanup() {
    if (w) w->close();
    w.reset();
    folder.reset();
  }

  void doubleClickSearchesTheItemClicked() {
    start();
    w->SpeedButton4->click();
    ui::HeadWordList* list = w->englishlist;
    QVERIFY(list->isVisible());
    QCOMPARE(list->verticalScrollBar()->value(), 0);
    // "book" comes after "booklet", which begins with it.
    const QPoint at = list->rowRect(2).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w->wordtext->text(), QString("book"));
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(list->verticalScrollBar()->value(), 0);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w->Label3->text(), u8("◇book"));
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("书"));

    // Typing tracks the list but leaves it where it is while the item is in
    // sight; an item out of sight comes to the top.
    w->wordtext->clear();
    QTest::keyClicks(w->wordtext, "bookl");
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(list->verticalScrollBar()->value(), 0);
    w->wordtext->clear();
    QTest::keyClicks(w->wordtext, "word140");
    QCOMPARE(list->currentRow(), 43);
    QCOMPARE(list->verticalScrollBar()->value(), 43);
  }

  void labelsShowTextNotMarkup() {
    writeDictionary(*folder, "multilingual.dic", {"<b>本</b> [<i>ほん</i>] /book//<u>书</u>/", "猫 [ねこ] /cat//猫/"});
    start();
    search("<b>本</b>");
    QCOMPARE(w->Label3->text(), u8("◇<b>本</b>"));
    QCOMPARE(w->Label4->text(), u8("〖<i>ほん</i>〗"));
    QCOMPARE(w->Label3->textFormat(), Qt::PlainText);
    QCOMPARE(w->Label4->textFormat(), Qt::PlainText);
    // Plain text: the label needs room for every character typed.
    QLabel rich(u8("◇<b>本</b>"));
    QVERIFY(w->Label3->sizeHint().width() > rich.sizeHint().width());
    search("<img src=x>");
    QCOMPARE(w->Label3->text(), u8("◇<img src=x>"));
    // The notebook's labels show the user's words the same way.
    w->SpeedButton2->click();
    for (const char* name : {"Label1", "Label2", "Label3"}) {
      auto* label = w->notebook()->findChild<QLabel*>(name);
      QVERIFY(label);
      QCOMPARE(label->textFormat(), Qt::PlainText);
    }
  }

  void pastedLineBreaksNeverReachTheHistory() {
    start();
    w->wordtext->setText("red\r\napple");
    QVERIFY(w->wordtext->text().contains('\n'));
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QApplication::clipboard()->setText(u8("\u3000book\n"));
    w->wordtext->clear();
    w->wordtext->paste();
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->Label3->text(), u8("◇book"));
    QCOMPARE(w->ListBox1->count(), 2);
    QCOMPARE(w->ListBox1->item(0)->text(), QString("red apple"));
    w->close();
    QCOMPARE(kirvale::testing::ReadBytes(folder->file("history.txt")), std::string("red apple\r\nbook\r\n"));
    // The next run has the same two items.
    ui::ResetProcessState();
    w = std::make_unique<app::TForm3>();
    QVERIFY(w->FormCreate());
    QCOMPARE(w->ListBox1->count(), 2);
  }

  void ideographicSpacesAroundTheWordDoNotMatter() {
    start();
    search(u8("\u3000\u3000猫\u3000"));
    QCOMPARE(w->Label3->text(), u8("◇猫"));
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("猫"));
    QCOMPARE(w->ListBox1->item(0)->text(), u8("猫"));
    // The list tracking ignores them too.
    w->wordtext->setText(u8("\u3000食べ"));
    QCOMPARE(w->wordlist->currentText(), u8("食べる"));
  }

  void historyListHidesOnEmptyClickAndEscape() {
    start();
    search("apple");
    w->BitBtn1->click();
    QVERIFY(w->ListBox1->isVisible());
    // Below the only item.
    QTest::mouseClick(w->ListBox1->viewport(), Qt::LeftButton, {},
                      QPoint(20, w->ListBox1->viewport()->height() - 4));
    QVERIFY(w->ListBox1->isHidden());
    QCOMPARE(w->wordtext->text(), QString("apple"));
    // Esc in the input box, and in the list itself.
    w->BitBtn1->click();
    QVERIFY(w->ListBox1->isVisible());
    QTest::keyClick(w->wordtext, Qt::Key_Escape);
    QVERIFY(w->ListBox1->isHidden());
    w->BitBtn1->click();
    w->ListBox1->setFocus();
    QTest::keyClick(w->ListBox1, Qt::Key_Escape);
    QVERIFY(w->ListBox1->isHidden());
    QVERIFY(w->wordtext->hasFocus());
  }

  void keyboardMovesThroughTheListAndBackAndForth() {
    start();
    w->SpeedButton4->click();
    ui::HeadWordList* list = w->englishlist;
    QCOMPARE(list->currentRow(), -1);
    QTest::keyClick(w->wordtext, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(w->wordtext->text(), QString("apple"));
    QTest::keyClick(w->wordtext, Qt::Key_Down);
    QTest::keyClick(w->wordtext, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(w->wordtext->text(), QString("book"));
    QTest::keyClick(w->wordtext, Qt::Key_Up);
    QCOMPARE(w->wordtext->text(), QString("booklet"));
    QCOMPARE(list->currentRow(), 1);
    QTest::keyClick(w->wordtext, Qt::Key_Up);
    QTest::keyClick(w->wordtext, Qt::Key_Up);
    QCOMPARE(list->currentRow(), 0);
    QTest::keyClick(w->wordtext, Qt::Key_Return);
    QCOMPARE(w->Label3->text(), u8("◇apple"));
    // Moving far down keeps the item in sight.
    for (int i = 0; i < 40; ++i) QTest::keyClick(w->wordtext, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 40);
    QVERIFY(list->viewport()->rect().contains(list->rowRect(40)));

    // Enter on a list item searches it.
    list->setFocus();
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(w->Label3->text(), u8("◇book"));
    QCOMPARE(w->wordtext->text(), QString("book"));

    // Alt+Left and Alt+Right: Back and Forward.
    w->wordtext->setFocus();
    QTest::keyClick(w->wordtext, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(w->wordtext->text(), QString("apple"));
    QCOMPARE(w->Label3->text(), u8("◇apple"));
    QTest::keyClick(w->wordtext, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(w->Label3->text(), u8("◇book"));
  }
};

QTEST_MAIN(MainWindowFaultsTest)
#include "main_window_faults_test.moc"
