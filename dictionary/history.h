// The two memories of the main window's searches.
//
// HistoryList: every text the user has searched for, in the order of its
// first search, kept across runs in "history.txt" (one item per line, GBK,
// CR LF). The main window's drop-down list ListBox1 shows these items.
//
// NavigationPath: the texts of this run's successful searches, walked with
// Back and Forward. It is append-only and never saved.
//
// SearchSession ties both to the search: what enters the history, when the
// path grows, and the navigation flag that marks a search started by Back or
// Forward.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::dictionary {

// The history file's name in the program folder.
inline constexpr const char* kHistoryFile = "history.txt";

class HistoryList {
 public:
  // Appends the (already trimmed) text as the last item unless an item
  // equals it ignoring ASCII letter case, or the text is empty. Line breaks
  // inside it become blanks. Returns whether the text was appended.
  bool Add(std::string_view trimmedText);

  // Empties the list; the file goes at the next Save.
  void Clear();

  const std::vector<std::string>& items() const { return items_; }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

  // Replaces the items by the lines of the file, unchanged and in order (no
  // de-duplication, no trimming). CR LF, LF and a lone CR all end a line. A
  // missing file gives an empty list. When the file exists but cannot be
  // read, returns false with the reason in `error`, keeps the items as they
  // were, and refuses to overwrite that file at Save, so that a history the
  // program could not read is never replaced by a shorter one.
  //
  // A line whose bytes are not valid GBK is shown with U+FFFD in place of
  // each bad byte; its original bytes are kept and written back by Save.
  bool Load(const std::string& path, std::string* error);

  // With at least one item: writes every item, one per line ending in CR LF,
  // GBK, through a temporary file renamed over the old one. With no items:
  // deletes the file if it exists. Returns false with the reason in `error`
  // when the file cannot be written or deleted; the old file is then left
  // as it was.
  bool Save(const std::string& path, std::string* error) const;

 private:
  std::vector<std::string> items_;
  // Original bytes of loaded lines that do not survive a round trip through
  // the codec, by item index. Items are only ever appended or all cleared,
  // so the indexes stay valid.
  std::map<std::size_t, std::string> rawLines_;
  // The file that existed but could not be read by Load.
  std::string unreadablePath_;
};

class NavigationPath {
 public:
  // Empty, count 0, position 0.
  void Reset();

  // Appends the text after all elements (even after stepping back);
  // count = count + 1, position = count.
  void Append(std::string text);

  // If count > 0 and position > 1: position = position - 1, and returns the
  // element now at the position. Otherwise nothing changes.
  std::optional<std::string> Back();
  // If count > 0 and position < count: position = position + 1, and returns
  // the element now at the position. Otherwise nothing changes.
  std::optional<std::string> Forward();

  const std::vector<std::string>& elements() const { return elements_; }
  int count() const { return static_cast<int>(elements_.size()); }
  // 1-based index of the element shown last; 0 while the path is empty.
  int position() const { return position_; }

 private:
  std::vector<std::string> elements_;
  int position_ = 0;
};

// The bookkeeping the main window's search does around the lookup.
//
//   search:    text = trimmed input; if empty stop;
//              if (session.SearchStarted(text)) ListBox1 gains the item;
//              ... lookup ...
//              session.SearchEnded(text, found);
//   Back:      if (auto t = session.Back()) { input box = *t;
//                  clear the list-selection flag; search; }
//   Forward:   likewise with session.Forward().
class SearchSession {
 public:
  HistoryList& history() { return history_; }
  const HistoryList& history() const { return history_; }
  const NavigationPath& path() const { return path_; }

  // Start-up: the path empties and the navigation flag clears. The history
  // is left alone (it is loaded separately).
  void ResetPath();

  // A search of a non-empty trimmed text starts: the text enters the
  // history unless an item equals it ignoring letter case. Returns whether
  // the history gained an item.
  bool SearchStarted(std::string_view trimmedText);

  // The search ended. A found text is appended to the path unless the
  // search was started by Back or Forward. The navigation flag clears
  // either way.
  void SearchEnded(std::string_view trimmedText, bool found);

  // Steps back or forward in the path. When there is a step to take, sets
  // the navigation flag and returns the text to search; at the ends
  // returns nothing and changes nothing.
  std::optional<std::string> Back();
  std::optional<std::string> Forward();

  // True from Back/Forward until the search it started ends.
  bool navigating() const { return navigating_; }

 private:
  HistoryList history_;
  NavigationPath path_;
  bool navigating_ = false;
};

}  // namespace kirvale::dictionary
