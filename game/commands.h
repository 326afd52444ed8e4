// Commands that are not about the running game: players, statistics reset,
// the sound and hint toggles, minimising, leaving, and moving the windows.
#pragma once

#include "platform/win32.h"

void PlayerSwitch(HWND hwnd, int player);
void ResetStatsCommand(HWND hwnd);
void SoundToggle(HWND hwnd);
void HintToggle();
void MinimiseCommand(HWND hwnd);
void ExitCommand(HWND hwnd);
void MoveWithArrowKey(HWND hwnd, WPARAM key);
