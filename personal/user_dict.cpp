#include "personal/user_dict.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "dictionary/entry_line.h"
#include "text/codec.h"

namespace kirvale::personal {
namespace {

using text::systemError;

std::vector<std::string> splitList(std::string_view list) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    items.emplace_back(list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return items;
}

// A field as it goes into a line: trimmed, and one line whatever was typed
// or pasted into a multi-line box.
std::string field(std::string_view s) {
  std::string out = text::trim(s);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  return out;
}

// The text after a leading "(mark)", or the text itself without one.
std::string_view withoutMark(std::string_view s) {
  if (s.empty() || s.front() != '(') return s;
  const std::size_t close = s.find(')');
  return close == std::string_view::npos ? s : s.substr(close + 1);
}

}  // namespace

PartOfSpeechTable BuildPartOfSpeechTable(std::string_view abbreviations, std::string_view chineseNames) {
  const std::vector<std::string> a = splitList(abbreviations);
  const std::vector<std::string> c = splitList(chineseNames);
  PartOfSpeechTable table;
  for (std::size_t i = 0; i < std::min(a.size(), c.size()); ++i) table.push_back({a[i], c[i]});
  return table;
}

std::string PadHeadWord(std::string_view headWord) {
  std::string out(headWord);
  const std::size_t len = text::gbkLength(headWord);
  out.append(len < 20 ? 21 - len : 1, ' ');
  return out;
}

std::string_view LineKey(std::string_view line) {
  const std::size_t blank = line.find(' ');
  return blank == std::string_view::npos ? std::string_view() : line.substr(0, blank);
}

std::string UserDictLine(const UserEntryFields& f, const PartOfSpeechTable& table) {
  const std::string kana = field(f.kana);
  const std::string english = field(f.english);
  const std::string chinese = field(f.chinese);
  const bool marked = f.partOfSpeech >= 0 && static_cast<std::size_t>(f.partOfSpeech) < table.size();
  const PartOfSpeech none;
  const PartOfSpeech& pos = marked ? table[static_cast<std::size_t>(f.partOfSpeech)] : none;
  std::string line = PadHeadWord(field(f.headWord));
  if (!kana.empty()) line += " [" + kana + "] ";
  if (english.empty())
    line += kEnglishPlaceholder;
  else
    line += "/(" + pos.abbreviation + ")" + english;
  if (chinese.empty())
    line += kChinesePlaceholder;
  else
    line += "//(" + pos.chineseName + ")" + chinese + "/";
  return line;
}

UserEntryFields FieldsOfLine(std::string_view line, const PartOfSpeechTable& table) {
  // The head word is the text before "[" (or "/"), trimmed: a head word with
  // a blank inside stays whole.
  const dictionary::DictionaryEntry e = dictionary::ParseEntryLine(line);
  UserEntryFields f;
  f.headWord = e.headWord;
  f.kana = e.kana;
  // kEnglishPlaceholder / kChinesePlaceholder as ParseEntryLine returns them.
  const std::string_view englishPlaceholder = std::string_view(kEnglishPlaceholder).substr(1);
  const std::string_view chinesePlaceholderLine(kChinesePlaceholder);
  const std::string_view chinesePlaceholder = chinesePlaceholderLine.substr(2, chinesePlaceholderLine.size() - 3);
  f.english = e.english == englishPlaceholder ? std::string() : std::string(withoutMark(e.english));
  f.chinese = e.chinese == chinesePlaceholder ? std::string() : std::string(withoutMark(e.chinese));
  f.partOfSpeech = -1;
  if (!e.english.empty() && e.english.front() == '(') {
    const std::size_t close = e.english.find(')');
    if (close != std::string::npos) {
      const std::string mark = e.english.substr(1, close - 1);
      for (std::size_t row = 0; row < table.size(); ++row)
        if (text::equalsIgnoringAsciiCase(table[row].abbreviation, mark)) {
          f.partOfSpeech = static_cast<int>(row);
          break;
        }
    }
  }
  return f;
}

std::string LoadedLine(std::string_view fileLine) {
  const std::string head = dictionary::ParseEntryLine(fileLine).headWord;
  // The rest of the line after the head word. The head word is the line's
  // start less blanks in front, so a hand-edited line with blanks before its
  // head word keeps the head word whole.
  std::string_view rest(fileLine);
  while (!rest.empty() && static_cast<unsigned char>(rest.front()) <= 32) rest.remove_prefix(1);
  rest.remove_prefix(std::min(head.size(), rest.size()));
  return PadHeadWord(head) + text::trim(rest);
}

bool ReadsBackAsTyped(const UserEntryFields& fields, std::string_view line, const PartOfSpeechTable& table) {
  const std::string english = field(fields.english);
  for (const std::string& l : {std::string(line), LoadedLine(line)}) {
    const UserEntryFields back = FieldsOfLine(l, table);
    if (back.headWord != field(fields.headWord) || back.kana != field(fields.kana) || back.english != english ||
        back.chinese != field(fields.chinese))
      return false;
    if (!english.empty() && back.partOfSpeech != fields.partOfSpeech) return false;
  }
  return true;
}

UserDictLoad UserDictionary::Load(const std::string& path) {
  UserDictLoad out;
  std::string bytes;
  int err = 0;
  if (const text::FileRead read = text::readFileReporting(path, bytes, err); read != text::FileRead::Ok) {
    if (read == text::FileRead::Failed) {
      out.ok = false;
      out.error = systemError(err);
    }
    return out;
  }
  const std::string decoded = text::gbkToUtf8(bytes);
  out.lossy = text::utf8ToGbk(decoded) != bytes;
  lines_.clear();
  overflow_.clear();
  for (const std::string& line : text::splitLines(decoded)) {
    // A blank line holds nothing the user wrote.
    if (text::trim(line).empty()) continue;
    if (lines_.size() >= kMaxUserLines) {
      overflow_.push_back(line);
      continue;
    }
    lines_.push_back(LoadedLine(line));
  }
  out.overflow = overflow_.size();
  return out;
}

UserDictSave UserDictionary::Save(const std::string& path, const std::string& keepOriginalAs) const {
  std::vector<std::string> all;
  all.reserve(lines_.size() + overflow_.size());
  all.insert(all.end(), lines_.begin(), lines_.end());
  all.insert(all.end(), overflow_.begin(), overflow_.end());
  return text::SaveListFile(path, all, keepOriginalAs);
}

std::int16_t UserDictionary::FindUserEntry(std::string_view word) const {
  const std::size_t n = std::min(lines_.size(), kMaxUserLines);
  for (std::size_t i = 0; i < n; ++i)
    if (LineKey(lines_[i]) == word) return static_cast<std::int16_t>(i);
  return -1;
}

EditOutcome UserDictionary::Add(const UserEntryFields& fields, const PartOfSpeechTable& table) {
  // Whatever happens below, the Update that started this Add is over.
  const bool replace = updatePending_;
  updatePending_ = false;
  EditOutcome out;
  const std::string head = field(fields.headWord);
  if (head.empty()) return out;
  const int found = FindUserEntry(head);
  if (found >= 0 && !replace) {
    out.result = EditResult::AlreadyExists;
    return out;
  }
  if (replace && found < 0) {
    out.result = EditResult::IsNew;
    return out;
  }
  const bool defined = !field(fields.english).empty() || !field(fields.chinese).empty();
  if (defined && (fields.partOfSpeech < 0 || static_cast<std::size_t>(fields.partOfSpeech) >= table.size())) {
    out.result = EditResult::NoPartOfSpeech;
    return out;
  }
  if (!replace && lines_.size() >= kMaxUserLines) {
    out.result = EditResult::Full;
    return out;
  }
  const std::string line = UserDictLine(fields, table);
  if (!ReadsBackAsTyped(fields, line, table)) {
    out.result = EditResult::Unstorable;
    return out;
  }
  if (replace) {
    lines_[static_cast<std::size_t>(found)] = line;
    out.result = EditResult::Replaced;
    out.position = found;
  } else {
    lines_.push_back(line);
    out.result = EditResult::Appended;
    out.position = static_cast<int>(lines_.size()) - 1;
  }
  return out;
}

EditOutcome UserDictionary::Update(const UserEntryFields& fields, const PartOfSpeechTable& table) {
  const std::string head = field(fields.headWord);
  if (head.empty()) return {};
  if (FindUserEntry(head) < 0) return {EditResult::IsNew, -1};
  updatePending_ = true;
  return Add(fields, table);
}

bool UserDictionary::Delete(int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= lines_.size()) return false;
  lines_.erase(lines_.begin() + position);
  return true;
}

}  // namespace kirvale::personal
