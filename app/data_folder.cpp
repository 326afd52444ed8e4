#include "app/data_folder.h"

#include "app/state.h"
#include "data/file_names.h"
#include "data/file_replace.h"

#include <vector>

namespace {

const char kHelpName[] = MARIVANE_HELP_TITLE ".chm";
const char kScoreName[] = "MVStats.dat";
const char kWordsName[] = "MVData.dat";
const char kTimerName[] = "MVC_CONFIG.INI";
const char kLoadsName[] = "OnLoad.dat";
const char kStartersName[] = "MVStarters.dat";
const char kPlayerFolderName[] = "Marivane";
const char kProbeName[] = "Marivane-write-check.tmp";

// The program file's full name, however long it is.
std::string programFileName() {
    std::vector<wchar_t> buffer(260);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return Utf8Name(std::wstring(buffer.data(), length));
        buffer.resize(buffer.size() * 2);  // truncated: try again with more room
    }
}

// True when a new file can be made in `folder`. The probe file is gone again
// the moment it is closed, even if the program is killed meanwhile.
bool takesNewFiles(const std::string& folder) {
    HANDLE probe = CreateFileW(WideName(folder + kProbeName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    // A probe already there is another copy's, starting in the same folder.
    if (probe == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(probe);
    return true;
}

// %LOCALAPPDATA%\Marivane with a trailing separator; empty when the system
// names no such folder. Only named here: it is made once it is needed.
std::string playerFolder(char separator) {
    std::vector<wchar_t> buffer(32768);  // the longest value an environment variable can have
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return std::string();
    return Utf8Name(std::wstring(buffer.data(), length)) + separator + kPlayerFolderName + separator;
}

bool holdsGameFiles(const std::string& folder) {
    for (const char* name : {kLoadsName, kWordsName, kScoreName})
        if (!FileCertainlyMissing(folder + name)) return true;
    return false;
}

// A player's folder that has held the game's files stays their home, even
// once the program's folder could be written (started as administrator, or
// the folder unlocked): else their puzzles and scores would seem to vanish.
bool isPlayersHome(const std::string& player) {
    return !player.empty() && holdsGameFiles(player) && takesNewFiles(player);
}

bool madeTakingNewFiles(const std::string& player) {
    if (player.empty()) return false;
    CreateDirectoryW(WideName(player.substr(0, player.size() - 1)).c_str(), nullptr);
    return takesNewFiles(player);
}

// Copies a file the player's folder lacks from beside the program.
void seed(const std::string& programFolder, const std::string& dataFolder, const char* name) {
    std::string content;
    if (FileCertainlyMissing(dataFolder + name) && ReadFileContent(programFolder + name, content))
        ReplaceFileContent(dataFolder + name, content);
}

// A plain puzzle file beside the program (a teacher's, say) stands in for a
// store there is not; it is not given to a player who has puzzles of either kind.
void seedPuzzles(const std::string& programFolder, const std::string& player) {
    if (FileCertainlyMissing(programFolder + kLoadsName) && FileCertainlyMissing(player + kLoadsName))
        seed(programFolder, player, kWordsName);
    seed(programFolder, player, kLoadsName);
}

void warnNothingCanBeSaved(const std::string& folder) {
    const std::string text = "Marivane cannot write to the folder\n" + folder +
                             "\n\nPuzzles you add and the players' scores cannot be saved.";
    MessageBoxW(nullptr, WideName(text).c_str(), L"Marivane", MB_OK | MB_ICONWARNING);
}

std::string chooseDataFolder(const std::string& programFolder) {
    // Named with the separator the system gave in the program's own name.
    const std::string player = playerFolder(programFolder.empty() ? '\\' : programFolder.back());
    const bool playersHome = isPlayersHome(player);
    if (!playersHome && takesNewFiles(programFolder)) return programFolder;
    if (!playersHome && !madeTakingNewFiles(player)) {
        warnNothingCanBeSaved(player.empty() ? programFolder : player);
        return programFolder;
    }
    seedPuzzles(programFolder, player);
    seed(programFolder, player, kScoreName);
    return player;
}

}  // namespace

void FormDataPaths() {
    getDrivePath = programFileName();
    std::size_t separator = getDrivePath.find_last_of("\\/");
    getDrivePath.erase(separator == std::string::npos ? 0 : separator + 1);
    const std::string dataFolder = chooseDataFolder(getDrivePath);
    HelpFiler = getDrivePath + kHelpName;
    ScoreFile = dataFolder + kScoreName;
    WordsFile = dataFolder + kWordsName;
    LoadsFile = dataFolder + kLoadsName;
    StartersFile = getDrivePath + kStartersName;
    // A configuration beside the program (a teacher's lock, say) holds wherever the other files are.
    TimerFile = FileCertainlyMissing(getDrivePath + kTimerName) ? dataFolder + kTimerName : getDrivePath + kTimerName;
}
