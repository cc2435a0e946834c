// The six sections of "appendix.app".
#include "tools/dictbuild/appendix.h"

#include <algorithm>
#include <map>

#include "tools/dictbuild/utf8.h"

namespace kirvale::dictbuild {

const std::vector<std::string>& AppendixTitles() {
  static const std::vector<std::string> titles = {"词典缩略语",       "日语的词类",        "日语有关词汇",
                                                  "日本城市地名",     "罗马字-假名对应表", "平假名-片假名对照表"};
  return titles;
}

namespace {

std::vector<std::string> EntryTags(const AppendixEntry& e) {
  std::vector<std::string> tags;
  for (const auto& g : e.glosses)
    for (auto& t : LeadingTags(g))
      if (std::find(tags.begin(), tags.end(), t) == tags.end()) tags.push_back(t);
  return tags;
}

// A gloss without its leading tag and sense-number groups.
std::string PlainGloss(std::string_view gloss) {
  std::string_view rest = gloss;
  while (!rest.empty() && rest.front() == '(') {
    size_t close = rest.find(')');
    if (close == std::string_view::npos) break;
    std::string_view group = rest.substr(1, close - 1);
    bool number = !group.empty() && std::all_of(group.begin(), group.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!number && LeadingTags(rest.substr(0, close + 1)).empty()) break;
    rest.remove_prefix(close + 1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  }
  return std::string(rest);
}

std::string Headline(const AppendixEntry& e) {
  return e.kana.empty() ? e.head : e.head + " [" + e.kana + "]";
}

// ---- 1 词典缩略语
void Abbreviations(const std::vector<AppendixEntry>& entries, std::vector<std::string>& out) {
  std::set<std::string> used;
  for (const auto& e : entries)
    for (auto& t : EntryTags(e)) used.insert(t);
  out.push_back("英文释义开头括号中的缩写标明词类、用法、专业领域、方言或书写读音上的特点；"
                "(1)、(2)……是义项的编号。下面列出本词典中出现的全部缩写。");
  std::string group;
  for (const auto& t : TagTable()) {
    if (!used.count(t.tag)) continue;
    if (group != t.group) {
      group = t.group;
      out.push_back("");
      out.push_back("【" + group + "】");
    }
    out.push_back(std::string(t.tag) + "：" + t.chinese + "（" + t.english + "）");
  }
}

// ---- 2 日语的词类
struct PartOfSpeech {
  const char* title;
  const char* explanation;
  std::vector<std::string> tags;
  std::vector<std::string> examples;  // looked for in the dictionary first
};

const std::vector<PartOfSpeech>& PartsOfSpeech() {
  static const std::vector<PartOfSpeech> parts = {
      {"名词（名詞）", "表示人、事物、时间、地点等名称的词。没有词形变化，后接助词构成句子成分。", {"n", "n-t", "n-adv"}, {"学校", "電話", "図書館", "友達"}},
      {"代词（代名詞）", "代替人或事物名称的词，包括人称代词和指示代词。", {"pn"}, {"私", "彼", "これ", "どこ"}},
      {"数词（数詞）", "表示数量或顺序的词。", {"num"}, {"一", "二", "百", "千"}},
      {"助数词（助数詞）", "接在数词后面表示计量单位的词，相当于汉语的量词。", {"ctr"}, {"枚", "冊", "匹", "台"}},
      {"五段动词（五段動詞）",
       "词尾在「う」段上，按「あ、い、う、え、お」五段变化的动词，如「書く」变为「書かない」「書きます」。",
       {"v5b", "v5g", "v5k", "v5k-s", "v5m", "v5n", "v5r", "v5r-i", "v5s", "v5t", "v5u", "v5u-s", "v5aru"}, {"書く", "読む", "話す", "待つ"}},
      {"一段动词（一段動詞）",
       "词尾为「る」，「る」前的假名在「い」段或「え」段；变化时去掉「る」再接其他成分，如「食べる」变为「食べない」「食べます」。",
       {"v1", "v1-s"}, {"食べる", "見る", "起きる", "教える"}},
      {"カ行变格动词（カ変動詞）", "只有「来る（くる）」及其复合词，变化不规则。", {"vk"}, {"来る", "持ってくる"}},
      {"サ行变格动词（サ変動詞）", "「する」以及「～する」「～ずる」类动词，变化不规则。", {"vs-i", "vs-s", "vz"}, {"為る", "愛する", "感ずる", "信ずる"}},
      {"サ变名词（する名詞）", "本身是名词，后接「する」即可作动词用，如「勉強する」。", {"vs"}, {"勉強", "運動", "旅行", "電話"}},
      {"自动词（自動詞）", "不带宾语的动词，动作不涉及其他对象，如「開く（あく）」。", {"vi"}, {"開く", "起きる", "行く", "降る"}},
      {"他动词（他動詞）", "带宾语（用「を」表示）的动词，如「開ける（あける）」。", {"vt"}, {"開ける", "食べる", "読む", "書く"}},
      {"形容词（形容詞）",
       "词尾为「い」，表示性质、状态或感情，有词形变化，如「高い」变为「高くない」「高かった」。",
       {"adj-i", "adj-ix"}, {"高い", "新しい", "美しい", "良い"}},
      {"形容动词（形容動詞）",
       "又称ナ形容词。词干表示性质、状态；修饰名词时接「な」，作谓语时接「だ」「です」。",
       {"adj-na"}, {"静か", "綺麗", "元気", "有名"}},
      {"连体词（連体詞）", "只能修饰名词、没有词形变化的词，如「この」「あの」「大きな」。", {"adj-pn"}, {"この", "あの", "大きな", "或る"}},
      {"副词（副詞）", "修饰动词、形容词等用言，表示程度、状态、时间等，没有词形变化。", {"adv", "adv-to"}, {"とても", "もう", "ゆっくり", "時々"}},
      {"接续词（接続詞）", "连接词语、句子或段落，表示前后之间的关系。", {"conj"}, {"しかし", "そして", "だから", "又は"}},
      {"感叹词（感動詞）", "表示感叹、呼唤或应答的词，能单独成句。", {"int"}, {"ああ", "はい", "いいえ", "もしもし"}},
      {"助词（助詞）", "附在其他词后面，表示词与词之间的关系或增添某种意义，没有词形变化。", {"prt"}, {"は", "が", "を", "に"}},
      {"助动词（助動詞）", "附在用言等后面，增添否定、过去、推测、使役、被动、礼貌等意义，有词形变化。",
       {"aux-v", "aux", "aux-adj", "cop"}, {"です", "ます", "ない", "らしい"}},
      {"接头词（接頭語）", "附在词的前面，增添意义或语气，不能单独使用。", {"pref", "n-pref"}, {"お", "ご", "不", "全"}},
      {"接尾词（接尾語）", "附在词的后面，增添意义或改变词性，不能单独使用。", {"suf", "n-suf"}, {"さん", "的", "屋", "達"}},
      {"惯用语、词组（表現）", "由几个词组成、作为一个整体使用的说法。", {"exp"}, {"おはようございます", "有難う", "宜しく", "済みません"}},
      {"拟声拟态词（オノマトペ）", "模仿声音或描摹状态的词，多作副词使用。", {"on-mim"}, {"わくわく", "どきどき", "にこにこ", "ぺらぺら"}},
  };
  return parts;
}

constexpr size_t kExamples = 3;

void PartsOfSpeechSection(const std::vector<AppendixEntry>& entries, std::vector<std::string>& out) {
  out.push_back("日语的词分为独立词和附属词；下面说明常见的词类，并举本词典中的词条为例。"
                "词类缩写见「词典缩略语」。");
  std::vector<std::vector<std::string>> tagsOf(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) tagsOf[i] = EntryTags(entries[i]);
  for (const auto& part : PartsOfSpeech()) {
    std::vector<size_t> hits;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].chinese.empty() || std::u32string(ToCodePoints(entries[i].head)).size() < 2) continue;
      for (const auto& t : part.tags)
        if (std::find(tagsOf[i].begin(), tagsOf[i].end(), t) != tagsOf[i].end()) {
          hits.push_back(i);
          break;
        }
    }
    // Examples whose Chinese is the head word itself (the surest), the most
    // common first, in dictionary order on ties.
    std::stable_sort(hits.begin(), hits.end(), [&](size_t a, size_t b) {
      if (entries[a].headWordAgrees != entries[b].headWordAgrees) return entries[a].headWordAgrees;
      return entries[a].frequency > entries[b].frequency;
    });
    out.push_back("");
    out.push_back(part.title);
    out.push_back(part.explanation);
    std::string tagList;
    for (const auto& t : part.tags) tagList += (tagList.empty() ? "" : ", ") + t;
    out.push_back("缩写：" + tagList);
    // Our chosen examples when the dictionary has them with that part of
    // speech, then the surest of the others.
    std::vector<size_t> chosen;
    for (const auto& word : part.examples) {
      for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].head != word) continue;
        bool tagged = std::any_of(part.tags.begin(), part.tags.end(), [&](const std::string& t) {
          return std::find(tagsOf[i].begin(), tagsOf[i].end(), t) != tagsOf[i].end();
        });
        if (tagged) {
          chosen.push_back(i);
          break;
        }
      }
      if (chosen.size() >= kExamples) break;
    }
    for (size_t i : hits) {
      if (chosen.size() >= kExamples) break;
      if (std::find(chosen.begin(), chosen.end(), i) == chosen.end()) chosen.push_back(i);
    }
    for (size_t i : chosen) {
      const auto& e = entries[i];
      out.push_back("例：" + Headline(e) + "　" + (e.chinese.empty() ? PlainGloss(e.glosses.front()) : e.chinese));
    }
  }
}

