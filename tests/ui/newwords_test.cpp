// The new-words notebook window, driven through its controls in a temporary
// program folder.
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cstdlib>
#include <filesystem>

#include "ui/globals.h"
#include "app/main.h"
#include "ui/presenter.h"
#include "personal/newwords.h"
#include "support/program_folder.h"
#include "text/codec.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ProgramFolder;
using kirvale::testing::ReadBytes;
using kirvale::testing::WriteBytes;

namespace {

// Lines as the dictionary holds them.
const std::string kLove = "愛 [あい] /(n) love/affection//爱；爱情/";
const std::string kRain = "雨 [あめ] /(n) rain//雨/";
const std::string kWalk = "歩く [あるく] /(v5k,vi) to walk//走；步行/";

struct Shown {
  ui::DialogKind kind;
  QString text;
};

// A whole scan word: 116 ticks from one word to the next.
constexpr int kTicksPerWord = 116;

}  // namespace

class NewWordsTest : public QObject {
  Q_OBJECT
  QList<Shown> shown;
  QList<bool> answers;  // the answers to give to confirmations, in order

  template <typename T>
  static T* child(app::TForm9& w, const char* name) {
    T* c = w.findChild<T*>(name);
    if (!c) qFatal("no control %s", name);
    return c;
  }

  static void clickTab(app::TForm9& w, int index) {
    auto* tabs = child<QTabBar>(w, "FlatTabControl1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
  }

  // Double-clicks a row on its kana cell (the head word's cell holds the
  // tick box).
  static void doubleClickRow(app::TForm9& w, int row) {
    auto* list = child<QTableWidget>(w, "ListView1");
    const QPoint at = list->visualRect(list->model()->index(row, 1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }

  static void setTick(app::TForm9& w, int row, bool ticked) {
    child<QTableWidget>(w, "ListView1")->item(row, 0)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  }

  static void typeAnswer(app::TForm9& w, const QString& text) {
    auto* edit = child<QLineEdit>(w, "FlatEdit1");
    edit->clear();
    // Japanese text arrives from the input method as a committed string.
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(edit, &commit);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  static void pressEnter(app::TForm9& w) { QTest::keyClick(child<QLineEdit>(w, "FlatEdit1"), Qt::Key_Return); }

  static QString memo(app::TForm9& w, const char* name) { return child<QTextEdit>(w, name)->toPlainText(); }

  // A window as start-up makes it; the timer never fires on its own in a
  // test, the ticks are given by hand.
  static void prepare(app::TForm9& w) {
    w.FormCreate();
    w.setScanInterval(3600 * 1000);
    ui::Published.AddNewWord = [&w](const std::string& line, int position) { w.AddNewWord(line, position); };
  }

 private slots:
  void initTestCase() { app::InstallFontSubstitutions(); }

  void init() {
    ui::ResetProcessState();
    settings::ApplyFirstRunValues(ui::Settings);
    ui::Settings.langu = 0;
    shown.clear();
    answers.clear();
    ui::Presenter::setHandler([this](ui::DialogKind k, const QString& t) {
      shown.append({k, t});
      return answers.isEmpty() ? true : answers.takeFirst();
    });
  }

  void cleanup() { ui::Presenter::setHandler({}); }

  void exerciseWithOneRightAndOneWrongAnswerGivesTheMark() {
    ProgramFolder folder;
    app::TForm9 w;
    prepare(w);
    QCOMPARE(w.rowCount(), 0);
    ui::Published.AddNewWord(kLove, w.rowCount());
    ui::Published.AddNewWord(kRain, w.rowCount());
    QCOMPARE(w.rowCount(), 2);
    w.show();

    auto* list = child<QTableWidget>(w, "ListView1");
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(0, 0)->text(), QString("愛"));
    QCOMPARE(list->item(0, 0)->checkState(), Qt::Checked);
    QCOMPARE(list->item(0, 1)->text(), QString("あい"));
    QCOMPARE(list->item(0, 2)->text(), QString("爱；爱情"));
    QCOMPARE(list->item(0, 3)->text(), QString("(n) love/affection"));
    QCOMPARE(list->item(1, 0)->text(), QString("雨"));
    for (int c = 0; c < 4; ++c) QCOMPARE(list->columnWidth(c), 99);
    // English interface: the window's own texts were set on showing.
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("Japanese"));
    QCOMPARE(list->horizontalHeaderItem(3)->text(), QString("English"));
    auto* tabs = child<QTabBar>(w, "FlatTabControl1");
    QCOMPARE(tabs->tabText(2), QString("Exercise"));
    QCOMPARE(tabs->font().family(), QString("Arial"));
    QVERIFY(list->isVisible());

    clickTab(w, 2);
    QVERIFY(!list->isVisible());
    QVERIFY(child<QGroupBox>(w, "FlatGroupBox4")->isVisible());
    QCOMPARE(child<QLabel>(w, "Label3")->text(), QString("あい"));
    QCOMPARE(memo(w, "FlatMemo2"), QString("爱；爱情"));
    QCOMPARE(memo(w, "FlatMemo3"), QString("(n) love/affection"));

    // Right, with blanks around it.
    typeAnswer(w, "  愛 ");
    auto* sign = child<QLabel>(w, "Image1");
    QVERIFY(sign->isVisible());
    QCOMPARE(child<QLabel>(w, "Label2")->text(), QString());
    QCOMPARE(child<QLineEdit>(w, "FlatEdit1")->text(), QString("  愛 "));  // kept as typed
    pressEnter(w);  // on to the next row
    QVERIFY(!sign->isVisible());
    QCOMPARE(child<QLineEdit>(w, "FlatEdit1")->text(), QString());
    QCOMPARE(child<QLabel>(w, "Label3")->text(), QString("あめ"));
    QCOMPARE(memo(w, "FlatMemo2"), QString("雨"));
    QCOMPARE(memo(w, "FlatMemo3"), QString("(n) rain"));

    // Wrong: the kana of a kanji head word.
    typeAnswer(w, "あめ");
    QVERIFY(!sign->isVisible());
    QCOMPARE(child<QLabel>(w, "Label2")->text(), QString("雨"));

    shown.clear();
    QTest::mouseClick(child<QToolButton>(w, "FlatButton4"), Qt::LeftButton);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, ui::DialogKind::Plain);
    QCOMPARE(shown[0].text, QString("Your mark is 50%。\r努めて(Work harder)!"));

    QTest::mouseClick(child<QToolButton>(w, "FlatButton3"), Qt::LeftButton);
    QCOMPARE(shown.last().text, QString("雨"));

    // Clicking the active tab again does not restart the exercise.
    clickTab(w, 2);
    QCOMPARE(w.session().presented, 2);

    // Closed and shown again: the All tab, and the mark is still there.
    QTest::mouseClick(child<QPushButton>(w, "FlatButton1"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    w.show();
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(list->isVisible());
    QVERIFY(!child<QGroupBox>(w, "FlatGroupBox4")->isVisible());
    QCOMPARE(child<QLabel>(w, "Label2")->text(), QString());
    QTest::mouseClick(child<QToolButton>(w, "FlatButton4"), Qt::LeftButton);
    QCOMPARE(shown.last().text, QString("Your mark is 50%。\r努めて(Work harder)!"));

    // Leaving the tab and coming back starts again from 0.
    clickTab(w, 2);
    QCOMPARE(w.session().presented, 1);
    QCOMPARE(w.session().correct, 0);
    w.close();

    // Saved at exit in the notebook's line form and loaded at the next start.
    w.Save();
    QCOMPARE(QByteArray::fromStdString(ReadBytes("newdict.dic")),
             QByteArray::fromStdString(text::utf8ToGbk("愛[あい]/(n) love/affection//爱；爱情/\r\n"
                                                        "雨[あめ]/(n) rain//雨/\r\n")));
    app::TForm9 next;
    next.FormCreate();
    QCOMPARE(next.rowCount(), 2);
    QCOMPARE(child<QTableWidget>(next, "ListView1")->item(1, 3)->text(), QString("(n) rain"));
    QVERIFY(shown.size() == 3);  // no load message
  }

  void markBeforeAnyExerciseAndCheatWithoutWords() {
    ProgramFolder folder;
    ui::Settings.langu = 1;
    app::TForm9 w;
    prepare(w);
    w.show();
    // Chinese is the design language: nothing is relabelled.
    QCOMPARE(child<QTabBar>(w, "FlatTabControl1")->tabText(0), QString("全部"));
    QTest::mouseClick(child<QToolButton>(w, "FlatButton4"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>(w, "FlatButton3"), Qt::LeftButton);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, QString("你还没有开始测试。"));
    QCOMPARE(shown[1].text, QString("没有选择练习的单词。"));
    // The Exercise tab without rows: nothing starts, Enter judges nothing.
    clickTab(w, 2);
    typeAnswer(w, "");
    QCOMPARE(w.session().presented, 0);
    QCOMPARE(w.session().correct, 0);
    QVERIFY(!child<QLabel>(w, "Image1")->isVisible());

    // Switching to English and back relabels on the next showing.
    w.close();
    ui::Settings.langu = 0;
    w.show();
    QCOMPARE(child<QTabBar>(w, "FlatTabControl1")->tabText(1), QString("Scan"));
    QCOMPARE(child<QTableWidget>(w, "ListView1")->horizontalHeaderItem(1)->text(), QString("Kana"));
    w.close();
    ui::Settings.langu = 1;
    w.show();
    auto* tabs = child<QTabBar>(w, "FlatTabControl1");
    QCOMPARE(tabs->tabText(1), QString("浏览"));
    QCOMPARE(tabs->font().family(), QString("宋体"));
    QCOMPARE(tabs->font().pointSize(), 10);
    QCOMPARE(child<QTableWidget>(w, "ListView1")->horizontalHeaderItem(2)->text(), QString("中文"));
  }

  void hintsFollowTheSettings() {
    ProgramFolder folder;
    app::TForm9 w;
    prepare(w);
    w.AddNewWord(kLove, 0);
    w.AddNewWord(kRain, 1);
    w.show();
    clickTab(w, 2);
    QCOMPARE(memo(w, "FlatMemo2"), QString("爱；爱情"));
    // Hints whose setting is not 1 are not written: they keep the old text.
    ui::Settings.givechin = 0;
    ui::Settings.giveeng = 2;
    typeAnswer(w, "x");
    pressEnter(w);
    QCOMPARE(child<QLabel>(w, "Label3")->text(), QString("あめ"));
    QCOMPARE(memo(w, "FlatMemo2"), QString("爱；爱情"));
    QCOMPARE(memo(w, "FlatMemo3"), QString("(n) love/affection"));
  }

  void deletingDuringAScanAsksFirst() {
    ProgramFolder folder;
    app::TForm9 w;
    prepare(w);
    for (const std::string& line : {kLove, kRain, kWalk}) w.AddNewWord(line, w.rowCount());
    w.show();
    auto* list = child<QTableWidget>(w, "ListView1");
    auto* timer = child<QTimer>(w, "Timer1");
    auto* word = child<QLabel>(w, "Label1");

    clickTab(w, 1);
    QVERIFY(child<QWidget>(w, "FlatPanel1")->isVisible());
    QVERIFY(!list->isVisible());
    QTest::mouseClick(child<QPushButton>(w, "FlatButton2"), Qt::LeftButton);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 3600 * 1000);
    for (int i = 0; i < kTicksPerWord; ++i) w.Timer1Timer();
    QCOMPARE(word->text(), QString("愛"));
    QCOMPARE(word->y(), 200);
    QCOMPARE(memo(w, "FlatMemo1"), QString("あい\n爱；爱情\n(n) love/affection"));
    w.Timer1Timer();
    QCOMPARE(word->y(), 198);

    // The All tab does not stop the scan.
    clickTab(w, 0);
    QVERIFY(timer->isActive());

    answers = {false};
    doubleClickRow(w, 1);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, ui::DialogKind::Confirmation);
    QCOMPARE(shown[0].text, QString("This will stop the current scanning.Stop it anyway?"));
    QCOMPARE(w.rowCount(), 3);
    QCOMPARE(list->rowCount(), 3);
    QVERIFY(timer->isActive());
    QVERIFY(w.session().scanStarted);

    answers = {true};
    doubleClickRow(w, 1);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(w.rowCount(), 2);
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(1, 0)->text(), QString("歩く"));
    QVERIFY(!timer->isActive());
    QVERIFY(!w.session().scanStarted);
    // Pause does nothing now that the scan is no longer started.
    clickTab(w, 1);
    QTest::mouseClick(child<QPushButton>(w, "Flatbutton5"), Qt::LeftButton);
    QVERIFY(!timer->isActive());

    // Without a running scan a row goes at once, without a question.
    clickTab(w, 0);
    doubleClickRow(w, 0);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(w.rowCount(), 1);
    QCOMPARE(list->item(0, 0)->text(), QString("歩く"));

    // The emptied notebook deletes the file at exit.
    WriteBytes("newdict.dic", "old");
    doubleClickRow(w, 0);
    QCOMPARE(w.rowCount(), 0);
    w.Save();
    QVERIFY(!Exists("newdict.dic"));
  }

