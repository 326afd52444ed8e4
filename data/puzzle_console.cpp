#include "data/puzzle_console.h"

void ConsoleToggle(HWND) {}
void ReviewCommand() {}
void DeleteCommand() {}
void AddPuzzleCommand() {}
void flipthru() {}
void ExportWord() {}
void PuzClicked() {}
