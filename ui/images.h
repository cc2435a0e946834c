// Pictures and icons of the windows.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <string>

namespace kirvale::platform {
struct RgbImage;
}

namespace kirvale::ui {

QImage ToQImage(const platform::RgbImage& image);
// A JPEG file decoded with libjpeg; a null picture when it cannot be read.
QPixmap LoadJpegPixmap(const std::string& path);
// The splash picture compiled into the program.
QPixmap SplashPixmap();

// The small pictures of the main window's buttons and menu items, drawn in
// the program so that they look the same on every desktop.
enum class Glyph { History, AdvancedSearch, Back, Forward, Menu, Copy, Add, Speak, Settings, MyDictionary,
                   Notebook, WordOfTheDay, Help, About, Exit, Japanese, English, Appendix, AppIcon,
                   Correct, Cheat, Mark };
QIcon GlyphIcon(Glyph glyph, int size = 16);

}  // namespace kirvale::ui
