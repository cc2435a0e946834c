#include "app/main.h"
#include "ui/widgets.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QStyleFactory>
#include <QTextEdit>
#include <QToolButton>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QTextCursor>
#include <QShortcut>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/about.h"
#include "app/flash.h"
#include "capture/UnitMain.h"
#include "ui/autosave.h"
#include "app/help.h"
#include "ui/globals.h"
#include "ui/head_word_list.h"
#include "ui/images.h"
#include "personal/newwords.h"
#include "personal/user.h"
#include "personal/tip.h"
#include "dictionary/advan.h"
#include "speech/read_aloud.h"
#include "speech/speech_server.h"
#include "ui/presenter.h"
#include "ui/skins.h"
#include "app/select.h"
#include "platform/startup_check.h"
#include "crypto/aes.h"
#include "dictionary/appendix_section.h"
#include "dictionary/pane_layout.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "platform/windows_dir.h"
#include "settings/confi.h"
#include "settings/interface_language.h"
#include "settings/messages.h"
#include "settings/styles.h"
#include "text/codec.h"

namespace kirvale::app {
using namespace kirvale::ui;
using platform::FileExists;
using platform::MissingFiles;
using platform::CheckDataFiles;
using platform::MissingFilesMessage;
namespace {

constexpr const char* kJapaneseDictionary = "multilingual.dic";
constexpr const char* kEnglishDictionary = "english.dic";
constexpr const char* kLanguageTable = "language.ini";


// A control's language-table tag.
template <typename W>
W* tagged(W* w, int tag) {
  w->setProperty("tag", tag);
  return w;
}

QToolButton* toolButton(QWidget* parent, const char* name, Glyph glyph, const char* hint, int tag) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(GlyphIcon(glyph));
  b->setToolTip(u8(hint));
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setProperty("tag", tag);
  return b;
}

}  // namespace

void CaptionBar::mousePressEvent(QMouseEvent* e) {
  QLabel::mousePressEvent(e);
  emit clicked();
}

QString InstanceLockMessage(const QString& reason) {
  return u8(settings::msg::kNoInstanceLock.english).arg(reason) + "\n" +
         u8(settings::msg::kNoInstanceLock.chinese).arg(reason);
}

void InstallFontSubstitutions() {
  static bool done = false;
  if (done) return;
  done = true;
  QFont::insertSubstitutions("宋体", {"Noto Serif CJK SC", "Noto Sans CJK SC", "AR PL UMing CN"});
  QFont::insertSubstitutions("SimSun", {"Noto Serif CJK SC", "Noto Sans CJK SC"});
  QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
}

TForm3::TForm3(QWidget* parent) : QWidget(parent) {
  InstallFontSubstitutions();
  setObjectName("TForm3");
  setProperty("tag", 136);
  setWindowTitle("Kirvale");
  setWindowIcon(GlyphIcon(Glyph::AppIcon, 32));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(491, 353);
  setFont(DesignFont());
  buildControls();
  buildMenu();
  settings::RegisterWindow(this, [this] { ApplyFixedTexts(); });
  CentreOnScreen(this);
}

TForm3::~TForm3() {
  if (ui::UserDictAutosave && ui::UserDictAutosave->parent() == this) ui::UserDictAutosave = nullptr;
}

void TForm3::setMessageBus(platform::MessageBus* bus) {
  bus_ = bus;
  if (bus_) bus_->RegisterWindow(platform::kMainWindowHandle, this);
}

void TForm3::requestClose() {
  if (!starting_) {
    close();
    return;
  }
  // Mid start-up: the open dialog goes, and the start-up stops at its next
  // step without writing anything.
  closeRequested_ = true;
  if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
}

bool TForm3::abortStartup() {
  if (!closeRequested_) return false;
  delete splash_;
  splash_ = nullptr;
  closeReaders();
  // Only the plain copies this start made are removed; nothing is saved.
  if (decrypted_) {
    for (const char* name : {kJapaneseDictionary, kEnglishDictionary}) {
      const std::string path = WindowsDir + "/" + name;
      if (FileExists(path)) std::remove(path.c_str());
    }
  }
  startupStopped_ = true;
  shutDown_ = true;
  return true;
}

void TForm3::saveSettingsReportingOnce() {
  try {
    settings::SaveSettings(WindowsDir, Settings);
  } catch (const std::exception& e) {
    // The same cause would be reported again at every later save.
    if (settingsFailureShown_) return;
    settingsFailureShown_ = true;
    Presenter::error(this, u8(settings::msg::kSettingsNotSaved.in(UiLanguage())) + u8(e.what()));
  }
}