  void scanShowsTheTickedWordsAndPanelClickSkips() {
    ProgramFolder folder;
    app::TForm9 w;
    prepare(w);
    for (const std::string& line : {kLove, kRain, kWalk}) w.AddNewWord(line, w.rowCount());
    w.show();
    setTick(w, 1, false);
    QVERIFY(!w.notebook().row(1).ticked);
    clickTab(w, 1);
    auto* timer = child<QTimer>(w, "Timer1");
    auto* word = child<QLabel>(w, "Label1");

    // Pause before Start does nothing.
    QTest::mouseClick(child<QPushButton>(w, "Flatbutton5"), Qt::LeftButton);
    QVERIFY(!timer->isActive());

    QTest::mouseClick(child<QPushButton>(w, "FlatButton2"), Qt::LeftButton);
    for (int i = 0; i < kTicksPerWord - 1; ++i) w.Timer1Timer();
    QCOMPARE(word->text(), QString());  // the old (empty) text is still on its way up
    QCOMPARE(word->y(), -30);
    w.Timer1Timer();
    QCOMPARE(word->text(), QString("愛"));
    for (int i = 0; i < 10; ++i) w.Timer1Timer();
    QTest::mouseClick(child<QWidget>(w, "FlatPanel1"), Qt::LeftButton, {}, QPoint(60, 100));
    QCOMPARE(word->y(), -30);
    w.Timer1Timer();
    QCOMPARE(word->text(), QString("歩く"));  // row 1 is unticked
    QCOMPARE(memo(w, "FlatMemo1"), QString("あるく\n走；步行\n(v5k,vi) to walk"));

    // Pause and resume.
    QTest::mouseClick(child<QPushButton>(w, "Flatbutton5"), Qt::LeftButton);
    QVERIFY(!timer->isActive());
    QTest::mouseClick(child<QPushButton>(w, "Flatbutton5"), Qt::LeftButton);
    QVERIFY(timer->isActive());

    // The Exercise tab pauses the scan and clears the word; Pause resumes.
    clickTab(w, 2);
    QVERIFY(!timer->isActive());
    QCOMPARE(word->text(), QString());
    clickTab(w, 1);
    QVERIFY(!timer->isActive());
    QTest::mouseClick(child<QPushButton>(w, "Flatbutton5"), Qt::LeftButton);
    QVERIFY(timer->isActive());

    // Closing stops the timer and puts the label back at the bottom.
    w.close();
    QVERIFY(!timer->isActive());
    QCOMPARE(word->y(), 200);
    QCOMPARE(word->text(), QString());
    // Showing again clears scan started: Pause does nothing.
    w.show();
    QTest::mouseClick(child<QPushButton>(w, "Flatbutton5"), Qt::LeftButton);
    QVERIFY(!timer->isActive());
  }

