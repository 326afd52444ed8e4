// The statistics file: any bytes load without harm, and whatever was loaded
// is saved and loaded back field for field.
#include "fuzz_files.h"
#include "stats/stats_file.h"
#include <tuple>

static auto eightFields() {
    return std::tie(pscoreone, pwinsone, plossone, pskillone, pscoretwo, pwinstwo, plosstwo, pskilltwo);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StartCase(data, size, &ScoreFile);
    loadScores();
    std::tuple<int, int, int, std::string, int, int, int, std::string> loaded = eightFields();
    // The file cannot hold an empty word: a skill never given is saved as the first rank.
    for (std::string* skill : {&std::get<3>(loaded), &std::get<7>(loaded)})
        if (skill->empty()) *skill = "Circus-Worker";
    saveScores();
    StartCase(data, 0);  // skills empty again, so a load that stops early cannot pass
    loadScores();
    if (eightFields() != loaded) std::abort();
    return 0;
}
