#include "data/file_replace.h"

#include "data/file_names.h"
#include "platform/win32.h"

#include <algorithm>
#include <fstream>
#include <system_error>

bool ReadFileContent(const std::string& path, std::string& content) {
    std::ifstream in(DiskPath(path), std::ios::binary | std::ios::ate);
    if (!in.is_open()) return false;
    // One read of the size the file has now, then whatever it grew by
    // meanwhile. Through the stream, not its buffer: a read error (a folder in
    // the file's place, say) then sets badbit instead of throwing.
    const std::streamoff size = in.tellg();
    in.seekg(0);
    content.assign(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    in.read(&content[0], static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    char rest[4096];
    while (in.read(rest, sizeof rest) || in.gcount() > 0) content.append(rest, static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

bool FileCertainlyMissing(const std::string& path) {
    return GetFileAttributesW(WideName(path).c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
}

namespace {

bool writeWhole(std::ofstream& out, const std::string& content) {
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();  // the last bytes reach the disk, or fail, only here
    return !out.fail();
}

// How refusals look while another program (an antivirus scan, a backup, an
// indexer, a cloud folder's sync) has the file open without delete sharing.
bool heldByAnotherProgram(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Such programs let go within moments, so a refusal of that kind is tried
// again after a pause that doubles each time, for a second in all.
bool moveOver(const std::wstring& from, const std::wstring& to) {
    const DWORD patience = 1000;  // milliseconds
    DWORD waited = 0;
    for (DWORD pause = 10;; pause *= 2) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        if (!heldByAnotherProgram(GetLastError()) || waited >= patience) return false;
        pause = std::min(pause, patience - waited);
        Sleep(pause);
        waited += pause;
    }
}

// The box has no owner but disables every window of the game while it is
// open, so that no second way out can start a save meanwhile.
bool playerTriesAgain(const std::string& path, const char* what) {
    const std::string text = std::string("The ") + what + " were not saved: Marivane could not write\n" + path +
                             "\n\nAnother program may be using the file. Choose Retry to try again, or Cancel to "
                             "end the game.";
    return MessageBoxW(nullptr, WideName(text).c_str(), L"Marivane", MB_RETRYCANCEL | MB_ICONWARNING | MB_TASKMODAL) ==
           IDRETRY;
}

}  // namespace

bool ReplaceFileContent(const std::string& path, const std::string& content, std::ios::openmode mode) {
    const std::string temporary = path + ".tmp";
    std::ofstream out(DiskPath(temporary), mode | std::ios::trunc);
    if (!out.is_open()) {
        // No file can be made beside it (a folder that takes no new files, or
        // something at that name, which is not ours to remove): the file itself
        // is rewritten, as earlier versions always did.
        std::ofstream inPlace(DiskPath(path), mode | std::ios::trunc);
        return inPlace.is_open() && writeWhole(inPlace, content);
    }
    // std::rename cannot replace an existing file on Windows; MoveFileExW can, in one step.
    if (writeWhole(out, content) && moveOver(WideName(temporary), WideName(path))) return true;
    std::error_code ignored;
    std::filesystem::remove(DiskPath(temporary), ignored);
    return false;
}

bool SaveAtQuit(const std::string& path, const std::string& content, const char* what) {
    while (!ReplaceFileContent(path, content))
        if (!playerTriesAgain(path, what)) return false;
    return true;
}
