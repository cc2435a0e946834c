// Building "multilingual.dic" and "english.dic" from the parsed sources.
#include <algorithm>
#include <tuple>

#include "dictionary/english_candidates.h"
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
  const Inputs& in() const { return in_; }

 private:
  const Inputs& in_;
  std::unordered_map<std::string, std::vector<size_t>> byTraditional_, bySimplified_;
};

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// A stem like "hop" (consonant, vowel, consonant; one syllable) doubles its
// last letter before -ing/-ed ("hopping"), so "hoping" comes from "hope".
bool DoublesItsLastLetter(std::string_view stem) {
  if (stem.size() < 3) return false;
  char c = stem.back(), v = stem[stem.size() - 2], b = stem[stem.size() - 3];
  if (IsVowel(c) || c == 'w' || c == 'x' || c == 'y' || !IsVowel(v) || IsVowel(b)) return false;
  int groups = 0;
  for (size_t i = 0; i < stem.size(); ++i)
    if (IsVowel(stem[i]) && (i == 0 || !IsVowel(stem[i - 1]))) ++groups;
  return groups == 1;
}

}  // namespace

std::string RegularVerbBase(const std::string& w, const std::map<std::string, int>& verbs, int minTagged) {
  auto verb = [&](const std::string& b) {
    auto it = verbs.find(b);
    return b.size() >= 2 && it != verbs.end() && it->second >= minTagged;
  };
  for (std::string_view suffix : {"ing", "ed"}) {
    if (w.size() < suffix.size() + 2 || !w.ends_with(suffix)) continue;
    std::string stem = w.substr(0, w.size() - suffix.size());
    if (suffix == "ed" && stem.ends_with("i") && verb(stem.substr(0, stem.size() - 1) + "y"))
      return stem.substr(0, stem.size() - 1) + "y";  // tried
    if (suffix == "ing" && stem.ends_with("y") && verb(stem.substr(0, stem.size() - 1) + "ie"))
      return stem.substr(0, stem.size() - 1) + "ie";  // dying
    if (DoublesItsLastLetter(stem) && verb(stem + "e")) return stem + "e";  // hoping
    if (verb(stem)) return stem;                                          // walking
    if (suffix == "ed" && verb(stem + "e")) return stem + "e";            // liked (stem "lik")
    if (suffix == "ing" && verb(stem + "e")) return stem + "e";           // making
    if (stem.size() >= 3 && stem.back() == stem[stem.size() - 2] && verb(stem.substr(0, stem.size() - 1)))
      return stem.substr(0, stem.size() - 1);  // running, stopped
  }
  return {};
}

namespace {

// The base word of an English word form, for comparing meanings: "went" ->
// "go", "eating" -> "eat", "stopped" -> "stop" (WordNet's exception lists and
// verb index); the word itself otherwise.
class Lemmatiser {
 public:
  explicit Lemmatiser(const Inputs& in) : verbs_(in.verbs) {
    for (const auto& x : in.irregular)
      if (x.kind == 'v' || x.kind == 'n') irregular_.emplace(x.form, x.base);
  }
  std::string lemma(const std::string& w) const {
    if (auto it = irregular_.find(w); it != irregular_.end()) return it->second;
    std::string base = RegularVerbBase(w, verbs_, 0);
    return base.empty() ? w : base;
  }
  std::set<std::string> lemmas(const std::set<std::string>& words) const {
    std::set<std::string> out;
    for (const auto& w : words) out.insert(lemma(w));
    return out;
  }

