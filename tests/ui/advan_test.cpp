// The advanced search window, opened from the main window and driven through
// its controls in a temporary program folder.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "app/main.h"
#include "ui/head_word_list.h"
#include "dictionary/advan.h"
#include "support/program_folder.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

QStringList items(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

QStringList rows(const QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

// Runs `drive` on the modal window once it is up; the window must be closed
// by `drive`. `ran` tells whether it ran at all.
template <typename T>
void whenModal(std::function<void(T*)> drive, bool* ran) {
  QTimer::singleShot(0, [drive, ran] {
    auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!w) {
      whenModal<T>(drive, ran);
      return;
    }
    *ran = true;
    drive(w);
    if (w->isVisible()) w->reject();  // a failed check must not leave it open
  });
}
}  // namespace

class AdvancedSearchTest : public QObject {
  Q_OBJECT
  std::unique_ptr<ProgramFolder> folder;
  std::unique_ptr<app::TForm3> w;

  void start(int langu) {
    ui::ResetProcessState();
    folder = std::make_unique<ProgramFolder>();
    folder->writeSettings(kirvale::testing::DefaultSettingsText(langu));
    w = std::make_unique<app::TForm3>();
    QVERIFY(w->FormCreate());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  }

  static void choose(ui::HeadWordList* list, const QString& text) {
    const int row = list->findRow(text);
    QVERIFY(row >= 0);
    list->scrollToRow(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(row).center());
  }

