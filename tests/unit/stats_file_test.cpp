#include "stats/stats_file.h"

#include "game_session.h"
#include "resource.h"
#include "stats/stats.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace {

struct Figures {
    int points, wins, losses;
    std::string skill;
};

struct Loaded {
    Figures one, two;
};

void expectFigures(const Figures& expected, int points, int wins, int losses, const std::string& skill,
                   const std::string& pointsText, const std::string& winsText, const std::string& lossesText) {
    EXPECT_EQ(points, expected.points);
    EXPECT_EQ(wins, expected.wins);
    EXPECT_EQ(losses, expected.losses);
    EXPECT_EQ(skill, expected.skill);
    EXPECT_EQ(pointsText, std::to_string(expected.points));
    EXPECT_EQ(winsText, std::to_string(expected.wins));
    EXPECT_EQ(lossesText, std::to_string(expected.losses));
}

void expectLoaded(const Loaded& expected) {
    expectFigures(expected.one, pscoreone, pwinsone, plossone, pskillone, pallone, pwinone, plosone);
    expectFigures(expected.two, pscoretwo, pwinstwo, plosstwo, pskilltwo, palltwo, pwintwo, plostwo);
}

class StatsFile : public ::testing::Test {
protected:
    TempFolder folder;

    void SetUp() override { startFresh(); }

    // A new process, with the path start-up would form.
    void startFresh() {
        StartFreshProcess(folder);
        ScoreFile = folder.file("MVStats.dat");
    }

    void loadFrom(const std::string& content) {
        folder.write("MVStats.dat", content);
        loadScores();
    }

    std::string saved() {
        saveScores();
        return folder.read("MVStats.dat");
    }
};

TEST_F(StatsFile, MissingFileGivesTheStartingFiguresAndCreatesNothing) {
    loadScores();
    expectLoaded({{0, 0, 0, "Circus-Worker"}, {0, 0, 0, "Circus-Worker"}});
    EXPECT_FALSE(folder.exists("MVStats.dat"));
}

struct LoadCase {
    const char* name;
    const char* content;
    Loaded expected;
};

const LoadCase kLoadCases[] = {
    {"one line", "90 1 0 Circus-Worker 0 0 0 Circus-Worker",
     {{90, 1, 0, "Circus-Worker"}, {0, 0, 0, "Circus-Worker"}}},
    {"separate lines, tabs and runs of blanks", "90\n1\r\n0\nLion-Tamer\n\n\t7\t\t2   3 \n  Ring-Master\n",
     {{90, 1, 0, "Lion-Tamer"}, {7, 2, 3, "Ring-Master"}}},
    {"ends after the third field", "5 2 1", {{5, 2, 1, ""}, {0, 0, 0, ""}}},
    {"ends after player one", "5 2 1 Lion-Tamer", {{5, 2, 1, "Lion-Tamer"}, {0, 0, 0, ""}}},
    {"first field not a number", "abc 1 2 Ring-Master 3 4 5 Lion-Tamer", {{0, 0, 0, ""}, {0, 0, 0, ""}}},
    {"a lone sign is no number", "- 1 2 Ring-Master 3 4 5 Lion-Tamer", {{0, 0, 0, ""}, {0, 0, 0, ""}}},
    {"failure stops every later field", "8 9 x Ring-Master 3 4 5 Lion-Tamer", {{8, 9, 0, ""}, {0, 0, 0, ""}}},
    {"negative counters", "-10 -1 -2 Juggling-Clown -3 +4 -5 Trapeze-Artist",
     {{-10, -1, -2, "Juggling-Clown"}, {-3, 4, -5, "Trapeze-Artist"}}},
    {"a number ends at the first non-digit", "12 3 4Ring-Master 5 6 7 Lion-Tamer",
     {{12, 3, 4, "Ring-Master"}, {5, 6, 7, "Lion-Tamer"}}},
    {"unknown skill word kept", "1 2 3 Tightrope-Walker 4 5 6 \xE9l\xE9phant",
     {{1, 2, 3, "Tightrope-Walker"}, {4, 5, 6, "\xE9l\xE9phant"}}},
    {"content after the eighth field ignored", "1 2 3 A 4 5 6 B 7 8 9 C", {{1, 2, 3, "A"}, {4, 5, 6, "B"}}},
    {"numbers beyond the int range stop at its limits", "99999999999 3 -99999999999 Ring-Master 1 2 3 Lion-Tamer",
     {{INT_MAX, 3, INT_MIN, "Ring-Master"}, {1, 2, 3, "Lion-Tamer"}}},
    {"int limits themselves", "2147483647 -2147483648 0 X 2147483648 1 1 Y",
     {{INT_MAX, INT_MIN, 0, "X"}, {INT_MAX, 1, 1, "Y"}}},
    {"empty file", "", {{0, 0, 0, ""}, {0, 0, 0, ""}}},
};

