// The main window's appendix viewer: the topic list and one section shown in
// the Chinese pane.
#include <QListWidget>
#include <QStyle>
#include <QTextCursor>
#include <QTextEdit>

#include "app/main.h"
#include "dictionary/appendix_section.h"
#include "platform/startup_check.h"
#include "ui/globals.h"
#include "ui/skins.h"

namespace kirvale::app {

void TForm3::FlatSpeedButton2Click() { showHeadWordList(applist); }

void TForm3::applistDblClick() {
  QListWidgetItem* item = applist->currentItem();
  if (!item || !platform::FileExists(dictionary::kAppendixFile)) return;
  Panel2Click();
  FlatMemo1->clear();
  const auto lines = dictionary::AppendixSection(ui::AppendixReader, item->text().toStdString());
  FlatMemo1->setPlainText(QString::fromStdString(dictionary::AppendixPaneText(lines)));
  FlatMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FlatMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ReskinControls();
  QTextCursor start(FlatMemo1->document());
  FlatMemo1->setTextCursor(start);
  FlatMemo1->ensureCursorVisible();
}

void TForm3::ReskinControls() {
  // The scroll bars just turned on take the current skin.
  ui::ReskinWindow(this);
}

}  // namespace kirvale::app
