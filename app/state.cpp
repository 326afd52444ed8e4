#include "app/state.h"

std::string getDrivePath;
std::string HelpFiler;
std::string ScoreFile;
std::string WordsFile;
std::string TimerFile;
std::string LoadsFile;
std::string StartersFile;

int gameRunning;
int numwrong;
int nowrongs;
int found;
int KillLet[kLetterCount];
std::string solveword;
std::string displayword;
std::string answer;
std::string buildword;
std::string showdashes;
std::string doubledash;
std::string grabhint;
std::string usedletters;
std::string letter = "a";
std::string alpha = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ#";

int difficulty;
int yeshint;
int audioset;
int HideCon;
int playertype = 1;

int seedone;
int firstrun;
int gRandom;

int doit;
int prelim;
std::ifstream pfinds;
std::string test1;
std::string test2;
std::string storepuzzles;
std::string EndofFile;
std::string exportwords;

int ConsoleUse;
int EditingUse;

int pscoreone, pscoretwo;
int pwinsone, pwinstwo;
int plossone, plosstwo;
std::string pallone, palltwo;
std::string pwinone, pwintwo;
std::string plosone, plostwo;
std::string pskillone, pskilltwo;
int ScoreFileUnread;

const char szClassName[] = "Marivane";
const char szClassName2[] = "Add_Puzzles";
HWND hWnd;
HWND hPlayerOne, hPlayerTwo, hResetStats, hAudioCntl, hSkillCntl, hNewGame, hShowWord, hWordHint;
HWND hMinimize, hHelpMe, hQuitGame, hPuzzled, hEndGame, hConsole;
HWND hAddPuzzle, hDelSelect, hViewNext;
HWND hLetters[kLetterCount];
HWND hPOneScore, hPTwoScore, hPOneWins, hPTwoWins, hPOneLose, hPTwoLose, hPOneSkill, hPTwoSkill;
HWND hGiveHint, hPuzzler, hDblDash, hUsedBin, hPlySmarts;
HWND PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev;
HWND hSolveMe, hEditWord, hEditHint;

void ResetSharedState() {
    for (std::string* path :
         {&getDrivePath, &HelpFiler, &ScoreFile, &WordsFile, &TimerFile, &LoadsFile, &StartersFile})
        path->clear();
    for (std::string* text : {&solveword, &displayword, &answer, &buildword, &showdashes, &doubledash, &grabhint,
                              &usedletters, &test1, &test2, &storepuzzles, &EndofFile, &exportwords, &pallone,
                              &palltwo, &pwinone, &pwintwo, &plosone, &plostwo, &pskillone, &pskilltwo})
        text->clear();
    letter = "a";
    alpha = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ#";
    for (int* counter : {&gameRunning, &numwrong, &nowrongs, &found, &difficulty, &yeshint, &audioset, &HideCon,
                         &seedone, &firstrun, &gRandom, &doit, &prelim, &ConsoleUse, &EditingUse, &pscoreone,
                         &pscoretwo, &pwinsone, &pwinstwo, &plossone, &plosstwo, &ScoreFileUnread})
        *counter = 0;
    playertype = 1;
    for (int& flag : KillLet) flag = 0;
    if (pfinds.is_open()) pfinds.close();
    pfinds.clear();
    for (HWND* handle : {&hWnd, &hPlayerOne, &hPlayerTwo, &hResetStats, &hAudioCntl, &hSkillCntl, &hNewGame,
                         &hShowWord, &hWordHint, &hMinimize, &hHelpMe, &hQuitGame, &hPuzzled, &hEndGame, &hConsole,
                         &hAddPuzzle, &hDelSelect, &hViewNext, &hPOneScore, &hPTwoScore, &hPOneWins, &hPTwoWins,
                         &hPOneLose, &hPTwoLose, &hPOneSkill, &hPTwoSkill, &hGiveHint, &hPuzzler, &hDblDash,
                         &hUsedBin, &hPlySmarts, &PopZero, &PopOne, &PopTwo, &PopTre, &PopFor, &PopFiv, &PopSix,
                         &PopSev, &hSolveMe, &hEditWord, &hEditHint})
        *handle = nullptr;
    for (HWND& handle : hLetters) handle = nullptr;
}
