// Every user message and run-time text that depends on the interface
// language, held as an English/Chinese pair and chosen by UiLanguage
// (0 English, 1 Chinese) when it is shown.
#pragma once

#include <cstdint>
#include <string>

namespace kirvale::settings {

struct MessagePair {
  const char* english;
  const char* chinese;
  const char* in(std::int16_t uiLanguage) const { return uiLanguage == 0 ? english : chinese; }
};

namespace msg {
// Start-up: missing data files. The list of names stands between head and tail.
inline constexpr MessagePair kFilesMissingHead{"File(s) missing:", "以下文件丢失："};
inline constexpr MessagePair kFilesMissingTail{
    ". Some functions unavailable or it has to terminate. Download the software again. See help file.",
    "。某些功能将不可用或者无法运行；建议重新下载软件。请参阅帮助文件。"};
// Settings dialog.
inline constexpr MessagePair kClearHistory{"Clear the history of searching?", "是否清除所有查询历史记录？"};
// My Dictionary.
inline constexpr MessagePair kEntryExists{"The entry already exists.Use Update instead.",
                                          "词条已存在，清使用更新功能。"};
inline constexpr MessagePair kEntryIsNew{"This a totally new entry.Please click Add to add it.",
                                         "这是一个新词条，请使用添加功能。"};
// New-words notebook.
inline constexpr MessagePair kStopScanning{"This will stop the current scanning.Stop it anyway?",
                                           "删除操作将使进行中的浏览终止，终止浏览吗？"};
inline constexpr MessagePair kNoWordsSelected{"No words selected for exercising.", "没有选择练习的单词。"};
inline constexpr MessagePair kNotStarted{"You have not started yet.", "你还没有开始测试。"};
inline constexpr MessagePair kYourMark{"Your mark is ", "你的得分率是"};
inline constexpr MessagePair kWorkHarder{"Work harder", "请更加努力"};
inline constexpr MessagePair kWellDone{"Well done. Let's do it better", "很不错，祝愿你取得更好的成绩"};
inline constexpr MessagePair kPerfect{"Perfect. Congratulations", "完美的表现，祝贺你"};
// New-words notebook: its file "newdict.dic" could not be read or written.
inline constexpr MessagePair kNotebookUnreadable{"The new-words file newdict.dic could not be read: ",
                                                 "无法读取生词本文件newdict.dic："};
inline constexpr MessagePair kNotebookNotGbk{
    "The new-words file newdict.dic holds bytes that are not GBK text; they are shown as \xEF\xBF\xBD.",
    "生词本文件newdict.dic中有非GBK编码的字节，显示为\xEF\xBF\xBD。"};
inline constexpr MessagePair kNotebookKept{
    "\nThe file as it is now will be kept as newdict.dic.bak when the program closes.",
    "\n程序关闭时，现有文件将保留为newdict.dic.bak。"};
inline constexpr MessagePair kNotebookNotSaved{"The new-words notebook could not be saved: ", "无法保存生词本："};
// Capture pop-up.
inline constexpr MessagePair kNotFound{"Not found!", "没有找到！"};

// Lookup results: both halves are always shown together, one in each pane.
inline constexpr MessagePair kEntryNotFound{"Sorry, the typed entry has not been found.",
                                            "对不起，未找到输入的词条。"};
inline constexpr MessagePair kTryAdvancedSearch{" Try advanced search.", "请使用高级查询。"};
inline constexpr MessagePair kFoundInMyDictionary{"Found in My Dictionary.", "（出现在我的词典）"};

// Start-up problems that the program mends instead of giving up.
inline constexpr MessagePair kSettingsUnreadable{
    "The settings file could not be read: ",
    "无法读取设置文件："};
inline constexpr MessagePair kSettingsUnreadableTail{
    "\nThe settings that could not be read were reset to their first-run values.",
    "\n未能读取的设置已恢复为初始值。"};
inline constexpr MessagePair kDictionaryTooLong{
    "A dictionary file has more than 32767 lines; only the first 32767 are used: ",
    "词典文件超过32767行，只使用前32767行："};
inline constexpr MessagePair kSpeechUnavailable{
    "Reading aloud is not available: ",
    "朗读功能不可用："};
inline constexpr MessagePair kHistoryUnreadable{
    "The search history could not be read: ",
    "无法读取查询记录："};
inline constexpr MessagePair kHistoryNotSaved{
    "The search history could not be saved: ",
    "无法保存查询记录："};
// Help.
inline constexpr MessagePair kHelpMissing{
    "The help file Kirvale.chm is missing from the program folder. Download the software again.",
    "程序目录中没有帮助文件 Kirvale.chm；建议重新下载软件。"};
inline constexpr MessagePair kHelpUnreadable{
    "The help file Kirvale.chm cannot be read: it is damaged or not a help file.",
    "无法读取帮助文件 Kirvale.chm：文件已损坏或不是帮助文件。"};
}  // namespace msg

}  // namespace kirvale::settings
