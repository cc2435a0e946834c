// The capture pop-up's look-up: from a captured text to the lines it lists.
//
// Everything here is a pure function of its arguments (text in UTF-8, the
// dictionaries as lines), so that the pop-up, kirvale-cli, the benchmark and
// the fuzz harness all run the very same rules.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_reader.h"
#include "dictionary/english_candidates.h"

namespace kirvale::capture {

// The shared block between the hook library and the pop-up.
inline constexpr const char* kBlockName = "GetWord32 for 9x NT 2000";
inline constexpr std::size_t kBlockUsedBytes = 235;  // the program touches bytes 0..234
inline constexpr std::size_t kTargetOffset = 0;       // 4-byte handle of the pop-up
inline constexpr std::size_t kTextOffset = 134;       // the captured text
inline constexpr std::size_t kTextField = 101;        // its field, NUL-terminated when shorter
// The window message that announces a captured text or a pointer move.
inline constexpr std::uint32_t kCaptureMessage = 0x0872;
inline constexpr std::int64_t kNotifyPointer = 1;
inline constexpr std::int64_t kNotifyText = 2;

// The string whose width every candidate line wraps at.
inline constexpr const char* kMeasureText = "abcedefghijklmnopqrstuvwxyzabcde";

inline constexpr int kSlots = 5;
using Slots = std::array<std::string, kSlots>;

// ---------------------------------------------------------------- block text

// What the hook library writes into the text field for a selected text: the
// text in GBK, at most 100 bytes (the 101st is the NUL), never half a
// character; a character GBK cannot hold becomes "?".
std::string BlockFieldFromText(std::string_view utf8);

// The text the pop-up takes from the field (`field` holds the bytes from
// offset 134 on; only the first 101 count): up to the first NUL, decoded
// from GBK (a byte that does not decode becomes U+FFFD), trimmed.
std::string TextFromBlockField(std::string_view field);

// The block's fields (`block` holds at least kBlockUsedBytes bytes): the
// target handle, little-endian at offset 0, and the text field, which gets
// `field` (cut to 100 bytes) and NUL bytes after it.
std::uint32_t TargetHandle(const unsigned char* block);
void WriteTargetHandle(unsigned char* block, std::uint32_t handle);
void WriteBlockText(unsigned char* block, std::string_view field);

// ---------------------------------------------------------------- key and candidates

// The look-up key cut from a trimmed captured text: a leading run of ASCII
// letters, digits, "-" and "'" when the text starts with an ASCII byte;
// otherwise at most five characters up to one of "，。！？（）《》—、…" or a
// character that is a single byte below 127 in GBK (ASCII, or not in GBK).
std::string CaptureKey(std::string_view text);

// Japanese when the key's first character is 127 or above.
bool IsJapaneseKey(std::string_view key);

// Candidates 1..5. Japanese: candidate k is the key's last k characters (the
// whole key when it is shorter). English: the key, its lower-case form when
// that differs, the stem left by the first matching suffix and, for the
// first ten suffixes, the stem + "e". Candidates not built stay empty.
Slots Candidates(std::string_view key, bool japanese, const dictionary::SuffixTable& table);

// ---------------------------------------------------------------- search

// The head word as the pop-up sees it: text before the first space
// (Japanese) or before the first comma (English); empty when there is none.
std::string_view JapaneseHeadWord(std::string_view line);
std::string_view EnglishHeadWord(std::string_view line);

// Japanese scan: each line goes to the lowest-numbered open candidate its
// head word begins with; a line never serves two candidates. Only the
// leading run of non-empty candidates takes part.
Slots SearchJapanese(const std::vector<std::string>& lines, const Slots& candidates);

// English scan: exact head-word matches per candidate, plus a fallback line
// (the first case-insensitive match, or the first space-free head word that
// sorts after candidate 1) that becomes result 1 when results 1..4 are all
// empty. The scan ends when none of candidates 1..4 is left open.
Slots SearchEnglish(const std::vector<std::string>& lines, const Slots& candidates);

// The same two searches answered from the reader's indexes: identical
// results, without the pass (the scans above are their reference).
Slots FindJapanese(const dictionary::DictionaryReader& reader, const Slots& candidates);
Slots FindEnglish(const dictionary::DictionaryReader& reader, const Slots& candidates);

// ---------------------------------------------------------------- scores and order

// -1 when the head word equals the non-empty candidate exactly; otherwise
// the number of leading characters they share, ASCII letters compared
// without case.
int MatchScore(std::string_view candidate, std::string_view headWord);

// Display order (0-based candidate numbers): by selection, highest score
// first, -1 above every other value, equal scores -> higher number first.
std::array<int, kSlots> DisplayOrder(const std::array<int, kSlots>& scores);

// ---------------------------------------------------------------- line texts

// "·" + head word + "," + the Chinese explanation (showwhat 1) or the
// English one (otherwise).
std::string JapaneseLineText(std::string_view line, std::int16_t showwhat);
// "·" + the whole line.
std::string EnglishLineText(std::string_view line);
// "·" + captured text + "," + "Not found!" / "没有找到！".
std::string NotFoundLineText(std::string_view capturedText, std::int16_t uiLanguage);
// The word of a marked line for search and read-aloud: its text up to the
// first comma without the leading dot; empty when there is no comma.
std::string MarkedLineWord(std::string_view lineText);

// ---------------------------------------------------------------- the whole look-up

struct PopupLookup {
  enum class Outcome {
    NoKey,       // the text gives no key: the pop-up does not change
    Unreadable,  // the dictionary is not there: the pop-up does not change
    Listed,      // at least one entry is listed
    NotFound,    // the not-found line is shown
  };
  Outcome outcome = Outcome::NoKey;
  bool japanese = false;
  std::string key;
  Slots candidates, results;
  std::array<int, kSlots> scores{};
  std::array<int, kSlots> order{};
  // Display lines 1..5: the text, or empty when the line stays hidden.
  std::array<std::string, kSlots> texts;
  std::array<bool, kSlots> visible{};
  // The dictionary line shown in each display line (SlotLines); empty ones
  // keep the pop-up's previous content.
  std::array<bool, kSlots> slotFilled{};
  Slots slotLines;
  bool shownAny = false;
  // 0-based index of the last line that received text.
  int lastLine = 0;
};

struct LookupOptions {
  std::int16_t match = 0;
  std::int16_t showwhat = 1;
  std::int16_t uiLanguage = 1;
};

// The look-up of a trimmed captured text on the two dictionaries.
PopupLookup LookUp(std::string_view text, const dictionary::DictionaryReader& japanese,
                   const dictionary::DictionaryReader& english, const dictionary::SuffixTable& table,
                   const LookupOptions& options);

// ---------------------------------------------------------------- window geometry

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
  Rect grown(int by) const { return {left - by, top - by, right + by, bottom + by}; }
};

// What a capture message does before any text is read.
struct MessageDecision {
  bool hide = false;      // hide the pop-up if it is showing
  bool readText = false;  // go on: read the block's text
};
MessageDecision DecideOnMessage(std::int64_t lParam, int pointerX, int pointerY, const Rect& mainWindow,
                                const Rect& popup, bool popupClosed, bool minimised, bool followCursor);

// Body background height and window height from the last filled line.
inline int BodyHeight(int lastTop, int lastHeight) { return lastTop + lastHeight - 12; }
inline int PopupHeight(int lastTop, int lastHeight) { return BodyHeight(lastTop, lastHeight) + 16; }

struct Point {
  int x = 0, y = 0;
};
// Top-left of the pop-up next to the pointer: 8 px right of and below it,
// flipped to the left or above when it would leave the screen.
Point PlacePopup(Point pointer, int width, int height, const Rect& screen);

}  // namespace kirvale::capture