void TForm3::buildControls() {
  Label1 = tagged(new QLabel(u8("输入"), this), 137);
  Label1->setObjectName("Label1");
  Label1->setGeometry(10, 8, 44, 20);

  wordtext = tagged(new QLineEdit(this), 101);
  wordtext->setObjectName("wordtext");
  wordtext->setToolTip(u8("输入日语或英语"));
  wordtext->setGeometry(57, 6, 176, 22);
  wordtext->setTextMargins(0, 0, 18, 0);

  BitBtn1 = toolButton(this, "BitBtn1", Glyph::History, "查询记录", 102);
  BitBtn1->setGeometry(214, 8, 18, 18);

  FlatButton1 = tagged(new QPushButton(u8("查询"), this), 138);
  FlatButton1->setObjectName("FlatButton1");
  FlatButton1->setGeometry(238, 6, 56, 22);

  FlatButton2 = toolButton(this, "FlatButton2", Glyph::AdvancedSearch, "高级查询", 103);
  FlatButton2->setGeometry(300, 5, 24, 24);
  FlatButton3 = toolButton(this, "FlatButton3", Glyph::Back, "后退", 104);
  FlatButton3->setGeometry(328, 5, 24, 24);
  FlatButton4 = toolButton(this, "FlatButton4", Glyph::Forward, "前进", 105);
  FlatButton4->setGeometry(356, 5, 24, 24);
  FlatButton5 = toolButton(this, "FlatButton5", Glyph::Menu, "主功能项", 106);
  FlatButton5->setIconSize(QSize(24, 24));
  FlatButton5->setIcon(GlyphIcon(Glyph::Menu, 24));
  FlatButton5->setGeometry(455, 2, 32, 32);

  FlatSpeedButton1 = toolButton(this, "FlatSpeedButton1", Glyph::Japanese, "日语词条", 107);
  SpeedButton4 = toolButton(this, "SpeedButton4", Glyph::English, "英语词条", 108);
  FlatSpeedButton2 = toolButton(this, "FlatSpeedButton2", Glyph::Appendix, "附录", 109);
  auto* group = new QButtonGroup(this);
  group->setExclusive(true);
  int x = 8;
  for (QToolButton* b : {FlatSpeedButton1, SpeedButton4, FlatSpeedButton2}) {
    b->setCheckable(true);
    b->setGeometry(x, 37, 24, 24);
    group->addButton(b);
    x += 26;
  }
  FlatSpeedButton1->setChecked(true);

  Label2 = tagged(new QLabel(u8("日语词条"), this), 139);
  Label2->setObjectName("Label2");
  Label2->setGeometry(90, 40, 140, 20);

  auto place = [this](auto* l, const char* name, int tag) {
    tagged(l, tag);
    l->setObjectName(name);
    l->setToolTip(u8("双击显示"));
    l->setGeometry(8, 64, 225, 286);
    l->setUniformItemSizes(true);
    return l;
  };
  wordlist = place(new ui::HeadWordList(this), "wordlist", 110);
  englishlist = place(new ui::HeadWordList(this), "englishlist", 111);
  applist = place(new QListWidget(this), "applist", 112);
  englishlist->hide();
  applist->hide();
  for (const char* topic : dictionary::kAppendixTopics) applist->addItem(u8(topic));

  FlatGroupBox1 = tagged(new QGroupBox(u8("日语"), this), 140);
  FlatGroupBox1->setObjectName("FlatGroupBox1");
  FlatGroupBox1->setGeometry(241, 39, 249, 50);
  // The frame line runs through the middle of the caption, as the labels'
  // positions inside the frame expect.
  FlatGroupBox1->setStyleSheet(
      "QGroupBox#FlatGroupBox1{border:1px solid palette(mid);border-radius:2px;margin-top:7px;}"
      "QGroupBox#FlatGroupBox1::title{subcontrol-origin:margin;subcontrol-position:top left;left:8px;"
      "padding:0 2px;}");
  Label3 = new QLabel(FlatGroupBox1);
  Label3->setObjectName("Label3");
  // Explicit fonts: the frame's caption font changes with the language, the
  // labels inside keep the design font.
  QFont bold = DesignFont();
  bold.setBold(true);
  Label3->setFont(bold);
  Label3->setGeometry(9, 15, 236, 16);
  // Dictionary and typed text is shown as it is, never as markup.
  Label3->setTextFormat(Qt::PlainText);
  Label4 = new QLabel(FlatGroupBox1);
  Label4->setObjectName("Label4");
  Label4->setGeometry(8, 31, 236, 16);
  Label4->setTextFormat(Qt::PlainText);
  Label4->setFont(DesignFont());

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setGeometry(242, 98, 249, 254);

  Panel2 = new CaptionBar(u8("中文"), Panel1);
  Panel2->setObjectName("Panel2");
  Panel2->setToolTip(u8("点击"));
  Panel2->setAlignment(Qt::AlignCenter);
  Panel2->setAutoFillBackground(true);
  Panel2->setGeometry(1, 1, 247, 18);
  FlatMemo1 = new QTextEdit(Panel1);
  FlatMemo1->setObjectName("FlatMemo1");
  FlatMemo1->setAcceptRichText(false);
  FlatMemo1->setGeometry(3, 21, 243, 193);
  FlatMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  Panel4 = new QFrame(Panel1);
  Panel4->setObjectName("Panel4");
  Panel4->setGeometry(1, 115, 247, 120);
  Panel4->setAutoFillBackground(true);
  Panel3 = new CaptionBar(u8("英语"), Panel4);
  Panel3->setObjectName("Panel3");
  Panel3->setToolTip(u8("点击"));
  Panel3->setAlignment(Qt::AlignCenter);
  Panel3->setAutoFillBackground(true);
  Panel3->setGeometry(0, 0, 247, 18);
  FlatMemo2 = new QTextEdit(Panel4);
  FlatMemo2->setObjectName("FlatMemo2");
  FlatMemo2->setReadOnly(true);
  FlatMemo2->setAcceptRichText(false);
  FlatMemo2->setGeometry(2, 20, 242, 97);
  FlatMemo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  SpeedButton1 = toolButton(Panel1, "SpeedButton1", Glyph::Copy, "复制解释", 99);
  SpeedButton1->setGeometry(230, 235, 18, 18);
  SpeedButton2 = toolButton(Panel1, "SpeedButton2", Glyph::Add, "加入生词本", 99);
  SpeedButton2->setGeometry(212, 235, 18, 18);
  SpeedButton3 = toolButton(Panel1, "SpeedButton3", Glyph::Speak, "朗读", 99);
  SpeedButton3->setGeometry(212, 235, 18, 18);
  SpeedButton3->hide();
  // The caption bars lie under the buttons' row; keep the buttons on top.
  SpeedButton1->raise();
  SpeedButton2->raise();
  SpeedButton3->raise();

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(57, 28, 176, 113);
  ListBox1->hide();

  connectLookup();
  connect(FlatButton5, &QToolButton::clicked, this, &TForm3::FlatButton5Click);
  connect(FlatButton2, &QToolButton::clicked, this, &TForm3::FlatButton2Click);
  connect(Panel2, &CaptionBar::clicked, this, &TForm3::Panel2Click);
  connect(Panel3, &CaptionBar::clicked, this, &TForm3::Panel3Click);
  wordtext->setFocus();
}

