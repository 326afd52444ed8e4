// The puzzle console: showing it, paging through the stored puzzles,
// deleting the one shown and adding new ones.
#pragma once

#include "platform/win32.h"

void ConsoleToggle(HWND hwnd);
void ReviewCommand();
void DeleteCommand();
void AddPuzzleCommand();

// One step of the viewer: shows the next record, or, while doit is 1, deletes
// the one shown. The stream pfinds stays open on the puzzle file between steps.
void flipthru();
// Appends exportwords to the puzzle file and ends a viewer pass under way.
// False when the file would not take the record.
bool ExportWord();
// Ends the viewer pass when a new game starts while a record is shown.
void PuzClicked();
