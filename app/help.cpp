#include "app/help.h"
#include "ui/widgets.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>

#include "platform/shell.h"
#include "platform/startup_check.h"
#include "settings/messages.h"
#include "ui/presenter.h"

namespace kirvale::app {
using ui::u8;
namespace {

constexpr const char* kHelpFile = "Kirvale.chm";
constexpr int kPathRole = Qt::UserRole + 1;


std::function<bool()>& helpQuery() {
  static std::function<bool()> q;
  return q;
}

// Paths inside the help file travel as "chm:/zh/index.html" so that the
// browser resolves relative links itself.
QUrl toUrl(const std::string& path) {
  QUrl url;
  url.setScheme("chm");
  const std::size_t hash = path.find('#');
  url.setPath(u8(path.substr(0, hash)));
  if (hash != std::string::npos) url.setFragment(u8(path.substr(hash + 1)));
  return url;
}

std::string fromUrl(const QUrl& url) {
  std::string path = url.path().toStdString();
  if (path.empty() || path[0] != '/') path.insert(path.begin(), '/');
  if (url.hasFragment()) path += "#" + url.fragment().toStdString();
  return path;
}

}  // namespace

bool DesktopOpensHelpFiles() {
  if (helpQuery()) return helpQuery()();
  // The freedesktop.org question: which application opens this type?
  const QString xdgMime = QStandardPaths::findExecutable("xdg-mime");
  if (xdgMime.isEmpty()) return false;
  for (const char* type : {"application/vnd.ms-htmlhelp", "application/x-chm"}) {
    QProcess p;
    p.start(xdgMime, {"query", "default", type});
    if (!p.waitForFinished(3000)) {
      p.kill();
      p.waitForFinished(1000);
      continue;
    }
    if (p.exitCode() == 0 && !p.readAllStandardOutput().trimmed().isEmpty()) return true;
  }
  return false;
}

void SetDesktopHelpQuery(std::function<bool()> query) { helpQuery() = std::move(query); }

HelpBrowser::HelpBrowser(const platform::ChmFile& chm, QWidget* parent) : QTextBrowser(parent), chm_(chm) {
  setObjectName("browser");
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::linkClicked);
}

void HelpBrowser::showPath(const std::string& path) {
  path_ = path;
  setSource(toUrl(path));
  emit pathShown(u8(path.substr(0, path.find('#'))));
}

void HelpBrowser::linkClicked(const QUrl& url) {
  if (!url.scheme().isEmpty() && url.scheme() != "chm") {
    QDesktopServices::openUrl(url);  // a web address or mail link
    return;
  }
  // A relative link is joined to the page it is on.
  const std::string link = url.scheme() == "chm" ? fromUrl(url) : url.toString().toStdString();
  showPath(platform::ResolveHelpPath(path_, link));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  const std::string path = name.scheme() == "chm" ? fromUrl(name)
                                                  : platform::ResolveHelpPath(path_, name.toString().toStdString());
  const auto bytes = chm_.Read(path);
  if (!bytes) {
    if (type == QTextDocument::HtmlResource)
      return QString("<html><body><p>%1</p></body></html>").arg(u8(path).toHtmlEscaped());
    return {};
  }
  if (type == QTextDocument::ImageResource) {
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<int>(bytes->size()));
    return image;
  }
  return u8(platform::HelpTextToUtf8(*bytes));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), chm_(std::make_unique<platform::ChmFile>()) {
  setObjectName("HelpWindow");
  resize(820, 560);
  auto* splitter = new QSplitter(this);
  tabs = new QTabWidget(splitter);
  tabs->setObjectName("tabs");
  contents = new QTreeWidget(tabs);
  contents->setObjectName("contents");
  contents->setHeaderHidden(true);
  // Long titles scroll sideways instead of being cut.
  contents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  contents->header()->setStretchLastSection(false);
  index = new QListWidget(tabs);
  index->setObjectName("index");
  tabs->addTab(contents, "");
  tabs->addTab(index, "");
  browser = new HelpBrowser(*chm_, splitter);
  splitter->addWidget(tabs);
  splitter->addWidget(browser);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({270, 550});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);
  connect(contents, &QTreeWidget::itemClicked, this, &HelpWindow::topicChosen);
  connect(contents, &QTreeWidget::itemActivated, this, &HelpWindow::topicChosen);
  connect(index, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    browser->showPath(item->data(kPathRole).toString().toStdString());
  });
  connect(index, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    browser->showPath(item->data(kPathRole).toString().toStdString());
  });
  connect(browser, &HelpBrowser::pathShown, this, &HelpWindow::selectInContents);
}

