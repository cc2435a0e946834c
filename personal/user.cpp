#include "personal/user.h"
#include "ui/widgets.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTextEdit>

#include "settings/messages.h"
#include "ui/globals.h"
#include "ui/presenter.h"

namespace kirvale::app {
using namespace kirvale::ui;
namespace {



// The list shows the lines as they are stored: a face in which a Chinese or
// Japanese character is as wide as two ASCII letters keeps the padded lines
// aligned, as the 21-byte padding means them to be.
QFont listFont() {
  QFont f(u8("Noto Sans Mono CJK SC"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPixelSize(12);
  return f;
}

}  // namespace

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
  SetUpFixedDialog(this, "TForm6", 173, "我的词典", QSize(560, 326));
  buildControls();
}

TForm6::~TForm6() = default;

void TForm6::buildControls() {
  auto label = [this](const char* name, const char* text, int tag, int x, int y) {
    auto* l = named(new QLabel(u8(text), this), name, tag);
    l->setGeometry(x, y, 84, 20);
    return l;
  };
  auto lineEdit = [this](const char* name, int y) {
    auto* e = named(new QLineEdit(this), name);
    e->setGeometry(96, y, 160, 22);
    return e;
  };
  Label1 = label("Label1", "日语", 174, 10, 11);
  FlatEdit1 = lineEdit("FlatEdit1", 10);
  Label2 = label("Label2", "假名", 176, 10, 39);
  FlatEdit2 = lineEdit("FlatEdit2", 38);
  Label3 = label("Label3", "词性", 175, 10, 67);
  FlatComboBox1 = named(new QComboBox(this), "FlatComboBox1");
  FlatComboBox1->setGeometry(96, 66, 160, 22);
  FlatComboBox1->setMaxVisibleItems(13);

  auto memo = [this](const char* name, int y) {
    auto* m = named(new QTextEdit(this), name);
    m->setAcceptRichText(false);
    m->setTabChangesFocus(true);
    m->setGeometry(10, y, 246, 66);
    return m;
  };
  Label4 = label("Label4", "中文", 178, 10, 96);
  FlatMemo1 = memo("FlatMemo1", 116);
  Label5 = label("Label5", "英语", 179, 10, 188);
  FlatMemo2 = memo("FlatMemo2", 208);

  Label6 = named(new QLabel(u8("已存在词条"), this), "Label6", 177);
  Label6->setGeometry(268, 11, 200, 20);
  FlatListBox1 = named(new QListWidget(this), "FlatListBox1");
  FlatListBox1->setGeometry(268, 38, 284, 236);
  FlatListBox1->setFont(listFont());
  FlatListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  FlatListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FlatListBox1->setUniformItemSizes(true);

  auto button = [this](const char* name, const char* text, int tag, int x) {
    auto* b = named(new QPushButton(u8(text), this), name, tag);
    b->setGeometry(x, 290, 75, 24);
    // Enter in a field never presses a button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
  };
  FlatButton1 = button("FlatButton1", "添加", 180, 10);
  FlatButton2 = button("FlatButton2", "更新", 181, 95);
  FlatButton3 = button("FlatButton3", "删除", 182, 180);
  FlatButton4 = button("FlatButton4", "关闭", 183, 477);

  connect(FlatButton1, &QPushButton::clicked, this, &TForm6::FlatButton1Click);
  connect(FlatButton2, &QPushButton::clicked, this, &TForm6::FlatButton2Click);
  connect(FlatButton3, &QPushButton::clicked, this, &TForm6::FlatButton3Click);
  connect(FlatButton4, &QPushButton::clicked, this, &TForm6::FlatButton4Click);
  // A click, or moving through the list with the keys, copies the line.
  connect(FlatListBox1, &QListWidget::itemClicked, this, &TForm6::FlatListBox1Click);
  connect(FlatListBox1, &QListWidget::currentRowChanged, this, [this] {
    if (!fillingList_) FlatListBox1Click();
  });

  setTabOrder(FlatEdit1, FlatEdit2);
  setTabOrder(FlatEdit2, FlatComboBox1);
  setTabOrder(FlatComboBox1, FlatMemo1);
  setTabOrder(FlatMemo1, FlatMemo2);
  setTabOrder(FlatMemo2, FlatButton1);
}

void TForm6::FormCreate() {
  table_ = personal::BuildPartOfSpeechTable(personal::kPartOfSpeechAbbreviations, personal::kPartOfSpeechNames);
  fillPartOfSpeechChoice(labelledLanguage_);
  const personal::UserDictLoad in = UserDict.Load(personal::kUserDictFile);
  fillingList_ = true;
  FlatListBox1->clear();
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(UserDict.lines().size()));
  for (const std::string& line : UserDict.lines()) lines << u8(line);
  FlatListBox1->addItems(lines);
  fillingList_ = false;
  const std::int16_t lang = UiLanguage();
  if (!in.ok) {
    keepOriginal_ = true;
    Presenter::error(this, u8(settings::msg::kUserDictUnreadable.in(lang)) + u8(in.error) +
                               u8(settings::msg::kUserDictKept.in(lang)));
  } else if (in.lossy) {
    keepOriginal_ = true;
    Presenter::info(this, u8(settings::msg::kUserDictNotGbk.in(lang)) + u8(settings::msg::kUserDictKept.in(lang)));
  }
  if (in.overflow > 0) Presenter::info(this, u8(settings::msg::kUserDictTooLong.in(lang)));
}

bool TForm6::TrySave(std::string* error) {
  const personal::UserDictSave out =
      UserDict.Save(personal::kUserDictFile, keepOriginal_ ? personal::kUserDictBackupFile : std::string());
  if (out.ok) {
    keepOriginal_ = false;
    return true;
  }
  if (error) *error = out.error;
  return false;
}

void TForm6::Save() {
  std::string error;
  if (!TrySave(&error)) Presenter::error(this, u8(settings::msg::kUserDictNotSaved.in(UiLanguage())) + u8(error));
}

void TForm6::fillPartOfSpeechChoice(std::int16_t language) {
  FlatComboBox1->clear();
  for (const personal::PartOfSpeech& row : table_)
    FlatComboBox1->addItem(u8(language == 0 ? row.abbreviation : row.chineseName));
}

void TForm6::clearEditingArea() {
  FlatEdit1->clear();
  FlatEdit2->clear();
  FlatMemo1->clear();
  FlatMemo2->clear();
  FlatComboBox1->setCurrentIndex(0);
}

void TForm6::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TForm6::FormShow() {
  clearEditingArea();
  if (UiLanguage() != labelledLanguage_) {
    labelledLanguage_ = UiLanguage();
    fillPartOfSpeechChoice(labelledLanguage_);
    FlatComboBox1->setCurrentIndex(0);
  }
  FlatEdit1->setFocus();
}

void TForm6::FlatListBox1Click() {
  const int row = FlatListBox1->currentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= UserDict.lines().size()) return;
  if (!FlatListBox1->item(row)->isSelected()) return;
  const personal::UserEntryFields f = personal::FieldsOfLine(UserDict.lines()[static_cast<std::size_t>(row)], table_);
  FlatEdit1->setText(u8(f.headWord));
  FlatEdit2->setText(u8(f.kana));
  FlatMemo1->setPlainText(u8(f.chinese));
  FlatMemo2->setPlainText(u8(f.english));
  FlatComboBox1->setCurrentIndex(f.partOfSpeech);
}

