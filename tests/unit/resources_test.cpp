// The resources Marivane.exe is linked with, read from its resource script as windres writes it back out:
// "LANGUAGE 9, 4" before the resources of that language, each opening with a line "<id> <type> ...".
#include "game/drawing.h"
#include "game_session.h"

#include <fstream>
#include <map>
#include <regex>

using Resource = std::pair<std::string, int>;  // type, id
const std::string kBitmap = "2", kIconGroup = "14", kManifest = "24", kWave = "\"WAVE\"";

// Each numbered resource with its language, as LANGID.
static std::map<Resource, int> ReadResources() {
    std::ifstream in(MARIVANE_RESOURCE_TEXT);
    std::map<Resource, int> languages;
    int language = 0;
    const std::regex languageLine(R"(LANGUAGE (\d+), (\d+))"), resourceLine(R"((\d+) ("WAVE"|\d+) .*)");
    std::smatch m;
    for (std::string line; std::getline(in, line);)
        if (std::regex_match(line, m, languageLine)) language = std::stoi(m[2]) << 10 | std::stoi(m[1]);
        else if (std::regex_match(line, m, resourceLine)) languages[{m[2], std::stoi(m[1])}] = language;
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
    std::map<Resource, int> languages = ReadResources();
    for (const Resource& r : used) EXPECT_EQ(languages[r], 0x1009) << r.first << ' ' << r.second << ": missing";
}
