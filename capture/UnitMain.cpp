#include "capture/UnitMain.h"
#include "ui/widgets.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "capture/getword/getword.h"
#include "platform/single_instance.h"
#include "settings/interface_language.h"
#include "settings/messages.h"
#include "speech/read_aloud.h"
#include "ui/globals.h"
#include "ui/images.h"
#include "ui/presenter.h"

namespace kirvale::capture {
using namespace kirvale::ui;
namespace {

// The two start-up failures exist in Chinese only.
constexpr const char* kBlockMissing = "无法定位内存映射文件块!";
constexpr const char* kMappingError = "映射文件错误：";

constexpr int kWidth = 239;
constexpr int kDesignHeight = 106;
constexpr int kLineLeft = 14;
constexpr std::array<int, kSlots> kLineTops = {20, 37, 55, 73, 91};
constexpr double kTranslucentAlpha = 120.0 / 255.0;


struct ButtonHint {
  const char* english;
  const char* chinese;
};
constexpr std::array<ButtonHint, 5> kButtonHints = {{
    {"Search marked entry", "查询标记项"},
    {"Copy marked item", "复制标记解释"},
    {"Add marked entry", "加入生词本"},
    {"Rivet", "固定窗口"},
    {"Say it", "朗读"},
}};

// The Rivet button's picture: a drawing pin.
QIcon PinIcon() {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.2));
  p.drawLine(QPointF(8, 9), QPointF(8, 15));
  p.setBrush(QColor(0xD0, 0x30, 0x30));
  p.drawEllipse(QRectF(4, 1.5, 8, 8));
  p.setBrush(QColor(0xFF, 0xA0, 0xA0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(5.5, 3, 3, 3));
  return QIcon(pm);
}

Rect RectOf(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

}  // namespace

TForm12::TForm12(QWidget* mainWindow) : QWidget(nullptr), mainWindow_(mainWindow) {
  setObjectName("TForm12");
  setWindowTitle("Capturer");
  // Topmost, without a frame and without an owner; it never takes the focus
  // from the window the user is reading. Like a tooltip, it is placed by the
  // program alone: a window manager re-places a managed window each time it
  // is shown again, which would put the pop-up away from the pointer.
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                 Qt::X11BypassWindowManagerHint);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFont(DesignFont());
  resize(kWidth, kDesignHeight);
  buildControls();
}

TForm12::~TForm12() = default;

void TForm12::buildControls() {
  Shape1 = new QFrame(this);
  Shape1->setObjectName("Shape1");
  Shape1->setGeometry(0, 0, kWidth, 20);
  Shape1->setStyleSheet("background:#A6CAF0;");
  Shape2 = new QFrame(this);
  Shape2->setObjectName("Shape2");
  Shape2->setGeometry(0, 16, kWidth, 90);
  Shape2->setStyleSheet("background:#FFFBF0;");

  Label6 = new QLabel(this);
  Label6->setObjectName("Label6");
  Label6->setProperty("tag", 118);
  Label6->setToolTip(u8("拖动"));
  QFont bold(u8("Arial"));
  bold.setPixelSize(12);
  bold.setBold(true);
  Label6->setFont(bold);
  Label6->setGeometry(55, 3, 164, 17);
  Label6->setCursor(Qt::SizeAllCursor);
  Label6->setStyleSheet("color:#000000;");
  Label6->installEventFilter(this);

  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setProperty("tag", 119);
  Image1->setToolTip(u8("标记"));
  Image1->setPixmap(GlyphIcon(Glyph::Mark, 12).pixmap(12, 12));
  Image1->setGeometry(1, 20, 12, 12);

  auto button = [this](const char* name, Glyph glyph, int x, int hint) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setProperty("tag", 99);
    b->setIcon(GlyphIcon(glyph));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(x, 1, 18, 18);
    b->setToolTip(u8(kButtonHints[static_cast<std::size_t>(hint)].chinese));
    return b;
  };
  SpeedButton1 = button("SpeedButton1", Glyph::AdvancedSearch, 1, 0);
  SpeedButton2 = button("SpeedButton2", Glyph::Copy, 19, 1);
  SpeedButton3 = button("SpeedButton3", Glyph::Add, 37, 2);
  SpeedButton5 = button("SpeedButton5", Glyph::Speak, 37, 4);
  SpeedButton5->hide();
  SpeedButton4 = button("SpeedButton4", Glyph::Mark, 220, 3);
  SpeedButton4->setIcon(PinIcon());
  SpeedButton4->setCheckable(true);
  connect(SpeedButton1, &QToolButton::clicked, this, &TForm12::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TForm12::SpeedButton2Click);
  connect(SpeedButton3, &QToolButton::clicked, this, &TForm12::SpeedButton3Click);
  connect(SpeedButton4, &QToolButton::clicked, this, &TForm12::SpeedButton4Click);
  connect(SpeedButton5, &QToolButton::clicked, this, &TForm12::SpeedButton5Click);

  for (int i = 0; i < kSlots; ++i) {
    auto* l = new QLabel(this);
    l->setObjectName(QString("Label%1").arg(i + 1));
    l->setProperty("tag", 120 + i);
    l->setToolTip(u8("点击标记词条"));
    l->setWordWrap(true);
    l->setStyleSheet("color:#000000;");
    l->setGeometry(kLineLeft, kLineTops[static_cast<std::size_t>(i)], kWidth - kLineLeft - 2, 17);
    l->installEventFilter(this);
    Lines[static_cast<std::size_t>(i)] = l;
  }
  Image1->raise();
}

