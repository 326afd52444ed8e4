// The start-up's windows: the two window classes with their picture brushes,
// the main window and the hidden console, and every control with its font,
// texts and pictures, in the order the start-up fixes. The game builds its
// windows here, and so does the start-up floor in bench/, which has exactly
// the game's windows and nothing else.
#pragma once

#include "platform/win32.h"

// Builds both windows with `procedure` as their window procedure; the main
// window, still hidden, or null when a class could not be registered. Between
// the controls created before and after the statistics, `loadScores` fills
// the score texts.
HWND CreateStartWindows(HINSTANCE instance, WNDPROC procedure, const char* mainTitle, void (*loadScores)());
int RunMessageLoop();
