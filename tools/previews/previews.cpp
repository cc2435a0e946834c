// Build-time tool: renders the real main window offscreen in each skin, with
// an entry looked up, and writes the style previews styles/0.jpg … 3.jpg,
// each fitted into the settings dialog's 194 × 142 preview box.
//
//   kirvale-previews previews DICTIONARY OUTDIR
//       DICTIONARY: an encrypted multilingual.dic
//   kirvale-previews shots DICTIONARY OUTDIR
//       pictures of the main window, its menu, the notebook and every tab of the
//       settings dialog in every skin and both languages, for review
//       (needs language.ini in the working directory for English).
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>
#include <QTemporaryDir>

#include <iostream>
#include <string>

#include "app/main.h"
#include "crypto/aes.h"
#include "dictionary/lookup.h"
#include "personal/newwords.h"
#include "platform/jpeg.h"
#include "tools/image_jpeg.h"
#include "settings/confi.h"
#include "settings/interface_language.h"
#include "settings/styles.h"
#include "text/codec.h"
#include "ui/globals.h"
#include "ui/head_word_list.h"
#include "ui/skins.h"

using namespace kirvale;

namespace {

constexpr int kPreviewWidth = 194;
constexpr int kPreviewHeight = 142;

int fail(const std::string& what) {
  std::cerr << "kirvale-previews: " << what << "\n";
  return 1;
}

std::string toJpeg(const QImage& src) { return tools::ImageToJpeg(src, 90); }

QImage render(QWidget* w) {
  w->show();
  QApplication::processEvents();
  return w->grab().toImage();
}

// The main window with "辞書" looked up, on the sample dictionary.
bool lookUp(app::TForm3& w, const std::string& dictionary, const QTemporaryDir& temp) {
  const std::string plain = temp.filePath("multilingual.dic").toStdString();
  try {
    crypto::DecryptContainerToFile(dictionary, plain, std::string(crypto::kDictionaryPassphrase));
  } catch (const std::exception& e) {
    std::cerr << "kirvale-previews: " << e.what() << "\n";
    return false;
  }
  if (!ui::JapaneseReader.Bind(plain)) return false;
  w.wordlist->Bind(&ui::JapaneseReader, dictionary::IndexKey::JapaneseItem);
  w.wordtext->setText(QString::fromUtf8("辞書"));
  w.Search();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return fail("usage: kirvale-previews previews|shots DICTIONARY OUTDIR");
  const std::string mode = argv[1];
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[3]);
  QDir().mkpath(out);
  QTemporaryDir temp;
  if (!temp.isValid()) return fail("no temporary folder");

  ui::Settings.langu = 1;
  ui::Settings.speed = 35;
  ui::Settings.useuser = 1;
  ui::Settings.showwhat = 1;
  ui::Settings.givepron = ui::Settings.givechin = ui::Settings.giveeng = 1;

  if (mode == "previews") {
    app::TForm3 w;
    if (!lookUp(w, argv[2], temp)) return fail("cannot read the dictionary");
    for (int n = 0; n < settings::kStyleCount; ++n) {
      ui::SelectSkin(n);
      const QImage shot = render(&w);
      const QImage fitted =
          shot.scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
      const std::string path = (out + QString("/%1.jpg").arg(n)).toStdString();
      if (!text::writeFileAtomically(path, toJpeg(fitted))) return fail("cannot write " + path);
    }
    return 0;
  }
  if (mode == "shots") {
    for (int language : {1, 0}) {
      settings::ForgetWindows();
      ui::Settings.langu = static_cast<std::int16_t>(language);
      app::TForm3 w;
      if (!lookUp(w, argv[2], temp)) return fail("cannot read the dictionary");
      app::TForm9 notebook(&w);
      settings::RegisterWindow(&notebook);
      settings::TForm4 dialog(&w);
      settings::RegisterWindow(&dialog, [&dialog] { dialog.ApplyFixedTexts(); });
      if (language == 0 && QFile::exists("language.ini")) {
        settings::ApplyInterfaceLanguage("language.ini", 0);
        w.ApplyFixedTexts();
      }
      const QString lang = language == 0 ? "en" : "zh";
      for (int n = 0; n < settings::kStyleCount; ++n) {
        ui::SelectSkin(n);
        render(&w).save(out + QString("/main-%1-%2.png").arg(lang).arg(n));
        w.PopupMenu1->popup(w.mapToGlobal(QPoint(300, 30)));
        render(w.PopupMenu1).save(out + QString("/menu-%1-%2.png").arg(lang).arg(n));
        w.PopupMenu1->hide();
        for (int tab = 0; tab < 3; ++tab) {
          notebook.FlatTabControl1->setCurrentIndex(tab);
          render(&notebook).save(out + QString("/notebook-%1-%2-tab%3.png").arg(lang).arg(n).arg(tab));
        }
        notebook.FlatTabControl1->setCurrentIndex(0);
        notebook.hide();
        dialog.LoadPreview(n);
        for (int tab = 0; tab < 4; ++tab) {
          dialog.FlatTabControl1->setCurrentIndex(tab);
          render(&dialog).save(out + QString("/settings-%1-%2-tab%3.png").arg(lang).arg(n).arg(tab));
        }
        dialog.hide();
      }
      w.hide();
    }
    return 0;
  }
  return fail("unknown mode " + mode);
}
