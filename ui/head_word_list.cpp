#include "ui/head_word_list.h"

namespace kirvale::ui {

void HeadWordModel::Bind(const dictionary::DictionaryReader* reader, dictionary::IndexKey key) {
  beginResetModel();
  reader_ = reader;
  key_ = key;
  endResetModel();
}

int HeadWordModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !reader_) return 0;
  return static_cast<int>(reader_->size());
}

QString HeadWordModel::text(int row) const {
  if (!reader_ || row < 0 || static_cast<std::size_t>(row) >= reader_->size()) return {};
  const std::string_view t = dictionary::KeyOf(key_, reader_->line(static_cast<std::size_t>(row)));
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QVariant HeadWordModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return text(index.row());
}

HeadWordList::HeadWordList(QWidget* parent) : QListView(parent), model_(new HeadWordModel(this)) {
  setModel(model_);
  // Every row is one line of the same font: the view measures one row, not
  // thirty thousand.
  setUniformItemSizes(true);
  setSelectionMode(SingleSelection);
  setEditTriggers(NoEditTriggers);
  connect(this, &QListView::clicked, this, [this](const QModelIndex& i) { emit rowClicked(i.row()); });
  connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& i) { emit rowDoubleClicked(i.row()); });
}

void HeadWordList::Bind(const dictionary::DictionaryReader* reader, dictionary::IndexKey key) {
  model_->Bind(reader, key);
}

int HeadWordList::count() const { return model_->rowCount(); }

QString HeadWordList::text(int row) const { return model_->text(row); }

int HeadWordList::currentRow() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() : -1;
}

QString HeadWordList::currentText() const { return text(currentRow()); }

void HeadWordList::setCurrentRow(int row) {
  const QModelIndex i = model_->index(row, 0);
  if (!i.isValid()) {
    selectionModel()->clear();
    return;
  }
  selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
}

QRect HeadWordList::rowRect(int row) const { return visualRect(model_->index(row, 0)); }

void HeadWordList::scrollToRow(int row, ScrollHint hint) {
  const QModelIndex i = model_->index(row, 0);
  if (i.isValid()) scrollTo(i, hint);
}

int HeadWordList::findRow(const QString& text) const {
  for (int row = 0, n = count(); row < n; ++row)
    if (model_->text(row) == text) return row;
  return -1;
}

int HeadWordList::rowAt(const QPoint& point) const {
  const QModelIndex i = indexAt(point);
  return i.isValid() ? i.row() : -1;
}

}  // namespace kirvale::ui
