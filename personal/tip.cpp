#include "personal/tip.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QShowEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <cmath>
#include <tuple>

#include "personal/tip_of_day.h"
#include "ui/globals.h"

namespace kirvale::app {
using namespace kirvale::ui;
namespace {



// A five-petalled blossom centred on `c`.
void drawBlossom(QPainter& p, QPointF c, qreal r, qreal turn) {
  p.save();
  p.translate(c);
  p.rotate(turn);
  p.setPen(QPen(QColor(0xD9, 0x7A, 0x95), 0.6));
  p.setBrush(QColor(0xFB, 0xD3, 0xDE));
  for (int i = 0; i < 5; ++i) {
    p.save();
    p.rotate(i * 72.0);
    QPainterPath petal;
    petal.moveTo(0, 0);
    petal.cubicTo(-r * 0.75, -r * 0.45, -r * 0.55, -r * 1.1, 0, -r * 0.92);
    petal.cubicTo(r * 0.55, -r * 1.1, r * 0.75, -r * 0.45, 0, 0);
    p.drawPath(petal);
    p.restore();
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xE0, 0x5A, 0x7C));
  p.drawEllipse(QPointF(0, 0), r * 0.22, r * 0.22);
  p.restore();
}

}  // namespace

QPixmap WordOfTheDayPicture(int width, int height) {
  QPixmap pm(width, height);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // Everything is drawn on a 135 × 176 canvas and scaled.
  p.scale(width / 135.0, height / 176.0);

  // Dawn sky.
  QLinearGradient sky(0, 0, 0, 176);
  sky.setColorAt(0.0, QColor(0x2E, 0x3B, 0x6E));
  sky.setColorAt(0.45, QColor(0x9C, 0x7D, 0xB0));
  sky.setColorAt(0.75, QColor(0xF6, 0xC3, 0x9A));
  sky.setColorAt(1.0, QColor(0xFC, 0xE8, 0xC8));
  p.fillRect(QRectF(0, 0, 135, 176), sky);

  // A few stars still out.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 200));
  for (QPointF s : {QPointF(14, 12), QPointF(40, 24), QPointF(118, 9), QPointF(98, 30), QPointF(66, 8)})
    p.drawEllipse(s, 0.9, 0.9);

  // The rising sun with its glow.
  const QPointF sun(86, 104);
  QRadialGradient glow(sun, 46);
  glow.setColorAt(0.0, QColor(255, 236, 200, 190));
  glow.setColorAt(1.0, QColor(255, 236, 200, 0));
  p.setBrush(glow);
  p.drawEllipse(sun, 46, 46);
  p.setBrush(QColor(0xD8, 0x3C, 0x32));
  p.drawEllipse(sun, 19, 19);

  // Far range.
  QPainterPath far;
  far.moveTo(0, 128);
  far.cubicTo(20, 112, 34, 118, 48, 110);
  far.cubicTo(60, 103, 72, 116, 90, 112);
  far.cubicTo(106, 108, 120, 118, 135, 112);
  far.lineTo(135, 176);
  far.lineTo(0, 176);
  far.closeSubpath();
  p.setBrush(QColor(0x7B, 0x6A, 0x9A));
  p.drawPath(far);

  // The snow-capped peak.
  QPainterPath peak;
  peak.moveTo(-4, 150);
  peak.lineTo(30, 96);
  peak.cubicTo(34, 91, 42, 91, 46, 96);
  peak.lineTo(84, 150);
  peak.closeSubpath();
  p.setBrush(QColor(0x3F, 0x4C, 0x7A));
  p.drawPath(peak);
  QPainterPath snow;
  snow.moveTo(30, 96);
  snow.cubicTo(34, 91, 42, 91, 46, 96);
  snow.lineTo(54, 108);
  snow.lineTo(49, 105);
  snow.lineTo(44, 110);
  snow.lineTo(38, 104);
  snow.lineTo(32, 110);
  snow.lineTo(27, 105);
  snow.lineTo(22, 108);
  snow.closeSubpath();
  p.setBrush(QColor(0xF4, 0xF6, 0xFB));
  p.drawPath(snow);

  // Water with the sun's reflection.
  QLinearGradient water(0, 146, 0, 176);
  water.setColorAt(0.0, QColor(0x4A, 0x5F, 0x93));
  water.setColorAt(1.0, QColor(0x2B, 0x3A, 0x66));
  p.setBrush(water);
  p.drawRect(QRectF(0, 146, 135, 30));
  p.setPen(QPen(QColor(0xF2, 0x9A, 0x6C), 1.4, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 5; ++i) {
    const qreal y = 151 + i * 4.5;
    const qreal half = 12 - i * 2;
    p.drawLine(QPointF(sun.x() - half, y), QPointF(sun.x() + half, y));
  }

  // A blossom branch from the top-left corner.
  p.setPen(QPen(QColor(0x4A, 0x32, 0x2A), 3.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath branch;
  branch.moveTo(-4, 30);
  branch.cubicTo(20, 34, 38, 46, 62, 44);
  p.drawPath(branch);
  p.setPen(QPen(QColor(0x4A, 0x32, 0x2A), 1.8, Qt::SolidLine, Qt::RoundCap));
  QPainterPath twig;
  twig.moveTo(28, 38);
  twig.cubicTo(34, 26, 44, 20, 54, 18);
  p.drawPath(twig);
  for (const auto& [c, r, turn] : std::initializer_list<std::tuple<QPointF, qreal, qreal>>{
           {QPointF(18, 33), 7.0, 10}, {QPointF(40, 44), 8.0, 40}, {QPointF(58, 44), 6.5, 5},
           {QPointF(46, 20), 6.0, 25}, {QPointF(55, 17), 4.5, 60}, {QPointF(8, 28), 4.0, 30}})
    drawBlossom(p, c, r, turn);
  // Falling petals.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xFB, 0xD3, 0xDE, 220));
  for (QPointF c : {QPointF(70, 60), QPointF(30, 70), QPointF(104, 50), QPointF(52, 84)}) {
    p.save();
    p.translate(c);
    p.rotate(c.x() * 3);
    p.drawEllipse(QPointF(0, 0), 2.4, 1.3);
    p.restore();
  }

  // A seal in the corner.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xB8, 0x2A, 0x22));
  p.drawRoundedRect(QRectF(110, 150, 19, 19), 2, 2);
  QFont seal = DesignFont(14);
  seal.setBold(true);
  p.setFont(seal);
  p.setPen(QColor(0xFC, 0xF1, 0xE4));
  p.drawText(QRectF(110, 150, 19, 19), Qt::AlignCenter, u8("词"));
  p.end();
  return pm;
}

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  SetUpFixedDialog(this, "TForm2", 131, "每日一词", QSize(356, 216));
  buildControls();
  CentreOnScreen(this);
}

TForm2::~TForm2() = default;

void TForm2::buildControls() {
  Image1 = named(new QLabel(this), "Image1");
  Image1->setGeometry(8, 10, 135, 176);
  Image1->setFrameStyle(QFrame::NoFrame);

  FlatGroupBox1 = named(new QGroupBox(u8("日语"), this), "FlatGroupBox1", 132);
  FlatGroupBox1->setGeometry(152, 6, 193, 59);
  FlatGroupBox1->setStyleSheet(
      "QGroupBox#FlatGroupBox1{border:1px solid palette(mid);border-radius:2px;margin-top:7px;}"
      "QGroupBox#FlatGroupBox1::title{subcontrol-origin:margin;subcontrol-position:top left;left:8px;"
      "padding:0 2px;}");
  Label1 = named(new QLabel(FlatGroupBox1), "Label1");
  Label1->setGeometry(11, 15, 174, 40);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setFont(DesignFont());

  FlatMemo1 = named(new QTextEdit(this), "FlatMemo1");
  FlatMemo1->setGeometry(152, 72, 193, 113);
  // Display only: no caret, no typing, no focus; it still scrolls.
  FlatMemo1->setReadOnly(true);
  FlatMemo1->setAcceptRichText(false);
  FlatMemo1->setTextInteractionFlags(Qt::NoTextInteraction);
  FlatMemo1->setFocusPolicy(Qt::NoFocus);
  FlatMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FlatMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FlatMemo1->setFont(DesignFont(12));

  FlatCheckBox1 = named(new QCheckBox(u8("每次启动显示此窗口"), this), "FlatCheckBox1", 133);
  // Wide enough for the caption in either language, up to the Next button.
  FlatCheckBox1->setGeometry(8, 194, 218, 18);
  connect(FlatCheckBox1, &QCheckBox::clicked, this, &TForm2::FlatCheckBox1Click);

  FlatButton1 = named(new QPushButton(u8("下一词"), this), "FlatButton1", 134);
  FlatButton1->setGeometry(229, 192, 54, 20);
  connect(FlatButton1, &QPushButton::clicked, this, &TForm2::FlatButton1Click);
  FlatButton2 = named(new QPushButton(u8("关闭"), this), "FlatButton2", 135);
  FlatButton2->setGeometry(291, 192, 54, 20);
  connect(FlatButton2, &QPushButton::clicked, this, &TForm2::FlatButton2Click);
  for (QPushButton* b : {FlatButton1, FlatButton2}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
}

void TForm2::showEvent(QShowEvent* e) {
  // Drawn when first shown: a start-up without the word of the day does not
  // load the picture's fonts.
  if (Image1->pixmap().isNull()) Image1->setPixmap(WordOfTheDayPicture(135, 176));
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TForm2::Advance() {
  Settings.tipindex = personal::NextTipIndex(Settings.tipindex, personal::LastLineIndex(JapaneseReader));
  DisplayEntry(Settings.tipindex);
}

void TForm2::DisplayEntry(int index) {
  FlatMemo1->clear();
  personal::TipDisplay d;
  if (!personal::TipDisplayFor(JapaneseReader, index, UiLanguage(), d)) return;
  CurrentEntry = d.entry;
  // The label's carriage return is its line break.
  QString label = u8(d.label);
  label.replace(QChar('\r'), QChar('\n'));
  Label1->setText(label);
  QStringList lines;
  for (const std::string& line : d.memoLines) lines << u8(line);
  FlatMemo1->setPlainText(lines.join('\n'));
  fitHeaders();
}

// The two header lines are wider than the memo in its own font. The blanks
// and dots of each are set in the largest size at which the whole header fits
// one line, the language name in the memo's size, so that the header reads as
// a dotted rule with the name in the middle. The text stays as it is.
void TForm2::fitHeaders() {
  QTextDocument* doc = FlatMemo1->document();
  const qreal room = FlatMemo1->width() - 2 * FlatMemo1->frameWidth() -
                     FlatMemo1->verticalScrollBar()->sizeHint().width() - 2 * doc->documentMargin() - 2;
  constexpr int kRule = 6 + 18;  // blanks and dots on each side of the name
  for (int blockNumber : {0, 2}) {
    const QTextBlock block = doc->findBlockByNumber(blockNumber);
    if (!block.isValid() || block.text().size() <= 2 * kRule) continue;
    const QString text = block.text();
    const QString name = text.mid(kRule, text.size() - 2 * kRule);
    const QFont nameFont = FlatMemo1->font();
    const qreal nameWidth = QFontMetricsF(nameFont).horizontalAdvance(name);
    QFont ruleFont = nameFont;
    for (int px = nameFont.pixelSize(); px > 4; --px) {
      ruleFont.setPixelSize(px);
      if (2 * QFontMetricsF(ruleFont).horizontalAdvance(text.left(kRule)) + nameWidth <= room) break;
    }
    QTextCursor cursor(block);
    QTextBlockFormat lines = cursor.blockFormat();
    lines.setNonBreakableLines(true);
    cursor.setBlockFormat(lines);
    QTextCharFormat rule;
    rule.setFont(ruleFont);
    rule.setForeground(FlatMemo1->palette().color(QPalette::Mid).darker(130));
    QTextCharFormat title;
    title.setFont(nameFont);
    title.setForeground(FlatMemo1->palette().color(QPalette::Highlight));
    const int at = block.position();
    for (const auto& [from, length, format] : {std::tuple{0, kRule, rule},
                                                std::tuple{kRule, static_cast<int>(name.size()), title},
                                                std::tuple{kRule + static_cast<int>(name.size()), kRule, rule}}) {
      cursor.setPosition(at + from);
      cursor.setPosition(at + from + length, QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
    }
  }
}

void TForm2::FlatCheckBox1Click() { Settings.showtip = FlatCheckBox1->isChecked() ? 1 : 0; }

void TForm2::FlatButton2Click() { accept(); }

}  // namespace kirvale::app