void TForm3::buildMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  auto item = [this](const char* name, const char* text, int tag, Glyph glyph, bool withIcon = true) {
    QAction* a = PopupMenu1->addAction(u8(text));
    a->setObjectName(name);
    a->setProperty("tag", tag);
    if (withIcon) a->setIcon(GlyphIcon(glyph));
    return a;
  };
  N10 = item("N10", "屏幕取词", 141, Glyph::Settings, false);
  N10->setCheckable(true);
  N1 = item("N1", "设置...", 142, Glyph::Settings);
  PopupMenu1->addSeparator();
  N2 = item("N2", "我的词典", 143, Glyph::MyDictionary);
  N4 = item("N4", "生词本", 144, Glyph::Notebook);
  N6 = item("N6", "每日一词", 145, Glyph::WordOfTheDay);
  PopupMenu1->addSeparator();
  N9 = item("N9", "帮助主题", 146, Glyph::Help);
  N7 = item("N7", "关于...", 148, Glyph::About);
  N11 = item("N11", "退出", 149, Glyph::Exit);
  // Windows that are not part of the program yet stay disabled.
  for (QAction* a : {N10}) a->setEnabled(false);
  connect(N1, &QAction::triggered, this, &TForm3::N1Click);
  connect(N2, &QAction::triggered, this, &TForm3::N2Click);
  connect(N7, &QAction::triggered, this, &TForm3::N7Click);
  connect(N4, &QAction::triggered, this, &TForm3::N4Click);
  connect(N6, &QAction::triggered, this, &TForm3::N6Click);
  connect(N9, &QAction::triggered, this, &TForm3::N9Click);
  connect(N11, &QAction::triggered, this, &TForm3::N11Click);
}

bool TForm3::loadOrAskSettings() {
  const std::string container = WindowsDir + "/" + settings::kContainerName;
  if (FileExists(container)) {
    settings::ParseOutcome r = settings::LoadSettings(WindowsDir, Settings);
    if (r.ok) return true;
    // A settings file that cannot be read must not stop the program from
    // starting, now or at any later start: keep what was read, give every
    // other field its first-run value, and let the next save write a good
    // file. Without a readable language the user is asked again.
    const auto& fields = settings::Fields();
    bool languageRead = r.read.test(0);
    for (std::size_t k = 1; k < fields.size(); ++k)
      if (!r.read.test(k)) Settings.*fields[k].member = fields[k].firstRunValue;
    if (!languageRead) {
      TForm1 dialog;
      dialog.exec();
      if (closeRequested_) return false;
      Settings.langu = dialog.chosenLanguage();
      firstStart_ = true;
    }
    Presenter::error(this, u8(settings::msg::kSettingsUnreadable.in(UiLanguage())) + u8(r.error) +
                               u8(settings::msg::kSettingsUnreadableTail.in(UiLanguage())));
    return true;
  }
  firstStart_ = true;
  {
    TForm1 dialog;
    dialog.exec();
    if (closeRequested_) return false;
    Settings.langu = dialog.chosenLanguage();
  }
  settings::ApplyFirstRunValues(Settings);
  saveSettingsReportingOnce();
  return true;
}

bool TForm3::decryptDictionaries() {
  // The plain copies are readable by their user only; a copy left behind by
  // a run that crashed is replaced.
  try {
    decrypted_ = true;
    crypto::DecryptContainerToFile(kJapaneseDictionary, WindowsDir + "/" + kJapaneseDictionary,
                                   crypto::kDictionaryPassphrase, 0600);
    crypto::DecryptContainerToFile(kEnglishDictionary, WindowsDir + "/" + kEnglishDictionary,
                                   crypto::kDictionaryPassphrase, 0600);
  } catch (const crypto::EContainerDamaged& e) {
    Presenter::error(this, u8(settings::msg::kContainerDamaged.in(UiLanguage()))
                               .arg(u8(e.path), QString::number(e.stated), QString::number(e.present)));
    return false;
  } catch (const std::exception& e) {
    Presenter::error(this, u8(e.what()));
    return false;
  }
  return true;
}

