// The dictionaries the benchmarks run on. By default generated here, at the
// largest size the program takes (32767 lines each). With KIRVALE_BENCH_FOLDER
// set to a program folder, its encrypted "multilingual.dic" and "english.dic"
// (the real dictionaries after a full build); with KIRVALE_BENCH_DIR set to a
// folder holding those two files in plain GBK, those.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "crypto/aes.h"
#include "dictionary/dictionary_reader.h"
#include "text/codec.h"

namespace kirvale::bench {

// The plain GBK bytes of `name`, or "" when neither variable is set.
inline std::string DictionaryBytes(const std::string& name) {
  if (const char* folder = std::getenv("KIRVALE_BENCH_FOLDER"))
    return crypto::DecryptContainerToBytes(std::string(folder) + "/" + name, crypto::kDictionaryPassphrase);
  std::string bytes;
  if (const char* dir = std::getenv("KIRVALE_BENCH_DIR")) text::readFile(std::string(dir) + "/" + name, bytes);
  return bytes;
}

inline std::string KanaOf(std::size_t i) {
  static const char* kana[] = {"あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し", "す", "せ", "そ", "た"};
  std::string s;
  do {
    s += kana[i % 16];
    i /= 16;
  } while (i);
  return s;
}

inline std::vector<std::string> GeneratedJapanese() {
  static const char* senses[] = {"(n) word", "(v5k,vi) to walk about", "(adj-i) blue/green/pale",
                                 "(n,vs) study/learning", "(n) category/classification"};
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < dictionary::kMaxLines; ++i)
    lines.push_back("語" + KanaOf(i) + " [" + KanaOf(i) + "] /" + senses[i % 5] + " " + std::to_string(i) +
                    "//词语" + std::to_string(i) + "；单词/");
  return lines;
}

inline std::vector<std::string> GeneratedEnglish() {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < dictionary::kMaxLines; ++i)
    lines.push_back("word" + std::to_string(i) + ",词语" + std::to_string(i) + "；单词");
  return lines;
}

// A reader on the Japanese or English dictionary.
inline void BindBenchReader(dictionary::DictionaryReader& reader, bool english) {
  const std::string bytes = DictionaryBytes(english ? "english.dic" : "multilingual.dic");
  if (!bytes.empty())
    reader.BindGbk(bytes);
  else
    reader.BindLines(english ? GeneratedEnglish() : GeneratedJapanese());
}

}  // namespace kirvale::bench
