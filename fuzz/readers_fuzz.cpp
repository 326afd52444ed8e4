// The readers of outside data under any bytes. Each *_fuzz function is the case of the libFuzzer target of its name,
// and aborts where what the game makes of the bytes breaks what it promises.
#include "app/state.h"
#include "data/config_file.h"
#include "data/puzzle_console.h"
#include "data/puzzle_file.h"
#include "data/startup_file.h"
#include "headless/headless_records.h"
#include "stats/stats_file.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

static std::string readWhole(const std::string& path) {
    return (std::ostringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
}

// Starts a case afresh, puts its bytes into the data file `file` (a path it sets) if given, returns them as text.
static std::string startCase(const std::uint8_t* data, std::size_t size, const std::string* file = nullptr) {
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

// The integer after the next '=', as the C library reads one; false when there is none.
static bool valueAfterEquals(const std::string& text, std::size_t& at, int& value) {
    if ((at = text.find('=', at)) == std::string::npos) return false;
    const char* start = text.c_str() + at + 1;
    char* end = nullptr;
    value = static_cast<int>(std::clamp<long long>(std::strtoll(start, &end, 10), INT_MIN, INT_MAX));
    at = static_cast<std::size_t>(end - text.c_str());
    return end != start;
}

// The configuration file, whatever its bytes, is left as it is, and the two switches are the integers after its
// first two '=', held to the int range; a value that cannot be read leaves its switch, and the later one, at 0.
void config_file_fuzz(const std::uint8_t* data, std::size_t size) {
    const std::string text = startCase(data, size, &TimerFile);
    Userchoice();
    int expected[2] = {0, 0}, value = 0;
    std::size_t at = 0;
    for (int i = 0; i < 2 && valueAfterEquals(text, at, value); ++i) expected[i] = value;
    if (ConsoleUse != expected[0] || EditingUse != expected[1] || readWhole(TimerFile) != text) std::abort();
}

static bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)); }
static bool holdsLetter(const std::string& text) { return std::any_of(text.begin(), text.end(), isLetter); }

// A blank before each character; letters become '_' and '*' in the masks.
static bool laidOut() {
    std::string spaced, dashes, stars;
    for (char c : solveword) {
        spaced += {' ', c};
        dashes += {' ', isLetter(c) ? '_' : c};
        stars += {' ', isLetter(c) ? '*' : c};
    }
    return std::tie(answer, displayword, showdashes, doubledash, buildword) ==
           std::tie(spaced, spaced, dashes, dashes, stars);
}

// The draw: whatever the puzzle file holds, a game gets the phrase of one of its complete records that holds a
// letter, in phrase strings that agree in length and layout; it gets none only when no record holds a letter.
void puzzle_draw_fuzz(const std::uint8_t* data, std::size_t size) {
    const std::string text = startCase(data, size, &WordsFile);
    std::vector<std::pair<std::string, std::string>> records;  // the complete records 'phrase;hint:'
    for (std::size_t at = 0, semicolon, colon; (semicolon = text.find(';', at)) != std::string::npos &&
                                               (colon = text.find(':', semicolon + 1)) != std::string::npos;
         at = colon + 1)
        records.emplace_back(text.substr(at, semicolon - at), text.substr(semicolon + 1, colon - semicolon - 1));
    const bool playable = std::any_of(records.begin(), records.end(), [](auto& r) { return holdsLetter(r.first); });
    seedone = 1;  // a seed of the case's own keeps every case reproducible
    std::srand(static_cast<unsigned>(size));
    for (firstrun = 1; firstrun <= 3; ++firstrun) {  // the first game counts the records, later ones do not
        ChooseWord();
        const bool fromFile = std::any_of(records.begin(), records.end(), [](auto& r) {
            return UpperCase(r.first) == solveword && r.second == grabhint;
        });
        if (!laidOut() || (solveword.empty() ? playable : !(fromFile && holdsLetter(solveword)))) std::abort();
    }
}

// The viewer: after any number of steps (the first byte) through passes over any puzzle file (the
// rest), deleting the record shown rewrites the file as it was less that record.
void puzzle_viewer_fuzz(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    const std::string text = startCase(data + 1, size - 1, &WordsFile);
    for (int step = 0; step <= data[0] % 32; ++step) flipthru();
    if (test1.size() <= 2) return;  // nothing shown that the delete command would take
    // Find record number prelim (the steps of this pass); an unfinished one runs to the end.
    std::size_t start = 0, end = 0;
    for (int record = 0; record < prelim; ++record) {
        const std::size_t semicolon = text.find(';', start = end);
        const std::size_t colon = semicolon == std::string::npos ? semicolon : text.find(':', semicolon + 1);
        end = colon == std::string::npos ? text.size() : colon + 1;
    }
    doit = 1;
    flipthru();
    if (readWhole(WordsFile) != text.substr(0, start) + text.substr(end)) std::abort();
}

static auto eightFields() {
    return std::tie(pscoreone, pwinsone, plossone, pskillone, pscoretwo, pwinstwo, plosstwo, pskilltwo);
}

// The statistics file: any bytes load without harm, and whatever was loaded is saved and loaded back field for field.
void stats_file_fuzz(const std::uint8_t* data, std::size_t size) {
    startCase(data, size, &ScoreFile);
    loadScores();
    std::tuple<int, int, int, std::string, int, int, int, std::string> loaded = eightFields();
    // The file cannot hold an empty word: a skill never given is saved as the first rank.
    for (std::string* skill : {&std::get<3>(loaded), &std::get<7>(loaded)})
        if (skill->empty()) *skill = "Circus-Worker";
    saveScores();
    startCase(data, 0);  // skills empty again, so a load that stops early cannot pass
    loadScores();
    if (eightFields() != loaded) std::abort();
}

// The store: unscrambling undoes scrambling for any bytes, and a regular exit then a start gives the plain file back.
void store_fuzz(const std::uint8_t* data, std::size_t size) {
    const std::string text = startCase(data, size, &WordsFile);
    if (UnscrambleStore(ScrambleStore(text)) != text) std::abort();
    // A plain file that starts with the purge text holds another copy's additions to a store.
    const std::string purged = "Data purged...";
    if (text.compare(0, purged.size(), purged) == 0) return;
    OnExits();
    if (readWhole(WordsFile) != purged) std::abort();
    OnLoads();
    if (readWhole(WordsFile) != text) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MARIVANE_FUZZ_CASE(data, size);
    return 0;
}
