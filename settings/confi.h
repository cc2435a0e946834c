// The settings dialog: interface language and style, the notebook's scan
// speed and exercise hints, the capture pop-up's options, the My Dictionary
// fallback and clearing the search history. Created once at start-up; each
// showing starts from the current settings, OK applies the changes at once,
// Cancel drops them. Nothing here writes the settings file.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabBar;

namespace kirvale::settings {

// The windows outside the main window and this dialog that show or use a
// setting. The main window sets each one when that window exists; an empty
// one is skipped (the window reads the setting itself when it is created).
struct SettingsTargets {
  // Word of the day: checks its box "每次启动显示此窗口".
  std::function<void(bool checked)> ShowTipCheckBox;
  // New-words notebook: the scan timer's interval in milliseconds.
  std::function<void(int milliseconds)> ScanInterval;
  // Capture pop-up: alpha blending on or off.
  std::function<void(bool translucent)> CaptureAlphaBlend;
};
extern SettingsTargets Targets;

class TForm4 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);
  ~TForm4() override;

  // Controls, by their designed names.
  QTabBar* FlatTabControl1;
  QWidget* TabSheet;
  // Tab 0: interface.
  QLabel* Label1;                   // "风格"
  QListWidget* ListBox1;            // the four styles
  QLabel* Label2;                   // "预览"
  QLabel* Image1;                   // the preview box
  QGroupBox* FlatGroupBox1;         // "界面语言"
  QRadioButton* FlatRadioButton1;   // "中文"
  QRadioButton* FlatRadioButton2;   // "英语"
  // Tab 1: new words.
  QGroupBox* FlatGroupBox2;         // "浏览"
  QLabel* Label3;                   // "浏览速度(秒)："
  QLabel* Label4;                   // the track bar's position
  QSlider* TrackBar1;
  QGroupBox* FlatGroupBox3;         // "练习"
  QCheckBox* FlatCheckBox1;         // "提示假名"
  QCheckBox* FlatCheckBox2;         // "提示中文解释"
  QCheckBox* FlatCheckBox3;         // "提示英语解释"
  // Tab 2: capture.
  QGroupBox* FlatGroupBox4;         // "屏幕取词"
  QRadioButton* FlatRadioButton3;   // "中文解释"
  QRadioButton* FlatRadioButton4;   // "英语解释"
  QCheckBox* FlatCheckBox4;         // "背景呈半透明"
  QCheckBox* FlatCheckBox5;         // "精确匹配指向"
  QLabel* Label5;                   // the note on the system needed
  // Tab 3: miscellany.
  QCheckBox* FlatCheckBox6;         // "使用我的词典"
  QPushButton* FlatButton3;         // "清空查询记录..."
  // Below the tabs.
  QPushButton* FlatButton1;         // "确定"
  QPushButton* FlatButton2;         // "取消"

  // Every control takes the value of its setting, the current style's
  // preview is loaded and the first tab is selected (this dialog's share of
  // ApplySettings).
  void ApplySettings();
  // The texts that are not tag-driven (tab captions, style names and the
  // fonts of both) in the current language.
  void ApplyFixedTexts();
  // Loads "styles/<index>.jpg" into the preview box when the file exists and
  // can be read; otherwise the box keeps its picture. Returns whether it did.
  bool LoadPreview(int index);

  // Handlers.
  void FormShow();
  void FlatTabControl1Change();
  void TrackBar1Change();
  void ListBox1Click();
  void FlatButton3Click();  // clear the search history
  void FlatButton1Click();  // OK
  void FlatButton2Click();  // Cancel

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void buildControls();
  QList<QList<QWidget*>> tabs_;
};

}  // namespace kirvale::settings
