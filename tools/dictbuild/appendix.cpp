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

// ---- 1 词典缩略语
// Tags that EDICT writes but the dictionary's tag table does not know; the
// appendix still explains every abbreviation a user meets in the entries.
const TagInfo kExtraTags[] = {
    {"litf", "用法", "literary or formal term", "书面语、正式用语"},
};

const TagInfo* FindAnyTag(std::string_view tag) {
  if (const TagInfo* t = FindTag(tag)) return t;
  for (const auto& t : kExtraTags)
    if (tag == t.tag) return &t;
  return nullptr;
}

// Every tag in the leading parentheses of a gloss, the sense number skipped,
// known to the tag table or to kExtraTags.
void CollectTags(std::string_view gloss, std::set<std::string>& used) {
  std::string_view rest = gloss;
  while (!rest.empty() && rest.front() == '(') {
    size_t close = rest.find(')');
    if (close == std::string_view::npos) break;
    std::string_view group = rest.substr(1, close - 1);
    bool number = !group.empty() && std::all_of(group.begin(), group.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!number) {
      std::vector<std::string_view> names;
      for (size_t pos = 0; pos <= group.size();) {
        size_t comma = std::min(group.find(',', pos), group.size());
        names.push_back(group.substr(pos, comma - pos));
        pos = comma + 1;
      }
      if (!std::all_of(names.begin(), names.end(), [](std::string_view n) { return FindAnyTag(n) != nullptr; }))
        break;  // an ordinary remark in parentheses: the tags are over
      for (auto n : names) used.insert(std::string(n));
    }
    rest.remove_prefix(close + 1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  }
}

void Abbreviations(const std::vector<AppendixEntry>& entries, std::vector<std::string>& out) {
  std::set<std::string> used;
  for (const auto& e : entries)
    for (const auto& g : e.glosses) CollectTags(g, used);
  out.push_back("英文释义开头括号中的缩写标明词类、用法、专业领域、方言或书写读音上的特点；"
                "(1)、(2)……是义项的编号。下面列出本词典中出现的全部缩写。");
  std::vector<TagInfo> table(TagTable().begin(), TagTable().end());
  for (const auto& extra : kExtraTags) {
    if (FindTag(extra.tag)) continue;  // the tag table has learnt it
    // After the last tag of its group.
    auto at = std::find_if(table.rbegin(), table.rend(), [&](const TagInfo& t) { return std::string_view(t.group) == extra.group; });
    table.insert(at.base(), extra);
  }
  std::string group;
  for (const auto& t : table) {
    if (!used.count(t.tag)) continue;
    if (group != t.group) {
      group = t.group;
      out.push_back("");
      out.push_back("【" + group + "】");
    }
    // Dialect tags end in a colon of their own ("ksb:").
    std::string tag = t.tag;
    out.push_back(tag + (tag.ends_with(":") ? " " : "：") + t.chinese + "（" + t.english + "）");
  }
}

// ---- 2 日语的词类
// Examples are written here with reviewed Chinese: the dictionary's own
// Chinese is often several candidate words, which would teach the wrong
// meaning in a table meant to explain.
struct Example {
  const char* head;
  const char* kana;  // empty for words written in kana
  const char* chinese;
};

struct PartOfSpeech {
  const char* title;
  const char* explanation;
  std::vector<std::string> tags;
  std::vector<Example> examples;
};

const std::vector<PartOfSpeech>& PartsOfSpeech() {
  static const std::vector<PartOfSpeech> parts = {
      {"名词（名詞）", "表示人、事物、时间、地点等名称的词。没有词形变化，后接助词构成句子成分。", {"n", "n-t", "n-adv"},
       {{"学校", "がっこう", "学校"}, {"電話", "でんわ", "电话"}, {"図書館", "としょかん", "图书馆"}}},
      {"代词（代名詞）", "代替人或事物名称的词，包括人称代词和指示代词。", {"pn"},
       {{"私", "わたし", "我"}, {"彼", "かれ", "他"}, {"これ", "", "这，这个"}}},
      {"数词（数詞）", "表示数量或顺序的词。", {"num"},
       {{"一", "いち", "一"}, {"二", "に", "二，两"}, {"百", "ひゃく", "一百"}}},
      {"助数词（助数詞）", "接在数词后面表示计量单位的词，相当于汉语的量词。", {"ctr"},
       {{"枚", "まい", "张，片（薄而平的东西）"}, {"冊", "さつ", "册，本（书籍）"}, {"匹", "ひき", "只，条，头（动物）"}}},
      {"五段动词（五段動詞）",
       "词尾在「う」段上，按「あ、い、う、え、お」五段变化的动词，如「書く」变为「書かない」「書きます」。",
       {"v5b", "v5g", "v5k", "v5k-s", "v5m", "v5n", "v5r", "v5r-i", "v5s", "v5t", "v5u", "v5u-s", "v5aru"},
       {{"書く", "かく", "写"}, {"読む", "よむ", "读，看（书）"}, {"話す", "はなす", "说，讲"}}},
      {"一段动词（一段動詞）",
       "词尾为「る」，「る」前的假名在「い」段或「え」段；变化时去掉「る」再接其他成分，如「食べる」变为「食べない」「食べます」。",
       {"v1", "v1-s"}, {{"食べる", "たべる", "吃"}, {"見る", "みる", "看"}, {"起きる", "おきる", "起床，起来"}}},
      {"カ行变格动词（カ変動詞）", "只有「来る（くる）」及其复合词，变化不规则：来ない（こない）、来ます（きます）。", {"vk"},
       {{"来る", "くる", "来"}, {"持って来る", "もってくる", "带来，拿来"}, {"連れて来る", "つれてくる", "领来，带（人）来"}}},
      {"サ行变格动词（サ変動詞）", "「する」以及「～する」「～ずる」类动词，变化不规则：しない、します、すれば。", {"vs-i", "vs-s", "vz"},
       {{"する", "", "做，干"}, {"愛する", "あいする", "爱"}, {"感ずる", "かんずる", "感到，感觉"}}},
      {"サ变名词（する名詞）", "本身是名词，后接「する」即可作动词用，如「勉強」和「勉強する」。", {"vs"},
       {{"勉強", "べんきょう", "学习"}, {"運動", "うんどう", "运动"}, {"旅行", "りょこう", "旅行"}}},
      {"自动词（自動詞）", "不带宾语的动词，动作不涉及其他对象，如「ドアが開く」（门开了）。", {"vi"},
       {{"開く", "あく", "（门、窗等）开"}, {"起きる", "おきる", "起床"}, {"行く", "いく", "去"}}},
      {"他动词（他動詞）", "带宾语（用「を」表示）的动词，如「ドアを開ける」（开门）。", {"vt"},
       {{"開ける", "あける", "打开"}, {"食べる", "たべる", "吃"}, {"読む", "よむ", "读"}}},
      {"形容词（形容詞）",
       "词尾为「い」，表示性质、状态或感情，有词形变化，如「高い」变为「高くない」「高かった」。",
       {"adj-i", "adj-ix"}, {{"高い", "たかい", "高；贵"}, {"新しい", "あたらしい", "新"}, {"美しい", "うつくしい", "美丽"}}},
      {"形容动词（形容動詞）",
       "又称ナ形容词。词干表示性质、状态；修饰名词时接「な」，作谓语时接「だ」「です」，如「静かな部屋」（安静的房间）。",
       {"adj-na"}, {{"静か", "しずか", "安静"}, {"綺麗", "きれい", "漂亮；干净"}, {"元気", "げんき", "精神，健康"}}},
      {"连体词（連体詞）", "只能修饰名词、没有词形变化的词。", {"adj-pn"},
       {{"この", "", "这个"}, {"あの", "", "那个"}, {"大きな", "おおきな", "大的"}}},
      {"副词（副詞）", "修饰动词、形容词等用言，表示程度、状态、时间等，没有词形变化。", {"adv", "adv-to"},
       {{"とても", "", "非常，很"}, {"もう", "", "已经；再"}, {"ゆっくり", "", "慢慢地"}}},
      {"接续词（接続詞）", "连接词语、句子或段落，表示前后之间的关系。", {"conj"},
       {{"しかし", "", "但是"}, {"そして", "", "然后；而且"}, {"だから", "", "所以"}}},
      {"感叹词（感動詞）", "表示感叹、呼唤或应答的词，能单独成句。", {"int"},
       {{"ああ", "", "啊"}, {"はい", "", "是，对"}, {"もしもし", "", "喂（打电话时）"}}},
      {"助词（助詞）", "附在其他词后面，表示词与词之间的关系或增添某种意义，没有词形变化。", {"prt"},
       {{"は", "", "提示主题，如「私は学生です」"}, {"が", "", "表示主语，如「雨が降る」"}, {"を", "", "表示宾语，如「本を読む」"}}},
      {"助动词（助動詞）", "附在用言等后面，增添否定、过去、推测、使役、被动、礼貌等意义，有词形变化。",
       {"aux-v", "aux", "aux-adj", "cop"},
       {{"です", "", "是（礼貌的断定）"}, {"ます", "", "表示礼貌，如「行きます」"}, {"ない", "", "表示否定，如「行かない」"}}},
      {"接头词（接頭語）", "附在词的前面，增添意义或语气，不能单独使用。", {"pref", "n-pref"},
       {{"お", "", "表示尊敬或美化，如「お茶」"}, {"ご", "", "表示尊敬，如「ご家族」"}, {"不", "ふ", "不，如「不便」"}}},
      {"接尾词（接尾語）", "附在词的后面，增添意义或改变词性，不能单独使用。", {"suf", "n-suf"},
       {{"さん", "", "先生，女士（敬称）"}, {"達", "たち", "们，如「私達」（我们）"}, {"屋", "や", "店，铺，如「本屋」（书店）"}}},
      {"惯用语、词组（表現）", "由几个词组成、作为一个整体使用的说法。", {"exp"},
       {{"おはようございます", "", "早上好"}, {"ありがとう", "", "谢谢"}, {"すみません", "", "对不起；劳驾"}}},
      {"拟声拟态词（オノマトペ）", "模仿声音或描摹状态的词，多作副词使用。", {"on-mim"},
       {{"わくわく", "", "（因期待而）兴奋"}, {"どきどき", "", "（心）怦怦地跳"}, {"にこにこ", "", "笑眯眯"}}},
  };
  return parts;
}

void PartsOfSpeechSection(std::vector<std::string>& out) {
  out.push_back("日语的词分为独立词和附属词；下面说明常见的词类，并各举几个例词。"
                "词类缩写见「词典缩略语」。");
  for (const auto& part : PartsOfSpeech()) {
    out.push_back("");
    out.push_back(part.title);
    out.push_back(part.explanation);
    std::string tagList;
    for (const auto& t : part.tags) tagList += (tagList.empty() ? "" : ", ") + t;
    out.push_back("缩写：" + tagList);
    for (const auto& e : part.examples) {
      std::string head = e.head;
      if (*e.kana) head += std::string(" [") + e.kana + "]";
      out.push_back("例：" + head + "　" + e.chinese);
    }
  }
}

// ---- 3 日语有关词汇
// Terms for talking about the Japanese language, with reviewed Chinese.
struct Term {
  const char* head;
  const char* kana;
  const char* chinese;
};
const Term kLanguageTerms[] = {
    {"日本語", "にほんご", "日语"},
    {"国語", "こくご", "国语（日本人称本国语言）"},
    {"言葉", "ことば", "语言；词语"},
    {"文字", "もじ", "文字"},
    {"平仮名", "ひらがな", "平假名"},
    {"片仮名", "かたかな", "片假名"},
    {"仮名", "かな", "假名"},
    {"漢字", "かんじ", "汉字"},
    {"ローマ字", "ろーまじ", "罗马字"},
    {"送り仮名", "おくりがな", "送假名（写在汉字后面的假名词尾）"},
    {"振り仮名", "ふりがな", "注音假名"},
    {"音読み", "おんよみ", "音读（汉字的字音）"},
    {"訓読み", "くんよみ", "训读（汉字的日语固有读法）"},
    {"五十音図", "ごじゅうおんず", "五十音图"},
    {"清音", "せいおん", "清音"},
    {"濁音", "だくおん", "浊音"},
    {"半濁音", "はんだくおん", "半浊音"},
    {"拗音", "ようおん", "拗音"},
    {"促音", "そくおん", "促音"},
    {"撥音", "はつおん", "拨音"},
    {"長音", "ちょうおん", "长音"},
    {"母音", "ぼいん", "元音"},
    {"子音", "しいん", "辅音"},
    {"アクセント", "", "声调，重音"},
    {"発音", "はつおん", "发音"},
    {"単語", "たんご", "单词"},
    {"語彙", "ごい", "词汇"},
    {"熟語", "じゅくご", "复合词；成语"},
    {"外来語", "がいらいご", "外来语"},
    {"和語", "わご", "和语（日本固有词）"},
    {"漢語", "かんご", "汉语词（源自汉语的词）"},
    {"品詞", "ひんし", "词类"},
    {"名詞", "めいし", "名词"},
    {"代名詞", "だいめいし", "代词"},
    {"動詞", "どうし", "动词"},
    {"形容詞", "けいようし", "形容词"},
    {"形容動詞", "けいようどうし", "形容动词"},
    {"副詞", "ふくし", "副词"},
    {"助詞", "じょし", "助词"},
    {"助動詞", "じょどうし", "助动词"},
    {"接続詞", "せつぞくし", "接续词，连词"},
    {"感動詞", "かんどうし", "感叹词"},
    {"活用", "かつよう", "（词形）变化，活用"},
    {"語幹", "ごかん", "词干"},
    {"語尾", "ごび", "词尾"},
    {"自動詞", "じどうし", "自动词，不及物动词"},
    {"他動詞", "たどうし", "他动词，及物动词"},
    {"主語", "しゅご", "主语"},
    {"述語", "じゅつご", "谓语"},
    {"目的語", "もくてきご", "宾语"},
    {"文法", "ぶんぽう", "语法"},
    {"文", "ぶん", "句子"},
    {"文章", "ぶんしょう", "文章"},
    {"敬語", "けいご", "敬语"},
    {"尊敬語", "そんけいご", "尊敬语"},
    {"謙譲語", "けんじょうご", "谦让语"},
    {"丁寧語", "ていねいご", "郑重语，礼貌语"},
    {"方言", "ほうげん", "方言"},
    {"標準語", "ひょうじゅんご", "标准语"},
    {"共通語", "きょうつうご", "（全国）通用语"},
    {"句読点", "くとうてん", "标点（句号和逗号）"},
    {"辞書", "じしょ", "词典"},
    {"翻訳", "ほんやく", "翻译"},
    {"通訳", "つうやく", "口译；口译员"},
};

void LinguisticsSection(std::vector<std::string>& out) {
  out.push_back("谈论日语和学习日语时常用的词汇。");
  for (const auto& t : kLanguageTerms) {
    std::string line = t.head;
    if (*t.kana) line += std::string(" [") + t.kana + "]";
    out.push_back(line + "　" + t.chinese);
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

// Syllables that only loanwords use, written in katakana alone.
const std::pair<const char*, const char*> kLoanwordKana[] = {
    {"fa", "ファ"}, {"fi", "フィ"}, {"fe", "フェ"}, {"fo", "フォ"},
    {"ti", "ティ"}, {"di", "ディ"}, {"tu", "トゥ"}, {"du", "ドゥ"},
    {"she", "シェ"}, {"je", "ジェ"}, {"che", "チェ"}, {"tsa", "ツァ"},
    {"wi", "ウィ"}, {"we", "ウェ"}, {"wo", "ウォ"},
    {"va", "ヴァ"}, {"vi", "ヴィ"}, {"vu", "ヴ"}, {"ve", "ヴェ"}, {"vo", "ヴォ"},
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
    // A tab keeps the kana in one column in the pane's proportional font.
    out.push_back(std::string(s.romaji) + "\t" + s.hiragana + "　" + kata);
  }
  out.push_back("");
  out.push_back("外来语用的片假名（罗马字　片假名）：");
  for (const auto& [rom, kata] : kLoanwordKana) {
    if (!gbk.fits(kata)) continue;
    out.push_back(std::string(rom) + "\t" + kata);
  }
  out.push_back("");
  out.push_back("拨音「ん」写作 n，在 b、m、p 前也写作 m，如 shimbun（新聞）。");
  out.push_back("促音「っ」双写后面的辅音，如 kitte（切手）、zasshi（雑誌）。");
  out.push_back("长音在元音上加横线或双写元音，如 okaasan（お母さん）；片假名用「ー」表示长音。");
}

// ---- 6 平假名-片假名对照表
void KanaSection(const GbkChecker& gbk, std::vector<std::string>& out) {
  auto pair = [&](std::string_view h) {
    std::string hs(h), ks = ToKatakana(h);
    if (gbk.fits(hs) && gbk.fits(ks)) out.push_back(hs + "　　　" + ks);
  };
  out.push_back("按五十音图的顺序：清音、浊音和半浊音、小写假名、旧假名。");
  out.push_back("平假名　片假名");
  // The single kana of the romaji table are the fifty sounds and their voiced forms.
  for (const auto& s : kSyllables)
    if (ToCodePoints(s.hiragana).size() == 1) pair(s.hiragana);
  out.push_back("");
  out.push_back("小写假名（拗音、促音等）：");
  for (const char* h : {"ぁ", "ぃ", "ぅ", "ぇ", "ぉ", "っ", "ゃ", "ゅ", "ょ", "ゎ"}) pair(h);
  out.push_back("");
  out.push_back("旧假名（现代日语一般不用）：");
  for (const char* h : {"ゐ", "ゑ"}) pair(h);
  std::string only;
  for (char32_t k : {U'ヴ', U'ヵ', U'ヶ', U'ヷ', U'ヸ', U'ヹ', U'ヺ'}) {
    std::string ks = EncodeUtf8(k);
    if (gbk.fits(ks)) only += (only.empty() ? "" : "　") + ks;
  }
  out.push_back("");
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
      case 1: PartsOfSpeechSection(body); break;
      case 2: LinguisticsSection(body); break;
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
