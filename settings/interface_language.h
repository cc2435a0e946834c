// Switching the whole interface between English and Chinese.
//
// Every window registers itself once, when it is created; a window with a
// language-table tag carries it as the "tag" property, and so does each of
// its tagged controls and menu items. ApplyInterfaceLanguage walks them all,
// in creation order, and takes their texts from "language.ini". A window may
// also register the texts that are not tag-driven (its fixed text pairs).
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace kirvale::settings {

// Registers a window (in creation order) with the setter of its fixed text
// pairs, which ApplyLanguageToFixedTexts calls after a language switch.
void RegisterWindow(QWidget* window, std::function<void()> fixedTexts = {});
void ForgetWindows();

// Translates every tagged window, control and menu item into `language`
// (0 English, 1 Chinese) from the table file. Returns false, changing
// nothing, when the file cannot be read.
bool ApplyInterfaceLanguage(const QString& tablePath, std::int16_t language);

// Sets the registered fixed text pairs in the current language.
void ApplyLanguageToFixedTexts();

// The design fonts of translated captions: "Arial" 8 in English, "宋体" 10 in
// Chinese.
QFont CaptionFont(std::int16_t language);

}  // namespace kirvale::settings