bool TForm3::FormCreate() {
  starting_ = true;
  struct StartupEnds {
    bool& flag;
    ~StartupEnds() { flag = false; }
  } startupEnds{starting_};
  // 1. The Windows directory. Without it nothing can be kept: say so and end
  // before anything is written anywhere.
  {
    std::string error;
    WindowsDir = platform::WindowsDirectory(&error);
    if (WindowsDir.empty()) {
      const auto bar = error.find('|');
      const QString folder = u8(error.substr(0, bar));
      const QString reason = bar == std::string::npos ? QString() : u8(error.substr(bar + 1));
      Presenter::error(this, u8(settings::msg::kNoUserFolder.english).arg(folder, reason) + "\n" +
                                 u8(settings::msg::kNoUserFolder.chinese).arg(folder, reason));
      startupStopped_ = true;
      shutDown_ = true;
      return false;
    }
  }
  // 2. Publish SaveSettings.
  Published.SaveSettings = [] { settings::SaveSettings(WindowsDir, Settings); };
  // 3. Settings, or the first-run language choice.
  // (It gives up only when a close was asked for, which abortStartup sees.)
  loadOrAskSettings();
  if (abortStartup()) return false;
  ignoreNextDeactivation_ = firstStart_;
  // 4. Splash.
  splash_ = new TForm10;
  splash_->show();
  splash_->repaint();
  QCoreApplication::processEvents();
  // 5. Data files.
  MissingFiles missing = CheckDataFiles("");
  if (!missing.empty()) Presenter::info(this, u8(MissingFilesMessage(missing, UiLanguage())));
  auto closeSplash = [this] {
    delete splash_;
    splash_ = nullptr;
  };
  if (abortStartup()) return false;
  if (missing.dictionaryMissing) {
    closeSplash();
    startupStopped_ = true;
    return false;
  }
  // 6. Plain copies of the dictionaries. An error skips the rest of the
  // start-up; the window still opens.
  if (!decryptDictionaries()) {
    if (abortStartup()) return false;
    closeSplash();
    startupStopped_ = true;
    return true;
  }
  // 7. Publish ParseEntryLine.
  Published.ParseEntryLine = [](const std::string& line) { CurrentEntry = dictionary::ParseEntryLine(line); };
  // 8. Bind the readers.
  bindReaders();
  if (abortStartup()) return false;
  // 9. The other windows.
  createWindows();
  // Without the hook library's block the program ends here: no settings are
  // saved, and the plain dictionary copies are not left behind.
  if (captureBlockMissing_) {
    closeSplash();
    startupStopped_ = true;
    for (const char* name : {kJapaneseDictionary, kEnglishDictionary}) std::remove((WindowsDir + "/" + name).c_str());
    return false;
  }
  if (abortStartup()) return false;
  // 10. Apply and publish the settings and the style.
  ApplySettings();
  Published.ApplySettings = [this] { ApplySettings(); };
  SelectStyle(Settings.style);
  Published.SelectStyle = [this](std::int16_t i) { SelectStyle(i); };
  // 11. English interface; without the language table it stays Chinese.
  if (UiLanguage() == 0 && FileExists(kLanguageTable)) {
    settings::ApplyInterfaceLanguage(kLanguageTable, 0);
    ApplyFixedTexts();
  }
  // 12. Publish ApplyInterfaceLanguage and AddNewWord.
  Published.ApplyInterfaceLanguage = [] { settings::ApplyInterfaceLanguage(kLanguageTable, UiLanguage()); };
  Published.AddNewWord = [this](const std::string& line, int position) { notebook_->AddNewWord(line, position); };
  Published.SearchInMainWindow = [this](const std::string& text) {
    // The flag is cleared first, so that the head-word list follows the new
    // text as it does for typed input.
    listSelection_ = false;
    wordtext->setText(u8(text));
    FlatButton1->click();
  };
  Published.ClearHistory = [this] { ClearHistory(); };
  // 13. An empty Back/Forward path.
  session_.ResetPath();
  // 14. The head-word lists.
  fillHeadWordLists();
  // 15. The search history.
  {
    std::string error;
    const bool read = session_.history().Load(dictionary::kHistoryFile, &error);
    if (!read) Presenter::error(this, u8(settings::msg::kHistoryUnreadable.in(UiLanguage())) + u8(error));
    for (const std::string& item : session_.history().items()) ListBox1->addItem(u8(item));
    historyLoaded_ = true;
    // A file that could not be read is never written over, so there is
    // nothing to write early; the exit says so once more.
    if (read)
      historySave_ = new ui::Autosave(
        [this](std::string* error) { return session_.history().Save(dictionary::kHistoryFile, error); },
        [this](const std::string& error) {
          Presenter::error(this, u8(settings::msg::kHistoryNotSaved.in(UiLanguage())) + u8(error));
        },
        this);
  }
  if (abortStartup()) return false;
  // 16. Screen capture needs the NT family.
  if (!platform::IsNtFamily()) {
    N10->setEnabled(false);
    if (form4_) form4_->FlatGroupBox4->setEnabled(false);
  }
  // 17. Close the splash.
  closeSplash();
  // 18. The capture pop-up's translucency, also for the settings dialog.
  popup_->ApplyTranslucency();
  settings::Targets.CaptureAlphaBlend = [this](bool) { popup_->ApplyTranslucency(); };
  // 19.
  MinimisedFlag = false;
  // 20. The suffix table of the English search.
  suffixTable_ = std::make_unique<dictionary::SuffixTable>();
  // 21. The speech server. Without one, read-aloud does nothing and the
  // start-up goes on.
  Speech = speech::StartSpeechServer(this, UiLanguage());
  if (abortStartup()) return false;
  // 22. Screen capture.
  if (Settings.capturing == 1) capture::StartCapture(this);
  wordtext->setFocus();
  // 23. The word of the day, when the user wants it at every start.
  if (Settings.showtip == 1 && tip_) tip_->exec();
  return true;
}

