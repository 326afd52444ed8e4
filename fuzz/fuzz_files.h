// What the fuzz targets share: a fresh start for each case, its data files in
// a temporary folder of the process's own, and whole files in binary.
#pragma once

#include "app/state.h"
#include "headless/headless_records.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Starts a case afresh, puts its bytes into the data file `file` (a path that
// it sets) when one is given, and returns them as text.
inline std::string StartCase(const std::uint8_t* data, std::size_t size, const std::string* file = nullptr) {
    static const struct Folder {
        char path[32] = "/tmp/marivane-fuzz-XXXXXX";
        Folder() { mkdtemp(path); }
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
    ResetSharedState();
    headless_clear_log();  // the beeps of millions of cases would pile up
    for (auto [path, name] : {std::pair{&ScoreFile, "MVStats.dat"}, {&WordsFile, "MVData.dat"},
                              {&TimerFile, "MVC_CONFIG.INI"}, {&LoadsFile, "OnLoad.dat"}})
        *path = std::string(folder.path) + "/" + name;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (file) std::ofstream(*file, std::ios::binary) << text;
    return text;
}
