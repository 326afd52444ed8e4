#include "data/file_replace.h"

#include "platform/win32.h"

#include <cstdio>
#include <fstream>

bool ReadFileContent(const std::string& path, std::string& content) {
    std::ifstream in(path);
    if (!in.is_open()) return false;
    // Through the stream, not its buffer: a read error (a folder in the
    // file's place, say) then sets badbit instead of throwing.
    content.clear();
    char c;
    while (in.get(c)) content += c;
    return !in.bad();
}

bool ReplaceFileContent(const std::string& path, const std::string& content) {
    const std::string temporary = path + ".tmp";
    std::ofstream out(temporary);
    // Whatever already stands at that name (a folder, say) is not ours to remove.
    if (!out.is_open()) return false;
    out << content;
    out.flush();
    out.close();
    // std::rename cannot replace an existing file on Windows; MoveFileExA can, in one step.
    if (!out.fail() &&
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    std::remove(temporary.c_str());
    return false;
}
