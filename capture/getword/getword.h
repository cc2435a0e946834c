// The hook library: reports the text the user selects anywhere on the
// desktop to the capture pop-up.
//
// Loading the library creates the shared block "GetWord32 for 9x NT 2000"
// (private to the user and the display). While hooked, the library watches
// the desktop's primary selection (a word selected or double-clicked in any
// window), writes it into the block at offset 134 as GBK and sends the
// capture message with lParam 2 to the window whose handle stands at offset
// 0; a pointer move sends lParam 1.
#pragma once

#if defined(GETWORD_BUILDING)
#define GETWORD_EXPORT __attribute__((visibility("default")))
#else
#define GETWORD_EXPORT
#endif

extern "C" {

// Starts delivering messages. Needs a running QGuiApplication; repeated
// calls are harmless.
GETWORD_EXPORT void StartHook();
// Stops both the selection watching and the pointer polling; repeated calls
// are harmless.
GETWORD_EXPORT void StopHook();
// 1 when the desktop has a primary selection to watch (X11), else 0.
GETWORD_EXPORT int HookWatchesSelection();
// 1 while hooked.
GETWORD_EXPORT int HookStarted();
}