// ---- 3 日语有关词汇
void LinguisticsSection(const std::vector<AppendixEntry>& entries, std::vector<std::string>& out) {
  out.push_back("本词典中标有 ling（语言学）的词条：与日语和语言研究有关的词汇。");
  for (const auto& e : entries) {
    auto tags = EntryTags(e);
    if (std::find(tags.begin(), tags.end(), "ling") == tags.end()) continue;
    std::string english;
    for (const auto& g : e.glosses)
      if (auto t = LeadingTags(g); std::find(t.begin(), t.end(), "ling") != t.end()) {
        english = PlainGloss(g);
        break;
      }
    if (english.empty()) english = PlainGloss(e.glosses.front());
    std::string line = Headline(e) + "　";
    if (!e.chinese.empty()) line += e.chinese + "；";
    line += english;
    out.push_back(line);
  }
}

// ---- 4 日本城市地名
struct Prefecture {
  const char* name;
  const char* reading;
};
const Prefecture kPrefectures[] = {
    {"北海道", "ほっかいどう"}, {"青森県", "あおもりけん"}, {"岩手県", "いわてけん"}, {"宮城県", "みやぎけん"},
    {"秋田県", "あきたけん"}, {"山形県", "やまがたけん"}, {"福島県", "ふくしまけん"}, {"茨城県", "いばらきけん"},
    {"栃木県", "とちぎけん"}, {"群馬県", "ぐんまけん"}, {"埼玉県", "さいたまけん"}, {"千葉県", "ちばけん"},
    {"東京都", "とうきょうと"}, {"神奈川県", "かながわけん"}, {"新潟県", "にいがたけん"}, {"富山県", "とやまけん"},
    {"石川県", "いしかわけん"}, {"福井県", "ふくいけん"}, {"山梨県", "やまなしけん"}, {"長野県", "ながのけん"},
    {"岐阜県", "ぎふけん"}, {"静岡県", "しずおかけん"}, {"愛知県", "あいちけん"}, {"三重県", "みえけん"},
    {"滋賀県", "しがけん"}, {"京都府", "きょうとふ"}, {"大阪府", "おおさかふ"}, {"兵庫県", "ひょうごけん"},
    {"奈良県", "ならけん"}, {"和歌山県", "わかやまけん"}, {"鳥取県", "とっとりけん"}, {"島根県", "しまねけん"},
    {"岡山県", "おかやまけん"}, {"広島県", "ひろしまけん"}, {"山口県", "やまぐちけん"}, {"徳島県", "とくしまけん"},
    {"香川県", "かがわけん"}, {"愛媛県", "えひめけん"}, {"高知県", "こうちけん"}, {"福岡県", "ふくおかけん"},
    {"佐賀県", "さがけん"}, {"長崎県", "ながさきけん"}, {"熊本県", "くまもとけん"}, {"大分県", "おおいたけん"},
    {"宮崎県", "みやざきけん"}, {"鹿児島県", "かごしまけん"}, {"沖縄県", "おきなわけん"},
};