HelpWindow::~HelpWindow() = default;

bool HelpWindow::Open(const QString& path, std::int16_t language) {
  if (!chm_->Open(QFileInfo(path).absoluteFilePath().toStdString())) return false;
  const bool english = language == 0;
  setWindowTitle(english ? "Kirvale Help" : QString::fromUtf8("Kirvale 帮助"));
  tabs->setTabText(0, english ? "Contents" : QString::fromUtf8("目录"));
  tabs->setTabText(1, english ? "Index" : QString::fromUtf8("索引"));
  fillContents();
  fillIndex();
  // The start page in the interface language, else the file's own.
  const std::string start = english ? "/en/index.html" : "/zh/index.html";
  browser->showPath(chm_->Read(start) ? start : chm_->defaultTopic());
  return true;
}

void HelpWindow::fillContents() {
  contents->clear();
  std::function<void(QTreeWidgetItem*, const std::vector<platform::HelpTopic>&)> add =
      [&](QTreeWidgetItem* parent, const std::vector<platform::HelpTopic>& topics) {
        for (const auto& t : topics) {
          auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents);
          item->setText(0, u8(t.name));
          item->setData(0, kPathRole, u8(platform::ResolveHelpPath("/", t.local)));
          add(item, t.children);
        }
      };
  add(nullptr, chm_->Contents());
}

void HelpWindow::fillIndex() {
  index->clear();
  for (const auto& t : chm_->Index()) {
    auto* item = new QListWidgetItem(u8(t.name), index);
    item->setData(kPathRole, u8(platform::ResolveHelpPath("/", t.local)));
  }
}

void HelpWindow::topicChosen(QTreeWidgetItem* item) {
  if (!item) return;
  const QString path = item->data(0, kPathRole).toString();
  if (!path.isEmpty() && path != "/") browser->showPath(path.toStdString());
}

void HelpWindow::selectInContents(const QString& path) {
  // Mark the page in the contents tree and open the book that holds it.
  for (QTreeWidgetItemIterator it(contents); *it; ++it) {
    if ((*it)->data(0, kPathRole).toString() != path) continue;
    for (QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent()) p->setExpanded(true);
    (*it)->setExpanded(true);
    contents->setCurrentItem(*it);
    return;
  }
}

HelpOutcome OpenHelp(QWidget* parent, HelpWindow*& window, std::int16_t language) {
  if (!platform::FileExists(kHelpFile)) {
    ui::Presenter::error(parent, QString::fromUtf8(settings::msg::kHelpMissing.in(language)));
    return HelpOutcome::Missing;
  }
  if (DesktopOpensHelpFiles() && platform::ShellOpen(kHelpFile)) return HelpOutcome::OpenedByDesktop;
  if (!window) window = new HelpWindow(parent);
  if (!window->Open(kHelpFile, language)) {
    ui::Presenter::error(parent, QString::fromUtf8(settings::msg::kHelpUnreadable.in(language)));
    return HelpOutcome::Unreadable;
  }
  window->show();
  window->raise();
  window->activateWindow();
  return HelpOutcome::OpenedInHelpWindow;
}

}  // namespace kirvale::app