bool TForm12::FormCreate(platform::MessageBus* bus) {
  // 1.-3. Open the hook library's block and map all of it.
  switch (block_.Open(kBlockName, kBlockUsedBytes)) {
    case platform::SharedBlock::Failure::NotFound:
      Presenter::message(nullptr, u8(kBlockMissing));
      return false;
    case platform::SharedBlock::Failure::CannotMap:
      Presenter::message(nullptr, u8(kMappingError) + QString::number(block_.error()));
      return false;
    case platform::SharedBlock::Failure::None:
      break;
  }
  // 4.-5. Zero what the program touches, then write the pop-up's handle.
  unsigned char* b = block_.data();
  std::fill(b, b + kBlockUsedBytes, 0);
  WriteTargetHandle(b, static_cast<std::uint32_t>(platform::kCapturePopupHandle));
  if (bus) bus->RegisterWindow(platform::kCapturePopupHandle, this);
  // 6.
  popupClosed_ = false;
  settings::RegisterWindow(this, [this] { ApplyFixedTexts(); });
  if (UiLanguage() == 0) ApplyFixedTexts();
  return true;
}

void TForm12::ApplyTranslucency() { setWindowOpacity(Settings.trans == 1 ? kTranslucentAlpha : 1.0); }

void TForm12::ApplyFixedTexts() {
  const bool english = UiLanguage() == 0;
  QToolButton* buttons[] = {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5};
  for (std::size_t i = 0; i < kButtonHints.size(); ++i)
    buttons[i]->setToolTip(u8(english ? kButtonHints[i].english : kButtonHints[i].chinese));
}

bool TForm12::event(QEvent* e) {
  if (e->type() == platform::WindowMessageEvent::eventType()) {
    auto* m = static_cast<platform::WindowMessageEvent*>(e);
    if (m->message() == kCaptureMessage) CaptureMessage(m->lParam());
    return true;
  }
  return QWidget::event(e);
}

std::string TForm12::readBlockText() {
  ++blockReads_;
  if (!block_.isOpen()) return {};
  // Copied out at once: the library may write the next text at any time.
  const std::string field(reinterpret_cast<const char*>(block_.data()) + kTextOffset, kTextField);
  return TextFromBlockField(field);
}

void TForm12::CaptureMessage(std::int64_t lParam) {
  const QPoint p = QCursor::pos();
  const Rect main = mainWindow_ ? RectOf(mainWindow_->frameGeometry()) : Rect{};
  // A hidden pop-up covers nothing. Its place is asked of the display
  // server: while a window manager is still taking a newly shown window in,
  // the geometry Qt has been told can be momentarily wrong.
  const Rect popup = isVisible() ? RectOf(QRect(mapToGlobal(QPoint(0, 0)), size())) : Rect{};
  const MessageDecision d =
      DecideOnMessage(lParam, p.x(), p.y(), main, popup, popupClosed_, MinimisedFlag, followCursor_);
  if (d.hide && isVisible()) hide();
  if (!d.readText) return;

  const std::string text = readBlockText();
  if (text.empty() || text == lastCapturedText_) return;
  lastCapturedText_ = text;
  LookupOptions options;
  options.match = Settings.match;
  options.showwhat = Settings.showwhat;
  options.uiLanguage = UiLanguage();
  const PopupLookup r = LookUp(text, JapaneseReader, EnglishReader, suffixTable_, options);
  // No key, or a dictionary that cannot be read: the pop-up stays as it was.
  if (r.outcome == PopupLookup::Outcome::NoKey || r.outcome == PopupLookup::Outcome::Unreadable) return;
  showLookup(r, text);
}