personal::UserEntryFields TForm6::fields() const {
  personal::UserEntryFields f;
  f.headWord = FlatEdit1->text().toStdString();
  f.kana = FlatEdit2->text().toStdString();
  f.chinese = FlatMemo1->toPlainText().toStdString();
  f.english = FlatMemo2->toPlainText().toStdString();
  f.partOfSpeech = FlatComboBox1->currentIndex();
  return f;
}

void TForm6::finishEdit(const personal::EditOutcome& outcome) {
  using personal::EditResult;
  const std::int16_t lang = UiLanguage();
  switch (outcome.result) {
    case EditResult::Ignored:
      return;
    case EditResult::AlreadyExists:
      Presenter::message(this, u8(settings::msg::kEntryExists.in(lang)));
      return;
    case EditResult::IsNew:
      Presenter::message(this, u8(settings::msg::kEntryIsNew.in(lang)));
      return;
    case EditResult::NoPartOfSpeech:
      Presenter::message(this, u8(settings::msg::kChoosePartOfSpeech.in(lang)));
      FlatComboBox1->setFocus();
      return;
    case EditResult::Full:
      Presenter::message(this, u8(settings::msg::kUserDictFull.in(lang)));
      return;
    case EditResult::Unstorable:
      Presenter::message(this, u8(settings::msg::kEntryUnstorable.in(lang)));
      return;
    case EditResult::Appended:
      fillingList_ = true;
      FlatListBox1->addItem(u8(UserDict.lines()[static_cast<std::size_t>(outcome.position)]));
      fillingList_ = false;
      break;
    case EditResult::Replaced:
      FlatListBox1->item(outcome.position)->setText(u8(UserDict.lines()[static_cast<std::size_t>(outcome.position)]));
      break;
  }
  clearEditingArea();
  if (changed_) changed_();
}

void TForm6::FlatButton1Click() { finishEdit(UserDict.Add(fields(), table_)); }

void TForm6::FlatButton2Click() { finishEdit(UserDict.Update(fields(), table_)); }

void TForm6::FlatButton3Click() {
  const int row = FlatListBox1->currentRow();
  if (row < 0 || !FlatListBox1->item(row)->isSelected()) return;
  if (!UserDict.Delete(row)) return;
  fillingList_ = true;
  delete FlatListBox1->takeItem(row);
  // As after any deletion, no line is selected: a second press of Delete
  // removes nothing until the user chooses a line.
  FlatListBox1->setCurrentRow(-1);
  FlatListBox1->clearSelection();
  fillingList_ = false;
  if (changed_) changed_();
}

void TForm6::FlatButton4Click() { accept(); }

}  // namespace kirvale::app
