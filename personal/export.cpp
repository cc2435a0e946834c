#include "personal/export.h"

#include "dictionary/entry_line.h"
#include "text/codec.h"

namespace kirvale::personal {
namespace {

// What My Dictionary writes for a definition box the user left empty.
constexpr std::string_view kNoEnglish = "※The user did not give an English definition.";
constexpr std::string_view kNoChinese = "※用户没有给出词条的中文解释。";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string withoutPlaceholder(const std::string& text, std::string_view placeholder) {
  return text == placeholder ? std::string() : text;
}

std::string tsvField(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

std::string csvField(std::string_view s) {
  if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace

ExportResult ReadListForExport(const std::vector<std::string>& lines) {
  ExportResult result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int number = static_cast<int>(i) + 1;
    auto skip = [&](const char* reason) { result.skipped.push_back({number, reason}); };
    if (text::trim(line).empty()) {
      skip("empty line");
      continue;
    }
    if (line.find(kReplacement) != std::string::npos) {
      skip("bytes that are not GBK text");
      continue;
    }
    if (line.find('/') == std::string::npos) {
      skip("no \"/\" before the explanations");
      continue;
    }
    const dictionary::DictionaryEntry e = dictionary::ParseEntryLine(line);
    if (e.headWord.empty()) {
      skip("no head word");
      continue;
    }
    result.rows.push_back({e.headWord, e.kana, withoutPlaceholder(e.chinese, kNoChinese),
                           withoutPlaceholder(e.english, kNoEnglish)});
  }
  return result;
}

std::string FormatExport(const std::vector<ExportRow>& rows, ExportFormat format) {
  const bool csv = format == ExportFormat::Csv;
  const char sep = csv ? ',' : '\t';
  auto field = [csv](std::string_view s) { return csv ? csvField(s) : tsvField(s); };
  std::string out = csv ? "#separator:comma\n" : "#separator:tab\n";
  out += "#html:false\n";
  out += std::string("#columns:Head word") + sep + "Kana" + sep + "Chinese" + sep + "English\n";
  for (const ExportRow& r : rows) {
    out += field(r.headWord) + sep + field(r.kana) + sep + field(r.chinese) + sep + field(r.english) + "\n";
  }
  return out;
}

}  // namespace kirvale::personal
