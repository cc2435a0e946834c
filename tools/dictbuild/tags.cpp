// The EDICT tag table: the JMdict entity names that EDICT writes in
// parentheses at the start of a gloss, their English meaning, and our
// Chinese explanation. The appendix's first section lists those that occur
// in the built dictionary.
#include <deque>
#include <string>
#include <unordered_map>

#include "tools/dictbuild/dictbuild.h"

namespace kirvale::dictbuild {

namespace {

std::vector<TagInfo> MakeTable() {
  std::vector<TagInfo> t = {
      // ---- parts of speech
      {"n", "词类", "noun (common)", "名词"},
      {"n-adv", "词类", "adverbial noun", "副词性名词（可作副词用的名词）"},
      {"n-t", "词类", "noun (temporal)", "时间名词"},
      {"n-pr", "词类", "proper noun", "专有名词"},
      {"n-pref", "词类", "noun, used as a prefix", "用作接头词的名词"},
      {"n-suf", "词类", "noun, used as a suffix", "用作接尾词的名词"},
      {"pn", "词类", "pronoun", "代词"},
      {"num", "词类", "numeric", "数词"},
      {"ctr", "词类", "counter", "助数词（量词）"},
      {"adj-i", "词类", "adjective (keiyoushi)", "形容词（イ形容词，词尾为「い」）"},
      {"adj-ix", "词类", "adjective (keiyoushi), yoi/ii class", "形容词（「よい」「いい」类，变化特殊）"},
      {"adj-na", "词类", "adjectival noun (keiyodoshi)", "形容动词（ナ形容词，接「な」修饰名词）"},
      {"adj-no", "词类", "noun which may take the genitive particle 'no'", "可接「の」作定语的名词"},
      {"adj-pn", "词类", "pre-noun adjectival (rentaishi)", "连体词（只能修饰名词）"},
      {"adj-t", "词类", "'taru' adjective", "タルト型形容动词（接「たる」「と」）"},
      {"adj-f", "词类", "noun or verb acting prenominally", "作定语修饰名词的名词或动词"},
      {"adj-ku", "词类", "'ku' adjective (archaic)", "文语形容词（ク活用）"},
      {"adj-shiku", "词类", "'shiku' adjective (archaic)", "文语形容词（シク活用）"},
      {"adj-kari", "词类", "'kari' adjective (archaic)", "文语形容词（カリ活用）"},
      {"adj-nari", "词类", "archaic/formal form of na-adjective", "文语形容动词（ナリ活用）"},
      {"adv", "词类", "adverb (fukushi)", "副词"},
      {"adv-to", "词类", "adverb taking the 'to' particle", "可接「と」的副词"},
      {"conj", "词类", "conjunction", "接续词"},
      {"int", "词类", "interjection (kandoushi)", "感叹词"},
      {"prt", "词类", "particle", "助词"},
      {"aux", "词类", "auxiliary", "辅助成分"},
      {"aux-v", "词类", "auxiliary verb", "助动词、补助动词"},
      {"aux-adj", "词类", "auxiliary adjective", "补助形容词"},
      {"cop", "词类", "copula", "系词（だ、です）"},
      {"pref", "词类", "prefix", "接头词"},
      {"suf", "词类", "suffix", "接尾词"},
      {"exp", "词类", "expression (phrase, clause, etc.)", "惯用语、词组"},
      {"unc", "词类", "unclassified", "未分类"},
      {"v1", "词类", "Ichidan verb", "一段动词"},
      {"v1-s", "词类", "Ichidan verb, kureru special class", "一段动词（「くれる」特殊类）"},
      {"v5aru", "词类", "Godan verb, -aru special class", "五段动词（「いらっしゃる」等敬语特殊类）"},
      {"v5b", "词类", "Godan verb with 'bu' ending", "五段动词（词尾为「ぶ」）"},
      {"v5g", "词类", "Godan verb with 'gu' ending", "五段动词（词尾为「ぐ」）"},
      {"v5k", "词类", "Godan verb with 'ku' ending", "五段动词（词尾为「く」）"},
      {"v5k-s", "词类", "Godan verb, Iku/Yuku special class", "五段动词（「行く」类，音便特殊）"},
      {"v5m", "词类", "Godan verb with 'mu' ending", "五段动词（词尾为「む」）"},
      {"v5n", "词类", "Godan verb with 'nu' ending", "五段动词（词尾为「ぬ」）"},
      {"v5r", "词类", "Godan verb with 'ru' ending", "五段动词（词尾为「る」）"},
      {"v5r-i", "词类", "Godan verb with 'ru' ending (irregular verb)", "五段动词（词尾为「る」，不规则，如「ある」）"},
      {"v5s", "词类", "Godan verb with 'su' ending", "五段动词（词尾为「す」）"},
      {"v5t", "词类", "Godan verb with 'tsu' ending", "五段动词（词尾为「つ」）"},
      {"v5u", "词类", "Godan verb with 'u' ending", "五段动词（词尾为「う」）"},
      {"v5u-s", "词类", "Godan verb with 'u' ending (special class)", "五段动词（词尾为「う」，特殊类，如「問う」）"},
      {"v5uru", "词类", "Godan verb, Uru old class (old form of Eru)", "五段动词（「得る」的古形）"},
      {"vk", "词类", "Kuru verb, special class", "カ行变格动词（「来る」）"},
      {"vn", "词类", "irregular nu verb", "ナ行变格动词（「死ぬ」等）"},
      {"vr", "词类", "irregular ru verb, plain form ends with -ri", "ラ行变格动词（文语，终止形以「り」结尾）"},
      {"vs", "词类", "noun or participle which takes the auxiliary verb suru", "可接「する」的名词（サ变名词）"},
      {"vs-c", "词类", "su verb, precursor to the modern suru", "文语サ行变格动词（「す」）"},
      {"vs-i", "词类", "suru verb, included", "サ行变格动词（含「する」）"},
      {"vs-s", "词类", "suru verb, special class", "サ行变格动词（特殊类，如「愛する」）"},
      {"vz", "词类", "Ichidan verb, zuru verb (alternative form of -jiru verbs)", "ザ行变格动词（「～ずる」）"},
      {"vi", "词类", "intransitive verb", "自动词（不及物动词）"},
      {"vt", "词类", "transitive verb", "他动词（及物动词）"},
      {"v-unspec", "词类", "verb, unspecified", "动词（类型未定）"},
      {"v2a-s", "词类", "Nidan verb with 'u' ending (archaic)", "文语二段动词（词尾为「う」）"},
      {"v4b", "词类", "Yodan verb with 'bu' ending (archaic)", "文语四段动词（词尾为「ぶ」）"},
      {"v4g", "词类", "Yodan verb with 'gu' ending (archaic)", "文语四段动词（词尾为「ぐ」）"},
      {"v4h", "词类", "Yodan verb with 'hu/fu' ending (archaic)", "文语四段动词（词尾为「ふ」）"},
      {"v4k", "词类", "Yodan verb with 'ku' ending (archaic)", "文语四段动词（词尾为「く」）"},
      {"v4m", "词类", "Yodan verb with 'mu' ending (archaic)", "文语四段动词（词尾为「む」）"},
      {"v4n", "词类", "Yodan verb with 'nu' ending (archaic)", "文语四段动词（词尾为「ぬ」）"},
      {"v4r", "词类", "Yodan verb with 'ru' ending (archaic)", "文语四段动词（词尾为「る」）"},
      {"v4s", "词类", "Yodan verb with 'su' ending (archaic)", "文语四段动词（词尾为「す」）"},
      {"v4t", "词类", "Yodan verb with 'tsu' ending (archaic)", "文语四段动词（词尾为「つ」）"},
      // ---- usage
      {"abbr", "用法", "abbreviation", "略语、缩写"},
      {"arch", "用法", "archaism", "古语"},
      {"chn", "用法", "children's language", "儿语"},
      {"col", "用法", "colloquialism", "口语"},
      {"dated", "用法", "dated term", "过时的说法"},
      {"derog", "用法", "derogatory", "贬义"},
      {"fam", "用法", "familiar language", "亲昵的说法"},
      {"fem", "用法", "female term or language", "女性用语"},
      {"form", "用法", "formal or literary term", "正式用语、书面语"},
      {"hist", "用法", "historical term", "历史用语"},
      {"hon", "用法", "honorific or respectful (sonkeigo) language", "尊敬语"},
      {"hum", "用法", "humble (kenjougo) language", "谦让语"},
      {"id", "用法", "idiomatic expression", "惯用表达"},
      {"joc", "用法", "jocular, humorous term", "戏谑、幽默的说法"},
      {"m-sl", "用法", "manga slang", "漫画用语"},
      {"male", "用法", "male term or language", "男性用语"},
      {"net-sl", "用法", "Internet slang", "网络用语"},
      {"obs", "用法", "obsolete term", "已废弃的说法"},
      {"obsc", "用法", "obscure term", "生僻的说法"},
      {"on-mim", "用法", "onomatopoeic or mimetic word", "拟声词、拟态词"},
      {"poet", "用法", "poetical term", "诗歌用语"},
      {"pol", "用法", "polite (teineigo) language", "郑重语（礼貌语）"},
      {"proverb", "用法", "proverb", "谚语"},
      {"quote", "用法", "quotation", "引语"},
      {"rare", "用法", "rare", "少用"},
      {"sens", "用法", "sensitive", "敏感用语"},
      {"sl", "用法", "slang", "俚语"},
      {"uk", "用法", "word usually written using kana alone", "通常只用假名书写"},
      {"uK", "用法", "word usually written using kanji alone", "通常只用汉字书写"},
      {"vulg", "用法", "vulgar expression or word", "粗俗的说法"},
      {"X", "用法", "rude or X-rated term", "粗鄙、不雅的说法"},
      {"yoji", "用法", "yojijukugo (four-character compound)", "四字熟语"},
      // ---- fields
      {"agric", "专业领域", "agriculture", "农业"},
      {"anat", "专业领域", "anatomy", "解剖学"},
      {"archeol", "专业领域", "archeology", "考古学"},
      {"archit", "专业领域", "architecture", "建筑"},
      {"art", "专业领域", "art, aesthetics", "美术、美学"},
      {"astron", "专业领域", "astronomy", "天文学"},
      {"audvid", "专业领域", "audiovisual", "音像"},
      {"aviat", "专业领域", "aviation", "航空"},
      {"baseb", "专业领域", "baseball", "棒球"},
      {"biochem", "专业领域", "biochemistry", "生物化学"},
      {"biol", "专业领域", "biology", "生物学"},
      {"bot", "专业领域", "botany", "植物学"},
      {"Buddh", "专业领域", "Buddhism", "佛教"},
      {"bus", "专业领域", "business", "商务"},
      {"chem", "专业领域", "chemistry", "化学"},
      {"Christn", "专业领域", "Christianity", "基督教"},
      {"cloth", "专业领域", "clothing", "服装"},
      {"comp", "专业领域", "computing", "计算机"},
      {"cryst", "专业领域", "crystallography", "晶体学"},
      {"ecol", "专业领域", "ecology", "生态学"},
      {"econ", "专业领域", "economics", "经济学"},
      {"elec", "专业领域", "electricity, electrical engineering", "电学、电气工程"},
      {"electr", "专业领域", "electronics", "电子学"},
      {"embryo", "专业领域", "embryology", "胚胎学"},
      {"engr", "专业领域", "engineering", "工程"},
      {"ent", "专业领域", "entomology", "昆虫学"},
      {"finc", "专业领域", "finance", "金融"},
      {"fish", "专业领域", "fishing", "渔业"},
      {"food", "专业领域", "food, cooking", "饮食、烹饪"},
      {"gardn", "专业领域", "gardening, horticulture", "园艺"},
      {"genet", "专业领域", "genetics", "遗传学"},
      {"geogr", "专业领域", "geography", "地理"},
      {"geol", "专业领域", "geology", "地质学"},
      {"geom", "专业领域", "geometry", "几何"},
      {"go", "专业领域", "go (game)", "围棋"},
      {"golf", "专业领域", "golf", "高尔夫"},
      {"gramm", "专业领域", "grammar", "语法"},
      {"grmyth", "专业领域", "Greek mythology", "希腊神话"},
      {"hanaf", "专业领域", "hanafuda", "花札（日本纸牌）"},
      {"horse", "专业领域", "horse racing", "赛马"},
      {"law", "专业领域", "law", "法律"},
      {"ling", "专业领域", "linguistics", "语言学"},
      {"logic", "专业领域", "logic", "逻辑学"},
      {"MA", "专业领域", "martial arts", "武术"},
      {"mahj", "专业领域", "mahjong", "麻将"},
      {"math", "专业领域", "mathematics", "数学"},
      {"mech", "专业领域", "mechanical engineering", "机械工程"},
      {"med", "专业领域", "medicine", "医学"},
      {"met", "专业领域", "meteorology", "气象学"},
      {"mil", "专业领域", "military", "军事"},
      {"music", "专业领域", "music", "音乐"},
      {"ornith", "专业领域", "ornithology", "鸟类学"},
      {"paleo", "专业领域", "paleontology", "古生物学"},
      {"pathol", "专业领域", "pathology", "病理学"},
      {"pharm", "专业领域", "pharmacy", "药学"},
      {"phil", "专业领域", "philosophy", "哲学"},
      {"photo", "专业领域", "photography", "摄影"},
      {"physics", "专业领域", "physics", "物理学"},
      {"physiol", "专业领域", "physiology", "生理学"},
      {"print", "专业领域", "printing", "印刷"},
      {"psy", "专业领域", "psychiatry", "精神病学"},
      {"psych", "专业领域", "psychology", "心理学"},
      {"rail", "专业领域", "railway", "铁路"},
      {"Shinto", "专业领域", "Shinto", "神道"},
      {"shogi", "专业领域", "shogi", "日本将棋"},
      {"sports", "专业领域", "sports", "体育"},
      {"stat", "专业领域", "statistics", "统计学"},
      {"sumo", "专业领域", "sumo", "相扑"},
      {"telec", "专业领域", "telecommunications", "电信"},
      {"tradem", "专业领域", "trademark", "商标"},
      {"vidg", "专业领域", "video games", "电子游戏"},
      {"zool", "专业领域", "zoology", "动物学"},
      // ---- dialects
      {"bra:", "方言", "Brazilian", "巴西日侨用语"},
      {"hob:", "方言", "Hokkaido-ben", "北海道方言"},
      {"ksb:", "方言", "Kansai-ben", "关西方言"},
      {"ktb:", "方言", "Kantou-ben", "关东方言"},
      {"kyb:", "方言", "Kyoto-ben", "京都方言"},
      {"kyu:", "方言", "Kyuushuu-ben", "九州方言"},
      {"nab:", "方言", "Nagano-ben", "长野方言"},
      {"osb:", "方言", "Osaka-ben", "大阪方言"},
      {"rkb:", "方言", "Ryuukyuu-ben", "琉球方言"},
      {"thb:", "方言", "Touhoku-ben", "东北方言"},
      {"tsb:", "方言", "Tosa-ben", "土佐方言"},
      {"tsug:", "方言", "Tsugaru-ben", "津轻方言"},
      // ---- writing and reading
      {"ateji", "书写与读音", "ateji (phonetic) reading", "借字（当て字，借用汉字表音）"},
      {"gikun", "书写与读音", "gikun (meaning as reading) or jukujikun", "义训、熟字训（按词义读整个词）"},
      {"iK", "书写与读音", "word containing irregular kanji usage", "含不规范的汉字用法"},
      {"ik", "书写与读音", "word containing irregular kana usage", "含不规范的假名用法"},
      {"io", "书写与读音", "irregular okurigana usage", "不规范的送假名"},
      {"oK", "书写与读音", "word containing out-dated kanji", "含旧字体汉字"},
      {"ok", "书写与读音", "out-dated or obsolete kana usage", "旧的假名用法"},
      {"rK", "书写与读音", "rarely used kanji form", "少用的汉字写法"},
  };
  // The archaic Nidan verbs: v2 + row + k (kami) or s (shimo).
  static const char* const kRows[][2] = {{"b", "ぶ"}, {"d", "づ"}, {"g", "ぐ"}, {"h", "ふ"}, {"k", "く"},
                                         {"m", "む"}, {"n", "ぬ"}, {"r", "る"}, {"s", "す"}, {"t", "つ"},
                                         {"w", "う"}, {"y", "ゆ"}, {"z", "ず"}};
  static std::deque<std::string> names;  // owns the generated texts (a deque never moves them)
  for (const auto& row : kRows) {
    for (const char* kind : {"k", "s"}) {
      std::string k = kind;
      names.push_back(std::string("v2") + row[0] + "-" + k);
      const char* tag = names.back().c_str();
      names.push_back(std::string("Nidan verb (") + (k == "k" ? "upper" : "lower") + " class) with '" + row[0] +
                      "' ending (archaic)");
      const char* en = names.back().c_str();
      names.push_back(std::string("文语") + (k == "k" ? "上" : "下") + "二段动词（词尾为「" + row[1] + "」）");
      const char* zh = names.back().c_str();
      t.push_back({tag, "词类", en, zh});
    }
  }
  return t;
}

}  // namespace

const std::vector<TagInfo>& TagTable() {
  static const std::vector<TagInfo> table = MakeTable();
  return table;
}

const TagInfo* FindTag(std::string_view tag) {
  static const std::unordered_map<std::string_view, const TagInfo*> byName = [] {
    std::unordered_map<std::string_view, const TagInfo*> m;
    for (const auto& t : TagTable()) m.emplace(t.tag, &t);
    return m;
  }();
  auto it = byName.find(tag);
  return it == byName.end() ? nullptr : it->second;
}

}  // namespace kirvale::dictbuild
