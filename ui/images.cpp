#include "ui/images.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "platform/jpeg.h"
#include "ui/widgets.h"

extern const unsigned char kSplashJpeg[];
extern const std::size_t kSplashJpeg_size;

namespace kirvale::ui {

QImage ToQImage(const platform::RgbImage& image) {
  if (image.width <= 0 || image.height <= 0) return {};
  QImage out(image.width, image.height, QImage::Format_RGB888);
  for (int y = 0; y < image.height; ++y)
    std::copy_n(image.rgb.data() + static_cast<size_t>(y) * image.width * 3, image.width * 3, out.scanLine(y));
  return out;
}

QPixmap LoadJpegPixmap(const std::string& path) {
  platform::RgbImage img;
  if (!platform::DecodeJpegFile(path, img)) return {};
  return QPixmap::fromImage(ToQImage(img));
}

QPixmap SplashPixmap() {
  platform::RgbImage img;
  platform::DecodeJpeg(std::string_view(reinterpret_cast<const char*>(kSplashJpeg), kSplashJpeg_size), img);
  return QPixmap::fromImage(ToQImage(img));
}

QIcon GlyphIcon(Glyph glyph, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size / 16.0;
  p.scale(s, s);
  QPen pen(QColor(0x2B, 0x4A, 0x7A), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  const QColor fill(0xDD, 0xE8, 0xF6);
  // Latin signs in a bold sans; Chinese and kana in the windows' own face
  // (bold from its regular face), so that the icons load no CJK face the
  // windows do not use: each costs megabytes.
  auto text = [&](const QString& t, int px) {
    const bool latin = t.front().unicode() < 0x2E80;
    QFont f = latin ? QFont(QStringLiteral("DejaVu Sans")) : DesignFont();
    f.setPixelSize(px);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, t);
  };
  switch (glyph) {
    case Glyph::History:
      p.setBrush(QColor(0x2B, 0x4A, 0x7A));
      p.drawPolygon(QPolygonF({QPointF(4, 6), QPointF(12, 6), QPointF(8, 11)}));
      break;
    case Glyph::AdvancedSearch:
      p.setBrush(fill);
      p.drawEllipse(QPointF(6.5, 6.5), 4, 4);
      p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
      p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
      break;
    case Glyph::Back:
    case Glyph::Forward: {
      p.setBrush(QColor(0x3C, 0x8D, 0x4F));
      p.setPen(QPen(QColor(0x25, 0x5E, 0x33), 1));
      QPolygonF arrow({QPointF(2, 8), QPointF(8, 2.5), QPointF(8, 5.5), QPointF(14, 5.5), QPointF(14, 10.5),
                       QPointF(8, 10.5), QPointF(8, 13.5)});
      if (glyph == Glyph::Forward)
        for (auto& pt : arrow) pt.setX(16 - pt.x());
      p.drawPolygon(arrow);
      break;
    }
    case Glyph::Menu:
      for (int i = 0; i < 3; ++i) p.drawLine(QPointF(3, 4.5 + i * 3.5), QPointF(13, 4.5 + i * 3.5));
      break;
    case Glyph::Copy:
      p.setBrush(fill);
      p.drawRect(QRectF(2.5, 2.5, 7, 9));
      p.drawRect(QRectF(6.5, 5.5, 7, 9));
      break;
    case Glyph::Add:
      p.setPen(QPen(QColor(0x3C, 0x8D, 0x4F), 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 3), QPointF(8, 13));
      p.drawLine(QPointF(3, 8), QPointF(13, 8));
      break;
    case Glyph::Speak: {
      p.setBrush(fill);
      p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(5, 6), QPointF(9, 2.5), QPointF(9, 13.5), QPointF(5, 10),
                               QPointF(2, 10)}));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(8, 5, 5, 6), -60 * 16, 120 * 16);
      p.drawArc(QRectF(8, 2.5, 7.5, 11), -60 * 16, 120 * 16);
      break;
    }
    case Glyph::Settings:
      p.setBrush(fill);
      p.drawEllipse(QPointF(8, 8), 5, 5);
      p.drawEllipse(QPointF(8, 8), 2, 2);
      break;
    case Glyph::MyDictionary:
    case Glyph::Notebook:
      p.setBrush(glyph == Glyph::Notebook ? QColor(0xF6, 0xE7, 0xB4) : fill);
      p.drawRect(QRectF(3.5, 2.5, 9, 11));
      p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 5.5));
      p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
      p.drawLine(QPointF(5.5, 10.5), QPointF(9, 10.5));
      break;
    case Glyph::WordOfTheDay:
      p.setBrush(QColor(0xF5, 0xC5, 0x42));
      p.setPen(QPen(QColor(0xB0, 0x80, 0x10), 1));
      p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
      break;
    case Glyph::Help:
      p.setBrush(fill);
      p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
      text("?", 10);
      break;
    case Glyph::About:
      p.setBrush(fill);
      p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
      text("i", 10);
      break;
    case Glyph::Exit:
      p.setPen(QPen(QColor(0xB0, 0x30, 0x30), 2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(4, 4), QPointF(12, 12));
      p.drawLine(QPointF(12, 4), QPointF(4, 12));
      break;
    case Glyph::Japanese:
      text("あ", 11);
      break;
    case Glyph::English:
      text("A", 11);
      break;
    case Glyph::Appendix:
      text("附", 10);
      break;
    case Glyph::Correct: {  // the exercise's sign for a right answer
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x2E, 0x9E, 0x44));
      p.drawEllipse(QRectF(0.7, 0.7, 14.6, 14.6));
      p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      QPainterPath tick;
      tick.moveTo(4.3, 8.3);
      tick.lineTo(7.0, 11.0);
      tick.lineTo(11.8, 5.6);
      p.drawPath(tick);
      break;
    }
    case Glyph::Cheat: {  // an eye
      QPainterPath eye;
      eye.moveTo(1.5, 8);
      eye.quadTo(8, 1.5, 14.5, 8);
      eye.quadTo(8, 14.5, 1.5, 8);
      p.drawPath(eye);
      p.setBrush(QColor(0x2B, 0x4A, 0x7A));
      p.drawEllipse(QPointF(8, 8), 2.3, 2.3);
      break;
    }
    case Glyph::Mark: {  // a star
      p.setPen(QPen(QColor(0x8A, 0x5A, 0x00), 1.0));
      p.setBrush(QColor(0xF2, 0xB7, 0x05));
      QPolygonF star;
      for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? 7.0 : 3.0;
        const double a = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(8 + r * std::cos(a), 8.5 + r * std::sin(a));
      }
      p.drawPolygon(star);
      break;
    }
    case Glyph::AppIcon:
      p.setBrush(QColor(0x2B, 0x4A, 0x7A));
      p.setPen(Qt::NoPen);
      p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
      p.setPen(Qt::white);
      text("辞", 11);
      break;
  }
  p.end();
  return QIcon(pm);
}

}  // namespace kirvale::ui