TEST_F(StatsFile, LoadsEachFieldOrStopsAtTheFirstUnreadableOne) {
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.name);
        startFresh();
        loadFrom(c.content);
        expectLoaded(c.expected);
    }
}

TEST_F(StatsFile, SavesOneLineOfEightFieldsWithoutTrailingBlankOrLineBreak) {
    pscoreone = 90;
    pwinsone = 1;
    pskillone = "Circus-Worker";
    pskilltwo = "Circus-Worker";
    EXPECT_EQ(saved(), "90 1 0 Circus-Worker 0 0 0 Circus-Worker");
}

TEST_F(StatsFile, SaveThenLoadGivesBackEveryValueAndTheSameFile) {
    pscoreone = INT_MAX;
    pwinsone = -7;
    plossone = INT_MIN;
    pskillone = "Ring-Master";
    pscoretwo = 0;
    pwinstwo = 12;
    plosstwo = 3;
    pskilltwo = "Tightrope-Walker";
    const std::string file = saved();
    startFresh();
    loadScores();
    expectLoaded({{INT_MAX, -7, INT_MIN, "Ring-Master"}, {0, 12, 3, "Tightrope-Walker"}});
    EXPECT_EQ(saved(), file);
}

TEST_F(StatsFile, EmptySkillIsSavedAsTheStartingRankSoTheFieldsKeepTheirPlaces) {
    loadFrom("5 2 1");
    EXPECT_EQ(saved(), "5 2 1 Circus-Worker 0 0 0 Circus-Worker");
    startFresh();
    loadScores();
    expectLoaded({{5, 2, 1, "Circus-Worker"}, {0, 0, 0, "Circus-Worker"}});
}

TEST_F(StatsFile, ExtraContentIsDroppedAndAResetPlayerIsSavedAtTheStart) {
    loadFrom("40 4 1 Lion-Tamer 30 3 2 Juggling-Clown trailing words\n");
    playertype = 1;
    resetStats();
    EXPECT_EQ(saved(), "0 0 0 Circus-Worker 30 3 2 Juggling-Clown");
}

TEST_F(StatsFile, FileThatCannotBeReplacedStaysAsItWas) {
    const std::string old = "40 4 1 Lion-Tamer 30 3 2 Juggling-Clown";
    loadFrom(old);
    pscoreone = 999;

    std::filesystem::create_directory(folder.file("MVStats.dat.tmp"));
    EXPECT_EQ(saved(), old);
}

TEST_F(StatsFile, ProgramShowsLoadedFiguresAndSavesThemAtQuit) {
    folder.write("MVStats.dat", "-4 2 1 Acrobat 7 0 0 Lion-Tamer");
    RunProgram({[] {
        EXPECT_EQ(TextOf(IDC_P1_POINTS), "-4");
        EXPECT_EQ(TextOf(IDC_P1_SKILL), "Acrobat");
        EXPECT_EQ(TextOf(IDC_P2_POINTS), "7");
        EXPECT_EQ(TextOf(IDC_P2_SKILL), "Lion-Tamer");
    }});
    EXPECT_EQ(folder.read("MVStats.dat"), "-4 2 1 Acrobat 7 0 0 Lion-Tamer");
}

}  // namespace