  static void choose(QListWidget* list, const QString& text) {
    QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
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

  void catInTheEnglishFieldThenMeaningShowsItInTheMainWindow() {
    start(0);
    QVERIFY(w->FlatButton2->isEnabled());
    // A click on the main window's list sets its list-click flag, which a
    // search started from the advanced search clears.
    choose(w->wordlist, u8("電話"));
    QVERIFY(w->listSelectionFlag());

    bool ran = false;
    whenModal<app::TForm8>(
        [this](app::TForm8* a) {
          QCOMPARE(a->windowTitle(), QString("Advanced Search"));
          QCOMPARE(rows(a->FlatComboBox1), (QStringList{"Japanese entry", "Kana", "Chinese", "English", "Any of above"}));
          QCOMPARE(a->FlatComboBox1->currentIndex(), 0);
          QCOMPARE(a->FlatButton1->text(), QString("Search"));
          // Its tag is in the caption range: the hint stays the designed one.
          QCOMPARE(a->FlatButton1->toolTip(), u8("查询合乎要求者"));
          QTest::keyClicks(a->FlatEdit1, "  cat ");
          a->FlatComboBox1->setCurrentIndex(3);
          // Enter in the text field does not search.
          QTest::keyClick(a->FlatEdit1, Qt::Key_Return);
          QVERIFY(a->isVisible());
          QCOMPARE(a->FlatListBox1->count(), 0);
          QCOMPARE(a->Label4->text(), QString());
          QTest::mouseClick(a->FlatButton1, Qt::LeftButton);
          QCOMPARE(items(a->FlatListBox1), QStringList{u8("猫")});
          QCOMPARE(a->Label4->text(), QString("1"));
          QVERIFY(a->Label4->font().bold());
          // Meaning with nothing selected does nothing.
          QTest::mouseClick(a->FlatButton2, Qt::LeftButton);
          QCOMPARE(w->Label3->text(), QString());
          choose(a->FlatListBox1, u8("猫"));
          QTest::mouseClick(a->FlatButton2, Qt::LeftButton);
          QVERIFY(a->isVisible());  // the window stays open
          QCOMPARE(w->wordtext->text(), u8("猫"));
          QCOMPARE(w->Label3->text(), u8("◇猫"));
          QCOMPARE(w->Label4->text(), u8("〖ねこ〗"));
          QCOMPARE(w->FlatMemo2->toPlainText(), QString("(n) cat"));
          QVERIFY(!w->listSelectionFlag());
          // The main window's list followed the new text.
          QCOMPARE(w->wordlist->currentText(), u8("猫"));
          QCOMPARE(w->session().history().items().back(), std::string("猫"));
          QTest::mouseClick(a->FlatButton3, Qt::LeftButton);
        },
        &ran);
    QTest::mouseClick(w->FlatButton2, Qt::LeftButton);
    QVERIFY(ran);
    QCOMPARE(w->advancedSearch()->result(), int(QDialog::Accepted));
    QVERIFY(!w->advancedSearch()->isVisible());
  }

  void searchesKeepOrderDuplicatesAndEmptyTextChangesNothing() {
    start(1);
    app::TForm8* a = w->advancedSearch();
    QVERIFY(a);
    a->show();
    QCOMPARE(rows(a->FlatComboBox1), (QStringList{u8("日文词条"), u8("假名发音"), u8("中文解释"), u8("英语解释"),
                                                   u8("以上四项")}));
    // Row 0: the head word. Two head words hold 日本, in file order.
    a->FlatEdit1->setText(u8("日本"));
    a->FlatButton1->click();
    QCOMPARE(items(a->FlatListBox1), (QStringList{u8("日本"), u8("日本語")}));
    QCOMPARE(a->Label4->text(), QString("2"));
    // Row 4: a text that is only in a kana ...
    a->FlatEdit1->setText(u8("ねこ"));
    a->FlatComboBox1->setCurrentIndex(4);
    a->FlatButton1->click();
    QCOMPARE(items(a->FlatListBox1), QStringList{u8("猫")});
    // ... and one across the "//" separator, which the English row does not
    // hold.
    a->FlatEdit1->setText(u8("cat//猫"));
    a->FlatButton1->click();
    QCOMPARE(items(a->FlatListBox1), QStringList{u8("猫")});
    a->FlatComboBox1->setCurrentIndex(3);
    a->FlatButton1->click();
    QCOMPARE(a->FlatListBox1->count(), 0);
    QCOMPARE(a->Label4->text(), QString("0"));
    // Every line that has kana; the count counts them all.
    a->FlatEdit1->setText("[");
    a->FlatComboBox1->setCurrentIndex(4);
    a->FlatButton1->click();
    QCOMPARE(a->FlatListBox1->count(), 70);
    QCOMPARE(a->Label4->text(), QString("70"));
    // An empty or blank text leaves the results and the count in place.
    a->FlatEdit1->setText(" \t ");
    a->FlatButton1->click();
    QCOMPARE(a->FlatListBox1->count(), 70);
    QCOMPARE(a->Label4->text(), QString("70"));
    // Kana and Chinese rows.
    a->FlatEdit1->setText(u8("がっ"));
    a->FlatComboBox1->setCurrentIndex(1);
    a->FlatButton1->click();
    QCOMPARE(items(a->FlatListBox1), QStringList{u8("学校")});
    a->FlatEdit1->setText(u8("电"));
    a->FlatComboBox1->setCurrentIndex(2);
    a->FlatButton1->click();
    QCOMPARE(items(a->FlatListBox1), (QStringList{u8("映画"), u8("電車"), u8("電話"), u8("テレビ"), u8("コンピューター")}));
    // A double-click on a result is Meaning.
    QListWidgetItem* tv = a->FlatListBox1->item(3);
    QTest::mouseClick(a->FlatListBox1->viewport(), Qt::LeftButton, {}, a->FlatListBox1->visualItemRect(tv).center());
    QTest::mouseDClick(a->FlatListBox1->viewport(), Qt::LeftButton, {}, a->FlatListBox1->visualItemRect(tv).center());
    QCOMPARE(w->Label3->text(), u8("◇テレビ"));
    QCOMPARE(w->FlatMemo1->toPlainText(), u8("电视"));
    a->FlatButton3->click();
    QVERIFY(!a->isVisible());
  }

  void showingResetsEverythingAndFollowsTheLanguage() {
    start(1);
    app::TForm8* a = w->advancedSearch();
    a->show();
    a->FlatEdit1->setText(u8("本"));
    a->FlatComboBox1->setCurrentIndex(4);
    a->FlatButton1->click();
    QVERIFY(a->FlatListBox1->count() > 0);
    a->FlatListBox1->setCurrentRow(0);
    a->FlatButton3->click();
    a->show();
    QCOMPARE(a->FlatEdit1->text(), QString());
    QCOMPARE(a->Label4->text(), QString());
    QCOMPARE(a->FlatListBox1->count(), 0);
    QVERIFY(a->FlatListBox1->selectedItems().isEmpty());
    QCOMPARE(a->FlatComboBox1->currentIndex(), 0);
    QCOMPARE(a->FlatComboBox1->currentText(), u8("日文词条"));
    a->FlatComboBox1->setCurrentIndex(2);
    a->FlatButton3->click();
    // The interface language changes: the next showing lists the rows in
    // English, with row 0 chosen.
    ui::Settings.langu = 0;
    ui::Published.ApplyInterfaceLanguage();
    QCOMPARE(a->windowTitle(), QString("Advanced Search"));
    QCOMPARE(a->Label3->text(), QString("Entries found"));
    a->show();
    QCOMPARE(a->FlatComboBox1->currentText(), QString("Japanese entry"));
    QCOMPARE(a->FlatComboBox1->count(), 5);
    a->FlatComboBox1->setCurrentIndex(3);
    a->FlatButton3->click();
    // Back to Chinese.
    ui::Settings.langu = 1;
    a->show();
    QCOMPARE(rows(a->FlatComboBox1).last(), u8("以上四项"));
    QCOMPARE(a->FlatComboBox1->currentIndex(), 0);
    a->FlatButton3->click();
  }
};

QTEST_MAIN(AdvancedSearchTest)
#include "advan_test.moc"
