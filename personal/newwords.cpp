#include "personal/newwords.h"
#include "ui/widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/autosave.h"
#include "ui/globals.h"
#include "ui/images.h"
#include "ui/presenter.h"
#include "settings/messages.h"

namespace kirvale::app {
using namespace kirvale::ui;
namespace {



constexpr int kColumnWidth = 99;
constexpr int kWordLabelLeft = 10;

// The fixed texts that the window sets itself, by UiLanguage.
struct FixedTexts {
  const char* tabs[3];
  const char* columns[4];
  const char* font;
  int pointSize;
};
constexpr FixedTexts kEnglishTexts{{"All", "Scan", "Exercise"}, {"Japanese", "Kana", "Chinese", "English"}, "Arial", 8};
constexpr FixedTexts kChineseTexts{{"全部", "浏览", "练习"}, {"日语", "假名", "中文", "英语"}, "宋体", 10};
const FixedTexts& fixedTexts(std::int16_t language) { return language == 0 ? kEnglishTexts : kChineseTexts; }

// A tool tip that shows the user's text as it is, never as markup.
QString plainToolTip(const QString& text) {
  return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}

}  // namespace

void ClickPanel::mousePressEvent(QMouseEvent* e) {
  QFrame::mousePressEvent(e);
  emit clicked();
}

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
  SetUpFixedDialog(this, "TForm9", 206, "生词本", QSize(432, 330));
  buildControls();
  applyTabLayout(0);
}

TForm9::~TForm9() = default;