  void everyRowUntickedOrDeletedWhileScanningOrExercising() {
    ProgramFolder folder;
    app::TForm9 w;
    prepare(w);
    for (const std::string& line : {kLove, kRain}) w.AddNewWord(line, w.rowCount());
    w.show();
    auto* word = child<QLabel>(w, "Label1");
    clickTab(w, 1);
    QTest::mouseClick(child<QPushButton>(w, "FlatButton2"), Qt::LeftButton);
    for (int i = 0; i < kTicksPerWord; ++i) w.Timer1Timer();
    QCOMPARE(word->text(), QString("愛"));
    clickTab(w, 0);
    setTick(w, 0, false);
    setTick(w, 1, false);
    for (int i = 0; i < 3 * kTicksPerWord; ++i) w.Timer1Timer();
    QCOMPARE(word->text(), QString());
    QCOMPARE(memo(w, "FlatMemo1"), QString());
    setTick(w, 0, true);
    for (int i = 0; i < kTicksPerWord; ++i) w.Timer1Timer();
    QCOMPARE(word->text(), QString("愛"));

    // Pause, delete every row, resume: nothing to show, nothing fails.
    clickTab(w, 1);
    QTest::mouseClick(child<QPushButton>(w, "Flatbutton5"), Qt::LeftButton);
    clickTab(w, 0);
    doubleClickRow(w, 0);
    doubleClickRow(w, 0);
    QCOMPARE(w.rowCount(), 0);
    clickTab(w, 1);
    QTest::mouseClick(child<QPushButton>(w, "Flatbutton5"), Qt::LeftButton);
    for (int i = 0; i < 2 * kTicksPerWord; ++i) w.Timer1Timer();
    QCOMPARE(word->text(), QString());

    // The exercise: its row deleted before Enter moves on.
    w.AddNewWord(kRain, 0);
    clickTab(w, 2);
    QCOMPARE(child<QLabel>(w, "Label3")->text(), QString("あめ"));
    typeAnswer(w, "雨");
    clickTab(w, 0);
    doubleClickRow(w, 0);
    QCOMPARE(w.rowCount(), 0);
    // Back on the Exercise tab nothing is ticked, so the old exercise stays.
    clickTab(w, 2);
    pressEnter(w);
    pressEnter(w);
    QCOMPARE(w.session().presented, 1);
    QCOMPARE(w.session().correct, 1);
    QTest::mouseClick(child<QToolButton>(w, "FlatButton3"), Qt::LeftButton);
    QCOMPARE(shown.last().text, QString("雨"));
  }