void TForm3::connectLookup() {
  connect(wordtext, &QLineEdit::textChanged, this, &TForm3::wordtextChange);
  wordtext->installEventFilter(this);
  connect(FlatButton1, &QPushButton::clicked, this, &TForm3::FlatButton1Click);
  // Clicks act on the item under the mouse, whatever the list tracking has
  // made current meanwhile.
  for (ui::HeadWordList* list : {wordlist, englishlist}) {
    connect(list, &ui::HeadWordList::rowClicked, this, [this, list](int row) { listItemChosen(list, row, false); });
    connect(list, &ui::HeadWordList::rowDoubleClicked, this,
            [this, list](int row) { listItemChosen(list, row, true); });
    list->installEventFilter(this);
  }
  ListBox1->installEventFilter(this);
  ListBox1->viewport()->installEventFilter(this);
  // Back and Forward from the keyboard.
  auto* back = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this);
  connect(back, &QShortcut::activated, this, &TForm3::FlatButton3Click);
  auto* forward = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this);
  connect(forward, &QShortcut::activated, this, &TForm3::FlatButton4Click);
  connect(FlatSpeedButton1, &QToolButton::clicked, this, &TForm3::FlatSpeedButton1Click);
  connect(SpeedButton4, &QToolButton::clicked, this, &TForm3::SpeedButton4Click);
  connect(SpeedButton1, &QToolButton::clicked, this, &TForm3::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TForm3::SpeedButton2Click);
  connect(SpeedButton3, &QToolButton::clicked, this, &TForm3::SpeedButton3Click);
  connect(BitBtn1, &QToolButton::clicked, this, &TForm3::BitBtn1Click);
  connect(ListBox1, &QListWidget::itemClicked, this, &TForm3::ListBox1Click);
  connect(FlatButton3, &QToolButton::clicked, this, &TForm3::FlatButton3Click);
  connect(FlatButton4, &QToolButton::clicked, this, &TForm3::FlatButton4Click);
  // Moving the mouse over the window itself hides the history list.
  setMouseTracking(true);
  FlatMemo2->viewport()->installEventFilter(this);
  connect(FlatSpeedButton2, &QToolButton::clicked, this, &TForm3::FlatSpeedButton2Click);
  connect(applist, &QListWidget::itemDoubleClicked, this, &TForm3::applistDblClick);
}

void TForm3::createWindows() {
  // Each window is created once and kept, hidden, until the program ends.
  tip_ = new TForm2(this);
  settings::RegisterWindow(tip_);
  settings::Targets.ShowTipCheckBox = [this](bool on) { tip_->FlatCheckBox1->setChecked(on); };
  // The settings dialog.
  form4_ = new settings::TForm4(this);
  settings::RegisterWindow(form4_, [this] { form4_->ApplyFixedTexts(); });
  settings::Targets.ScanInterval = [this](int ms) {
    if (notebook_) notebook_->setScanInterval(ms);
  };
  about_ = new TForm5(this);
  settings::RegisterWindow(about_);
  // My Dictionary loads its lines, which the lookup falls back on.
  myDictionary_ = new TForm6(this);
  myDictionary_->FormCreate();
  settings::RegisterWindow(myDictionary_);
  ui::UserDictAutosave = new ui::Autosave(
      [this](std::string* error) { return myDictionary_->TrySave(error); },
      [this](const std::string& error) {
        Presenter::error(this, u8(settings::msg::kListNotSaved.in(UiLanguage())).arg("userdict.dic", u8(error)));
      },
      this);
  myDictionary_->setChangedHandler([] { ui::UserDictAutosave->changed(); });
  advan_ = new TForm8(this);
  settings::RegisterWindow(advan_);
  notebook_ = new TForm9(this);
  notebook_->FormCreate();
  notebook_->setScanInterval(Settings.speed);
  settings::RegisterWindow(notebook_);
  // The capture pop-up: topmost and ownerless, deleted with the main window.
  popup_ = new capture::TForm12(this);
  connect(this, &QObject::destroyed, [p = QPointer<QWidget>(popup_)] { delete p.data(); });
  popup_->setNotebookRows([this] { return notebook_ ? notebook_->rowCount() : 0; });
  if (!popup_->FormCreate(bus_)) {
    captureBlockMissing_ = true;
    return;
  }
  N10->setEnabled(true);
  connect(N10, &QAction::triggered, this, &TForm3::N10Click);
}

