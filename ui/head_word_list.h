// The main window's head-word lists: a view straight over a dictionary
// reader's lines. Each row's text is cut from its line when the row is
// painted, so a list of 30,000 words costs no objects of its own.
#pragma once

#include <QAbstractListModel>
#include <QListView>

#include "dictionary/dictionary_reader.h"
#include "dictionary/line_index.h"

namespace kirvale::ui {

class HeadWordModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;

  // Shows `key` of every line of `reader` (which must outlive the model or
  // be unbound with Bind(nullptr, ...)); nullptr empties the model.
  void Bind(const dictionary::DictionaryReader* reader, dictionary::IndexKey key);
  QString text(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const dictionary::DictionaryReader* reader_ = nullptr;
  dictionary::IndexKey key_ = dictionary::IndexKey::JapaneseItem;
};

class HeadWordList : public QListView {
  Q_OBJECT
 public:
  explicit HeadWordList(QWidget* parent = nullptr);

  void Bind(const dictionary::DictionaryReader* reader, dictionary::IndexKey key);

  int count() const;
  QString text(int row) const;
  // -1 and "" when no row is current.
  int currentRow() const;
  QString currentText() const;
  // Makes `row` current and selects it alone; -1 clears both.
  void setCurrentRow(int row);
  QRect rowRect(int row) const;
  void scrollToRow(int row, ScrollHint hint = EnsureVisible);
  // The first row showing exactly `text`, -1 when none does.
  int findRow(const QString& text) const;
  // The row under a point of the viewport, -1 below the last.
  int rowAt(const QPoint& point) const;

 signals:
  void rowClicked(int row);
  void rowDoubleClicked(int row);

 private:
  HeadWordModel* model_;
};

}  // namespace kirvale::ui
