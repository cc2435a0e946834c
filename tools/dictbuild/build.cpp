// Building "multilingual.dic" and "english.dic" from the parsed sources.
#include <algorithm>
#include <tuple>

#include "tools/dictbuild/appendix.h"
#include "tools/dictbuild/dictbuild.h"
#include "tools/dictbuild/utf8.h"

namespace kirvale::dictbuild {

namespace {

// Words that carry no meaning of their own when two definitions are
// compared: grammar words, CC-CEDICT's sb/sth, EDICT's "one's".
const std::set<std::string, std::less<>>& StopWords() {
  static const std::set<std::string, std::less<>> words = {
      "a", "an", "the", "to", "of", "in", "on", "at", "for", "with", "by", "from", "as", "or", "and",
      "be", "is", "are", "was", "were", "been", "being", "do", "does", "did", "done", "have", "has",
      "had", "not", "no", "it", "its", "this", "that", "these", "those", "up", "out", "off", "into",
      "onto", "about", "over", "very", "much", "many", "some", "any", "all", "other", "another",
      "more", "most", "such", "so", "also", "can", "cannot", "will", "would", "may", "might",
      "shall", "should", "who", "whom", "what", "which", "when", "where", "how", "why", "there",
      "than", "then", "etc", "esp", "eg", "ie", "sb", "sth", "sb's", "sth's", "one", "one's",
      "oneself", "someone", "someone's", "something", "somebody", "somebody's", "used", "usu",
      "abbr", "lit", "fig", "s", "i", "e", "g", "my", "your", "his", "her", "our", "their",
      "him", "them", "us", "we", "you", "he", "she", "they", "me", "if", "but", "yet", "too",
      "each", "every", "own", "same", "just", "only", "even", "well", "still", "get", "make",
      "classifier", "counter", "cl", "tw", "pr", "variant", "see", "surname"};
  return words;
}

std::string RemoveParentheses(std::string_view text) {
  std::string out;
  int depth = 0;
  for (char c : text) {
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
      out.push_back(' ');
    } else if (depth == 0) {
      out.push_back(c);
    }
  }
  return out;
}

bool IsLowerWord(std::string_view w) {
  if (w.size() < 2) return false;
  if (w.front() < 'a' || w.front() > 'z' || w.back() < 'a' || w.back() > 'z') return false;
  for (char c : w)
    if (!((c >= 'a' && c <= 'z') || c == '-')) return false;
  return w.find("--") == std::string_view::npos;
}

template <class T>
void AppendUnique(std::vector<T>& v, const T& x) {
  if (std::find(v.begin(), v.end(), x) == v.end()) v.push_back(x);
}

std::string Join(const std::vector<std::string>& parts, std::string_view sep) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out.append(sep);
    out.append(parts[i]);
  }
  return out;
}

// Sorting key of a reading: katakana as hiragana.
std::string ReadingKey(std::string_view reading) {
  std::u32string cps = ToCodePoints(reading);
  for (char32_t& c : cps)
    if (c >= 0x30A1 && c <= 0x30F6) c -= 0x60;
  return FromCodePoints(cps);
}

bool IsSenseNumber(std::string_view group) {
  if (group.empty()) return false;
  for (char c : group)
    if (c < '0' || c > '9') return false;
  return true;
}

// The number of the sense each gloss belongs to (EDICT starts a new sense
// with a "(2)", "(3)" ... group).
std::vector<int> SenseNumbers(const std::vector<std::string>& glosses) {
  std::vector<int> out;
  int sense = 1;
  for (const auto& g : glosses) {
    std::string_view rest = g;
    while (!rest.empty() && rest.front() == '(') {
      size_t close = rest.find(')');
      if (close == std::string_view::npos) break;
      std::string_view group = rest.substr(1, close - 1);
      if (IsSenseNumber(group)) sense = std::stoi(std::string(group));
      rest.remove_prefix(close + 1);
      while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    }
    out.push_back(sense);
  }
  return out;
}

// Senses of CC-CEDICT that are no definitions of a word of their own:
// references to other entries, surnames, classifier lists.
bool IsReferenceSense(std::string_view s) {
  if (s.find("variant of") != std::string_view::npos) return true;
  std::string plain = Trim(RemoveParentheses(s));
  static const std::vector<std::string_view> starts = {"see ",     "see also ", "used in ",     "CL:",
                                                       "surname ", "abbr. for", "Taiwan pr.",   "also written",
                                                       "also pr.", "also called", "erhua variant"};
  for (auto m : starts)
    if (plain.rfind(m, 0) == 0) return true;
  return plain.empty();
}

