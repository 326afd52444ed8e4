// The shared game state: every routine of the program reads and writes these
// process-wide variables directly.
#pragma once

#include "platform/win32.h"

#include <fstream>
#include <string>

const int kLetterCount = 26;

// ---- Data-file paths, formed once at start-up ----
extern std::string getDrivePath;
extern std::string HelpFiler;
extern std::string ScoreFile;
extern std::string WordsFile;
extern std::string TimerFile;
extern std::string LoadsFile;
extern std::string StartersFile;

// ---- The current game ----
extern int gameRunning;
extern int numwrong;
extern int nowrongs;
extern int found;
extern int KillLet[kLetterCount];  // KillLet[0] is A: 1 once that letter has been played
extern std::string solveword;
extern std::string displayword;
extern std::string answer;
extern std::string buildword;
extern std::string showdashes;
extern std::string doubledash;
extern std::string grabhint;
extern std::string usedletters;
extern std::string letter;
extern std::string alpha;

// ---- Player options: press counters, only their parity matters ----
extern int difficulty;
extern int yeshint;
extern int audioset;
extern int HideCon;
extern int playertype;

// ---- Puzzle selection ----
extern int seedone;
extern int firstrun;
extern int gRandom;

// ---- Puzzle console and viewer ----
extern int doit;
extern int prelim;
extern std::ifstream pfinds;
extern std::string test1;
extern std::string test2;
extern std::string storepuzzles;
extern std::string EndofFile;
extern std::string exportwords;

// ---- Configuration ----
extern int ConsoleUse;
extern int EditingUse;

// ---- Statistics ----
extern int pscoreone, pscoretwo;
extern int pwinsone, pwinstwo;
extern int plossone, plosstwo;
extern std::string pallone, palltwo;
extern std::string pwinone, pwintwo;
extern std::string plosone, plostwo;
extern std::string pskillone, pskilltwo;
// 1 when the statistics file was there at start-up but could not be read (another program held it,
// say): it holds the players' own figures, which the run never saw, so the run's are not saved over them.
extern int ScoreFileUnread;

// ---- Windows ----
extern const char szClassName[];
extern const char szClassName2[];
extern HWND hWnd;  // the puzzle console; the main window's handle is not kept
extern HWND hPlayerOne, hPlayerTwo, hResetStats, hAudioCntl, hSkillCntl, hNewGame, hShowWord, hWordHint;
extern HWND hMinimize, hHelpMe, hQuitGame, hPuzzled, hEndGame, hConsole;
extern HWND hAddPuzzle, hDelSelect, hViewNext;
extern HWND hLetters[kLetterCount];  // hLetters[0] is A
extern HWND hPOneScore, hPTwoScore, hPOneWins, hPTwoWins, hPOneLose, hPTwoLose, hPOneSkill, hPTwoSkill;
extern HWND hGiveHint, hPuzzler, hDblDash, hUsedBin, hPlySmarts;
extern HWND PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev;
extern HWND hSolveMe, hEditWord, hEditHint;

// Puts every variable back to its value at process start; the program itself
// starts from these values, tests call it to begin each case afresh.
void ResetSharedState();
