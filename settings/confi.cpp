#include "settings/confi.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>

#include "platform/startup_check.h"
#include "settings/interface_language.h"
#include "settings/messages.h"
#include "settings/styles.h"
#include "ui/globals.h"
#include "ui/images.h"
#include "ui/presenter.h"
#include "ui/skins.h"

namespace kirvale::settings {
using ui::CentreOnScreen;
using ui::DesignFont;
using ui::SetUpFixedDialog;
using ui::named;
using ui::u8;

SettingsTargets Targets;

namespace {


constexpr const char* kLanguageTable = "language.ini";

struct Pair {
  const char* english;
  const char* chinese;
  QString in(std::int16_t language) const { return u8(language == 0 ? english : chinese); }
};
constexpr Pair kTabs[] = {{"Interface", "主界面"}, {"New words", "生词本"}, {"Capturer", "取词"}, {"Miscellany", "杂项"}};


// The Chinese note on the capture tab is one size smaller than the other
// captions, so that it fits its line.
void fitNote(QLabel* note) {
  note->setFont(DesignFont(12));
}

// The value label shows the track bar's position; `speed` = 10 × p + 5.
int positionOfSpeed(int speed) { return (speed - 5) / 10; }

}  // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  SetUpFixedDialog(this, "TForm4", 150, "设置", QSize(362, 217));
  buildControls();
  // Created in English: English tab captions, labels and style names, and
  // the "Arial" 8 fonts of the tabs and the style list.
  if (ui::UiLanguage() == 0) {
    ApplyFixedTexts();
    Label1->setText("Styles");
    Label2->setText("Preview");
  } else {
    fitNote(Label5);
  }
  FlatTabControl1Change();
}

// The targets belong to the windows of this run; they end with it.
TForm4::~TForm4() { Targets = SettingsTargets{}; }

