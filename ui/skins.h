// The skin engine: four skins, each a style sheet compiled into the program
// (resources/skins/N.qss) with a palette for what a sheet does not reach.
// Selecting a skin re-skins every window of the application at once.
// Controls whose tag is 99 are left unskinned: they keep one plain look that
// no skin changes.
#pragma once

#include <QPalette>
#include <QString>

class QWidget;

namespace kirvale::ui {

// Selects stored skin `index` and re-skins every window with it. An index
// outside 0..3 leaves the current skin in place and does nothing.
void SelectSkin(int index);
// The selected skin, -1 before the first selection.
int CurrentSkin();
// How many times a skin was put on the application (for tests: selecting the
// same style again is not asked for and must not happen).
int SkinChanges();

// Re-skins the controls of one window with the current skin, so that parts
// added after the last selection (scroll bars switched on later, controls
// created afterwards) take it; tag-99 controls are made plain again.
void ReskinWindow(QWidget* window);

// The stored skin's style sheet and palette (empty / default for an index
// outside 0..3).
QString SkinSheet(int index);
QPalette SkinPalette(int index);

// Gives a control the plain look of an unskinned control.
void KeepUnskinned(QWidget* control);

}  // namespace kirvale::ui
