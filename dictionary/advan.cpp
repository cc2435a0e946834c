#include "dictionary/advan.h"
#include "ui/widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>

#include "dictionary/advanced_search.h"
#include "ui/globals.h"

namespace kirvale::app {
using namespace kirvale::ui;
namespace {



}  // namespace

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
  SetUpFixedDialog(this, "TForm8", 192, "高级查询", QSize(330, 320));
  buildControls();
  CentreOnScreen(this);
}

TForm8::~TForm8() = default;

void TForm8::buildControls() {
  Label1 = named(new QLabel(u8("输入"), this), "Label1", 193);
  FlatEdit1 = named(new QLineEdit(this), "FlatEdit1");
  Label1->setBuddy(FlatEdit1);

  Label2 = named(new QLabel(u8("包含在"), this), "Label2", 201);
  FlatComboBox1 = named(new QComboBox(this), "FlatComboBox1");
  FlatComboBox1->setEditable(false);
  for (const char* row : dictionary::SearchFieldTexts(1)) FlatComboBox1->addItem(u8(row));
  Label2->setBuddy(FlatComboBox1);

  // The count sits right after its caption, whatever the caption's language.
  auto* countRow = named(new QWidget(this), "CountRow");
  Label3 = named(new QLabel(u8("搜索到条目"), countRow), "Label3", 202);
  Label4 = named(new QLabel(countRow), "Label4");
  QFont bold = Label4->font();
  bold.setBold(true);
  Label4->setFont(bold);
  Label4->setMinimumWidth(48);
  auto* countLayout = new QHBoxLayout(countRow);
  countLayout->setContentsMargins(0, 0, 0, 0);
  countLayout->setSpacing(8);
  countLayout->addWidget(Label3);
  countLayout->addWidget(Label4);
  countLayout->addStretch(1);

  FlatListBox1 = named(new QListWidget(this), "FlatListBox1");
  FlatListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  FlatListBox1->setUniformItemSizes(true);

  auto button = [this](const char* name, const char* caption, const char* hint, int tag) {
    auto* b = named(new QPushButton(u8(caption), this), name, tag);
    if (hint) b->setToolTip(u8(hint));
    // Enter in the text field must not press a button: only a click searches.
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setFixedSize(72, 24);
    return b;
  };
  FlatButton1 = button("FlatButton1", "查询", "查询合乎要求者", 203);
  FlatButton2 = button("FlatButton2", "释义", "解释词义", 204);
  FlatButton3 = button("FlatButton3", "关闭", nullptr, 205);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(10, 10, 10, 10);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(8);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(FlatEdit1, 0, 1);
  grid->addWidget(FlatButton1, 0, 2);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(FlatComboBox1, 1, 1);
  grid->addWidget(FlatButton2, 1, 2);
  grid->addWidget(countRow, 2, 0, 1, 2);
  grid->addWidget(FlatListBox1, 3, 0, 1, 2);
  grid->addWidget(FlatButton3, 3, 2, Qt::AlignBottom);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);

  connect(FlatButton1, &QPushButton::clicked, this, &TForm8::FlatButton1Click);
  connect(FlatButton2, &QPushButton::clicked, this, &TForm8::FlatButton2Click);
  connect(FlatButton3, &QPushButton::clicked, this, &TForm8::FlatButton3Click);
  connect(FlatListBox1, &QListWidget::itemDoubleClicked, this, [this] { FlatListBox1DblClick(); });
}

void TForm8::fillFieldChoice(std::int16_t language) {
  FlatComboBox1->clear();
  for (const char* row : dictionary::SearchFieldTexts(language)) FlatComboBox1->addItem(u8(row));
  labelledLanguage_ = language;
}

void TForm8::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TForm8::FormShow() {
  FlatEdit1->clear();
  Label4->clear();
  FlatListBox1->clear();
  if (UiLanguage() != labelledLanguage_) fillFieldChoice(UiLanguage());
  FlatComboBox1->setCurrentIndex(0);
  FlatEdit1->setFocus();
}

void TForm8::FlatButton1Click() {
  const QByteArray text = FlatEdit1->text().toUtf8();
  const int row = FlatComboBox1->currentIndex();
  if (row < 0 || row >= dictionary::kSearchFieldCount) return;
  const auto result = dictionary::AdvancedSearch(
      JapaneseReader, std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
      static_cast<dictionary::SearchField>(row));
  if (!result) return;  // an empty text leaves the previous results in place
  QStringList heads;
  heads.reserve(static_cast<qsizetype>(result->count()));
  for (const std::string& head : result->headWords) heads << u8(head);
  FlatListBox1->clear();
  FlatListBox1->addItems(heads);
  Label4->setText(QString::number(result->count()));
}

void TForm8::FlatButton2Click() {
  const QList<QListWidgetItem*> selected = FlatListBox1->selectedItems();
  if (selected.isEmpty() || !Published.SearchInMainWindow) return;
  Published.SearchInMainWindow(selected.first()->text().toStdString());
}

void TForm8::FlatButton3Click() { accept(); }

}  // namespace kirvale::app