 private:
  const std::map<std::string, int>& verbs_;
  std::map<std::string, std::string> irregular_;
};

// A CC-CEDICT definition marked "(bound form)": the character is no word of
// its own in that meaning.
bool IsBoundForm(std::string_view sense) { return sense.rfind("(bound form)", 0) == 0; }

// The first definition of a CC-CEDICT entry that is a meaning of the word
// itself (no reference, classifier or bound form), or nullptr.
const std::string* MainSense(const CedictEntry& e) {
  for (const auto& s : e.senses)
    if (!IsReferenceSense(s) && !IsBoundForm(s)) return &s;
  return nullptr;
}

// (a): the head word converted to simplified Chinese, when CC-CEDICT has it
// and its main meaning (first definition) agrees with the first sense of the
// EDICT glosses: more than half of the definition's content words are among
// the glosses' (words compared by their base forms). A word with several
// readings must agree in every reading, since the learner sees only the
// characters: 告訴 "legal complaint" is refused, as 告诉 reads "to tell". So
// are 手紙 ("toilet paper" against "letter"), 愛人 (the Chinese word means
// "spouse" first), 大丈夫 (only its archaic fourth sense is "great man") and
// 人間 ("the human world" shares only "human" with "human being").
std::string HeadWordCandidate(const std::string& word, const std::set<std::string>& firstSenseWords,
                              const Indexes& idx, const ChineseConverter& conv, const Lemmatiser& lem) {
  if (word.empty() || firstSenseWords.empty()) return {};
  std::string trad = conv.toTraditional(word);
  std::string simp = conv.toSimplified(trad);
  auto entries = idx.entriesFor(trad, simp);
  // Every reading written with the same simplified characters.
  for (size_t i : idx.entriesFor(simp, simp)) AppendUnique(entries, i);
  bool any = false;
  for (size_t i : entries) {
    const CedictEntry& e = idx.in().cedict[i];
    if (e.simplified != simp) continue;
    const std::string* sense = MainSense(e);
    if (!sense) continue;  // a reference or bound form only: no word of its own
    auto words = lem.lemmas(ContentWords(*sense));
    size_t shared = 0;
    for (const auto& w : words) shared += firstSenseWords.count(w);
    if (words.empty() || 2 * shared <= words.size()) return {};
    any = true;
  }
  return any ? simp : std::string();
}

constexpr size_t kMaxChineseWords = 4;
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

std::vector<std::string> WithoutRepeatedPartsOfSpeech(const std::vector<std::string>& glosses) {
  std::vector<std::string> out;
  std::string last;  // the part-of-speech group written last, e.g. "(n,vs)"
  for (const auto& g : glosses) {
    std::string_view rest = g;
    std::string kept;
    bool posSeen = false;
    while (!rest.empty() && rest.front() == '(') {
      size_t close = rest.find(')');
      if (close == std::string_view::npos) break;
      std::string_view group = rest.substr(1, close - 1);
      if (!IsSenseNumber(group)) {
        bool allTags = true, allPos = true;
        size_t pos = 0;
        while (pos <= group.size()) {
          size_t comma = group.find(',', pos);
          if (comma == std::string_view::npos) comma = group.size();
          const TagInfo* t = FindTag(group.substr(pos, comma - pos));
          if (!t) allTags = false;
          else if (std::string_view(t->group) != "词类") allPos = false;
          pos = comma + 1;
        }
        if (!allTags) break;  // an ordinary remark: the tags are over
        if (allPos && !posSeen) {
          posSeen = true;
          std::string text(rest.substr(0, close + 1));
          bool repeated = text == last;
          last = text;
          rest.remove_prefix(close + 1);
          while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
          if (!repeated) kept += text + " ";
          continue;
        }
      }
      kept.append(rest.substr(0, close + 1));
      kept.push_back(' ');
      rest.remove_prefix(close + 1);
      while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    }
    kept.append(rest);
    out.push_back(Trim(kept));
  }
  return out;
}

namespace {

// What an irregular English form is of its base word, in Chinese ("过去式",
// "复数", ...). `verbForms` holds every irregular form of each verb.
std::string FormName(const Inputs::Irregular& x, const std::map<std::string, std::vector<std::string>>& verbForms) {
  const std::string& f = x.form;
  if (x.kind == 'n') return "复数";
  if (x.kind == 'a' || x.kind == 'r') return f.ends_with("st") ? "最高级" : "比较级";
  if (f.ends_with("ing")) return "现在分词";
  if (f == x.base + "s" || f == x.base + "es") return "第三人称单数";
  std::vector<std::string> others;
  if (auto it = verbForms.find(x.base); it != verbForms.end())
    for (const auto& o : it->second)
      if (!o.ends_with("ing") && o != x.base + "s" && o != x.base + "es") AppendUnique(others, o);
  if (others.size() <= 1) {
    // Only "come" and "run" and their compounds keep the base form as the
    // past participle; every other verb with one irregular form uses it for both.
    if (x.base.ends_with("come") || x.base.ends_with("run")) return "过去式";
    return "过去式和过去分词";
  }
  // Two forms (went/gone, began/begun): the participle ends in -n/-ne
  // (gone, eaten, seen) or has the u of sung and begun.
  auto participle = [](const std::string& w) { return w.ends_with("n") || w.ends_with("ne"); };
  std::string other;
  for (const auto& o : others)
    if (o != f) other = o;
  if (participle(f) != participle(other)) return participle(f) ? "过去分词" : "过去式";
  if (f.size() == other.size()) {
    for (size_t i = 0; i < f.size(); ++i)
      if (f[i] != other[i]) {
        if (f[i] == 'u' && other[i] == 'a') return "过去分词";
        if (f[i] == 'a' && other[i] == 'u') return "过去式";
        break;
      }
  }
  return "过去式或过去分词";
}

}  // namespace

// ------------------------------------------------------------------ Build

Result Build(const Inputs& in, const ChineseConverter& conv, const Counts& parseCounts) {
  Result result;
  Counts& counts = result.counts;
  counts = parseCounts;
  const GbkChecker gbk;
  const Indexes idx(in);
  const Lemmatiser lem(in);

  // The reviewed Japanese table, by (head word, kana). EDICT has a few common
  // entries with the same head word and kana (ロック "rock" and "lock"): the
  // table's lines for them are taken in EDICT's order.
  std::map<std::pair<std::string, std::string>, std::vector<size_t>> reviewedAt;
  for (size_t i = 0; i < in.reviewed.size(); ++i)
    reviewedAt[std::pair(in.reviewed[i].head, in.reviewed[i].kana)].push_back(i);
  std::map<std::pair<std::string, std::string>, size_t> reviewedTaken;
  std::vector<bool> reviewedUsed(in.reviewed.size(), false);

  // ---- multilingual.dic
  struct Row {
    std::string key, head;
    int rank;  // 0: an entry; 1: the kana line of a word usually written in kana
    size_t order;
    JapaneseLine line;
    AppendixEntry entry;
  };
  std::vector<Row> rows;
  struct KanaLine {
    std::string kana, kanji, english, chinese;
    ChineseSource source;
    size_t senses, order;
  };
  std::vector<KanaLine> kanaLines;
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
    // The glosses as written, with the senses they belong to.
    std::vector<int> senseOf = SenseNumbers(e.glosses);
    std::vector<std::string> glosses;
    std::set<std::string> firstSenseWords;
    bool usuallyKana = false;
    for (size_t g = 0; g < e.glosses.size(); ++g) {
      std::string m = MapToGbk(e.glosses[g]);
      if (!gbk.fits(m)) {
        ++counts.glossesDroppedGbk;
        continue;
      }
      if (m.find('/') != std::string::npos || m.empty()) continue;
      // A bracket would be taken for the start of the reading.
      std::replace(m.begin(), m.end(), '[', '(');
      std::replace(m.begin(), m.end(), ']', ')');
      if (senseOf[g] == senseOf.front()) {
        auto words = lem.lemmas(ContentWords(m));
        firstSenseWords.insert(words.begin(), words.end());
        auto tags = LeadingTags(m);
        if (std::find(tags.begin(), tags.end(), "uk") != tags.end()) usuallyKana = true;
      }
      glosses.push_back(std::move(m));
    }
    if (glosses.empty()) {
      ++counts.entriesSkippedEmpty;
      continue;
    }
    glosses = WithoutRepeatedPartsOfSpeech(glosses);

    std::vector<std::string> chinese;
    ChineseSource source = ChineseSource::kNone;
    const auto reviewedKey = std::pair(e.head, e.kana);
    if (auto it = reviewedAt.find(reviewedKey); it != reviewedAt.end() && reviewedTaken[reviewedKey] < it->second.size()) {
      const size_t at = it->second[reviewedTaken[reviewedKey]++];
      reviewedUsed[at] = true;
      for (const auto& w : in.reviewed[at].chinese) {
        std::string m = MapToGbk(w);
        if (gbk.fits(m)) chinese.push_back(std::move(m));
        else ++counts.reviewedChineseDroppedGbk;
      }
      if (!chinese.empty()) source = ChineseSource::kReviewed;
    }
    if (chinese.empty()) {
      std::string word = HeadWordCandidate(e.head, firstSenseWords, idx, conv, lem);
      if (!word.empty() && gbk.fits(word)) {
        chinese.push_back(word);
        source = ChineseSource::kHeadWord;
      } else if (!word.empty()) {
        ++counts.chineseDroppedGbk;
      }
    }
    if (chinese.size() > kMaxChineseWords) chinese.resize(kMaxChineseWords);
    switch (source) {
      case ChineseSource::kReviewed: ++counts.byReviewed; break;
      case ChineseSource::kHeadWord: ++counts.byHeadWord; break;
      case ChineseSource::kNone: ++counts.none; break;
    }
    std::string chineseText = chinese.empty() ? std::string(kNoChinese) : Join(chinese, "；");
    std::string english = Join(glosses, "/");
    std::string line = head;
    if (!kana.empty()) line += " [" + kana + "]";
    line += " /" + english + "//" + chineseText + "/";
    std::int64_t freq = chinese.empty() ? 0 : idx.frequency(chinese.front());
    rows.push_back({ReadingKey(kana.empty() ? head : kana), head, 0, n, {line, source},
                    {head, kana, glosses, chinese.empty() ? std::string() : chineseText, freq,
                     source != ChineseSource::kNone}});
    if (usuallyKana && !kana.empty() && kana != head)
      kanaLines.push_back({kana, head, english, chineseText, source,
                           static_cast<size_t>(std::max(1, *std::max_element(senseOf.begin(), senseOf.end()))), n});
  }
  // Words usually written in kana get a line under their kana, so that typing
  // the kana finds them; the English explanation starts with the kanji
  // spelling. Where EDICT has a common entry written in that kana itself, it
  // is the word found; of several words with the same kana the line goes to
  // the one whose Chinese was reviewed, then to the one with the most senses
  // (the more general word).
  {
    std::set<std::string> heads;
    for (const auto& r : rows) heads.insert(r.head);
    // Reviewed entries first, then those with any Chinese (ChineseSource
    // counts from kReviewed to kNone).
    std::stable_sort(kanaLines.begin(), kanaLines.end(), [](const KanaLine& a, const KanaLine& b) {
      return std::tie(a.kana, a.source, b.senses, a.order) < std::tie(b.kana, b.source, a.senses, b.order);
    });
    for (const auto& k : kanaLines) {
      if (!heads.insert(k.kana).second) continue;
      std::string line = k.kana + " /kanji: " + k.kanji + "/" + k.english + "//" + k.chinese + "/";
      rows.push_back({ReadingKey(k.kana), k.kana, 1, k.order, {line, k.source}, {}});
      ++counts.kanaLines;
    }
  }
  for (size_t i = 0; i < in.reviewed.size(); ++i) {
    if (reviewedUsed[i]) continue;
    ++counts.reviewedUnused;
    if (counts.reviewedUnusedExamples.size() < 20)
      counts.reviewedUnusedExamples.push_back("line " + std::to_string(in.reviewed[i].lineNumber) + ": " +
                                              in.reviewed[i].head +
                                              (in.reviewed[i].kana.empty() ? "" : " [" + in.reviewed[i].kana + "]"));
  }
  // Sorted by reading, so that the list reads like a Japanese dictionary.
  std::vector<size_t> order(rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return std::tie(rows[a].key, rows[a].head, rows[a].rank, rows[a].order) <
           std::tie(rows[b].key, rows[b].head, rows[b].rank, rows[b].order);
  });
  if (order.size() > kMaxLines) order.resize(kMaxLines);
  for (size_t i : order) result.multilingual.push_back(rows[i].line);
  counts.entriesWritten = result.multilingual.size();

  // ---- english.dic: CC-CEDICT inverted. A Chinese word whose main meaning
  // (first definition) is the English word comes before words that have it
  // as a later meaning; within each group the more common word comes first,
  // its frequency shared among its meanings.
  struct Candidate {
    int tier;
    double score;
    size_t sense, entry;
    std::string word;
  };
  std::map<std::string, std::vector<Candidate>> byEnglish;
  std::set<std::string> mainMeaning;  // English words that are some Chinese word's first definition
  for (size_t i = 0; i < in.cedict.size(); ++i) {
    const auto& e = in.cedict[i];
    if (e.properNoun()) continue;
    if (HasVariantSense(e)) continue;  // a "variant of" entry
    size_t meanings = 0;
    for (const auto& s : e.senses) meanings += !IsReferenceSense(s) && !IsBoundForm(s);
    size_t meaning = 0;
    for (size_t s = 0; s < e.senses.size(); ++s) {
      if (IsReferenceSense(e.senses[s]) || IsBoundForm(e.senses[s])) continue;
      auto pieces = SplitPieces(e.senses[s]);
      for (size_t p = 0; p < pieces.size(); ++p) {
        std::string def = NormaliseGloss(pieces[p]);
        if (def.rfind("to ", 0) == 0) def = def.substr(3);
        if (!IsLowerWord(def)) continue;
        double score = DefinitionScore(idx.frequency(e.simplified), 0, p, e.senses[s]) /
                       static_cast<double>(std::max<size_t>(1, meanings));
        byEnglish[def].push_back({meaning == 0 ? 0 : 1, score, meaning, i, e.simplified});
        if (meaning == 0 && p == 0) mainMeaning.insert(def);
      }
      ++meaning;
    }
  }
  counts.englishCandidates = byEnglish.size();
  std::map<std::string, std::vector<std::string>> meanings;  // English word -> Chinese words, in order
  for (auto& [word, cands] : byEnglish) {
    std::sort(cands.begin(), cands.end(), [](const Candidate& a, const Candidate& b) {
      return std::tie(a.tier, b.score, a.sense, a.entry) < std::tie(b.tier, a.score, b.sense, b.entry);
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
    meanings[word] = std::move(words);
  }
  // The reviewed everyday translations replace what the inversion found.
  std::set<std::string> reviewedWords;
  for (const auto& r : in.reviewedEnglish) {
    std::vector<std::string> words;
    for (const auto& w : r.chinese)
      if (std::string m = MapToGbk(w); gbk.fits(m)) words.push_back(m);
      else ++counts.reviewedChineseDroppedGbk;
    if (words.empty()) continue;
    meanings[r.word] = std::move(words);
    reviewedWords.insert(r.word);
    ++counts.englishReviewed;
  }
  // Inflected forms: "went,go的过去式：去；走". The base word's meaning comes
  // first; the form's own words, if any, follow.
  std::map<std::string, std::string> formLines;
  auto formLine = [&](const std::string& form, const std::string& base, const std::string& name) {
    const auto& baseWords = meanings.at(base);
    std::vector<std::string> words(baseWords.begin(), baseWords.begin() + std::min<size_t>(3, baseWords.size()));
    std::string text = base + "的" + name + "：" + Join(words, "；");
    if (auto own = meanings.find(form); own != meanings.end()) {
      size_t added = 0;
      for (const auto& w : own->second)
        if (std::find(words.begin(), words.end(), w) == words.end() && added < 3) {
          text += "；" + w;
          ++added;
        }
    }
    return text;
  };
  std::map<std::string, std::vector<std::string>> verbForms;
  for (const auto& x : in.irregular)
    if (x.kind == 'v') verbForms[x.base].push_back(x.form);
  for (const auto& x : in.irregular) {
    if (!IsLowerWord(x.form) || reviewedWords.count(x.form) || formLines.count(x.form) || !meanings.count(x.base))
      continue;
    formLines[x.form] = formLine(x.form, x.base, FormName(x, verbForms));
  }
  // Regular -ing and -ed forms of common verbs, where the lookup's own
  // suffix stripping would not reach the verb ("running", "tried"), or where
  // the form's own line hides the verb because no Chinese word has the form
  // as its main meaning ("running" would show only 营运).
  {
    const dictionary::SuffixTable suffixes;
    std::set<std::string> forms;
    for (const auto& [w, words] : meanings) forms.insert(w);
    for (const auto& w : in.englishWords) forms.insert(w);
    for (const auto& w : forms) {
      if (!IsLowerWord(w) || reviewedWords.count(w) || formLines.count(w)) continue;
      // Plurals in -men (women, firemen), which WordNet forms by rule.
      if (w.size() > 4 && w.ends_with("men")) {
        std::string base = w.substr(0, w.size() - 3) + "man";
        if (meanings.count(base) && in.englishWords.count(base)) formLines[w] = formLine(w, base, "复数");
        continue;
      }
      if (!w.ends_with("ing") && !w.ends_with("ed")) continue;
      std::string base = RegularVerbBase(w, in.verbs, 2);
      if (base.empty() || !meanings.count(base) || !in.englishCommon.count(base)) continue;
      if (meanings.count(w)) {
        if (mainMeaning.count(w)) continue;  // a word of its own (building, feeling)
      } else {
        // Would the lookup's candidates land on the verb?
        std::string landed;
        auto cands = dictionary::CandidateForms(w, suffixes);
        for (size_t k = 1; k < cands.size(); ++k)
          if (meanings.count(cands[k]) && cands[k] > landed) landed = cands[k];
        if (landed == base) continue;
      }
      formLines[w] = formLine(w, base, w.ends_with("ing") ? "现在分词" : "过去式和过去分词");
    }
  }
  struct EnglishRow {
    int tier;
    std::string word, line;
  };
  std::vector<EnglishRow> englishRows;
  auto tierOf = [&](const std::string& word) {
    return reviewedWords.count(word) || in.englishCommon.count(word) ? 0 : in.englishWords.count(word) ? 1 : 2;
  };
  for (const auto& [word, words] : meanings) {
    auto f = formLines.find(word);
    englishRows.push_back({tierOf(word), word, word + "," + (f != formLines.end() ? f->second : Join(words, "；"))});
  }
  for (const auto& [word, text] : formLines) {
    if (meanings.count(word)) {
      ++counts.englishFormsBaseFirst;
      continue;
    }
    englishRows.push_back({tierOf(word), word, word + "," + text});
  }
  counts.englishForms = formLines.size();
  std::sort(englishRows.begin(), englishRows.end(),
            [](const EnglishRow& a, const EnglishRow& b) { return a.word < b.word; });
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
  for (size_t i : order)
    if (rows[i].rank == 0) entries.push_back(rows[i].entry);
  result.appendix = BuildAppendix(entries, in, gbk, counts);
  return result;
}

}  // namespace kirvale::dictbuild
