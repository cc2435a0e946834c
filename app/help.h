// Kirvale's own help window: reads the help file with chmlib and shows its
// contents tree, its index and its pages. Used when the desktop has no
// application for help files, the usual case on Linux.
#pragma once

#include <QString>
#include <QTextBrowser>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/chm_file.h"

class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace kirvale::app {

// A text browser whose pages, style sheets and pictures come from the help
// file. Links outside the help file go to the desktop.
class HelpBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HelpBrowser(const platform::ChmFile& chm, QWidget* parent = nullptr);
  // Shows a page by its path inside the help file ("/zh/index.html#x").
  void showPath(const std::string& path);
  const std::string& currentPath() const { return path_; }
  QVariant loadResource(int type, const QUrl& name) override;

 signals:
  void pathShown(const QString& path);

 private:
  void linkClicked(const QUrl& url);
  const platform::ChmFile& chm_;
  std::string path_;
};

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  ~HelpWindow() override;

  // Reads the help file and shows the start page of the interface language
  // (0 English, 1 Chinese). False when the file cannot be read.
  bool Open(const QString& path, std::int16_t language);

  QTabWidget* tabs;
  QTreeWidget* contents;
  QListWidget* index;
  HelpBrowser* browser;

 private:
  void fillContents();
  void fillIndex();
  void topicChosen(QTreeWidgetItem* item);
  void selectInContents(const QString& path);
  std::unique_ptr<platform::ChmFile> chm_;
};

// What "Help topics" did.
enum class HelpOutcome { OpenedByDesktop, OpenedInHelpWindow, Missing, Unreadable };

// Opens the help file "Kirvale.chm" of the program folder: with the
// desktop's application for help files when there is one, else in
// `window` (created on first use, owned by `parent`). A missing or
// unreadable file is reported to the user.
HelpOutcome OpenHelp(QWidget* parent, HelpWindow*& window, std::int16_t language);

// Whether the desktop has an application registered for help files.
// Tests replace the question.
bool DesktopOpensHelpFiles();
void SetDesktopHelpQuery(std::function<bool()> query);

}  // namespace kirvale::app