// How likely a Chinese word is to mean a definition it has: how common the
// word is, less for a definition far down its list of senses (sense s,
// piece p of that sense, both counted from 0).
// An entry with a "variant of" sense: its word's frequency counts the other
// form too, so it takes no part in definition matches.
bool HasVariantSense(const CedictEntry& e) {
  for (const auto& s : e.senses)
    if (s.find("variant of") != std::string::npos) return true;
  return false;
}

// A sense marked as dialect, old, literary, slang ... counts a sixteenth.
double DefinitionScore(std::int64_t frequency, size_t sense, size_t piece, std::string_view text = {}) {
  double d = static_cast<double>(1 + sense) * static_cast<double>(1 + piece);
  double score = static_cast<double>(frequency) / (d * d);
  static const std::vector<std::string_view> marks = {"(dialect", "(old", "(archaic", "(literary", "(classical",
                                                      "(Tw", "(Cantonese", "(slang", "(coll.", "(vulgar",
                                                      "(obsolete", "(euph", "(Internet", "(Buddhism"};
  for (auto m : marks)
    if (text.find(m) != std::string_view::npos) return score / 16;
  return score;
}

class Indexes {
 public:
  explicit Indexes(const Inputs& in) : in_(in) {
    for (size_t i = 0; i < in.cedict.size(); ++i) {
      const auto& e = in.cedict[i];
      byTraditional_[e.traditional].push_back(i);
      if (e.simplified != e.traditional) bySimplified_[e.simplified].push_back(i);
      for (size_t s = 0; s < e.senses.size() && !HasVariantSense(e); ++s) {
        if (IsReferenceSense(e.senses[s])) continue;
        auto pieces = SplitPieces(e.senses[s]);
        for (size_t p = 0; p < pieces.size(); ++p) {
          std::string key = NormaliseGloss(pieces[p]);
          if (key.size() >= 2) {
            auto& v = byDefinition_[key];
            if (v.empty() || v.back().entry != i) v.push_back({i, s, p});
          }
        }
      }
    }
  }
  std::int64_t frequency(const std::string& w) const {
    auto it = in_.frequency.find(w);
    return it == in_.frequency.end() ? 0 : it->second;
  }
  // CC-CEDICT entries written as `trad` (traditional) or `simp` (simplified).
  std::vector<size_t> entriesFor(const std::string& trad, const std::string& simp) const {
    std::vector<size_t> out;
    if (auto it = byTraditional_.find(trad); it != byTraditional_.end()) out = it->second;
    if (auto it = bySimplified_.find(simp); it != bySimplified_.end())
      for (size_t i : it->second) AppendUnique(out, i);
    if (auto it = byTraditional_.find(simp); it != byTraditional_.end())
      for (size_t i : it->second) AppendUnique(out, i);
    return out;
  }
  struct Definition {
    size_t entry, sense, piece;
  };
  const std::vector<Definition>* byDefinition(const std::string& key) const {
    auto it = byDefinition_.find(key);
    return it == byDefinition_.end() ? nullptr : &it->second;
  }
  const Inputs& in() const { return in_; }

 private:
  const Inputs& in_;
  std::unordered_map<std::string, std::vector<size_t>> byTraditional_, bySimplified_;
  std::unordered_map<std::string, std::vector<Definition>> byDefinition_;
};

// (a) and (b): the word converted to simplified Chinese, when CC-CEDICT has
// it with a definition that shares a content word with the EDICT glosses.
std::string HeadWordCandidate(const std::string& word, const std::set<std::string>& glossWords,
                              const Indexes& idx, const ChineseConverter& conv) {
  if (word.empty()) return {};
  std::string trad = conv.toTraditional(word);
  std::string simp = conv.toSimplified(trad);
  for (size_t i : idx.entriesFor(trad, simp)) {
    for (const auto& sense : idx.in().cedict[i].senses) {
      if (IsReferenceSense(sense)) continue;
      std::set<std::string> words = ContentWords(sense);
      for (const auto& w : words)
        if (glossWords.count(w)) return simp;
    }
  }
  return {};
}

size_t Overlap(const std::set<std::string>& a, const std::set<std::string>& b) {
  size_t n = 0;
  for (const auto& w : a) n += b.count(w);
  return n;
}

constexpr size_t kMaxChineseWords = 4;
constexpr size_t kMaxGlossMatches = 3;       // (c) words when (a) and (b) found none
constexpr size_t kMaxGlossMatchesAfter = 2;  // (c) words after an (a) or (b) word
constexpr size_t kMaxEnglishChinese = 6;

}  // namespace