void TForm9::buildControls() {
  FlatTabControl1 = named(new QTabBar(this), "FlatTabControl1");
  for (const char* caption : kChineseTexts.tabs) FlatTabControl1->addTab(u8(caption));
  FlatTabControl1->setExpanding(false);
  FlatTabControl1->setDrawBase(true);
  FlatTabControl1->setFocusPolicy(Qt::NoFocus);
  FlatTabControl1->setGeometry(6, 6, 420, 26);

  // All: the rows.
  ListView1 = named(new QTableWidget(0, 4, this), "ListView1", 113);
  ListView1->setToolTip(u8("双击删除"));
  ListView1->setGeometry(6, 32, 420, 262);
  ListView1->setShowGrid(true);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setWordWrap(false);
  ListView1->setTextElideMode(Qt::ElideRight);
  ListView1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  ListView1->verticalHeader()->hide();
  ListView1->verticalHeader()->setDefaultSectionSize(20);
  ListView1->horizontalHeader()->setHighlightSections(false);
  ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  ListView1->horizontalHeader()->setMinimumSectionSize(20);
  {
    QStringList captions;
    for (const char* c : kChineseTexts.columns) captions << u8(c);
    ListView1->setHorizontalHeaderLabels(captions);
  }
  for (int c = 0; c < 4; ++c) ListView1->setColumnWidth(c, kColumnWidth);
  connect(ListView1, &QTableWidget::itemChanged, this, &TForm9::listItemChanged);
  connect(ListView1, &QTableWidget::doubleClicked, this, [this] { ListView1DblClick(); });

  // Scan: the scrolling word on a coloured panel, the meaning beside it.
  FlatPanel1 = named(new ClickPanel(this), "FlatPanel1");
  FlatPanel1->setGeometry(6, 32, 420, 200);
  FlatPanel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  FlatPanel1->setAutoFillBackground(true);
  FlatPanel1->setBackgroundRole(QPalette::Highlight);
  connect(FlatPanel1, &ClickPanel::clicked, this, &TForm9::FlatPanel1Click);

  Label1 = named(new QLabel(FlatPanel1), "Label1");
  Label1->setTextFormat(Qt::PlainText);
  Label1->setFont(DesignFont(27));
  Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
  Label1->setAutoFillBackground(false);
  Label1->setStyleSheet("QLabel{color:white;background:transparent;}");
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setGeometry(kWordLabelLeft, personal::kScanLabelStart, 230, 30);

  FlatMemo1 = named(new QTextEdit(FlatPanel1), "FlatMemo1");
  FlatMemo1->setReadOnly(true);
  FlatMemo1->setAcceptRichText(false);
  FlatMemo1->setGeometry(248, 10, 162, 180);

  FlatButton2 = named(new QPushButton(u8("开始"), this), "FlatButton2", 207);
  FlatButton2->setGeometry(6, 238, 75, 24);
  connect(FlatButton2, &QPushButton::clicked, this, &TForm9::FlatButton2Click);
  Flatbutton5 = named(new QPushButton(u8("暂停"), this), "Flatbutton5", 208);
  Flatbutton5->setGeometry(87, 238, 75, 24);
  connect(Flatbutton5, &QPushButton::clicked, this, &TForm9::Flatbutton5Click);

  Timer1 = named(new QTimer(this), "Timer1");
  Timer1->setInterval(1);  // the design value; the `speed` setting replaces it
  connect(Timer1, &QTimer::timeout, this, &TForm9::Timer1Timer);

  // Exercise: three hint boxes and the input group. Layouts keep the
  // contents inside each box's frame, below its caption, in every style.
  FlatGroupBox1 = named(new QGroupBox(u8("假名"), this), "FlatGroupBox1", 209);
  FlatGroupBox1->setGeometry(6, 32, 420, 48);
  Label3 = named(new QLabel(FlatGroupBox1), "Label3");
  Label3->setTextFormat(Qt::PlainText);
  Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* kanaLayout = new QVBoxLayout(FlatGroupBox1);
  kanaLayout->setContentsMargins(8, 0, 8, 2);
  kanaLayout->addWidget(Label3);

  auto hintBox = [this](const char* caption, const char* boxName, int tag, const char* memoName, int top,
                        QTextEdit*& memo) {
    auto* box = named(new QGroupBox(u8(caption), this), boxName, tag);
    box->setGeometry(6, top, 420, 56);
    memo = named(new QTextEdit(box), memoName);
    memo->setReadOnly(true);
    memo->setAcceptRichText(false);
    memo->setFrameStyle(QFrame::NoFrame);
    memo->viewport()->setAutoFillBackground(false);
    memo->document()->setDocumentMargin(2);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 0, 4, 2);
    layout->addWidget(memo);
    return box;
  };
  FlatGroupBox2 = hintBox("中文", "FlatGroupBox2", 210, "FlatMemo2", 82, FlatMemo2);
  FlatGroupBox3 = hintBox("英语", "FlatGroupBox3", 211, "FlatMemo3", 140, FlatMemo3);

  FlatGroupBox4 = named(new QGroupBox(u8("输入"), this), "FlatGroupBox4", 212);
  FlatGroupBox4->setGeometry(6, 198, 420, 96);
  FlatEdit1 = named(new QLineEdit(FlatGroupBox4), "FlatEdit1", 114);
  FlatEdit1->setToolTip(u8("回车确认"));
  FlatEdit1->setFixedSize(220, 24);
  FlatEdit1->installEventFilter(this);
  Image1 = named(new QLabel(FlatGroupBox4), "Image1", 115);
  Image1->setToolTip(u8("正确"));
  Image1->setPixmap(GlyphIcon(Glyph::Correct, 24).pixmap(24, 24));
  Image1->setFixedSize(24, 24);
  Image1->hide();
  // The sign's place stays reserved while it is hidden.
  QSizePolicy keep = Image1->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  Image1->setSizePolicy(keep);
  FlatButton3 = named(new QToolButton(FlatGroupBox4), "FlatButton3", 116);
  FlatButton3->setToolTip(u8("作弊"));
  FlatButton3->setIcon(GlyphIcon(Glyph::Cheat));
  FlatButton3->setFocusPolicy(Qt::NoFocus);
  FlatButton3->setFixedSize(26, 26);
  connect(FlatButton3, &QToolButton::clicked, this, &TForm9::FlatButton3Click);
  FlatButton4 = named(new QToolButton(FlatGroupBox4), "FlatButton4", 117);
  FlatButton4->setToolTip(u8("成绩"));
  FlatButton4->setIcon(GlyphIcon(Glyph::Mark));
  FlatButton4->setFocusPolicy(Qt::NoFocus);
  FlatButton4->setFixedSize(26, 26);
  connect(FlatButton4, &QToolButton::clicked, this, &TForm9::FlatButton4Click);
  Label2 = named(new QLabel(FlatGroupBox4), "Label2");
  Label2->setTextFormat(Qt::PlainText);
  Label2->setFont(DesignFont(27));
  Label2->setFixedHeight(40);
  Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* inputLayout = new QGridLayout(FlatGroupBox4);
  inputLayout->setContentsMargins(8, 2, 8, 2);
  inputLayout->setHorizontalSpacing(6);
  inputLayout->setVerticalSpacing(2);
  inputLayout->addWidget(FlatEdit1, 0, 0);
  inputLayout->addWidget(Image1, 0, 1);
  inputLayout->setColumnStretch(2, 1);
  inputLayout->addWidget(FlatButton3, 0, 3);
  inputLayout->addWidget(FlatButton4, 0, 4);
  inputLayout->addWidget(Label2, 1, 0, 1, 5);

  FlatButton1 = named(new QPushButton(u8("关闭"), this), "FlatButton1", 213);
  FlatButton1->setGeometry(351, 300, 75, 24);
  connect(FlatButton1, &QPushButton::clicked, this, &TForm9::FlatButton1Click);

  // Enter belongs to the answer field, never to a default button.
  for (QPushButton* b : {FlatButton1, FlatButton2, Flatbutton5}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  connect(FlatTabControl1, &QTabBar::currentChanged, this, &TForm9::FlatTabControl1TabChanged);
}

