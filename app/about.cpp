#include "app/about.h"
#include "ui/widgets.h"

#include <QEnterEvent>
#include <QFrame>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTimer>

namespace kirvale::app {
using ui::CentreOnScreen;
using ui::DesignFont;
using ui::u8;
namespace {


// The colour the scrolling text is drawn in: the desktop's background colour
// of the classic desktop, a deep blue that reads well on the panel picture.
const QColor kDesktopBackground(0x1F, 0x4E, 0x86);

}  // namespace

void ClickLabel::mousePressEvent(QMouseEvent* e) {
  QLabel::mousePressEvent(e);
  emit clicked();
}
void ClickLabel::enterEvent(QEnterEvent* e) {
  QLabel::enterEvent(e);
  emit entered();
}
void ClickLabel::leaveEvent(QEvent* e) {
  QLabel::leaveEvent(e);
  emit left();
}

QPixmap AboutBackgroundPicture() {
  QPixmap pm(299, 194);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 299, 194);
  g.setColorAt(0, QColor(0x1B, 0x34, 0x57));
  g.setColorAt(1, QColor(0x3D, 0x6A, 0x9A));
  p.fillRect(pm.rect(), g);
  // Fine diagonal lines and a light rim, like a brushed metal frame.
  p.setPen(QPen(QColor(255, 255, 255, 18), 1));
  for (int x = -194; x < 299; x += 6) p.drawLine(x, 194, x + 194, 0);
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.drawRect(0, 0, 298, 193);
  p.setPen(QPen(QColor(0, 0, 0, 90), 1));
  p.drawRect(6, 8, 286, 178);
  // The program's name along the bottom edge of the frame.
  QFont f("DejaVu Sans");
  f.setPixelSize(7);
  f.setLetterSpacing(QFont::AbsoluteSpacing, 2);
  p.setFont(f);
  p.setPen(QColor(255, 255, 255, 150));
  p.drawText(QRect(0, 185, 299, 9), Qt::AlignCenter, "KIRVALE");
  return pm;
}

QPixmap AboutPanelPicture() {
  QPixmap pm(282, 174);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient paper(0, 0, 0, 174);
  paper.setColorAt(0, QColor(0xFB, 0xF8, 0xF0));
  paper.setColorAt(1, QColor(0xE9, 0xE2, 0xD0));
  p.fillRect(pm.rect(), paper);
  // A soft light behind the text.
  QRadialGradient glow(150, 90, 130);
  glow.setColorAt(0, QColor(255, 255, 255, 160));
  glow.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillRect(pm.rect(), glow);
  // A large faint character, and a brush stroke along the left edge.
  QFont big("Noto Serif CJK SC");
  big.setPixelSize(130);
  p.setFont(big);
  p.setPen(QColor(0x1F, 0x4E, 0x86, 22));
  p.drawText(QRect(120, 10, 170, 160), Qt::AlignCenter, u8("辞"));
  QPainterPath stroke;
  stroke.moveTo(18, 10);
  stroke.cubicTo(30, 50, 10, 110, 24, 164);
  p.setPen(QPen(QColor(0x9B, 0x2D, 0x2D, 150), 5, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(stroke);
  // A small seal in red.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xB0, 0x30, 0x30));
  p.drawRoundedRect(QRectF(9, 140, 22, 22), 3, 3);
  QFont seal("Noto Serif CJK SC");
  seal.setPixelSize(15);
  p.setFont(seal);
  p.setPen(QColor(0xFB, 0xF0, 0xE0));
  p.drawText(QRectF(9, 140, 22, 22), Qt::AlignCenter, u8("辞"));
  return pm;
}

const std::array<const char*, 7>& TForm5::Slots() {
  static const std::array<const char*, 7> texts = {
      "Kirvale 2.10版",
      "日语词典：EDICT / JMdict\n电子词典研究开发组（EDRDG）\nCC BY-SA 4.0 授权",
      "汉语释义：CC-CEDICT（MDBG）\nCC BY-SA 4.0 授权\n繁简转换：OpenCC，Apache 2.0",
      "城市地名：SKK 邮政编码辞书\n（公有领域）；地名读音：\nIPAdic，© NAIST",
      "汉语词频：jieba 词典（MIT）\n英语词频：SCOWL 词表\n© Kevin Atkinson 等",
      "词典数据按 CC BY-SA 4.0 发布，\n详见程序目录中的 DATA-LICENSES",
      "",
  };
  return texts;
}

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm5");
  setWindowTitle(u8("关于"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setFixedSize(299, 194);
  setFont(DesignFont());

  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(0, 0, 299, 194);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(8, 10, 282, 174);
  Image2 = new QLabel(Panel1);
  Image2->setObjectName("Image2");
  Image2->setGeometry(0, 0, 282, 174);

  Label1 = new ClickLabel(Panel1);
  Label1->setObjectName("Label1");
  Label1->setAttribute(Qt::WA_TranslucentBackground);
  QPalette pal = Label1->palette();
  pal.setColor(QPalette::WindowText, kDesktopBackground);
  Label1->setPalette(pal);
  Label1->setStyleSheet(QString("background:transparent;color:%1;").arg(kDesktopBackground.name()));
  Label1->move(kStartLeft, kStartTop);

  Label2 = new ClickLabel(u8("确 定"), Panel1);
  Label2->setObjectName("Label2");
  Label2->setProperty("tag", 172);
  Label2->setCursor(Qt::PointingHandCursor);
  Label2->setStyleSheet("background:transparent;color:black;");
  Label2->move(241, 154);
  Label2->adjustSize();
  Label2->raise();

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(30);

  connect(Timer1, &QTimer::timeout, this, &TForm5::Timer1Timer);
  connect(Label1, &ClickLabel::clicked, this, &TForm5::Label1Click);
  connect(Label2, &ClickLabel::clicked, this, &TForm5::Label2Click);
  connect(Label2, &ClickLabel::entered, this, &TForm5::Label2MouseEnter);
  connect(Label2, &ClickLabel::left, this, &TForm5::Label2MouseLeave);
  setSlot(1);

  CentreOnScreen(this);
}

void TForm5::setSlot(int slot) {
  slot_ = slot;
  Label1->setText(u8(Slots()[static_cast<std::size_t>(slot - 1)]));
  // The label grows with its text.
  Label1->adjustSize();
}

void TForm5::FormShow() {
  Timer1->start();
  setSlot(1);
}

void TForm5::Timer1Timer() {
  if (Label1->y() + Label1->height() >= -kExitMargin) {
    Label1->move(Label1->x(), Label1->y() - 1);
    return;
  }
  setSlot(slot_ == 7 ? 1 : slot_ + 1);
  Label1->move(Label1->x(), kStartTop);
}

void TForm5::Label1Click() {
  if (Timer1->isActive())
    Timer1->stop();
  else
    Timer1->start();
}

void TForm5::Label2MouseEnter() { Label2->setStyleSheet("background:transparent;color:blue;"); }
void TForm5::Label2MouseLeave() { Label2->setStyleSheet("background:transparent;color:black;"); }

void TForm5::Label2Click() {
  Timer1->stop();
  close();
}

void TForm5::showEvent(QShowEvent* e) {
  // The pictures are drawn the first time the window is shown, not at
  // start-up: most sessions never open it.
  if (Image1->pixmap().isNull()) {
    Image1->setPixmap(AboutBackgroundPicture());
    Image2->setPixmap(AboutPanelPicture());
  }
  QDialog::showEvent(e);
  FormShow();
}

void TForm5::hideEvent(QHideEvent* e) {
  Timer1->stop();
  QDialog::hideEvent(e);
}

}  // namespace kirvale::app