void TForm3::N10Click() {
  // The item has already toggled its check mark.
  if (N10->isChecked()) {
    Settings.capturing = 1;
    capture::StartCapture(this);
  } else {
    Settings.capturing = 0;
    if (popup_->isVisible()) popup_->hide();
    capture::StopCapture();
  }
}

void TForm3::BitBtn1Click() { ListBox1->setVisible(ListBox1->isHidden()); }

void TForm3::ListBox1Click() {
  ListBox1->hide();
  if (QListWidgetItem* item = ListBox1->currentItem()) wordtext->setText(item->text());
}

void TForm3::ClearHistory() {
  session_.history().Clear();
  ListBox1->clear();
  if (historySave_) historySave_->changed();
}

void TForm3::navigate(std::optional<std::string> text) {
  if (!text) return;
  wordtext->setText(u8(*text));
  listSelection_ = false;
  Search();
}

void TForm3::FlatButton3Click() { navigate(session_.Back()); }
void TForm3::FlatButton4Click() { navigate(session_.Forward()); }

void TForm3::SpeedButton3Click() { speech::SayHeadWordLabel(Speech.get(), Label3->text(), this); }

void TForm3::mouseMoveEvent(QMouseEvent* e) {
  if (!ListBox1->isHidden()) ListBox1->hide();
  QWidget::mouseMoveEvent(e);
}

void TForm3::N2Click() {
  if (myDictionary_) myDictionary_->exec();
}

void TForm3::N1Click() {
  if (form4_) form4_->exec();
}

void TForm3::N4Click() {
  if (notebook_) notebook_->exec();
}

void TForm3::N6Click() {
  if (tip_) tip_->exec();
}

void TForm3::FlatButton2Click() {
  if (advan_) advan_->exec();
}

void TForm3::bindReaders() {
  QStringList cut;
  bool truncated = false;
  if (!JapaneseReader.Bind(WindowsDir + "/" + kJapaneseDictionary, &truncated))
    Presenter::error(this, u8("Cannot read file \"") + u8(WindowsDir + "/" + kJapaneseDictionary) + "\"");
  if (truncated) cut << kJapaneseDictionary;
  if (!EnglishReader.Bind(WindowsDir + "/" + kEnglishDictionary, &truncated))
    Presenter::error(this, u8("Cannot read file \"") + u8(WindowsDir + "/" + kEnglishDictionary) + "\"");
  if (truncated) cut << kEnglishDictionary;
  if (FileExists("appendix.app")) AppendixReader.Bind("appendix.app");
  if (!cut.isEmpty()) Presenter::info(this, u8(settings::msg::kDictionaryTooLong.in(UiLanguage())) + cut.join(", "));
}

void TForm3::fillHeadWordLists() {
  // The lists show the readers' lines as they are; list tracking answers
  // from the readers' indexes.
  wordlist->Bind(&JapaneseReader, dictionary::IndexKey::JapaneseItem);
  englishlist->Bind(&EnglishReader, dictionary::IndexKey::EnglishItem);
}

void TForm3::closeReaders() {
  // The lists let go of the lines first: they are read at every repaint.
  wordlist->Bind(nullptr, dictionary::IndexKey::JapaneseItem);
  englishlist->Bind(nullptr, dictionary::IndexKey::EnglishItem);
  JapaneseReader.Close();
  EnglishReader.Close();
}

void TForm3::wordtextChange() {
  const std::string text = text::searchText(wordtext->text().toStdString());
  if (text.empty()) return;
  mode_ = dictionary::ModeOf(text);
  if (mode_ != previousMode_) {
    if (mode_ == dictionary::Mode::English) {
      SpeedButton4Click();
      SpeedButton4->setChecked(true);
    } else {
      FlatSpeedButton1Click();
      FlatSpeedButton1->setChecked(true);
    }
    previousMode_ = mode_;
  }
  if (listSelection_) return;
  const bool english = mode_ == dictionary::Mode::English;
  const int row = english ? dictionary::TrackEnglishList(EnglishReader, text)
                          : dictionary::TrackJapaneseList(JapaneseReader, text);
  if (row < 0) return;
  ui::HeadWordList* list = english ? englishlist : wordlist;
  // Scrolled to the top only when it is not in sight already (making it
  // current would bring it just into sight at the bottom).
  const bool inSight = list->viewport()->rect().contains(list->rowRect(row));
  list->setCurrentRow(row);
  if (!inSight) list->scrollToRow(row, QAbstractItemView::PositionAtTop);
}

void TForm3::moveInList(int step) {
  ui::HeadWordList* list = !englishlist->isHidden() ? englishlist : wordlist;
  if (list->isHidden() || list->count() == 0) return;
  const int from = list->currentRow();
  const int row = from < 0 ? 0 : std::clamp(from + step, 0, list->count() - 1);
  list->setCurrentRow(row);
  list->scrollToRow(row);
  // Like a click on the item: its text in the box, no tracking.
  listSelection_ = true;
  wordtext->setText(list->text(row));
}

void TForm3::wordtextKeyUp(int key) {
  listSelection_ = false;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) Search();
}

