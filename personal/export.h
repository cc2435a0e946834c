// Exporting the user's lists (the new-words notebook and My Dictionary) as
// UTF-8 text that flashcard programs import: one row per entry with its head
// word, kana, Chinese and English, after a header that names the separator
// and the columns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kirvale::personal {

enum class ExportFormat { Tsv, Csv };

struct ExportRow {
  std::string headWord;
  std::string kana;
  std::string chinese;
  std::string english;
};

// A source line that was not exported, and why.
struct SkippedLine {
  int lineNumber = 0;  // 1-based
  std::string reason;
};

struct ExportResult {
  std::vector<ExportRow> rows;
  std::vector<SkippedLine> skipped;
};

// Reads the lines of "newdict.dic" or "userdict.dic" (already decoded to
// UTF-8). A line without a head word or without the "/" that opens its
// explanations is skipped and reported, as is a line that held bytes that
// are not GBK text (decoded as U+FFFD). My Dictionary's placeholders for a
// definition the user left empty become empty fields.
ExportResult ReadListForExport(const std::vector<std::string>& lines);

// The whole file: the header lines, then one line per row, each ended by LF.
// Tab-separated fields have tabs and line breaks replaced by blanks;
// comma-separated fields are quoted when they hold a comma, a quote or a
// line break, with quotes doubled.
std::string FormatExport(const std::vector<ExportRow>& rows, ExportFormat format);

}  // namespace kirvale::personal