// The city ("…市") at the start of the rest of an address, or empty. A name
// such as 四日市市 ends in two 市; 北斗市市渡 is the city 北斗市 and the place 市渡,
// told apart by `standalone`, the cities seen followed by anything but 市.
std::string CityOf(std::string_view rest, const std::set<std::string>* standalone, bool* doubled = nullptr) {
  std::u32string cps = ToCodePoints(rest);
  const char32_t shi = U'市', gun = U'郡';
  for (size_t i = 1; i < cps.size(); ++i) {  // a city name has at least one character before 市
    if (cps[i] != shi) continue;
    size_t end = i + 1;
    if (doubled) *doubled = end < cps.size() && cps[end] == shi;
    std::u32string_view name(cps.data(), end);
    if (name.find(gun) != std::u32string_view::npos) return {};
    if (end < cps.size() && (cps[end] == gun || cps[end] == U'町' || cps[end] == U'村')) continue;  // 余市郡, ...
    if (end < cps.size() && cps[end] == shi && standalone && !standalone->count(FromCodePoints(name)))
      ++end;  // 四日市市, 廿日市市
    return FromCodePoints(std::u32string_view(cps.data(), end));
  }
  return {};
}

bool MentionsCity(const EdictEntry& e) {
  for (const auto& g : e.glosses) {
    std::string lower = g;
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower.find("city") != std::string::npos) return true;
  }
  return false;
}

