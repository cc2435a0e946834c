// Switching the main window between English and Chinese.
#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "ui/globals.h"
#include "app/main.h"
#include "ui/head_word_list.h"
#include "ui/presenter.h"
#include "settings/interface_language.h"
#include "support/program_folder.h"

using namespace kirvale;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

void expectChinese(app::TForm3& w) {
  QCOMPARE(w.Label1->text(), u8("输入"));
  QCOMPARE(w.FlatButton1->text(), u8("查询"));
  QCOMPARE(w.Label2->text(), u8("日语词条"));
  QCOMPARE(w.FlatGroupBox1->title(), u8("日语"));
  QCOMPARE(w.wordtext->toolTip(), u8("输入日语或英语"));
  QCOMPARE(w.FlatButton3->toolTip(), u8("后退"));
  QCOMPARE(w.wordlist->toolTip(), u8("双击显示"));
  QCOMPARE(w.N1->text(), u8("设置..."));
  QCOMPARE(w.N11->text(), u8("退出"));
  QCOMPARE(w.Panel2->text(), u8("中文"));
  QCOMPARE(w.Panel3->toolTip(), u8("点击"));
  QCOMPARE(w.SpeedButton3->toolTip(), u8("朗读"));
}
}  // namespace

class InterfaceLanguageTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    ui::ResetProcessState();
    ui::Presenter::setHandler([](ui::DialogKind, const QString&) { return true; });
  }

  void fullSwitchEnglishChineseEnglish() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    // English from the start.
    QCOMPARE(w.windowTitle(), QString("Kirvale"));
    QCOMPARE(w.Label1->text(), QString("Input"));
    QCOMPARE(w.FlatButton1->text(), QString("Search"));
    QCOMPARE(w.Label2->text(), QString("Japanese list"));
    QCOMPARE(w.FlatGroupBox1->title(), QString("Japanese"));
    QCOMPARE(w.wordtext->toolTip(), QString("Type a Japanese or English word"));
    QCOMPARE(w.BitBtn1->toolTip(), QString("Search history"));
    QCOMPARE(w.englishlist->toolTip(), QString("Double-click to show"));
    QCOMPARE(w.N10->text(), QString("Screen capture"));
    QCOMPARE(w.N7->text(), QString("About..."));
    QCOMPARE(w.Panel2->text(), QString("Chinese"));
    QCOMPARE(w.Panel2->toolTip(), QString("Click"));
    QCOMPARE(w.SpeedButton1->toolTip(), QString("Copy"));
    QCOMPARE(w.SpeedButton2->toolTip(), QString("Add"));
    QCOMPARE(w.Label1->font().family(), QString("Arial"));
    QCOMPARE(w.Label1->font().pointSize(), 8);
    // Controls without a caption tag keep the design font.
    QCOMPARE(w.Label3->font().family(), u8("宋体"));

    // To Chinese while the English list shows: the list title keeps naming it.
    w.SpeedButton4->click();
    ui::Settings.langu = 1;
    ui::Published.ApplyInterfaceLanguage();
    settings::ApplyLanguageToFixedTexts();
    QCOMPARE(w.Label2->text(), u8("英语词条"));
    w.FlatSpeedButton1->click();
    expectChinese(w);
    QCOMPARE(w.FlatButton1->font().family(), u8("宋体"));
    QCOMPARE(w.FlatButton1->font().pointSize(), 10);

    // And back.
    ui::Settings.langu = 0;
    ui::Published.ApplyInterfaceLanguage();
    settings::ApplyLanguageToFixedTexts();
    QCOMPARE(w.N2->text(), QString("My Dictionary"));
    QCOMPARE(w.FlatButton4->toolTip(), QString("Forward"));
    QCOMPARE(w.Label2->text(), QString("Japanese list"));
    QCOMPARE(w.SpeedButton3->toolTip(), QString("Say it"));
    QCOMPARE(w.FlatButton1->font().family(), QString("Arial"));
    w.close();
  }

  void englishStartWithoutTheTableStaysChinese() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    folder.remove("language.ini");
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    expectChinese(w);
    w.close();
  }

  void aTagMissingFromTheTableEmptiesItsText() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    kirvale::testing::WriteBytes(folder.file("language.ini"), "137:Input/\xca\xe4\xc8\xeb\r\n");
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(w.Label1->text(), QString("Input"));
    QCOMPARE(w.windowTitle(), QString());  // tag 136 is missing
    QCOMPARE(w.FlatButton1->text(), QString());
    w.close();
  }
};

QTEST_MAIN(InterfaceLanguageTest)
#include "interface_language_test.moc"