void TForm4::buildControls() {
  // The tab control's area: the tab row with the page below it; the pages'
  // controls are placed within this area.
  auto* area = named(new QWidget(this), "TabArea");
  area->setGeometry(3, 3, 357, 185);
  FlatTabControl1 = named(new QTabBar(area), "FlatTabControl1");
  for (const Pair& t : kTabs) FlatTabControl1->addTab(u8(t.chinese));
  FlatTabControl1->setExpanding(false);
  FlatTabControl1->setDrawBase(false);
  FlatTabControl1->setGeometry(0, 0, 357, 21);
  TabSheet = named(new QWidget(area), "TabSheet");
  TabSheet->setAttribute(Qt::WA_StyledBackground);
  TabSheet->setGeometry(0, 20, 357, 165);
  FlatTabControl1->raise();

  // Tab 0: interface.
  Label1 = named(new QLabel(u8("风格"), area), "Label1", 151);
  Label1->setGeometry(16, 21, 120, 16);
  ListBox1 = named(new QListWidget(area), "ListBox1");
  ListBox1->setGeometry(5, 39, 137, 62);
  ListBox1->setUniformItemSizes(true);
  ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (const StyleInfo& s : Styles()) {
    auto* item = new QListWidgetItem(u8(s.chinese), ListBox1);
    item->setSizeHint(QSize(120, 14));
  }
  Label2 = named(new QLabel(u8("预览"), area), "Label2", 152);
  Label2->setGeometry(166, 20, 120, 16);
  Image1 = named(new QLabel(area), "Image1");
  Image1->setGeometry(158, 38, 194, 142);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image1->setFrameStyle(QFrame::NoFrame);
  FlatGroupBox1 = named(new QGroupBox(u8("界面语言"), area), "FlatGroupBox1", 153);
  FlatGroupBox1->setGeometry(5, 106, 137, 74);
  FlatRadioButton1 = named(new QRadioButton(u8("中文"), FlatGroupBox1), "FlatRadioButton1", 154);
  // Wider than designed (60) where the group leaves room, so that no
  // caption is cut in either language.
  FlatRadioButton1->setGeometry(8, 22, 120, 17);
  FlatRadioButton2 = named(new QRadioButton(u8("英语"), FlatGroupBox1), "FlatRadioButton2", 155);
  FlatRadioButton2->setGeometry(8, 46, 120, 17);

  // Tab 1: new words.
  FlatGroupBox2 = named(new QGroupBox(u8("浏览"), area), "FlatGroupBox2", 156);
  FlatGroupBox2->setGeometry(8, 32, 161, 65);
  Label3 = named(new QLabel(u8("浏览速度(秒)："), FlatGroupBox2), "Label3", 157);
  Label3->setGeometry(9, 18, 100, 16);
  Label4 = named(new QLabel(FlatGroupBox2), "Label4");
  Label4->setGeometry(110, 18, 40, 16);
  TrackBar1 = named(new QSlider(Qt::Horizontal, FlatGroupBox2), "TrackBar1");
  TrackBar1->setGeometry(3, 34, 150, 29);
  TrackBar1->setRange(0, 10);
  TrackBar1->setSingleStep(1);
  TrackBar1->setPageStep(1);
  TrackBar1->setTickInterval(1);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  FlatGroupBox3 = named(new QGroupBox(u8("练习"), area), "FlatGroupBox3", 158);
  FlatGroupBox3->setGeometry(187, 32, 161, 91);
  FlatCheckBox1 = named(new QCheckBox(u8("提示假名"), FlatGroupBox3), "FlatCheckBox1", 159);
  FlatCheckBox2 = named(new QCheckBox(u8("提示中文解释"), FlatGroupBox3), "FlatCheckBox2", 160);
  FlatCheckBox3 = named(new QCheckBox(u8("提示英语解释"), FlatGroupBox3), "FlatCheckBox3", 161);
  int y = 19;
  for (QCheckBox* c : {FlatCheckBox1, FlatCheckBox2, FlatCheckBox3}) {
    c->setGeometry(8, y, 150, 17);  // designed 115; the group leaves room
    y += 24;
  }

  // Tab 2: capture.
  FlatGroupBox4 = named(new QGroupBox(u8("屏幕取词"), area), "FlatGroupBox4", 162);
  FlatGroupBox4->setGeometry(5, 24, 244, 81);
  FlatRadioButton3 = named(new QRadioButton(u8("中文解释"), FlatGroupBox4), "FlatRadioButton3", 163);
  FlatRadioButton3->setGeometry(8, 17, 109, 17);
  FlatRadioButton4 = named(new QRadioButton(u8("英语解释"), FlatGroupBox4), "FlatRadioButton4", 164);
  FlatRadioButton4->setGeometry(8, 38, 109, 17);
  FlatCheckBox4 = named(new QCheckBox(u8("背景呈半透明"), FlatGroupBox4), "FlatCheckBox4", 165);
  FlatCheckBox4->setGeometry(116, 16, 123, 17);
  FlatCheckBox5 = named(new QCheckBox(u8("精确匹配指向"), FlatGroupBox4), "FlatCheckBox5", 166);
  FlatCheckBox5->setGeometry(116, 38, 123, 17);
  Label5 = named(new QLabel(u8("取词需要Windows2000以上系统支持。"), FlatGroupBox4), "Label5", 167);
  // Designed 220 × 13; the note takes the group's width and one size
  // smaller a font in Chinese so that it is not cut.
  Label5->setGeometry(9, 59, 232, 15);

  // Tab 3: miscellany.
  FlatCheckBox6 = named(new QCheckBox(u8("使用我的词典"), area), "FlatCheckBox6", 168);
  FlatCheckBox6->setGeometry(17, 48, 160, 17);
  FlatButton3 = named(new QPushButton(u8("清空查询记录..."), area), "FlatButton3", 169);
  FlatButton3->setGeometry(18, 69, 137, 22);

  FlatButton1 = named(new QPushButton(u8("确定"), this), "FlatButton1", 170);
  FlatButton1->setGeometry(256, 193, 48, 21);
  FlatButton1->setDefault(true);
  FlatButton2 = named(new QPushButton(u8("取消"), this), "FlatButton2", 171);
  FlatButton2->setGeometry(311, 193, 48, 21);

  tabs_ = {{Label1, ListBox1, Label2, Image1, FlatGroupBox1},
           {FlatGroupBox2, FlatGroupBox3},
           {FlatGroupBox4},
           {FlatCheckBox6, FlatButton3}};

  connect(FlatTabControl1, &QTabBar::currentChanged, this, [this] { FlatTabControl1Change(); });
  connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
  connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
  connect(FlatButton3, &QPushButton::clicked, this, &TForm4::FlatButton3Click);
  connect(FlatButton1, &QPushButton::clicked, this, &TForm4::FlatButton1Click);
  connect(FlatButton2, &QPushButton::clicked, this, &TForm4::FlatButton2Click);
}

void TForm4::ApplyFixedTexts() {
  const std::int16_t language = ui::UiLanguage();
  const QFont font = CaptionFont(language);
  for (int i = 0; i < FlatTabControl1->count(); ++i) FlatTabControl1->setTabText(i, kTabs[i].in(language));
  FlatTabControl1->setFont(font);
  ListBox1->setFont(font);
  const int row = ListBox1->currentRow();
  for (int i = 0; i < kStyleCount && i < ListBox1->count(); ++i)
    ListBox1->item(i)->setText(u8(language == 0 ? Styles()[i].english : Styles()[i].chinese));
  ListBox1->setCurrentRow(row);
  if (language == 1) fitNote(Label5);
}

