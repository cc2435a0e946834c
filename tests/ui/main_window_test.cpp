// The main window with the windows and lists around its search: history,
// Back/Forward, and the new-words notebook fed by the add button.
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRawFont>
#include <QHeaderView>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include "ui/globals.h"
#include "app/main.h"
#include "ui/presenter.h"
#include "personal/newwords.h"
#include "support/program_folder.h"
#include "text/codec.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

template <typename T>
T* child(QWidget& w, const char* name) {
  T* c = w.findChild<T*>(name);
  if (!c) qFatal("no control %s", name);
  return c;
}

// Text arrives from the input method as a committed string, then Enter.
void commit(QLineEdit* edit, const QString& text) {
  edit->clear();
  QInputMethodEvent e;
  e.setCommitString(text);
  QApplication::sendEvent(edit, &e);
  QTest::keyClick(edit, Qt::Key_Return);
}
}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
  QList<QString> shown;

  std::unique_ptr<app::TForm3> start(const ProgramFolder& folder, int langu = 0) {
    folder.writeSettings(kirvale::testing::DefaultSettingsText(langu));
    auto w = std::make_unique<app::TForm3>();
    if (!w->FormCreate()) qFatal("start-up failed");
    w->show();
    return w;
  }

 private slots:
  void init() {
    ui::ResetProcessState();
    shown.clear();
    ui::Presenter::setHandler([this](ui::DialogKind, const QString& t) {
      shown << t;
      return true;
    });
  }

  void boldTextIsDrawnFromTheRegularCjkFace() {
    // A bold CJK face is another font file of megabytes in memory; the
    // windows draw their bold text (the head word, the notebook's column
    // headers, which the header measures in bold) from the regular one.
    ProgramFolder folder;
    auto w = start(folder, 1);
    QFont bold = w->Label3->font();
    QVERIFY(bold.bold());
    const QRawFont regularFace = QRawFont::fromFont(w->Label4->font(), QFontDatabase::SimplifiedChinese);
    const QRawFont boldFace = QRawFont::fromFont(bold, QFontDatabase::SimplifiedChinese);
    QVERIFY(regularFace.isValid());
    QCOMPARE(boldFace.familyName(), regularFace.familyName());
    QCOMPARE(boldFace.styleName(), regularFace.styleName());
    QFont header = child<QTableWidget>(*w->notebook(), "ListView1")->horizontalHeader()->font();
    header.setBold(true);
    QCOMPARE(QRawFont::fromFont(header, QFontDatabase::SimplifiedChinese).styleName(), regularFace.styleName());
  }

  void historyKeepsEverySearchOnceAndSurvivesARestart() {
    ProgramFolder folder;
    {
      auto w = start(folder);
      commit(w->wordtext, "apple");
      commit(w->wordtext, "Apple");
      commit(w->wordtext, "  zebra ");  // not found: in the history all the same
      commit(w->wordtext, u8("猫"));
      QCOMPARE(w->ListBox1->count(), 3);
      QCOMPARE(w->ListBox1->item(1)->text(), QString("zebra"));
      QCOMPARE(w->session().path().elements(), (std::vector<std::string>{"apple", "Apple", "猫"}));

      // The history button shows and hides the list; choosing an item fills
      // the input box without searching.
      QVERIFY(w->ListBox1->isHidden());
      w->BitBtn1->click();
      QVERIFY(!w->ListBox1->isHidden());
      const QString before = w->Label3->text();
      w->ListBox1->setCurrentRow(1);
      QTest::mouseClick(w->ListBox1->viewport(), Qt::LeftButton, {},
                        w->ListBox1->visualItemRect(w->ListBox1->item(1)).center());
      QVERIFY(w->ListBox1->isHidden());
      QCOMPARE(w->wordtext->text(), QString("zebra"));
      QCOMPARE(w->Label3->text(), before);
      // Moving the mouse over the window itself hides the list.
      w->BitBtn1->click();
      QMouseEvent move(QEvent::MouseMove, QPointF(240, 345), w->mapToGlobal(QPointF(240, 345)), Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(w.get(), &move);
      QVERIFY(w->ListBox1->isHidden());
      w->close();
    }
    QCOMPARE(kirvale::testing::ReadBytes(folder.file("history.txt")),
             kirvale::text::utf8ToGbk("apple\r\nzebra\r\n猫\r\n"));

    // Next run: loaded unchanged; clearing it and exiting deletes the file.
    ui::ResetProcessState();
    auto w = start(folder);
    QCOMPARE(w->ListBox1->count(), 3);
    w->ClearHistory();
    QCOMPARE(w->ListBox1->count(), 0);
    w->close();
    QVERIFY(!Exists(folder.file("history.txt")));
  }

  void backAndForwardRepeatEarlierSearches() {
    ProgramFolder folder;
    auto w = start(folder);
    // Nothing to go back to yet.
    w->FlatButton3->click();
    w->FlatButton4->click();
    QCOMPARE(w->wordtext->text(), QString());
    for (const char* word : {"book", "cat", "dog"}) commit(w->wordtext, word);
    w->FlatButton3->click();
    QCOMPARE(w->wordtext->text(), QString("cat"));
    QCOMPARE(w->Label3->text(), u8("◇cat"));
    w->FlatButton3->click();
    QCOMPARE(w->Label3->text(), u8("◇book"));
    w->FlatButton3->click();  // at the first element: nothing happens
    QCOMPARE(w->Label3->text(), u8("◇book"));
    w->FlatButton4->click();
    QCOMPARE(w->Label3->text(), u8("◇cat"));
    commit(w->wordtext, "eat");
    QCOMPARE(w->session().path().elements(), (std::vector<std::string>{"book", "cat", "dog", "eat"}));
    QCOMPARE(w->session().path().position(), 4);
    w->FlatButton3->click();
    QCOMPARE(w->Label3->text(), u8("◇dog"));
    w->FlatButton4->click();
    w->FlatButton4->click();  // at the last element: nothing happens
    QCOMPARE(w->Label3->text(), u8("◇eat"));
    w->close();
  }

  void entriesAddedFromTheMainWindowAreExercisedInTheNotebook() {
    ProgramFolder folder;
    auto w = start(folder);
    for (const char* word : {"食べる", "電話"}) {
      commit(w->wordtext, u8(word));
      w->SpeedButton2->click();
    }
    app::TForm9& notebook = *w->notebook();
    QCOMPARE(notebook.rowCount(), 2);
    notebook.show();
    auto* tabs = child<QTabBar>(notebook, "FlatTabControl1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    QCOMPARE(child<QLabel>(notebook, "Label3")->text(), u8("たべる"));
    auto* answer = child<QLineEdit>(notebook, "FlatEdit1");
    commit(answer, u8("食べる"));  // right
    QTest::keyClick(answer, Qt::Key_Return);
    QCOMPARE(child<QLabel>(notebook, "Label3")->text(), u8("でんわ"));
    commit(answer, u8("でんわ"));  // wrong: the reading
    shown.clear();
    QTest::mouseClick(child<QToolButton>(notebook, "FlatButton4"), Qt::LeftButton);
    QCOMPARE(shown, QList<QString>{u8("Your mark is 50%。\r努めて(Work harder)!")});
    notebook.close();
    w->close();
    // Saved at exit in the notebook's line form.
    QCOMPARE(kirvale::testing::ReadBytes(folder.file("newdict.dic")),
             kirvale::text::utf8ToGbk("食べる[たべる]/(v1,vt) to eat//吃/\r\n電話[でんわ]/(n,vs) telephone/phone call//电话/\r\n"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
