#include "data/file_replace.h"

#include "data/file_names.h"
#include "platform/win32.h"

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
    if (writeWhole(out, content) && MoveFileExW(WideName(temporary).c_str(), WideName(path).c_str(),
                                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    std::error_code ignored;
    std::filesystem::remove(DiskPath(temporary), ignored);
    return false;
}