bool TForm4::LoadPreview(int index) {
  const std::string path = "styles/" + std::to_string(index) + ".jpg";
  if (!platform::FileExists(path)) return false;
  const QPixmap picture = ui::LoadJpegPixmap(path);
  // A picture that does not decode is skipped like a missing one.
  if (picture.isNull()) return false;
  Image1->setPixmap(picture);
  return true;
}

void TForm4::ApplySettings() {
  const Settings& s = ui::Settings;
  FlatRadioButton1->setChecked(s.langu == 1);
  FlatRadioButton2->setChecked(s.langu != 1);
  TrackBar1->setValue(positionOfSpeed(s.speed));
  TrackBar1Change();
  FlatCheckBox1->setChecked(s.givepron == 1);
  FlatCheckBox2->setChecked(s.givechin == 1);
  FlatCheckBox3->setChecked(s.giveeng == 1);
  FlatCheckBox6->setChecked(s.useuser == 1);
  FlatRadioButton3->setChecked(s.showwhat == 1);
  FlatRadioButton4->setChecked(s.showwhat != 1);
  FlatCheckBox4->setChecked(s.trans == 1);
  FlatCheckBox5->setChecked(s.match == 1);
  // A style beyond the list (a hand-edited settings file) selects no item,
  // so that OK keeps it unless the user picks one.
  ListBox1->setCurrentRow(s.style >= 0 && s.style < ListBox1->count() ? s.style : -1);
  LoadPreview(s.style);
  FlatTabControl1->setCurrentIndex(0);
  FlatTabControl1Change();
}

void TForm4::showEvent(QShowEvent* e) {
  CentreOnScreen(this);
  FormShow();
  QDialog::showEvent(e);
}

void TForm4::FormShow() {
  FlatCheckBox6->setEnabled(platform::FileExists("userdict.dic"));
  FlatGroupBox1->setEnabled(platform::FileExists(kLanguageTable));
  if (ui::Published.ApplySettings)
    ui::Published.ApplySettings();
  else
    ApplySettings();
}

void TForm4::FlatTabControl1Change() {
  const int current = FlatTabControl1->currentIndex();
  for (int t = 0; t < tabs_.size(); ++t)
    for (QWidget* w : tabs_[t]) w->setVisible(t == current);
}

void TForm4::TrackBar1Change() { Label4->setText(QString::number(TrackBar1->value())); }

void TForm4::ListBox1Click() {
  const int row = ListBox1->currentRow();
  if (row >= 0) LoadPreview(row);
}

void TForm4::FlatButton3Click() {
  if (!ui::Presenter::confirm(this, u8(msg::kClearHistory.in(ui::UiLanguage())))) return;
  if (ui::Published.ClearHistory) ui::Published.ClearHistory();
}

void TForm4::FlatButton1Click() {
  auto& s = ui::Settings;
  // 1.-7. The settings from the controls.
  const std::int16_t oldLanguage = s.langu;
  s.langu = FlatRadioButton1->isChecked() ? 1 : 0;
  s.speed = static_cast<std::int16_t>(10 * TrackBar1->value() + 5);
  s.givepron = FlatCheckBox1->isChecked() ? 1 : 0;
  s.givechin = FlatCheckBox2->isChecked() ? 1 : 0;
  s.giveeng = FlatCheckBox3->isChecked() ? 1 : 0;
  s.useuser = FlatCheckBox6->isChecked() ? 1 : 0;
  s.showwhat = FlatRadioButton3->isChecked() ? 1 : 0;
  s.trans = FlatCheckBox4->isChecked() ? 1 : 0;
  s.match = FlatCheckBox5->isChecked() ? 1 : 0;
  // 8. The notebook's scan timer.
  if (Targets.ScanInterval) Targets.ScanInterval(s.speed);
  // 9. The capture pop-up's transparency.
  if (Targets.CaptureAlphaBlend) Targets.CaptureAlphaBlend(s.trans == 1);
  // 10. The style, only when another one was chosen.
  const int style = ListBox1->currentRow();
  if (style >= 0 && style != s.style) {
    s.style = static_cast<std::int16_t>(style);
    if (ui::Published.SelectStyle)
      ui::Published.SelectStyle(s.style);
    else
      ui::SelectSkin(s.style);
  }
  // 11. The language, only when it changed.
  if (s.langu != oldLanguage) {
    if (ui::Published.ApplyInterfaceLanguage)
      ui::Published.ApplyInterfaceLanguage();
    else
      ApplyInterfaceLanguage(kLanguageTable, s.langu);
    ApplyLanguageToFixedTexts();
  }
  // 12.
  accept();
}

void TForm4::FlatButton2Click() { reject(); }

}  // namespace kirvale::settings