// ------------------------------------------------------------------ rows

void TForm9::FormCreate() {
  const personal::LoadOutcome in = personal::LoadNotebook(personal::kNotebookFile, notebook_);
  fillingList_ = true;
  ListView1->setRowCount(0);
  for (int r = 0; r < notebook_.size(); ++r) appendListRow(r);
  fillingList_ = false;
  const std::int16_t lang = UiLanguage();
  if (!in.ok) {
    keepOriginal_ = true;
    Presenter::error(this, u8(settings::msg::kNotebookUnreadable.in(lang)) + u8(in.error) +
                               u8(settings::msg::kNotebookKept.in(lang)));
  } else if (in.lossy) {
    keepOriginal_ = true;
    Presenter::info(this, u8(settings::msg::kNotebookNotGbk.in(lang)) + u8(settings::msg::kNotebookKept.in(lang)));
  }
  // Each change reaches the disk a few seconds later, not only at exit.
  delete autosave_;
  autosave_ = new Autosave([this](std::string* error) { return writeFile(error); },
                           [this](const std::string& error) {
                             Presenter::error(this, u8(settings::msg::kNotebookNotSaved.in(UiLanguage())) + u8(error));
                           },
                           this);
}

bool TForm9::writeFile(std::string* error) {
  const personal::SaveOutcome out = personal::SaveNotebook(
      personal::kNotebookFile, notebook_, keepOriginal_ ? personal::kNotebookBackupFile : std::string());
  if (out.ok) {
    keepOriginal_ = false;
    return true;
  }
  if (error) *error = out.error;
  return false;
}

void TForm9::Save() {
  if (autosave_) autosave_->cancel();
  std::string error;
  if (!writeFile(&error)) Presenter::error(this, u8(settings::msg::kNotebookNotSaved.in(UiLanguage())) + u8(error));
}

void TForm9::changed() {
  if (autosave_) autosave_->changed();
}

void TForm9::AddNewWord(const std::string& entryLine, int /*position*/) {
  const int row = notebook_.Add(entryLine);
  fillingList_ = true;
  appendListRow(row);
  fillingList_ = false;
  changed();
}

int TForm9::rowCount() const { return notebook_.size(); }

void TForm9::setScanInterval(int ms) { Timer1->setInterval(std::max(1, ms)); }

