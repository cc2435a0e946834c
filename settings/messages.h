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
inline constexpr MessagePair kChoosePartOfSpeech{"Please choose a part of speech.", "请选择词性。"};
inline constexpr MessagePair kEntryUnstorable{
    "The entry cannot be stored as typed: the Japanese and kana fields cannot hold \"[\", \"]\" or \"/\", "
    "the English definition cannot hold \"//\", and without kana neither definition can hold \"[\".",
    "无法按输入内容保存该词条：日语和假名中不能含有“[”、“]”或“/”，英语解释中不能含有“//”；"
    "没有假名时，解释中不能含有“[”。"};
inline constexpr MessagePair kUserDictFull{"My Dictionary is full: it holds at most 32767 entries.",
                                           "我的词典已满：最多只能保存32767个词条。"};
inline constexpr MessagePair kUserDictUnreadable{"The file of My Dictionary, userdict.dic, could not be read: ",
                                                 "无法读取我的词典文件userdict.dic："};
inline constexpr MessagePair kUserDictNotGbk{
    "The file of My Dictionary, userdict.dic, holds bytes that are not GBK text; they are shown as \xEF\xBF\xBD.",
    "我的词典文件userdict.dic中有非GBK编码的字节，显示为\xEF\xBF\xBD。"};
inline constexpr MessagePair kUserDictKept{
    "\nThe file as it is now will be kept as userdict.dic.bak when it is next saved.",
    "\n下次保存时，现有文件将保留为userdict.dic.bak。"};
inline constexpr MessagePair kUserDictTooLong{
    "The file of My Dictionary, userdict.dic, has more than 32767 lines; only the first 32767 are shown. "
    "The others stay in the file.",
    "我的词典文件userdict.dic超过32767行，只显示前32767行，其余各行仍保留在文件中。"};
inline constexpr MessagePair kUserDictNotSaved{"My Dictionary could not be saved: ", "无法保存我的词典："};
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
inline constexpr MessagePair kCaptureNeedsX11{
    "Screen capture needs an X11 desktop: this desktop has no primary selection to watch.",
    "屏幕取词需要X11桌面：当前桌面没有可供监视的主选区。"};

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

// Damaged files, folders that cannot be used, failed saves. "%1"... are
// filled in when the message is shown.
inline constexpr MessagePair kContainerDamaged{
    "The file %1 is damaged: its header gives a length of %2 bytes, but it holds only %3. "
    "Install the program's files again.",
    "文件%1已损坏：文件头记载的长度为%2字节，实际只有%3字节。请重新安装软件。"};
inline constexpr MessagePair kNoUserFolder{
    "The folder for your settings, %1, cannot be created (%2). Kirvale ends without writing anything.",
    "无法创建保存设置的文件夹%1（%2）。程序将退出，不写入任何文件。"};
inline constexpr MessagePair kSettingsNotSaved{"The settings could not be saved: ", "无法保存设置："};
inline constexpr MessagePair kNoInstanceLock{"Kirvale cannot start: %1", "程序无法启动：%1"};
inline constexpr MessagePair kReadAloudFailed{"Reading aloud failed: ", "朗读失败，声音设备不可用："};
inline constexpr MessagePair kListNotSaved{"%1 could not be saved; your changes are kept until the next try: %2",
                                           "无法保存%1，所做的修改将保留到下次保存：%2"};
// Help.
inline constexpr MessagePair kHelpMissing{
    "The help file Kirvale.chm is missing from the program folder. Download the software again.",
    "程序目录中没有帮助文件 Kirvale.chm；建议重新下载软件。"};
inline constexpr MessagePair kHelpUnreadable{
    "The help file Kirvale.chm cannot be read: it is damaged or not a help file.",
    "无法读取帮助文件 Kirvale.chm：文件已损坏或不是帮助文件。"};
}  // namespace msg

}  // namespace kirvale::settings
