// The puzzle console: showing it, paging through the stored puzzles,
// deleting the one shown and adding new ones.
#pragma once

#include "platform/win32.h"

void ConsoleToggle(HWND hwnd);
void ReviewCommand();
void DeleteCommand();
void AddPuzzleCommand();

void flipthru();
void ExportWord();
void PuzClicked();
