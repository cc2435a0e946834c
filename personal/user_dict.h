// My Dictionary's list of lines, "userdict.dic" on disk.
//
// Each line is an EntryLine whose head word is followed by blanks up to 21
// GBK bytes (at least one), then " [kana] " when there is a kana reading,
// then "/(abbreviation)English" and "//(Chinese name)Chinese/" with the marks
// of the chosen part of speech, or the placeholders for an empty definition.
// The key of a line is its text before the first blank: the head word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/codec.h"

namespace kirvale::personal {

inline constexpr const char* kUserDictFile = "userdict.dic";
// Where a file that could not be read back faithfully is kept before it is
// replaced.
inline constexpr const char* kUserDictBackupFile = "userdict.dic.bak";

// Positions are signed 16-bit: the list holds at most this many lines.
inline constexpr std::size_t kMaxUserLines = 32767;

// The two lists the part-of-speech table is built from; the row index is
// the same in both.
inline constexpr const char* kPartOfSpeechAbbreviations = "abbr,adj,adv,adj-na,aux-v,conj,exp,n,v1,v5,vi,vt,other";
inline constexpr const char* kPartOfSpeechNames =
    "缩,形,副,形动,助动,接续,表达式,名,一段动词,五段动词,不及物动词,及物动词,其他";

// What an empty definition box becomes in a line.
inline constexpr const char* kEnglishPlaceholder = "/※The user did not give an English definition.";
inline constexpr const char* kChinesePlaceholder = "//※用户没有给出词条的中文解释。/";

struct PartOfSpeech {
  std::string abbreviation;
  std::string chineseName;
};
using PartOfSpeechTable = std::vector<PartOfSpeech>;

// Pairs the comma-separated items of the two lists, row by row (as many rows
// as the shorter list has items).
PartOfSpeechTable BuildPartOfSpeechTable(std::string_view abbreviations, std::string_view chineseNames);

// The editing area's fields. `partOfSpeech` is a table row, or -1 for none.
struct UserEntryFields {
  std::string headWord;
  std::string kana;
  std::string chinese;
  std::string english;
  int partOfSpeech = 0;
};

// The line Add builds from the fields, each field trimmed and with line
// breaks and other control characters inside it turned into blanks (a line
// of the file can hold no line break). The part-of-speech row must be valid
// when a definition is given.
std::string UserDictLine(const UserEntryFields& fields, const PartOfSpeechTable& table);

// What selecting a line puts into the editing area: head word, kana, the
// definitions without their leading "(mark)" (a placeholder shows as an empty
// box), and the row whose abbreviation equals the English mark, compared
// without regard to letter case (-1 when there is none).
UserEntryFields FieldsOfLine(std::string_view line, const PartOfSpeechTable& table);

// A line of the file as loading puts it into the list: the head word
// re-padded, then the rest of the line after the head word, trimmed.
std::string LoadedLine(std::string_view fileLine);

// True when the line, in the list now and after the next start, gives back
// the fields it was built from: the head word and kana hold no "[", "]" or
// "/", and the definitions nothing that would be read as a separator.
bool ReadsBackAsTyped(const UserEntryFields& fields, std::string_view line, const PartOfSpeechTable& table);

// The head word followed by blanks up to 21 GBK bytes, or by one blank when
// it is 20 bytes or longer, so that the key of its line stays the head word.
std::string PadHeadWord(std::string_view headWord);

// The key of a line: its text before the first blank (empty without one).
std::string_view LineKey(std::string_view line);

struct UserDictLoad {
  bool ok = true;             // false: the file exists but could not be read
  bool lossy = false;         // bytes that are not GBK text: written back they
                              // would not be the bytes the user had
  std::size_t overflow = 0;   // lines past kMaxUserLines, kept aside
  std::string error;          // the system's text when !ok
};

using UserDictSave = text::ListSave;

enum class EditResult {
  Ignored,         // empty head word: nothing happens, nothing is said
  AlreadyExists,   // Add found the head word
  IsNew,           // Update did not find the head word
  NoPartOfSpeech,  // a definition is given but no part of speech is chosen
  Full,            // the list already holds kMaxUserLines lines
  Unstorable,      // the line would not read back as typed
  Appended,
  Replaced,
};

struct EditOutcome {
  EditResult result = EditResult::Ignored;
  int position = -1;  // the line added or replaced
};

class UserDictionary {
 public:
  // Reads the file: blank lines are dropped; every other line is parsed, its
  // head word re-padded and followed by the rest of the line, trimmed. Lines
  // past kMaxUserLines are kept aside, unchanged, and written back by Save. A
  // missing file leaves the list as it is; an unreadable one too.
  UserDictLoad Load(const std::string& path);
  // Writes the lines (and the lines kept aside) through a temporary file and
  // a rename, or deletes the file when there is nothing to write. With
  // `keepOriginalAs`, the file as it is now is first renamed to that name.
  UserDictSave Save(const std::string& path, const std::string& keepOriginalAs = {}) const;

  // Position of the first line whose key equals `word` exactly, or -1.
  std::int16_t FindUserEntry(std::string_view word) const;

  // Add appends the line built from the fields, or, when an Update is
  // pending, puts it in the place of the line with the same head word. Every
  // Add ends the pending Update, whatever its result.
  EditOutcome Add(const UserEntryFields& fields, const PartOfSpeechTable& table);
  // Replaces the line with the same head word through Add.
  EditOutcome Update(const UserEntryFields& fields, const PartOfSpeechTable& table);
  // Removes the line at `position`; false when there is none.
  bool Delete(int position);
  bool updatePending() const { return updatePending_; }

  const std::vector<std::string>& lines() const { return lines_; }
  std::vector<std::string>& lines() { return lines_; }
  // Lines of the file past kMaxUserLines.
  const std::vector<std::string>& overflow() const { return overflow_; }

 private:
  std::vector<std::string> lines_;
  std::vector<std::string> overflow_;
  bool updatePending_ = false;
};

}  // namespace kirvale::personal