  void loadsTheFileAndReportsWhatItCannotRead() {
    ProgramFolder folder;
    WriteBytes("newdict.dic", text::utf8ToGbk("猫[ねこ]/cat//猫/\r\n本[ほん]///书/\r\n"));
    {
      app::TForm9 w;
      prepare(w);
      QVERIFY(shown.isEmpty());
      QCOMPARE(w.rowCount(), 2);
      auto* list = child<QTableWidget>(w, "ListView1");
      QCOMPARE(list->item(1, 2)->text(), QString("/书"));
      QCOMPARE(list->item(1, 0)->checkState(), Qt::Checked);
      w.AddNewWord("ラジオ //收音机/", w.rowCount());
      w.Save();
      QCOMPARE(QByteArray::fromStdString(ReadBytes("newdict.dic")),
               QByteArray::fromStdString(
                   text::utf8ToGbk("猫[ねこ]/cat//猫/\r\n本[ほん]///书/\r\nラジオ//收音机/\r\n")));
    }
    // Bytes that are not GBK text: a message, and the file is kept aside.
    const std::string bad = text::utf8ToGbk("猫[ねこ]/cat//猫/\r\n") + "\xFF\xFF/x//y/\r\n";
    WriteBytes("newdict.dic", bad);
    {
      app::TForm9 w;
      prepare(w);
      QCOMPARE(shown.size(), 1);
      QCOMPARE(shown[0].kind, ui::DialogKind::Information);
      QVERIFY(shown[0].text.contains("newdict.dic.bak"));
      QCOMPARE(w.rowCount(), 2);
      w.Save();
      QCOMPARE(ReadBytes("newdict.dic.bak"), bad);
      QVERIFY(Exists("newdict.dic"));
    }
    // A file that cannot be read at all.
    shown.clear();
    folder.remove("newdict.dic");
    std::filesystem::create_directory("newdict.dic");
    {
      app::TForm9 w;
      prepare(w);
      QCOMPARE(shown.size(), 1);
      QCOMPARE(shown[0].kind, ui::DialogKind::Error);
      QVERIFY(shown[0].text.startsWith("The new-words file newdict.dic could not be read: "));
      QCOMPARE(w.rowCount(), 0);
    }
  }

