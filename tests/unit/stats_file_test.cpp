#include "stats/stats_file.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A new process, with the path start-up would form, that loads the file.
void LoadIn(const TempFolder& folder) {
    StartFreshProcess(folder);
    ScoreFile = folder.file("MVStats.dat");
    loadScores();
}

// Both players as "points wins losses skill | ...", with the score box texts
// added when they tell something else.
std::string Loaded() {
    auto player = [](int points, int wins, int losses, const std::string& skill) {
        return std::to_string(points) + ' ' + std::to_string(wins) + ' ' + std::to_string(losses) + ' ' + skill;
    };
    const std::string figures =
        player(pscoreone, pwinsone, plossone, pskillone) + " | " + player(pscoretwo, pwinstwo, plosstwo, pskilltwo);
    const std::string texts = pallone + ' ' + pwinone + ' ' + plosone + ' ' + pskillone + " | " + palltwo + ' ' +
                              pwintwo + ' ' + plostwo + ' ' + pskilltwo;
    return texts == figures ? figures : figures + " shown as " + texts;
}

std::string SavedIn(const TempFolder& folder) {
    saveScores();
    return folder.read("MVStats.dat");
}

TEST(StatsFile, LoadsEachFieldOrStopsAtTheFirstUnreadableOne) {
    const struct {
        const char *content, *expected;
    } cases[] = {
        {nullptr, "0 0 0 Circus-Worker | 0 0 0 Circus-Worker"},
        {"90\n1\r\n0\nLion-Tamer\n\n\t7\t\t2   3 \n  Ring-Master\n", "90 1 0 Lion-Tamer | 7 2 3 Ring-Master"},
        {"-10 -1 -2 Juggling-Clown -3 +4 -5 \xE9l\xE9phant", "-10 -1 -2 Juggling-Clown | -3 4 -5 \xE9l\xE9phant"},
        {"12 3 4Ring-Master 5 6 7 Lion-Tamer", "12 3 4 Ring-Master | 5 6 7 Lion-Tamer"},
        {"1 2 3 A 4 5 6 B 7 8 9 C", "1 2 3 A | 4 5 6 B"},
        {"", "0 0 0  | 0 0 0 "},
        {"5 2 1", "5 2 1  | 0 0 0 "},
        {"abc 1 2 Ring-Master 3 4 5 Lion-Tamer", "0 0 0  | 0 0 0 "},
        {"8 9 x Ring-Master 3 4 5 Lion-Tamer", "8 9 0  | 0 0 0 "},
        // Beyond the int range a counter stops at the limit, as the counters themselves do.
        {"99999999999 3 -99999999999 R 2147483648 2 3 X", "2147483647 3 -2147483648 R | 2147483647 2 3 X"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "no file");
        TempFolder folder;
        if (c.content) folder.write("MVStats.dat", c.content);
        LoadIn(folder);
        EXPECT_EQ(Loaded(), c.expected);
        EXPECT_EQ(folder.exists("MVStats.dat"), c.content != nullptr);
    }
}

TEST(StatsFile, SavesOneLineThatLoadsBackToTheSameFiguresAndFile) {
    const std::string file = "2147483647 -7 -2147483648 Ring-Master 0 12 0 Tightrope-Walker";
    TempFolder folder;
    folder.write("MVStats.dat", file);
    LoadIn(folder);
    EXPECT_EQ(Loaded(), "2147483647 -7 -2147483648 Ring-Master | 0 12 0 Tightrope-Walker");
    EXPECT_EQ(SavedIn(folder), file);
}

// An empty skill cannot be stored as such: the next number would be read for it.
TEST(StatsFile, EmptySkillIsSavedAsTheStartingRank) {
    TempFolder folder;
    folder.write("MVStats.dat", "5 2 1");
    LoadIn(folder);
    EXPECT_EQ(SavedIn(folder), "5 2 1 Circus-Worker 0 0 0 Circus-Worker");
}

TEST(StatsFile, FileThatCannotBeReplacedStaysAsItWas) {
    TempFolder folder;
    folder.write("MVStats.dat", "40 4 1 Lion-Tamer 30 3 2 Juggling-Clown");
    LoadIn(folder);
    pscoreone = 999;
    std::filesystem::create_directory(folder.file("MVStats.dat.tmp"));
    EXPECT_EQ(SavedIn(folder), "40 4 1 Lion-Tamer 30 3 2 Juggling-Clown");
}

}  // namespace