void TForm9::appendListRow(int row) {
  const personal::NotebookRow& r = notebook_.row(row);
  const int at = ListView1->rowCount();
  ListView1->insertRow(at);
  auto* head = new QTableWidgetItem(u8(r.headWord));
  head->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  head->setCheckState(r.ticked ? Qt::Checked : Qt::Unchecked);
  ListView1->setItem(at, 0, head);
  int column = 1;
  for (const std::string* text : {&r.kana, &r.chinese, &r.english}) {
    auto* item = new QTableWidgetItem(u8(*text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setToolTip(plainToolTip(u8(*text)));
    ListView1->setItem(at, column++, item);
  }
}

void TForm9::listItemChanged(QTableWidgetItem* item) {
  if (fillingList_ || item->column() != 0) return;
  notebook_.SetTicked(item->row(), item->checkState() == Qt::Checked);
  changed();
}

void TForm9::ListView1DblClick() {
  const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
  if (selected.isEmpty()) return;
  const int row = selected.first().row();
  if (personal::DeleteNeedsConfirmation(session_)) {
    if (!Presenter::confirm(this, u8(settings::msg::kStopScanning.in(UiLanguage())))) return;
    personal::StopScanForDeletion(session_);
    syncTimer();
  }
  notebook_.Remove(row);
  changed();
  ListView1->removeRow(row);
}

// ------------------------------------------------------------------ tabs

void TForm9::applyTabLayout(int index) {
  ListView1->setVisible(index == 0);
  for (QWidget* w : std::initializer_list<QWidget*>{FlatPanel1, FlatButton2, Flatbutton5}) w->setVisible(index == 1);
  for (QWidget* w : {FlatGroupBox1, FlatGroupBox2, FlatGroupBox3, FlatGroupBox4}) w->setVisible(index == 2);
}

void TForm9::FlatTabControl1TabChanged(int index) {
  applyTabLayout(index);
  if (index != 2) return;
  personal::ExercisePrompt prompt;
  if (!personal::EnterExercise(notebook_, session_, hints(), prompt)) return;
  Label1->clear();
  syncTimer();
  showPrompt(prompt);
}

void TForm9::relabel() {
  const std::int16_t lang = UiLanguage();
  const FixedTexts& t = fixedTexts(lang);
  QFont tabFont(u8(t.font));
  tabFont.setPointSize(t.pointSize);
  FlatTabControl1->setFont(tabFont);
  for (int i = 0; i < 3; ++i) FlatTabControl1->setTabText(i, u8(t.tabs[i]));
  QStringList captions;
  for (const char* c : t.columns) captions << u8(c);
  ListView1->setHorizontalHeaderLabels(captions);
  labelledLanguage_ = lang;
}

// ------------------------------------------------------------------ showing and closing

void TForm9::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TForm9::FormShow() {
  personal::ShowSession(session_);
  FlatTabControl1->setCurrentIndex(0);
  applyTabLayout(0);
  FlatMemo1->clear();
  FlatEdit1->clear();
  Label2->clear();
  Image1->hide();
  if (UiLanguage() != labelledLanguage_) relabel();
}

void TForm9::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TForm9::FormClose() {
  personal::CloseSession(session_);
  syncTimer();
  Label1->clear();
  placeWordLabel();
}

void TForm9::FlatButton1Click() { accept(); }

// ------------------------------------------------------------------ scan

void TForm9::syncTimer() {
  if (session_.timerRunning && !Timer1->isActive())
    Timer1->start();
  else if (!session_.timerRunning && Timer1->isActive())
    Timer1->stop();
}

void TForm9::placeWordLabel() { Label1->move(kWordLabelLeft, session_.labelTop); }

void TForm9::FlatButton2Click() {
  if (!personal::StartScan(notebook_, session_)) return;
  placeWordLabel();
  syncTimer();
}

void TForm9::Flatbutton5Click() {
  if (personal::PauseScan(session_)) syncTimer();
}

void TForm9::FlatPanel1Click() {
  personal::SkipScanWord(session_);
  placeWordLabel();
}

void TForm9::Timer1Timer() {
  const personal::ScanFrame frame = personal::ScanTick(notebook_, session_);
  placeWordLabel();
  if (!frame.newWord) return;
  Label1->setText(u8(frame.word));
  FlatMemo1->setPlainText(u8(frame.meaning));
}

// ------------------------------------------------------------------ exercise

personal::HintChoice TForm9::hints() const {
  return personal::HintChoice{Settings.givepron == 1, Settings.givechin == 1, Settings.giveeng == 1};
}

void TForm9::showPrompt(const personal::ExercisePrompt& prompt) {
  if (prompt.showKana) Label3->setText(u8(prompt.kana));
  if (prompt.showChinese) FlatMemo2->setPlainText(u8(prompt.chinese));
  if (prompt.showEnglish) FlatMemo3->setPlainText(u8(prompt.english));
  FlatEdit1->clear();
  Label2->clear();
  Image1->hide();
  FlatEdit1->setFocus();
}

bool TForm9::eventFilter(QObject* watched, QEvent* e) {
  if (watched == FlatEdit1 && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      FlatEdit1KeyPress('\r');
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void TForm9::FlatEdit1KeyPress(char key) {
  if (key != '\r') return;
  const QByteArray typed = FlatEdit1->text().toUtf8();
  const personal::EnterOutcome out = personal::ExerciseEnter(
      notebook_, session_, std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())), hints());
  switch (out.kind) {
    case personal::EnterOutcome::Judged:
      if (out.correct) {
        Image1->show();
      } else {
        Image1->hide();
        Label2->setText(u8(out.expected));
      }
      break;
    case personal::EnterOutcome::Asked:
      showPrompt(out.prompt);
      break;
    case personal::EnterOutcome::Nothing:
      break;
  }
}

void TForm9::FlatButton3Click() { Presenter::message(this, u8(personal::CheatText(session_, UiLanguage()))); }

void TForm9::FlatButton4Click() {
  Presenter::message(this, u8(personal::MarkMessage(session_.correct, session_.presented, UiLanguage())));
}

}  // namespace kirvale::app