void CitiesSection(const Inputs& in, std::vector<std::string>& out, Counts& counts) {
  // Readings of city names from EDICT: "X市" itself, or "X" glossed as a city.
  std::map<std::string, std::string> readingOfCity, readingOfPlace;
  for (const auto& e : in.edict) {
    if (e.kana.empty()) continue;
    readingOfCity.emplace(e.head, e.kana);
    if (MentionsCity(e)) readingOfPlace.emplace(e.head, e.kana);
  }
  auto prefectureOf = [](const std::string& address) -> const Prefecture* {
    for (const auto& p : kPrefectures)
      if (address.rfind(p.name, 0) == 0) return &p;
    return nullptr;
  };
  std::set<std::string> standalone;  // "X市" seen not followed by another 市
  for (const auto& address : in.addresses) {
    const Prefecture* p = prefectureOf(address);
    if (!p) continue;
    bool doubled = false;
    std::string city = CityOf(std::string_view(address).substr(std::string_view(p->name).size()), nullptr, &doubled);
    if (!city.empty() && !doubled) standalone.insert(city);
  }
  std::map<std::string, std::vector<std::string>> cities;  // prefecture -> cities in file order
  std::set<std::string> seen;
  for (const auto& address : in.addresses) {
    const Prefecture* p = prefectureOf(address);
    if (!p) continue;
    std::string city = CityOf(std::string_view(address).substr(std::string_view(p->name).size()), &standalone);
    if (!city.empty() && seen.insert(std::string(p->name) + city).second) cities[p->name].push_back(city);
  }
  out.push_back("按都道府县排列，方括号内是读音；没有方括号的，资料中缺少读音或读音不止一种，不作猜测。");
  for (const auto& p : kPrefectures) {
    auto it = cities.find(p.name);
    if (it == cities.end()) continue;
    out.push_back("");
    out.push_back(std::string(p.name) + " [" + p.reading + "]");
    for (const auto& city : it->second) {
      // EDICT first, then IPAdic's place names; "X市" itself, then "X" + し.
      std::string stem = city.substr(0, city.size() - std::string("市").size());
      std::string reading;
      if (auto r = readingOfCity.find(city); r != readingOfCity.end()) reading = r->second;
      else if (auto r = readingOfPlace.find(stem); r != readingOfPlace.end()) reading = r->second + "し";
      else {
        // IPAdic only when it knows a single reading: of several, none is
        // shown rather than a guess.
        auto pr = in.placeReadings.find(city);
        bool whole = pr != in.placeReadings.end();
        if (!whole) pr = in.placeReadings.find(stem);
        if (pr != in.placeReadings.end()) {
          if (pr->second.size() == 1) reading = pr->second.front() + (whole ? "" : "し");
          else ++counts.citiesAmbiguous;
        }
      }
      ++counts.cities;
      if (reading.empty()) {
        ++counts.citiesWithoutReading;
        out.push_back("　" + city);
      } else {
        out.push_back("　" + city + " [" + reading + "]");
      }
    }
  }
}