// ------------------------------------------------------------------ helpers

std::set<std::string> ContentWords(std::string_view text) {
  std::string plain = RemoveParentheses(text);
  std::set<std::string> out;
  std::string w;
  auto flush = [&] {
    while (!w.empty() && w.back() == '\'') w.pop_back();
    if (w.size() >= 2 && !StopWords().count(w)) {
      std::string stem = w;
      if (stem.size() > 4 && stem.ends_with("ies")) stem = stem.substr(0, stem.size() - 3) + "y";
      else if (stem.size() > 3 && stem.back() == 's' && !stem.ends_with("ss") && !stem.ends_with("us") &&
               !stem.ends_with("is"))
        stem.pop_back();
      if (!StopWords().count(stem)) out.insert(stem);
    }
    w.clear();
  };
  for (char c : plain) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'z') || (c == '\'' && !w.empty())) w.push_back(c);
    else flush();
  }
  flush();
  return out;
}

std::string NormaliseGloss(std::string_view text) {
  std::string plain = RemoveParentheses(text);
  std::string out;
  for (char c : plain) {
    if (static_cast<unsigned char>(c) <= 32) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string StripTrailingKana(std::string_view head) {
  std::u32string cps = ToCodePoints(head);
  size_t n = cps.size();
  while (n > 0 && IsKana(cps[n - 1])) --n;
  if (n == 0 || n == cps.size()) return {};
  return FromCodePoints(std::u32string_view(cps).substr(0, n));
}

std::vector<std::string> SplitPieces(std::string_view sense) {
  std::vector<std::string> out;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < sense.size(); ++i) {
    if (sense[i] == '(') ++depth;
    else if (sense[i] == ')' && depth > 0) --depth;
    else if (sense[i] == ';' && depth == 0) {
      std::string p = Trim(sense.substr(start, i - start));
      if (!p.empty()) out.push_back(std::move(p));
      start = i + 1;
    }
  }
  std::string p = Trim(sense.substr(start));
  if (!p.empty()) out.push_back(std::move(p));
  return out;
}

std::vector<std::string> LeadingTags(std::string_view gloss) {
  std::vector<std::string> tags;
  std::string_view rest = gloss;
  while (!rest.empty() && rest.front() == '(') {
    size_t close = rest.find(')');
    if (close == std::string_view::npos) break;
    std::string_view group = rest.substr(1, close - 1);
    if (!IsSenseNumber(group)) {
      std::vector<std::string> names;
      size_t pos = 0;
      bool all = true;
      while (pos <= group.size()) {
        size_t comma = group.find(',', pos);
        if (comma == std::string_view::npos) comma = group.size();
        std::string_view name = group.substr(pos, comma - pos);
        if (!FindTag(name)) all = false;
        names.emplace_back(name);
        pos = comma + 1;
      }
      if (!all) break;  // an ordinary remark in parentheses: the tags are over
      for (auto& n : names) AppendUnique(tags, n);
    }
    rest.remove_prefix(close + 1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  }
  return tags;
}

// ------------------------------------------------------------------ Build

Result Build(const Inputs& in, const ChineseConverter& conv, const Counts& parseCounts) {
  Result result;
  Counts& counts = result.counts;
  counts = parseCounts;
  const GbkChecker gbk;
  const Indexes idx(in);

  // ---- multilingual.dic
  struct Row {
    std::string key, head;
    size_t order;
    JapaneseLine line;
    AppendixEntry entry;
  };
  std::vector<Row> rows;
  for (size_t n = 0; n < in.edict.size(); ++n) {
    const EdictEntry& e = in.edict[n];
    if (!e.common) continue;
    ++counts.edictCommon;
    std::string head = MapToGbk(e.head), kana = MapToGbk(e.kana);
    if (!gbk.fits(head) || !gbk.fits(kana) || head.find_first_of("/[]") != std::string::npos ||
        kana.find_first_of("/[]") != std::string::npos) {
      ++counts.entriesSkippedGbk;
      continue;
    }
    std::vector<std::string> glosses;
    for (const auto& g : e.glosses) {
      std::string m = MapToGbk(g);
      if (!gbk.fits(m)) {
        ++counts.glossesDroppedGbk;
        continue;
      }
      if (m.find('/') != std::string::npos || m.empty()) continue;
      glosses.push_back(std::move(m));
    }
    if (glosses.empty()) {
      ++counts.entriesSkippedEmpty;
      continue;
    }
    std::set<std::string> glossWords;
    for (const auto& g : glosses) {
      auto w = ContentWords(g);
      glossWords.insert(w.begin(), w.end());
    }

    std::vector<std::string> chinese;
    ChineseSource source = ChineseSource::kNone;
    auto add = [&](const std::string& word, ChineseSource from) {
      if (word.empty() || chinese.size() >= kMaxChineseWords) return;
      if (!gbk.fits(word)) {
        ++counts.chineseDroppedGbk;
        return;
      }
      if (std::find(chinese.begin(), chinese.end(), word) != chinese.end()) return;
      if (chinese.empty()) source = from;
      chinese.push_back(word);
    };
    // (a) the head word itself
    add(HeadWordCandidate(e.head, glossWords, idx, conv), ChineseSource::kHeadWord);
    // (b) the head word without its trailing kana
    add(HeadWordCandidate(StripTrailingKana(e.head), glossWords, idx, conv), ChineseSource::kStem);
    // (c) words whose definition is one of the glosses (for a noun that takes
    // suru, also "to" + the gloss; for a plural, the singular): by sense,
    // then by how common the word is in that meaning, weighted by how much of
    // that meaning the glosses cover. After an (a) or (b) word only words of the first
    // sense that are more common than it are added.
    std::vector<int> senses = SenseNumbers(e.glosses);
    struct Found {
      int sense = 0;
      double rank = 0;   // score weighted by how much of the matched sense the glosses cover
      double score = 0;  // how common the word is in that meaning
      size_t entry = 0;
      std::string word;
      std::vector<size_t> glosses;  // the glosses that found it
    };
    std::map<std::pair<int, size_t>, Found> found;
    const bool after = !chinese.empty();
    for (size_t g = 0; g < e.glosses.size(); ++g) {
      if (after && senses[g] != senses.front()) break;  // after (a) or (b): the first sense only
      std::string key = NormaliseGloss(e.glosses[g]);
      std::vector<std::string> keys = {key};
      auto tags = LeadingTags(e.glosses[g]);
      if (std::find(tags.begin(), tags.end(), "vs") != tags.end() && key.rfind("to ", 0) != 0)
        keys.push_back("to " + key);
      // A plural gloss ("symptoms") is also looked up in the singular.
      if (!idx.byDefinition(key) && key.size() > 3 && key.back() == 's' && !key.ends_with("ss") &&
          key.find(' ') == std::string::npos)
        keys.push_back(key.ends_with("ies") ? key.substr(0, key.size() - 3) + "y" : key.substr(0, key.size() - 1));
      for (const auto& k : keys) {
        const auto* hits = idx.byDefinition(k);
        if (!hits) continue;
        for (const auto& d : *hits) {
          const auto& ce = in.cedict[d.entry];
          const std::string& sense = ce.senses[d.sense];
          double score = DefinitionScore(idx.frequency(ce.simplified), d.sense, d.piece, sense);
          // How much of the matched sense the glosses cover: "letter; mail"
          // fits 手紙 better than "letter; symbol; character; word".
          std::set<std::string> words = ContentWords(sense);
          double cover = static_cast<double>(std::max<size_t>(1, Overlap(words, glossWords))) /
                         static_cast<double>(std::max<size_t>(1, words.size()));
          auto& f = found[{senses[g], d.entry}];
          f.sense = senses[g];
          f.entry = d.entry;
          f.word = ce.simplified;
          f.rank += score * cover * cover;
          f.score = std::max(f.score, score);
          if (std::find(f.glosses.begin(), f.glosses.end(), g) == f.glosses.end()) f.glosses.push_back(g);
        }
      }
    }
    // A word that several glosses lead to (信: "letter" and "mail") is the
    // more likely one.
    std::vector<Found> ranked;
    for (auto& [key, f] : found) {
      f.rank *= static_cast<double>(f.glosses.size());
      ranked.push_back(std::move(f));
    }
    std::sort(ranked.begin(), ranked.end(), [](const Found& a, const Found& b) {
      if (a.sense != b.sense) return a.sense < b.sense;
      if (a.rank != b.rank) return a.rank > b.rank;
      return std::tie(a.entry, a.word) < std::tie(b.entry, b.word);
    });
    bool anyCommon = std::any_of(ranked.begin(), ranked.end(), [](const Found& f) { return f.score > 0; });
    const double bar = after ? static_cast<double>(idx.frequency(chinese.front())) : 0;
    size_t taken = 0;
    const double floor = ranked.empty() ? 0 : ranked.front().rank / 10;  // far weaker matches are left out
    for (const auto& f : ranked) {
      if (taken >= (after ? kMaxGlossMatchesAfter : kMaxGlossMatches)) break;
      if ((anyCommon && f.score <= 0) || (after && f.score <= bar) || f.rank < floor) continue;
      size_t before = chinese.size();
      add(f.word, ChineseSource::kGlossMatch);
      if (chinese.size() > before) ++taken;
    }

    switch (source) {
      case ChineseSource::kHeadWord: ++counts.byHeadWord; break;
      case ChineseSource::kStem: ++counts.byStem; break;
      case ChineseSource::kGlossMatch: ++counts.byGlossMatch; break;
      case ChineseSource::kNone: ++counts.none; break;
    }
    std::string chineseText = chinese.empty() ? std::string(kNoChinese) : Join(chinese, "；");
    std::string line = head;
    if (!kana.empty()) line += " [" + kana + "]";
    line += " /" + Join(glosses, "/") + "//" + chineseText + "/";
    std::string first = chinese.empty() ? std::string() : chinese.front();
    std::int64_t freq = idx.frequency(first);
    rows.push_back({ReadingKey(kana.empty() ? head : kana), head, n, {line, source},
                    {head, kana, glosses, chinese.empty() ? std::string() : chineseText, freq,
                     source == ChineseSource::kHeadWord || source == ChineseSource::kStem}});
  }
  // Sorted by reading, so that the list reads like a Japanese dictionary.
  std::vector<size_t> order(rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return std::tie(rows[a].key, rows[a].head, rows[a].order) < std::tie(rows[b].key, rows[b].head, rows[b].order);
  });
  if (order.size() > kMaxLines) order.resize(kMaxLines);
  for (size_t i : order) result.multilingual.push_back(rows[i].line);
  counts.entriesWritten = result.multilingual.size();

  // ---- english.dic: CC-CEDICT inverted
  struct Candidate {
    double score;
    size_t sense, entry;
    std::string word;
  };
  std::map<std::string, std::vector<Candidate>> byEnglish;
  for (size_t i = 0; i < in.cedict.size(); ++i) {
    const auto& e = in.cedict[i];
    if (e.properNoun()) continue;
    if (HasVariantSense(e)) continue;  // a "variant of" entry
    for (size_t s = 0; s < e.senses.size(); ++s) {
      if (IsReferenceSense(e.senses[s])) continue;
      auto pieces = SplitPieces(e.senses[s]);
      for (size_t p = 0; p < pieces.size(); ++p) {
        std::string def = NormaliseGloss(pieces[p]);
        if (def.rfind("to ", 0) == 0) def = def.substr(3);
        if (!IsLowerWord(def) || StopWords().count(def)) continue;
        byEnglish[def].push_back({DefinitionScore(idx.frequency(e.simplified), s, p, e.senses[s]), s, i, e.simplified});
      }
    }
  }
  counts.englishCandidates = byEnglish.size();
  struct EnglishRow {
    int tier;
    std::string word, line;
  };
  std::vector<EnglishRow> englishRows;
  for (auto& [word, cands] : byEnglish) {
    std::sort(cands.begin(), cands.end(), [](const Candidate& a, const Candidate& b) {
      return std::tie(b.score, a.sense, a.entry) < std::tie(a.score, b.sense, b.entry);
    });
    bool twoCommon = std::count_if(cands.begin(), cands.end(), [](const Candidate& c) { return c.score > 0; }) >= 2;
    std::vector<std::string> words;
    for (const auto& c : cands) {
      if (words.size() >= kMaxEnglishChinese) break;
      if (twoCommon && c.score <= 0) continue;
      if (!gbk.fits(c.word)) continue;
      AppendUnique(words, c.word);
    }
    if (words.empty()) {
      ++counts.englishSkippedGbk;
      continue;
    }
    int tier = in.englishCommon.count(word) ? 0 : in.englishWords.count(word) ? 1 : 2;
    englishRows.push_back({tier, word, word + "," + Join(words, "；")});
  }
  if (englishRows.size() > kMaxLines) {
    std::stable_sort(englishRows.begin(), englishRows.end(),
                     [](const EnglishRow& a, const EnglishRow& b) { return a.tier < b.tier; });
    englishRows.resize(kMaxLines);
    std::sort(englishRows.begin(), englishRows.end(),
              [](const EnglishRow& a, const EnglishRow& b) { return a.word < b.word; });
  }
  for (auto& r : englishRows) result.english.push_back(std::move(r.line));
  counts.englishWritten = result.english.size();

  // ---- appendix.app
  std::vector<AppendixEntry> entries;
  for (size_t i : order) entries.push_back(rows[i].entry);
  result.appendix = BuildAppendix(entries, in, gbk, counts);
  return result;
}

}  // namespace kirvale::dictbuild