void TForm3::listItemChosen(ui::HeadWordList* list, int row, bool search) {
  if (row < 0) row = list->currentRow();
  if (row < 0 || row >= list->count()) return;
  // The flag goes up before the text changes, so that the list tracking
  // leaves the chosen item current.
  listSelection_ = true;
  wordtext->setText(list->text(row));
  if (search) Search();
}

void TForm3::wordlistClick() { listItemChosen(wordlist, -1, false); }
void TForm3::englishlistClick() { listItemChosen(englishlist, -1, false); }
void TForm3::wordlistDblClick() { listItemChosen(wordlist, -1, true); }
void TForm3::englishlistDblClick() { listItemChosen(englishlist, -1, true); }

void TForm3::showHeadWordList(QListView* list) {
  if (!list->isHidden()) return;
  for (QListView* l : {static_cast<QListView*>(wordlist), static_cast<QListView*>(englishlist),
                       static_cast<QListView*>(applist)})
    l->setVisible(l == list);
  const bool english = list == englishlist;
  if (list == applist)
    Label2->setText(UiLanguage() == 0 ? "Appendix" : u8("附录"));
  else
    Label2->setText(UiLanguage() == 0 ? (english ? "English list" : "Japanese list")
                                      : u8(english ? "英语词条" : "日语词条"));
}

void TForm3::ApplyFixedTexts() {
  const bool english = UiLanguage() == 0;
  Panel2->setText(english ? "Chinese" : u8("中文"));
  Panel2->setToolTip(english ? "Click" : u8("点击"));
  Panel3->setText(english ? "English" : u8("英语"));
  Panel3->setToolTip(english ? "Click" : u8("点击"));
  SpeedButton1->setToolTip(english ? "Copy" : u8("复制解释"));
  SpeedButton2->setToolTip(english ? "Add" : u8("加入生词本"));
  SpeedButton3->setToolTip(english ? "Say it" : u8("朗读"));
  // With the Japanese list showing, the list title keeps its tag's text.
  if (!englishlist->isHidden())
    Label2->setText(english ? "English list" : u8("英语词条"));
  else if (!applist->isHidden())
    Label2->setText(english ? "Appendix" : u8("附录"));
}

void TForm3::FlatSpeedButton1Click() { showHeadWordList(wordlist); }
void TForm3::SpeedButton4Click() { showHeadWordList(englishlist); }

void TForm3::Search() {
  // An appendix section gave the Chinese pane scroll bars; a search takes
  // them away again.
  if (FlatMemo1->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
    FlatMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FlatMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }
  const std::string text = text::searchText(wordtext->text().toStdString());
  if (text.empty()) return;
  const bool english = dictionary::ModeOf(text) == dictionary::Mode::English;
  if (session_.SearchStarted(text)) {
    ListBox1->addItem(u8(text));
    if (historySave_) historySave_->changed();
  }
  dictionary::LookupResult r;
  if (english) {
    FlatGroupBox1->setTitle(UiLanguage() == 0 ? "English" : u8("英语"));
    if (SpeedButton2->isVisibleTo(Panel1)) {
      SpeedButton3->show();
      SpeedButton2->hide();
    }
    Label4->clear();
    if (Panel4->y() == dictionary::PaneLayoutFor(dictionary::kEnglishFull).blockTop) {
      SetPaneLayout(dictionary::kChineseFull);
      Settings.level = dictionary::kChineseFull;
    }
    if (!suffixTable_) suffixTable_ = std::make_unique<dictionary::SuffixTable>();
    r = dictionary::SearchEnglish(EnglishReader, text, *suffixTable_);
    if (r.found) CurrentEntry.headWord = r.entry.headWord;
  } else {
    FlatGroupBox1->setTitle(UiLanguage() == 0 ? "Japanese" : u8("日语"));
    if (SpeedButton3->isVisibleTo(Panel1)) {
      SpeedButton2->show();
      SpeedButton3->hide();
    }
    r = dictionary::SearchJapanese(JapaneseReader, text, Settings.useuser == 1 ? &UserDict : nullptr);
    currentEntryLine_ = r.currentEntryLine;
    if (r.found) CurrentEntry = r.entry;
  }
  showResult(r);
  session_.SearchEnded(text, r.found);
}

void TForm3::showResult(const dictionary::LookupResult& r) {
  Label3->setText(u8(r.headLabel));
  Label4->setText(u8(r.kanaLabel));
  FlatMemo1->setPlainText(u8(r.chinesePane));
  FlatMemo2->setPlainText(u8(r.englishPane));
}

void TForm3::SpeedButton1Click() {
  const std::string text = dictionary::CopyText(Label3->text().toStdString(), Label4->text().toStdString(),
                                                FlatMemo2->toPlainText().toStdString(),
                                                FlatMemo1->toPlainText().toStdString());
  QGuiApplication::clipboard()->setText(u8(text));
}

void TForm3::SpeedButton2Click() {
  if (currentEntryLine_.empty() || !Published.AddNewWord) return;
  Published.AddNewWord(currentEntryLine_, notebook_ ? notebook_->rowCount() : 0);
}

void TForm3::FlatMemo2DblClick() {
  const std::string word = dictionary::EnglishPaneWord(FlatMemo2->textCursor().selectedText().toStdString());
  if (word.empty()) return;
  listSelection_ = false;
  wordtext->setText(u8(word));
  Search();
}