// ---- 5 罗马字-假名对应表
struct Syllable {
  const char* romaji;
  const char* hiragana;
};
const Syllable kSyllables[] = {
    {"a", "あ"}, {"i", "い"}, {"u", "う"}, {"e", "え"}, {"o", "お"},
    {"ka", "か"}, {"ki", "き"}, {"ku", "く"}, {"ke", "け"}, {"ko", "こ"},
    {"sa", "さ"}, {"shi (si)", "し"}, {"su", "す"}, {"se", "せ"}, {"so", "そ"},
    {"ta", "た"}, {"chi (ti)", "ち"}, {"tsu (tu)", "つ"}, {"te", "て"}, {"to", "と"},
    {"na", "な"}, {"ni", "に"}, {"nu", "ぬ"}, {"ne", "ね"}, {"no", "の"},
    {"ha", "は"}, {"hi", "ひ"}, {"fu (hu)", "ふ"}, {"he", "へ"}, {"ho", "ほ"},
    {"ma", "ま"}, {"mi", "み"}, {"mu", "む"}, {"me", "め"}, {"mo", "も"},
    {"ya", "や"}, {"yu", "ゆ"}, {"yo", "よ"},
    {"ra", "ら"}, {"ri", "り"}, {"ru", "る"}, {"re", "れ"}, {"ro", "ろ"},
    {"wa", "わ"}, {"wo (o)", "を"}, {"n", "ん"},
    {"ga", "が"}, {"gi", "ぎ"}, {"gu", "ぐ"}, {"ge", "げ"}, {"go", "ご"},
    {"za", "ざ"}, {"ji (zi)", "じ"}, {"zu", "ず"}, {"ze", "ぜ"}, {"zo", "ぞ"},
    {"da", "だ"}, {"ji (di)", "ぢ"}, {"zu (du)", "づ"}, {"de", "で"}, {"do", "ど"},
    {"ba", "ば"}, {"bi", "び"}, {"bu", "ぶ"}, {"be", "べ"}, {"bo", "ぼ"},
    {"pa", "ぱ"}, {"pi", "ぴ"}, {"pu", "ぷ"}, {"pe", "ぺ"}, {"po", "ぽ"},
    {"kya", "きゃ"}, {"kyu", "きゅ"}, {"kyo", "きょ"},
    {"sha (sya)", "しゃ"}, {"shu (syu)", "しゅ"}, {"sho (syo)", "しょ"},
    {"cha (tya)", "ちゃ"}, {"chu (tyu)", "ちゅ"}, {"cho (tyo)", "ちょ"},
    {"nya", "にゃ"}, {"nyu", "にゅ"}, {"nyo", "にょ"},
    {"hya", "ひゃ"}, {"hyu", "ひゅ"}, {"hyo", "ひょ"},
    {"mya", "みゃ"}, {"myu", "みゅ"}, {"myo", "みょ"},
    {"rya", "りゃ"}, {"ryu", "りゅ"}, {"ryo", "りょ"},
    {"gya", "ぎゃ"}, {"gyu", "ぎゅ"}, {"gyo", "ぎょ"},
    {"ja (zya)", "じゃ"}, {"ju (zyu)", "じゅ"}, {"jo (zyo)", "じょ"},
    {"bya", "びゃ"}, {"byu", "びゅ"}, {"byo", "びょ"},
    {"pya", "ぴゃ"}, {"pyu", "ぴゅ"}, {"pyo", "ぴょ"},
};