void TForm12::showLookup(const PopupLookup& r, const std::string& text) {
  // Every line wraps at the width of the measuring text.
  const int lineWidth = fontMetrics().horizontalAdvance(u8(kMeasureText)) + 1;
  for (QLabel* l : Lines) {
    l->setText(u8(kMeasureText));
    l->resize(lineWidth, l->heightForWidth(lineWidth));
    l->hide();
  }
  Label6->setText(u8(text));
  markedSlot_ = 1;
  Image1->move(Image1->x(), Lines[0]->y());
  SpeedButton3->setVisible(r.japanese);
  SpeedButton5->setVisible(!r.japanese);

  shownAny_ = r.shownAny;
  for (int j = 0; j < kSlots; ++j) {
    if (!r.visible[static_cast<std::size_t>(j)]) continue;
    QLabel* l = Lines[static_cast<std::size_t>(j)];
    l->setText(u8(r.texts[static_cast<std::size_t>(j)]));
    const int top = j == 0 ? kLineTops[0] : Lines[static_cast<std::size_t>(j - 1)]->y() + Lines[static_cast<std::size_t>(j - 1)]->height();
    l->setGeometry(kLineLeft, top, lineWidth, l->heightForWidth(lineWidth));
    l->show();
    if (r.slotFilled[static_cast<std::size_t>(j)]) slotLines_[static_cast<std::size_t>(j)] = r.slotLines[static_cast<std::size_t>(j)];
  }

  const QLabel* last = Lines[static_cast<std::size_t>(r.lastLine)];
  const int body = BodyHeight(last->y(), last->height());
  Shape2->resize(kWidth, body);
  resize(kWidth, PopupHeight(last->y(), last->height()));
  if (followCursor_) {
    const QPoint p = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(p);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const Rect area = screen ? RectOf(screen->geometry()) : Rect{0, 0, 1 << 20, 1 << 20};
    const Point at = PlacePopup({p.x(), p.y()}, width(), height(), area);
    move(at.x, at.y);
  }
  if (!isVisible()) show();
}

QString TForm12::markedText() const { return Lines[static_cast<std::size_t>(markedSlot_ - 1)]->text(); }

void TForm12::LabelClick(int n) {
  if (n < 1 || n > kSlots) return;
  QLabel* l = Lines[static_cast<std::size_t>(n - 1)];
  if (!l->text().trimmed().isEmpty()) Image1->move(Image1->x(), l->y());
  markedSlot_ = n;
}

void TForm12::Label6MouseDown(const QPoint& globalPos) {
  // Dragging the title moves the window as a caption drag would. The
  // pop-up is not managed by the window manager (see the constructor), so
  // it follows the mouse itself until the button is released.
  Label6->releaseMouse();
  dragging_ = true;
  dragOffset_ = globalPos - pos();
}

void TForm12::SpeedButton1Click() {
  if (!mainWindow_) return;
  if (MinimisedFlag || mainWindow_->isMinimized()) mainWindow_->showNormal();
  const std::string word = MarkedLineWord(markedText().toStdString());
  if (!mainWindow_->isVisible()) mainWindow_->show();
  mainWindow_->raise();
  mainWindow_->activateWindow();
  if (Published.SearchInMainWindow) Published.SearchInMainWindow(word);
}

void TForm12::SpeedButton2Click() { QGuiApplication::clipboard()->setText(markedText()); }

void TForm12::SpeedButton3Click() {
  const std::string& line = slotLines_[static_cast<std::size_t>(markedSlot_ - 1)];
  if (!shownAny_ || line.empty() || !Published.AddNewWord) return;
  Published.AddNewWord(line, notebookRows_ ? notebookRows_() : 0);
}

void TForm12::SpeedButton4Click() {
  followCursor_ = !followCursor_;
  SpeedButton4->setChecked(!followCursor_);
}

void TForm12::SpeedButton5Click() { speech::SayWord(Speech.get(), MarkedLineWord(markedText().toStdString()), this); }

bool TForm12::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type type = e->type();
  const bool mouse =
      type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease;
  if (!mouse) return QWidget::eventFilter(watched, e);
  auto* m = static_cast<QMouseEvent*>(e);
  if (watched == Label6) {
    if (type == QEvent::MouseButtonPress && m->button() == Qt::LeftButton) {
      Label6MouseDown(m->globalPosition().toPoint());
      return true;
    }
    if (type == QEvent::MouseMove && dragging_) {
      move(m->globalPosition().toPoint() - dragOffset_);
      return true;
    }
    if (type == QEvent::MouseButtonRelease) dragging_ = false;
  } else if (type == QEvent::MouseButtonPress) {
    for (int i = 0; i < kSlots; ++i)
      if (watched == Lines[static_cast<std::size_t>(i)]) LabelClick(i + 1);
  }
  return QWidget::eventFilter(watched, e);
}

void TForm12::closeEvent(QCloseEvent* e) {
  // The look-up keeps no file open: the English lines stay in memory for
  // the main window's search.
  popupClosed_ = true;
  if (Settings.capturing == 1) StopCapture();
  e->accept();
}

void StartCapture(QWidget* parent) {
  StartHook();
  static bool told = false;
  if (!told && HookStarted() && !HookWatchesSelection()) {
    told = true;
    Presenter::info(parent, u8(settings::msg::kCaptureNeedsX11.in(UiLanguage())));
  }
}

void StopCapture() { StopHook(); }

}  // namespace kirvale::capture
