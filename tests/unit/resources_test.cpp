// The resources Marivane.exe is linked with, read from its resource script compiled to a .res file.
#include "app/state.h"
#include "game/drawing.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using Resource = std::pair<std::string, int>;  // type, id
const std::string kBitmap = "#2", kIconGroup = "#14", kManifest = "#24", kWave = "WAVE";

static std::size_t align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

static std::uint32_t le(const std::string& bytes, std::size_t at, int width = 2) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

// A type or name: 0xFFFF and a number, given as "#number", or a NUL-terminated UTF-16 string.
static std::string readName(const std::string& bytes, std::size_t& at) {
    if (le(bytes, at) == 0xFFFF) return "#" + std::to_string(le(bytes, (at += 4) - 2));
    std::string text;
    for (; le(bytes, at) != 0; at += 2) text += static_cast<char>(le(bytes, at));
    return at += 2, text;
}

// Each numbered resource with its language. A .res file is a row of 32-bit aligned records:
// DataSize, HeaderSize, TYPE, NAME, DataVersion, MemoryFlags, LanguageId, ..., then the data.
static std::map<Resource, int> ReadResFile() {
    std::ifstream in(MARIVANE_RES_FILE, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    std::map<Resource, int> languages;
    for (std::size_t at = 0; at < bytes.size(); at = align4(at + le(bytes, at + 4, 4) + le(bytes, at, 4))) {
        std::size_t field = at + 8;
        const std::string type = readName(bytes, field), name = readName(bytes, field);
        if (name[0] == '#') languages[{type, std::stoi(name.substr(1))}] = le(bytes, align4(field) + 6);
    }
    return languages;
}

TEST(Resources, HoldTheManifestAndEveryPictureSoundAndIconTheProgramLoadsInEnglishCanada) {
    std::vector<Resource> used{{kManifest, 1}, {kBitmap, IDB_MAIN_BACKGROUND}, {kBitmap, IDB_CONSOLE_BACKGROUND},
                               {kBitmap, IDB_SAD_CLOWN}, {kIconGroup, IDI_MARIVANE_SMALL}, {kIconGroup, IDI_MARIVANE}};
    for (int n = 0; n < kLetterCount; ++n) used.push_back({kBitmap, IDB_LETTER_A + n * IDB_LETTER_STEP});
    for (int n = 0; n < 7; ++n) used.push_back({kBitmap, IDB_BALLOONS_1 + n * IDB_BALLOONS_STEP});
    for (int i = 0; i < kButtonFaceCount; ++i)
        for (int id : {kButtonFaces[i].normalBitmap, kButtonFaces[i].pressedBitmap}) used.push_back({kBitmap, id});
    for (int id : {IDW_CLICK, IDW_MINIMISE, IDW_HIT, IDW_MISS, IDW_NEW_PUZZLE, IDW_CONSOLE, IDW_WIN, IDW_LOSS})
        used.push_back({kWave, id});
    std::map<Resource, int> languages = ReadResFile();
    for (const Resource& r : used) EXPECT_EQ(languages[r], 0x1009) << r.first << ' ' << r.second << ": missing";
}
