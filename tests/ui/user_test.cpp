// The My Dictionary window, driven through its controls in a temporary
// program folder.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "app/main.h"
#include "personal/user.h"
#include "support/program_folder.h"
#include "text/codec.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ProgramFolder;
using kirvale::testing::ReadBytes;
using kirvale::testing::WriteBytes;

namespace {

QString u8(const std::string& s) { return QString::fromStdString(s); }
std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

const std::string kAddedCat = "猫" + blanks(20) + "[ねこ] /(n)cat//(名)猫/";
const std::string kLoadedCat = "猫" + blanks(19) + "[ねこ] /(n)cat//(名)猫/";

struct Shown {
  ui::DialogKind kind;
  QString text;
};

}  // namespace

class UserTest : public QObject {
  Q_OBJECT
  QList<Shown> shown;

  template <typename T>
  static T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    if (!c) qFatal("no control %s", name);
    return c;
  }

  // Fills the editing area the way the user does.
  static void fill(app::TForm6& w, const QString& head, const QString& kana, int row, const QString& chinese,
                   const QString& english) {
    child<QLineEdit>(w, "FlatEdit1")->setText(head);
    child<QLineEdit>(w, "FlatEdit2")->setText(kana);
    child<QComboBox>(w, "FlatComboBox1")->setCurrentIndex(row);
    child<QTextEdit>(w, "FlatMemo1")->setPlainText(chinese);
    child<QTextEdit>(w, "FlatMemo2")->setPlainText(english);
  }

  static void press(app::TForm6& w, const char* button) {
    QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
  }

  static void selectLine(app::TForm6& w, int row) {
    auto* list = child<QListWidget>(w, "FlatListBox1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
  }

  static QStringList listLines(app::TForm6& w) {
    QStringList lines;
    auto* list = child<QListWidget>(w, "FlatListBox1");
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }

  void expectEditingAreaEmpty(app::TForm6& w) {
    QCOMPARE(child<QLineEdit>(w, "FlatEdit1")->text(), QString());
    QCOMPARE(child<QLineEdit>(w, "FlatEdit2")->text(), QString());
    QCOMPARE(child<QTextEdit>(w, "FlatMemo1")->toPlainText(), QString());
    QCOMPARE(child<QTextEdit>(w, "FlatMemo2")->toPlainText(), QString());
    QCOMPARE(child<QComboBox>(w, "FlatComboBox1")->currentIndex(), 0);
  }

 private slots:
  void initTestCase() { app::InstallFontSubstitutions(); }

  void init() {
    ui::ResetProcessState();
    settings::ApplyFirstRunValues(ui::Settings);
    ui::Settings.langu = 1;
    shown.clear();
    ui::Presenter::setHandler([this](ui::DialogKind k, const QString& t) {
      shown.append({k, t});
      return true;
    });
  }

  void cleanup() { ui::Presenter::setHandler({}); }

  void addSelectUpdateAndDelete() {
    ProgramFolder folder;
    app::TForm6 w;
    w.FormCreate();
    int changes = 0;
    w.setChangedHandler([&changes] { ++changes; });
    w.show();
    auto* choice = child<QComboBox>(w, "FlatComboBox1");
    QCOMPARE(choice->count(), 13);
    QCOMPARE(choice->itemText(7), u8("名"));
    QCOMPARE(choice->currentIndex(), 0);
    QCOMPARE(listLines(w), QStringList());

    // Add 猫: one line, the editing area cleared.
    fill(w, u8(" 猫 "), u8("ねこ"), 7, u8("猫"), "cat");
    press(w, "FlatButton1");
    QCOMPARE(listLines(w), QStringList{u8(kAddedCat)});
    QCOMPARE(ui::UserDict.lines().size(), std::size_t{1});
    expectEditingAreaEmpty(w);
    QCOMPARE(changes, 1);
    QVERIFY(shown.isEmpty());

    // Again: the message, still one line, the fields as they were.
    fill(w, u8("猫"), u8("ねこ"), 7, u8("猫"), "cat");
    press(w, "FlatButton1");
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, ui::DialogKind::Plain);
    QCOMPARE(shown[0].text, u8("词条已存在，清使用更新功能。"));
    QCOMPARE(listLines(w).size(), 1);
    QCOMPARE(child<QLineEdit>(w, "FlatEdit1")->text(), u8("猫"));
    QCOMPARE(changes, 1);

    // A second entry, without definitions: the placeholders.
    fill(w, u8("犬"), QString(), 3, QString(), QString());
    press(w, "FlatButton1");
    QCOMPARE(listLines(w).size(), 2);
    QCOMPARE(listLines(w)[1], u8("犬" + blanks(19) + "/※The user did not give an English definition."
                                 "//※用户没有给出词条的中文解释。/"));

    // Selecting 猫 copies it into the fields.
    selectLine(w, 0);
    QCOMPARE(child<QLineEdit>(w, "FlatEdit1")->text(), u8("猫"));
    QCOMPARE(child<QLineEdit>(w, "FlatEdit2")->text(), u8("ねこ"));
    QCOMPARE(choice->currentIndex(), 7);
    QCOMPARE(child<QTextEdit>(w, "FlatMemo1")->toPlainText(), u8("猫"));
    QCOMPARE(child<QTextEdit>(w, "FlatMemo2")->toPlainText(), QString("cat"));

    // kitten, Update: replaced in place.
    child<QTextEdit>(w, "FlatMemo2")->setPlainText("kitten");
    press(w, "FlatButton2");
    QCOMPARE(listLines(w).size(), 2);
    QCOMPARE(listLines(w)[0], u8("猫" + blanks(20) + "[ねこ] /(n)kitten//(名)猫/"));
    QCOMPARE(ui::UserDict.lines()[0], "猫" + blanks(20) + "[ねこ] /(n)kitten//(名)猫/");
    expectEditingAreaEmpty(w);
    QCOMPARE(changes, 3);

    // Update of a new head word: the message, nothing added.
    fill(w, u8("鳥"), QString(), 7, u8("鸟"), "bird");
    press(w, "FlatButton2");
    QCOMPARE(shown.last().text, u8("这是一个新词条，请使用添加功能。"));
    QCOMPARE(listLines(w).size(), 2);

    // Add with an empty head word: nothing, silently.
    const int messages = shown.size();
    fill(w, "   ", QString(), 7, u8("鸟"), "bird");
    press(w, "FlatButton1");
    QCOMPARE(shown.size(), messages);
    QCOMPARE(listLines(w).size(), 2);
    // A head word the line cannot hold: said, and the fields stay for mending.
    fill(w, u8("鳥/とり"), QString(), 7, u8("鸟"), "bird");
    press(w, "FlatButton1");
    QVERIFY(shown.last().text.startsWith(u8("无法按输入内容保存该词条")));
    QCOMPARE(child<QLineEdit>(w, "FlatEdit1")->text(), u8("鳥/とり"));
    QCOMPARE(listLines(w).size(), 2);

    // The placeholder line selected: empty boxes, no part of speech. An
    // Update with a definition then asks for one and changes nothing.
    selectLine(w, 1);
    QCOMPARE(child<QTextEdit>(w, "FlatMemo2")->toPlainText(), QString());
    QCOMPARE(choice->currentIndex(), -1);
    child<QTextEdit>(w, "FlatMemo1")->setPlainText(u8("狗"));
    press(w, "FlatButton2");
    QCOMPARE(shown.last().text, u8("请选择词性。"));
    QVERIFY(!ui::UserDict.updatePending());
    QCOMPARE(ui::UserDict.lines().size(), std::size_t{2});
    // A new head word added afterwards is appended; the others stay.
    fill(w, u8("鳥"), u8("とり"), 7, u8("鸟"), "bird");
    press(w, "FlatButton1");
    QCOMPARE(listLines(w).size(), 3);
    QCOMPARE(listLines(w)[1].left(1), u8("犬"));
    QCOMPARE(listLines(w)[2].left(1), u8("鳥"));

    // Delete: the selected line goes, the fields stay, nothing stays selected.
    selectLine(w, 1);
    press(w, "FlatButton3");
    QCOMPARE(listLines(w).size(), 2);
    QCOMPARE(child<QLineEdit>(w, "FlatEdit1")->text(), u8("犬"));
    press(w, "FlatButton3");
    QCOMPARE(listLines(w).size(), 2);
    QCOMPARE(ui::UserDict.lines().size(), std::size_t{2});
    QCOMPARE(ui::UserDict.FindUserEntry("犬"), std::int16_t{-1});

    // Close: hidden; shown again, the editing area is cleared, the list kept.
    fill(w, u8("x"), u8("y"), 4, u8("z"), "z");
    press(w, "FlatButton4");
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    w.show();
    expectEditingAreaEmpty(w);
    QCOMPARE(listLines(w).size(), 2);
  }

  void englishChoiceFollowsTheLanguageOnShowing() {
    ProgramFolder folder;
    app::TForm6 w;
    w.FormCreate();
    w.show();
    auto* choice = child<QComboBox>(w, "FlatComboBox1");
    QCOMPARE(choice->itemText(12), u8("其他"));
    w.hide();
    ui::Settings.langu = 0;
    w.show();
    QCOMPARE(choice->count(), 13);
    QCOMPARE(choice->itemText(0), QString("abbr"));
    QCOMPARE(choice->itemText(7), QString("n"));
    QCOMPARE(choice->itemText(12), QString("other"));
    QCOMPARE(choice->currentIndex(), 0);
    // Messages are in the interface language.
    fill(w, u8("猫"), u8("ねこ"), 7, u8("猫"), "cat");
    press(w, "FlatButton1");
    fill(w, u8("猫"), u8("ねこ"), 7, u8("猫"), "cat");
    press(w, "FlatButton1");
    QCOMPARE(shown.last().text, QString("The entry already exists.Use Update instead."));
    fill(w, u8("鳥"), QString(), 7, QString(), "bird");
    press(w, "FlatButton2");
    QCOMPARE(shown.last().text, QString("This a totally new entry.Please click Add to add it."));
  }

  // The main window creates the window at start-up, opens it from its menu,
  // looks words up in its list and saves the list at exit.
  void mainWindowOpensLooksUpAndSavesMyDictionary() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    {
      app::TForm3 main;
      QVERIFY(main.FormCreate());
      app::TForm6* w = main.myDictionary();
      QVERIFY(w);
      QVERIFY(main.N2->isEnabled());
      QVERIFY(!w->isVisible());
      bool modal = false;
      QTimer::singleShot(0, w, [&] {
        modal = w->isVisible() && w->isModal();
        fill(*w, u8("猫"), u8("ねこ"), 7, u8("猫"), "cat");
        press(*w, "FlatButton1");
        fill(*w, u8("招き猫"), u8("まねきねこ"), 7, u8("招财猫"), "beckoning cat");
        press(*w, "FlatButton1");
        press(*w, "FlatButton4");
      });
      main.N2->trigger();
      QVERIFY(modal);
      QCOMPARE(listLines(*w).size(), 2);
      // The lookup falls back on the same list.
      main.wordtext->setText(u8("招き猫"));
      main.FlatButton1->click();
      QCOMPARE(main.Label3->text(), u8("◇招き猫"));
      QCOMPARE(main.FlatMemo1->toPlainText(), u8("(名)招财猫（出现在我的词典）"));
      main.close();
    }
    QCOMPARE(ReadBytes(folder.file("userdict.dic")),
             text::utf8ToGbk(kAddedCat + "\r\n招き猫" + blanks(16) + "[まねきねこ] /(n)beckoning cat//(名)招财猫/\r\n"));

    // The next start loads the lines with one blank less before the kana.
    ui::ResetProcessState();
    {
      app::TForm3 main;
      QVERIFY(main.FormCreate());
      app::TForm6* w = main.myDictionary();
      QCOMPARE(listLines(*w).first(), u8(kLoadedCat));
      QCOMPARE(ui::UserDict.FindUserEntry("猫"), std::int16_t{0});
      main.wordtext->setText(u8("招き猫"));
      main.FlatButton1->click();
      QCOMPARE(main.Label4->text(), u8("〖まねきねこ〗"));
      // Delete every line, then close the program: the file is gone.
      QTimer::singleShot(0, w, [&] {
        while (!listLines(*w).isEmpty()) {
          selectLine(*w, 0);
          press(*w, "FlatButton3");
        }
        w->close();
      });
      main.N2->trigger();
      QVERIFY(ui::UserDict.lines().empty());
      QVERIFY(Exists(folder.file("userdict.dic")));
      main.close();
    }
    QVERIFY(!Exists(folder.file("userdict.dic")));
    QVERIFY(shown.isEmpty());
  }

  void handEditedFileLoadsAndIsKeptAside() {
    ProgramFolder folder;
    std::string bytes = text::utf8ToGbk(kAddedCat + "\r\n\r\nno slash here\r");
    bytes += "\xFF\xFE" + text::utf8ToGbk(" /(n)odd//(名)怪/\r\n");
    WriteBytes(folder.file("userdict.dic"), bytes);
    app::TForm6 w;
    w.FormCreate();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, ui::DialogKind::Information);
    QVERIFY(shown[0].text.contains("userdict.dic.bak"));
    QCOMPARE(listLines(w).size(), 3);
    QCOMPARE(listLines(w)[0], u8(kLoadedCat));
    QCOMPARE(listLines(w)[1], u8(blanks(21) + "no slash here"));  // no head word, text kept
    w.Save();
    QCOMPARE(ReadBytes(folder.file("userdict.dic.bak")), bytes);
    QCOMPARE(ReadBytes(folder.file("userdict.dic")).substr(0, text::utf8ToGbk(kLoadedCat).size()),
             text::utf8ToGbk(kLoadedCat));
  }
};

QTEST_MAIN(UserTest)
#include "user_test.moc"