std::string ToKatakana(std::string_view hiragana) {
  std::u32string cps = ToCodePoints(hiragana);
  for (char32_t& c : cps)
    if (c >= 0x3041 && c <= 0x3096) c += 0x60;
  return FromCodePoints(cps);
}

void RomajiSection(const GbkChecker& gbk, std::vector<std::string>& out) {
  out.push_back("罗马字（平文式），括号内为训令式等其他写法；后面依次是平假名和片假名。");
  for (const auto& s : kSyllables) {
    std::string kata = ToKatakana(s.hiragana);
    if (!gbk.fits(s.hiragana) || !gbk.fits(kata)) continue;
    std::string rom = s.romaji;
    rom.resize(std::max<size_t>(rom.size(), 10), ' ');
    out.push_back(rom + s.hiragana + "　" + kata);
  }
  out.push_back("");
  out.push_back("拨音「ん」写作 n，在 b、m、p 前也写作 m，如 shimbun（新聞）。");
  out.push_back("促音「っ」双写后面的辅音，如 kitte（切手）、zasshi（雑誌）。");
  out.push_back("长音在元音上加横线或双写元音，如 okaasan（お母さん）；片假名用「ー」表示长音。");
}

// ---- 6 平假名-片假名对照表
void KanaSection(const GbkChecker& gbk, std::vector<std::string>& out) {
  out.push_back("平假名　片假名");
  for (char32_t h = 0x3041; h <= 0x3096; ++h) {
    std::string hs = EncodeUtf8(h), ks = EncodeUtf8(h + 0x60);
    if (!gbk.fits(hs) || !gbk.fits(ks)) continue;
    out.push_back(hs + "　　　" + ks);
  }
  std::string only;
  for (char32_t k : {U'ヴ', U'ヵ', U'ヶ', U'ヷ', U'ヸ', U'ヹ', U'ヺ'}) {
    std::string ks = EncodeUtf8(k);
    if (gbk.fits(ks)) only += (only.empty() ? "" : "　") + ks;
  }
  if (!only.empty()) out.push_back("只用片假名：" + only);
  out.push_back("长音符号：ー（多用于片假名）");
}

// A body line that a title begins with would start that section early, and
// one that equals a title would end it in the appendix viewer; such lines get a leading
// ideographic space.
std::string Guard(const std::string& line) {
  if (line.empty()) return line;
  std::string lower = line;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (const auto& t : AppendixTitles())
    if (t.rfind(line, 0) == 0 || t == lower) return "　" + line;
  return line;
}

}  // namespace

std::vector<std::string> BuildAppendix(const std::vector<AppendixEntry>& entries, const Inputs& in,
                                       const GbkChecker& gbk, Counts& counts) {
  std::vector<std::string> out;
  const auto& titles = AppendixTitles();
  for (size_t s = 0; s < titles.size(); ++s) {
    std::vector<std::string> body;
    switch (s) {
      case 0: Abbreviations(entries, body); break;
      case 1: PartsOfSpeechSection(entries, body); break;
      case 2: LinguisticsSection(entries, body); break;
      case 3: CitiesSection(in, body, counts); break;
      case 4: RomajiSection(gbk, body); break;
      case 5: KanaSection(gbk, body); break;
    }
    out.push_back(titles[s]);
    for (const auto& line : body) {
      std::string mapped = Guard(MapToGbk(line));
      if (!gbk.fits(mapped)) {
        ++counts.appendixLinesSkippedGbk;
        continue;
      }
      out.push_back(std::move(mapped));
    }
    out.push_back("");
  }
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

}  // namespace kirvale::dictbuild
