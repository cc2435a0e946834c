#include "dictionary/history.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "text/codec.h"

namespace kirvale::dictionary {

namespace fs = std::filesystem;

// ------------------------------------------------------------ HistoryList

bool HistoryList::Add(std::string_view trimmedText) {
  // One item is one line of the file: a line break inside the text would
  // come back as two items.
  const std::string item = text::searchText(trimmedText);
  if (item.empty()) return false;
  for (const std::string& existing : items_)
    if (text::equalsIgnoringAsciiCase(existing, item)) return false;
  items_.push_back(item);
  return true;
}

void HistoryList::Clear() {
  items_.clear();
  rawLines_.clear();
}

bool HistoryList::Load(const std::string& path, std::string* error) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (st.type() == fs::file_type::not_found) {
    Clear();
    unreadablePath_.clear();
    return true;
  }
  auto fail = [&](const std::string& reason) {
    unreadablePath_ = path;
    if (error) *error = path + ": " + reason;
    return false;
  };
  if (ec) return fail(ec.message());
  if (st.type() != fs::file_type::regular) return fail("not a file");

  errno = 0;
  std::string bytes;
  if (!text::readFile(path, bytes)) return fail(errno ? std::strerror(errno) : "cannot be opened");

  std::vector<std::string> items;
  std::map<std::size_t, std::string> raw;
  // Line breaks are ASCII bytes that never occur inside a GBK or GB18030
  // character, so the raw bytes can be split before decoding.
  for (std::string& line : text::splitLines(bytes)) {
    std::string utf8 = text::gbkToUtf8(line);
    if (text::utf8ToGbk(utf8) != line) raw.emplace(items.size(), std::move(line));
    items.push_back(std::move(utf8));
  }
  items_ = std::move(items);
  rawLines_ = std::move(raw);
  unreadablePath_.clear();
  return true;
}

bool HistoryList::Save(const std::string& path, std::string* error) const {
  auto fail = [&](const std::string& reason) {
    if (error) *error = path + ": " + reason;
    return false;
  };
  if (!unreadablePath_.empty() && unreadablePath_ == path)
    return fail("not written, because the file could not be read at start and would have been replaced");

  if (items_.empty()) {
    std::error_code ec;
    fs::remove(path, ec);  // false without error when there is no file
    if (ec) return fail(ec.message());
    return true;
  }

  std::string bytes;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    auto raw = rawLines_.find(i);
    bytes += raw != rawLines_.end() ? raw->second : text::utf8ToGbk(items_[i]);
    bytes += "\r\n";
  }
  errno = 0;
  if (!text::writeFileAtomically(path, bytes))
    return fail(errno ? std::strerror(errno) : "cannot be written");
  return true;
}

// ------------------------------------------------------------ NavigationPath

void NavigationPath::Reset() {
  elements_.clear();
  position_ = 0;
}

void NavigationPath::Append(std::string text) {
  elements_.push_back(std::move(text));
  position_ = count();
}

std::optional<std::string> NavigationPath::Back() {
  if (count() == 0 || position_ <= 1) return std::nullopt;
  --position_;
  return elements_[static_cast<std::size_t>(position_ - 1)];
}

std::optional<std::string> NavigationPath::Forward() {
  if (count() == 0 || position_ >= count()) return std::nullopt;
  ++position_;
  return elements_[static_cast<std::size_t>(position_ - 1)];
}

// ------------------------------------------------------------ SearchSession

void SearchSession::ResetPath() {
  path_.Reset();
  navigating_ = false;
}

bool SearchSession::SearchStarted(std::string_view trimmedText) { return history_.Add(trimmedText); }

void SearchSession::SearchEnded(std::string_view trimmedText, bool found) {
  if (found && !navigating_ && !trimmedText.empty()) path_.Append(std::string(trimmedText));
  navigating_ = false;
}

std::optional<std::string> SearchSession::Back() {
  std::optional<std::string> text = path_.Back();
  if (text) navigating_ = true;
  return text;
}

std::optional<std::string> SearchSession::Forward() {
  std::optional<std::string> text = path_.Forward();
  if (text) navigating_ = true;
  return text;
}

}  // namespace kirvale::dictionary