bool TForm3::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(e);
    const bool plain = (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (k->key() == Qt::Key_Escape && !ListBox1->isHidden() && (watched == wordtext || watched == ListBox1)) {
      ListBox1->hide();
      wordtext->setFocus();
      return true;
    }
    if (watched == wordtext && plain && (k->key() == Qt::Key_Down || k->key() == Qt::Key_Up) &&
        ListBox1->isHidden()) {
      moveInList(k->key() == Qt::Key_Down ? 1 : -1);
      return true;
    }
    if ((watched == wordlist || watched == englishlist) && plain &&
        (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
      listItemChosen(watched == wordlist ? wordlist : englishlist, -1, true);
      return true;
    }
  }
  if (watched == ListBox1->viewport() && e->type() == QEvent::MouseButtonPress) {
    // A click below the last item hides the list, as one on an item does.
    if (!ListBox1->itemAt(static_cast<QMouseEvent*>(e)->position().toPoint())) {
      ListBox1->hide();
      return true;
    }
  }
  if (watched == wordtext && e->type() == QEvent::KeyRelease) {
    wordtextKeyUp(static_cast<QKeyEvent*>(e)->key());
  } else if (watched == FlatMemo2->viewport() && e->type() == QEvent::MouseButtonDblClick) {
    // Let the pane select the word under the mouse first.
    QTimer::singleShot(0, this, &TForm3::FlatMemo2DblClick);
  }
  return QWidget::eventFilter(watched, e);
}

void TForm3::ApplySettings() {
  // 1. The word of the day's check box.
  if (settings::Targets.ShowTipCheckBox) settings::Targets.ShowTipCheckBox(Settings.showtip == 1);
  // 2. The result panes.
  SetPaneLayout(Settings.level);
  // 3. The screen-capture menu item.
  N10->setChecked(Settings.capturing == 1);
  // 4. The settings dialog's controls, its preview and its first tab.
  if (form4_) form4_->ApplySettings();
}

void TForm3::SetPaneLayout(std::int16_t level) {
  const dictionary::PaneGeometry g = dictionary::PaneLayoutFor(level);
  Panel4->setGeometry(Panel4->x(), g.blockTop, Panel4->width(), g.blockHeight);
  if (g.paneHeight >= 0) FlatMemo2->resize(FlatMemo2->width(), g.paneHeight);
}

void TForm3::Panel2Click() {
  SetPaneLayout(dictionary::kChineseFull);
  Settings.level = dictionary::kChineseFull;
}

void TForm3::Panel3Click() {
  const std::int16_t level = dictionary::LevelAfterEnglishCaptionClick(Panel4->y());
  SetPaneLayout(level);
  Settings.level = level;
}

void TForm3::SelectStyle(std::int16_t index) { ui::SelectSkin(index); }

void TForm3::FlatButton5Click() { PopupMenu1->popup(QCursor::pos()); }

void TForm3::N9Click() { OpenHelp(this, help_, UiLanguage()); }

void TForm3::N7Click() {
  if (about_) about_->exec();
}

void TForm3::N11Click() { close(); }

void TForm3::ApplicationDeactivate() {
  if (ignoreNextDeactivation_) {
    ignoreNextDeactivation_ = false;
    return;
  }
  if (isVisible() && !isMinimized()) showMinimized();
}

bool TForm3::event(QEvent* e) {
  if (e->type() == platform::WindowMessageEvent::eventType()) {
    auto* m = static_cast<platform::WindowMessageEvent*>(e);
    if (m->message() == platform::kActivationMessage) {
      if (isMinimized()) showNormal();
      raise();
      activateWindow();
      wordtext->setFocus();
    }
    return true;
  }
  return QWidget::event(e);
}

void TForm3::changeEvent(QEvent* e) {
  if (e->type() == QEvent::WindowStateChange) {
    MinimisedFlag = isMinimized();
  } else if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
    wordtext->setFocus();
  }
  QWidget::changeEvent(e);
}

void TForm3::closeEvent(QCloseEvent* e) {
  Shutdown();
  e->accept();
}

void TForm3::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  // 1. The user's files.
  if (ui::UserDictAutosave) ui::UserDictAutosave->cancel();
  if (myDictionary_) myDictionary_->Save();
  if (notebook_) notebook_->Save();
  if (historySave_) historySave_->cancel();
  // A history that was never loaded (start-up stopped early) is not written:
  // that would delete the user's file.
  if (historyLoaded_) {
    std::string error;
    if (!session_.history().Save(dictionary::kHistoryFile, &error))
      Presenter::error(this, u8(settings::msg::kHistoryNotSaved.in(UiLanguage())) + u8(error));
  }
  // 2. Settings.
  if (!WindowsDir.empty()) saveSettingsReportingOnce();
  // 3. Close the readers and remove the plain dictionary copies.
  closeReaders();
  if (!WindowsDir.empty()) {
    for (const char* name : {kJapaneseDictionary, kEnglishDictionary}) {
      const std::string path = WindowsDir + "/" + name;
      if (FileExists(path)) std::remove(path.c_str());
    }
  }
  // 4. End the application once the event loop runs again.
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace kirvale::app
