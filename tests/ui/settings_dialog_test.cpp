// The settings dialog: showing the settings, Cancel, OK's effects on the
// running program (scan timer, skin, language), clearing the history, and
// the style chosen surviving a restart.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

#include "app/main.h"
#include "personal/newwords.h"
#include "settings/confi.h"
#include "support/program_folder.h"
#include "ui/globals.h"
#include "ui/images.h"
#include "ui/presenter.h"
#include "ui/skins.h"

using namespace kirvale;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

std::string settingsText(int langu, int style, int speed = 35) {
  std::string s = kirvale::testing::DefaultSettingsText(langu);
  auto set = [&s](const std::string& key, int value) {
    const auto at = s.find(key + ":");
    const auto end = s.find("\r\n", at);
    s.replace(at, end - at, key + ":" + std::to_string(value));
  };
  set("style", style);
  set("speed", speed);
  return s;
}

QImage picture(const QLabel* box) { return box->pixmap().toImage(); }
QImage preview(int n) { return ui::LoadJpegPixmap("styles/" + std::to_string(n) + ".jpg").toImage(); }
}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT
  QStringList shown;
  bool answer = true;

  std::unique_ptr<app::TForm3> start(const ProgramFolder& folder, const std::string* settings) {
    if (settings) folder.writeSettings(*settings);
    auto w = std::make_unique<app::TForm3>();
    if (!w->FormCreate()) qFatal("start-up failed");
    w->show();
    return w;
  }

  settings::TForm4* open(app::TForm3& w) {
    settings::TForm4* d = w.settingsDialog();
    d->open();
    QTest::qWait(1);
    return d;
  }

 private slots:
  void init() {
    ui::ResetProcessState();
    shown.clear();
    answer = true;
    ui::Presenter::setHandler([this](ui::DialogKind, const QString& t) {
      shown << t;
      return answer;
    });
  }

  void layoutAndTabs() {
    ProgramFolder folder;
    const std::string s = settingsText(1, 0);
    auto w = start(folder, &s);
    QVERIFY(w->N1->isEnabled());
    settings::TForm4* d = open(*w);
    QCOMPARE(d->size(), QSize(362, 217));
    QCOMPARE(d->windowTitle(), u8("设置"));
    QCOMPARE(d->FlatButton1->geometry(), QRect(256, 193, 48, 21));
    QCOMPARE(d->FlatButton2->geometry(), QRect(311, 193, 48, 21));
    QCOMPARE(d->Image1->size(), QSize(194, 142));
    QCOMPARE(d->ListBox1->count(), 4);
    QCOMPARE(d->ListBox1->item(3)->text(), u8("优雅瞬间"));
    QCOMPARE(d->FlatTabControl1->tabText(3), u8("杂项"));
    // Each tab shows its own controls only.
    QVERIFY(d->ListBox1->isVisible() && !d->TrackBar1->isVisible());
    d->FlatTabControl1->setCurrentIndex(1);
    QVERIFY(!d->ListBox1->isVisible() && d->TrackBar1->isVisible() && d->FlatCheckBox3->isVisible());
    d->FlatTabControl1->setCurrentIndex(2);
    QVERIFY(d->FlatCheckBox5->isVisible() && !d->FlatCheckBox3->isVisible());
    d->FlatTabControl1->setCurrentIndex(3);
    QVERIFY(d->FlatButton3->isVisible() && !d->FlatCheckBox5->isVisible());
    // Without userdict.dic the My Dictionary box is disabled; without
    // language.ini the language group.
    QVERIFY(!d->FlatCheckBox6->isEnabled());
    QVERIFY(d->FlatGroupBox1->isEnabled());
    d->FlatButton2->click();
    kirvale::testing::WriteBytes(folder.file("userdict.dic"), "x\r\n");
    folder.remove("language.ini");
    open(*w);
    QVERIFY(d->FlatCheckBox6->isEnabled());
    QVERIFY(!d->FlatGroupBox1->isEnabled());
    // Every opening starts on the first tab.
    QCOMPARE(d->FlatTabControl1->currentIndex(), 0);
    d->FlatButton2->click();
    w->close();
  }

  void createdInEnglish() {
    ProgramFolder folder;
    const std::string s = settingsText(0, 1);
    auto w = start(folder, &s);
    settings::TForm4* d = open(*w);
    QCOMPARE(d->windowTitle(), QString("Settings"));
    QCOMPARE(d->FlatTabControl1->tabText(2), QString("Capturer"));
    QCOMPARE(d->FlatTabControl1->font().family(), QString("Arial"));
    QCOMPARE(d->ListBox1->item(0)->text(), QString("Standard"));
    QCOMPARE(d->ListBox1->item(3)->text(), QString("Elegant moment"));
    QCOMPARE(d->ListBox1->font().pointSize(), 8);
    QCOMPARE(d->ListBox1->currentRow(), 1);
    QCOMPARE(d->Label1->text(), QString("Style"));
    QCOMPARE(d->Label2->text(), QString("Preview"));
    QCOMPARE(d->FlatButton3->text(), QString("Clear search history..."));
    QVERIFY(d->FlatRadioButton2->isChecked());
    d->FlatButton2->click();
    w->close();
  }

  void cancelChangesNothing() {
    ProgramFolder folder;
    const std::string s = settingsText(1, 0);
    auto w = start(folder, &s);
    const settings::Settings before = ui::Settings;
    const int skinChanges = ui::SkinChanges();
    settings::TForm4* d = open(*w);
    QVERIFY(d->FlatRadioButton1->isChecked());
    QCOMPARE(picture(d->Image1), preview(0));

    d->FlatRadioButton2->setChecked(true);
    d->TrackBar1->setValue(9);
    for (QCheckBox* c : {d->FlatCheckBox1, d->FlatCheckBox2, d->FlatCheckBox3, d->FlatCheckBox6}) c->setChecked(false);
    d->FlatRadioButton4->setChecked(true);
    d->FlatCheckBox4->setChecked(true);
    d->FlatCheckBox5->setChecked(true);
    // A click in the style list shows that style's preview, no more.
    QTest::mouseClick(d->ListBox1->viewport(), Qt::LeftButton, {},
                      d->ListBox1->visualItemRect(d->ListBox1->item(3)).center());
    QCOMPARE(d->ListBox1->currentRow(), 3);
    QCOMPARE(picture(d->Image1), preview(3));
    QCOMPARE(ui::SkinChanges(), skinChanges);
    d->FlatButton2->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));

    auto same = [&before] {
      const settings::Settings& now = ui::Settings;
      return now.langu == before.langu && now.style == before.style && now.speed == before.speed &&
             now.givepron == before.givepron && now.givechin == before.givechin && now.giveeng == before.giveeng &&
             now.useuser == before.useuser && now.showwhat == before.showwhat && now.trans == before.trans &&
             now.match == before.match;
    };
    QVERIFY(same());
    QCOMPARE(ui::SkinChanges(), skinChanges);
    QCOMPARE(w->Label1->text(), u8("输入"));

    // Reopened: the old values everywhere.
    open(*w);
    QVERIFY(d->FlatRadioButton1->isChecked() && !d->FlatRadioButton2->isChecked());
    QCOMPARE(d->TrackBar1->value(), 3);
    QCOMPARE(d->Label4->text(), QString("3"));
    for (QCheckBox* c : {d->FlatCheckBox1, d->FlatCheckBox2, d->FlatCheckBox3, d->FlatCheckBox6})
      QVERIFY2(c->isChecked(), qPrintable(c->objectName()));
    QVERIFY(d->FlatRadioButton3->isChecked());
    QVERIFY(!d->FlatCheckBox4->isChecked() && !d->FlatCheckBox5->isChecked());
    QCOMPARE(d->ListBox1->currentRow(), 0);
    QCOMPARE(picture(d->Image1), preview(0));
    // The title bar's close box is a Cancel too.
    d->FlatCheckBox1->setChecked(false);
    d->close();
    QVERIFY(same());
    w->close();
  }

  void speedAndScanTimer() {
    ProgramFolder folder;
    const std::string s = settingsText(1, 0, 35);
    auto w = start(folder, &s);
    settings::TForm4* d = open(*w);
    QCOMPARE(d->TrackBar1->minimum(), 0);
    QCOMPARE(d->TrackBar1->maximum(), 10);
    QCOMPARE(d->TrackBar1->value(), 3);
    QCOMPARE(d->Label4->text(), QString("3"));
    d->FlatTabControl1->setCurrentIndex(1);
    d->TrackBar1->setFocus();
    for (int i = 0; i < 4; ++i) QTest::keyClick(d->TrackBar1, Qt::Key_Right);
    QCOMPARE(d->TrackBar1->value(), 7);
    QCOMPARE(d->Label4->text(), QString("7"));  // at once, before OK
    QCOMPARE(ui::Settings.speed, std::int16_t(35));
    d->FlatCheckBox2->setChecked(false);
    d->FlatCheckBox5->setChecked(true);
    d->FlatRadioButton4->setChecked(true);
    d->FlatButton1->click();
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(ui::Settings.speed, std::int16_t(75));
    QCOMPARE(w->notebook()->Timer1->interval(), 75);
    QCOMPARE(ui::Settings.givechin, std::int16_t(0));
    QCOMPARE(ui::Settings.givepron, std::int16_t(1));
    QCOMPARE(ui::Settings.match, std::int16_t(1));
    QCOMPARE(ui::Settings.showwhat, std::int16_t(0));
    // A speed outside the track bar's range shows the end the bar stops at.
    ui::Settings.speed = 500;
    open(*w);
    QCOMPARE(d->TrackBar1->value(), 10);
    QCOMPARE(d->Label4->text(), QString("10"));
    d->FlatButton2->click();
    // A style beyond the list selects nothing, and OK leaves it alone.
    ui::Settings.speed = 35;
    ui::Settings.style = 7;
    const int changes = ui::SkinChanges();
    open(*w);
    QCOMPARE(d->ListBox1->currentRow(), -1);
    d->FlatButton1->click();
    QCOMPARE(ui::Settings.style, std::int16_t(7));
    QCOMPARE(ui::SkinChanges(), changes);
    w->close();
  }

  void captureTranslucencyReachesThePopUp() {
    ProgramFolder folder;
    const std::string s = settingsText(1, 0);
    auto w = start(folder, &s);
    QList<bool> blended;
    settings::Targets.CaptureAlphaBlend = [&blended](bool on) { blended << on; };
    settings::TForm4* d = open(*w);
    d->FlatCheckBox4->setChecked(true);
    d->FlatButton1->click();
    QCOMPARE(ui::Settings.trans, std::int16_t(1));
    open(*w);
    d->FlatCheckBox4->setChecked(false);
    d->FlatButton1->click();
    QCOMPARE(blended, (QList<bool>{true, false}));
    w->close();
  }

  void languageSwitchesOnlyWhenChanged() {
    ProgramFolder folder;
    const std::string s = settingsText(1, 0);
    auto w = start(folder, &s);
    // Language unchanged: no window text is touched.
    w->Label1->setText("marker");
    w->notebook()->setWindowTitle("marker");
    settings::TForm4* d = open(*w);
    d->FlatButton1->click();
    QCOMPARE(w->Label1->text(), QString("marker"));
    QCOMPARE(w->notebook()->windowTitle(), QString("marker"));
    QCOMPARE(d->FlatTabControl1->tabText(0), u8("主界面"));

    // Changed: every window switches at once.
    open(*w);
    d->FlatRadioButton2->setChecked(true);
    d->FlatButton1->click();
    QCOMPARE(ui::Settings.langu, std::int16_t(0));
    QCOMPARE(w->Label1->text(), QString("Input"));
    QCOMPARE(w->FlatButton1->text(), QString("Search"));
    QCOMPARE(w->Panel2->text(), QString("Chinese"));
    QCOMPARE(w->notebook()->windowTitle(), QString("New Words"));
    QCOMPARE(d->windowTitle(), QString("Settings"));
    QCOMPARE(d->FlatButton2->text(), QString("Cancel"));
    QCOMPARE(d->FlatTabControl1->tabText(0), QString("Interface"));
    QCOMPARE(d->ListBox1->item(2)->text(), QString("Somewhat gaudy"));
    QCOMPARE(d->ListBox1->font().family(), QString("Arial"));
    QCOMPARE(d->FlatRadioButton3->font().family(), QString("Arial"));
    // The style list keeps its selection through the renaming.
    open(*w);
    QCOMPARE(d->ListBox1->currentRow(), 0);
    // And back to Chinese.
    d->FlatRadioButton1->setChecked(true);
    d->FlatButton1->click();
    QCOMPARE(w->Label1->text(), u8("输入"));
    QCOMPARE(d->FlatTabControl1->tabText(1), u8("生词本"));
    QCOMPARE(d->ListBox1->item(2)->text(), u8("有点花哨"));
    QCOMPARE(d->FlatRadioButton3->font().family(), u8("宋体"));
    w->close();
  }

  void clearingTheHistoryLastsThroughCancel() {
    ProgramFolder folder;
    const std::string s = settingsText(1, 0);
    auto w = start(folder, &s);
    for (const char* word : {"apple", "cat"}) {
      w->wordtext->setText(word);
      w->FlatButton1->click();
    }
    QCOMPARE(w->ListBox1->count(), 2);
    settings::TForm4* d = open(*w);
    d->FlatTabControl1->setCurrentIndex(3);
    answer = false;  // No: nothing happens
    d->FlatButton3->click();
    QCOMPARE(shown.last(), u8("是否清除所有查询历史记录？"));
    QCOMPARE(w->ListBox1->count(), 2);
    answer = true;
    d->FlatButton3->click();
    QCOMPARE(w->ListBox1->count(), 0);  // at once
    QVERIFY(w->session().history().items().empty());
    d->FlatButton2->click();
    QCOMPARE(w->ListBox1->count(), 0);
    w->close();
    QVERIFY(!kirvale::testing::Exists(folder.file("history.txt")));
  }

  void styleChosenReskinsAllWindowsAndSurvivesARestart() {
    ProgramFolder folder;
    {
      const std::string s = settingsText(1, 0);
      auto w = start(folder, &s);
      QCOMPARE(ui::CurrentSkin(), 0);
      // OK with the style unchanged does not re-skin.
      const int changes = ui::SkinChanges();
      settings::TForm4* d = open(*w);
      d->FlatButton1->click();
      QCOMPARE(ui::SkinChanges(), changes);

      open(*w);
      d->ListBox1->setCurrentRow(2);
      d->ListBox1Click();
      d->FlatButton1->click();
      QCOMPARE(ui::Settings.style, std::int16_t(2));
      QCOMPARE(ui::SkinChanges(), changes + 1);
      QCOMPARE(ui::CurrentSkin(), 2);
      QCOMPARE(qApp->styleSheet(), ui::SkinSheet(2));
      const QColor window = ui::SkinPalette(2).color(QPalette::Window);
      for (QWidget* top : {static_cast<QWidget*>(w.get()), static_cast<QWidget*>(w->notebook()),
                           static_cast<QWidget*>(d)})
        QCOMPARE(top->palette().color(QPalette::Window), window);
      w->close();
    }
    QVERIFY(folder.readSettings().find("style:2\r\n") != std::string::npos);
    ui::ResetProcessState();
    auto w = start(folder, nullptr);
    QCOMPARE(ui::CurrentSkin(), 2);
    QCOMPARE(qApp->styleSheet(), ui::SkinSheet(2));
    settings::TForm4* d = open(*w);
    QCOMPARE(d->ListBox1->currentRow(), 2);
    QCOMPARE(picture(d->Image1), preview(2));
    d->FlatButton2->click();
    w->close();
  }

  void missingPreviewLeavesTheBoxEmpty() {
    ProgramFolder folder;
    folder.remove("styles/1.jpg");
    const std::string s = settingsText(1, 1);
    auto w = start(folder, &s);
    QVERIFY(!shown.isEmpty() && shown.first().contains("style file"));
    QCOMPARE(ui::CurrentSkin(), 1);
    settings::TForm4* d = open(*w);
    QCOMPARE(d->ListBox1->currentRow(), 1);
    QVERIFY(d->Image1->pixmap().isNull());
    // Clicking a style with a picture shows it; back on the missing one the
    // box keeps what it showed.
    d->ListBox1->setCurrentRow(3);
    d->ListBox1Click();
    QCOMPARE(picture(d->Image1), preview(3));
    d->ListBox1->setCurrentRow(1);
    d->ListBox1Click();
    QCOMPARE(picture(d->Image1), preview(3));
    d->FlatButton2->click();
    w->close();
  }

  void applySettingsReachesEveryControl() {
    ProgramFolder folder;
    const std::string s = settingsText(1, 0);
    auto w = start(folder, &s);
    QList<bool> tipBox;
    settings::Targets.ShowTipCheckBox = [&tipBox](bool on) { tipBox << on; };
    ui::Settings.level = 5;  // any value but -1 and 0: Chinese full
    ui::Settings.capturing = 1;
    ui::Settings.showtip = 1;
    ui::Published.ApplySettings();
    QCOMPARE(tipBox, QList<bool>{true});
    QVERIFY(w->N10->isChecked());
    QCOMPARE(w->Panel4->y(), 216);  // the English pane folded to its caption bar
    ui::Settings.level = 0;
    ui::Settings.showtip = 0;
    ui::Settings.capturing = 0;
    ui::Published.ApplySettings();
    QCOMPARE(tipBox, (QList<bool>{true, false}));
    QVERIFY(!w->N10->isChecked());
    w->close();
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