  // Grabs the three tabs. With KIRVALE_SCREENSHOT_DIR set the pictures are
  // written there to be looked at.
  void threeTabsFitTheWindow() {
    ProgramFolder folder;
    ui::Settings.langu = 1;
    app::TForm9 w;
    prepare(w);
    for (const std::string& line : {kLove, kRain, kWalk}) w.AddNewWord(line, w.rowCount());
    w.show();
    const char* dir = std::getenv("KIRVALE_SCREENSHOT_DIR");
    auto check = [&](const char* name) {
      // Every visible control lies inside the window.
      for (QWidget* c : w.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!c->isVisible()) continue;
        QVERIFY2(w.rect().contains(c->geometry()), qPrintable(c->objectName()));
      }
      const QImage image = w.grab().toImage();
      QCOMPARE(image.size(), w.size());
      if (dir) QVERIFY(image.save(QString("%1/notebook-%2.png").arg(dir, name)));
    };
    check("all");
    clickTab(w, 1);
    QTest::mouseClick(child<QPushButton>(w, "FlatButton2"), Qt::LeftButton);
    for (int i = 0; i < kTicksPerWord + 40; ++i) w.Timer1Timer();
    // The word is on the panel, inside it and left of the meaning box.
    auto* word = child<QLabel>(w, "Label1");
    QVERIFY(child<QWidget>(w, "FlatPanel1")->rect().contains(word->geometry()));
    QVERIFY(word->geometry().right() < child<QTextEdit>(w, "FlatMemo1")->geometry().left());
    check("scan");
    clickTab(w, 2);
    typeAnswer(w, "愛");
    QVERIFY(child<QLabel>(w, "Image1")->isVisible());
    check("exercise-right");
    pressEnter(w);
    typeAnswer(w, "あめ");
    check("exercise-wrong");
    ui::Settings.langu = 0;
    w.close();
    w.show();
    check("all-english");
    QVERIFY(child<QGroupBox>(w, "FlatGroupBox4")->geometry().bottom() <
            child<QPushButton>(w, "FlatButton1")->geometry().top());
  }
};

QTEST_MAIN(NewWordsTest)
#include "newwords_test.moc"
