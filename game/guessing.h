// The game itself: New Puzzle, the balloon mode, letter guesses, a typed
// solution, the solution display, winning and losing.
#pragma once

#include "platform/win32.h"

#include <string>

void NewPuzzle(HWND hwnd);
void BalloonMode(HWND hwnd);
void LetterClick(HWND hwnd, LPARAM lParam);
void SolvePuzzle(HWND hwnd);
void ShowSolution(HWND hwnd);

void ResetAlpha();
void FindChar(std::string& text, const std::string& sought);
std::string& replaceAll(std::string& text, const std::string& pattern, const std::string& replacement);
