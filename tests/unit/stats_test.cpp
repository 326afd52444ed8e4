// Booking of won and lost games, the skill ladder and clearing a player's
// figures, for either player and at the limits of the counters.
#include "app/state.h"
#include "stats/stats.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// Everything the four operations may touch for one player.
struct Figures {
    int points, wins, losses;
    std::string pointsText, winsText, lossesText, skill;
    bool operator==(const Figures& other) const {
        return points == other.points && wins == other.wins && losses == other.losses &&
               pointsText == other.pointsText && winsText == other.winsText && lossesText == other.lossesText &&
               skill == other.skill;
    }
};

void PrintTo(const Figures& f, std::ostream* os) {
    *os << "{" << f.points << "/" << f.wins << "/" << f.losses << " '" << f.pointsText << "' '" << f.winsText
        << "' '" << f.lossesText << "' " << f.skill << "}";
}

Figures figuresOf(int player) {
    if (player == 1) return {pscoreone, pwinsone, plossone, pallone, pwinone, plosone, pskillone};
    return {pscoretwo, pwinstwo, plosstwo, palltwo, pwintwo, plostwo, pskilltwo};
}

void setFigures(int player, const Figures& f) {
    if (player == 1) {
        pscoreone = f.points, pwinsone = f.wins, plossone = f.losses;
        pallone = f.pointsText, pwinone = f.winsText, plosone = f.lossesText, pskillone = f.skill;
    } else {
        pscoretwo = f.points, pwinstwo = f.wins, plosstwo = f.losses;
        palltwo = f.pointsText, pwintwo = f.winsText, plostwo = f.lossesText, pskilltwo = f.skill;
    }
}

Figures record(int wins, int losses, const std::string& skill, int points = 0) {
    return {points, wins, losses, std::to_string(points), std::to_string(wins), std::to_string(losses), skill};
}

// A distinctive record for the player who must not change.
const Figures kBystander = record(3, 4, "Lion-Tamer", 55);

class StatsTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ResetSharedState();
        playertype = current();
        setFigures(other(), kBystander);
    }
    void TearDown() override { EXPECT_EQ(figuresOf(other()), kBystander) << "the other player's figures changed"; }
    int current() const { return GetParam(); }
    int other() const { return 3 - GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(EitherPlayer, StatsTest, ::testing::Values(1, 2),
                         [](const auto& info) { return info.param == 1 ? "PlayerOne" : "PlayerTwo"; });

struct LadderCase {
    int wins, losses;
    const char* before;
    const char* after;
};

TEST_P(StatsTest, SkillLadder) {
    const LadderCase cases[] = {
        // wins not above losses: the bottom rank at any count
        {12, 12, "Ring-Master", "Circus-Worker"},
        {300, 300, "Lion-Tamer", "Circus-Worker"},
        {0, 40, "Juggling-Clown", "Circus-Worker"},
        // 24 games are not enough, 25 are
        {24, 0, "Ring-Master", "Circus-Worker"},
        {25, 0, "Circus-Worker", "Ring-Master"},
        {13, 11, "Trapeze-Artist", "Circus-Worker"},
        // the steps, each boundary from both sides (margin in the comment)
        {40, 20, "Circus-Worker", "Circus-Worker"},   // 50: kept
        {41, 20, "Circus-Worker", "Juggling-Clown"},  // 51
        {51, 25, "Circus-Worker", "Circus-Worker"},   // 50.98, truncated to 50: kept
        {100, 31, "Circus-Worker", "Juggling-Clown"}, // 69
        {33, 10, "Circus-Worker", "Juggling-Clown"},  // 69.7, truncated to 69
        {100, 30, "Circus-Worker", "Lion-Tamer"},     // 70
        {29, 3, "Circus-Worker", "Lion-Tamer"},       // 89.7, truncated to 89
        {100, 11, "Circus-Worker", "Lion-Tamer"},     // 89
        {100, 10, "Circus-Worker", "Trapeze-Artist"}, // 90
        {24, 1, "Circus-Worker", "Trapeze-Artist"},   // 95
        {49, 2, "Circus-Worker", "Trapeze-Artist"},   // 95.9, truncated to 95
        {25, 1, "Circus-Worker", "Ring-Master"},      // 96
        // the worked values
        {23, 2, "Circus-Worker", "Trapeze-Artist"},   // 91
        {22, 3, "Circus-Worker", "Lion-Tamer"},       // 86
        {20, 5, "Circus-Worker", "Lion-Tamer"},       // 75
        {19, 6, "Circus-Worker", "Juggling-Clown"},   // 68
        {17, 8, "Circus-Worker", "Juggling-Clown"},   // 52
        // a rank may also fall: every step is assigned, not only raised
        {20, 5, "Ring-Master", "Lion-Tamer"},
        // margins of 50 or less keep whatever was there, a loaded odd word too
        {16, 9, "Juggling-Clown", "Juggling-Clown"},  // 43
        {13, 12, "Ring-Master", "Ring-Master"},       // 7
        {40, 20, "Sword-Swallower", "Sword-Swallower"},
        {40, 20, "", ""},
    };
    for (const LadderCase& c : cases) {
        setFigures(current(), record(c.wins, c.losses, c.before));
        doSkills();
        EXPECT_EQ(figuresOf(current()), record(c.wins, c.losses, c.after))
            << c.wins << " won, " << c.losses << " lost, before '" << c.before << "'";
    }
}

TEST_P(StatsTest, RankInTheKeptBandDependsOnTheWayThere) {
    // Falling into the band from above keeps the rank: 25-12 gives 52, 25-13 gives 48.
    setFigures(current(), record(25, 11, "Circus-Worker"));
    numwrong = 7;
    doLoses();
    doSkills();
    EXPECT_EQ(figuresOf(current()).skill, "Juggling-Clown");
    doLoses();
    doSkills();
    EXPECT_EQ(figuresOf(current()).skill, "Juggling-Clown");
    EXPECT_EQ(figuresOf(current()).lossesText, "13");

    // Climbing into it from below stays at the bottom until the margin passes 50.
    setFigures(current(), record(12, 12, "Circus-Worker"));
    numwrong = 0;
    doScores();
    doSkills();
    EXPECT_EQ(figuresOf(current()).skill, "Circus-Worker");  // 13-12: margin 7
}

struct ScoreCase {
    const char* phrase;
    int balloonsLost;
    int gain;
};

TEST_P(StatsTest, WonGameEarnsTenPointsPerCharacterNotLost) {
    const ScoreCase cases[] = {
        {"HELLO WORLD", 0, 110},  // blanks count as characters
        {"HELLO WORLD", 3, 80},
        {"HELLO WORLD", 2, 90},   // the five-balloon head start counts as lost
        {"BIG TOP", 6, 10},
        {"OX", 5, -30},           // fewer characters than balloons lost: points go down
        {"ACT 2!", 6, 0},
    };
    for (const ScoreCase& c : cases) {
        setFigures(current(), record(4, 2, "Circus-Worker", 100));
        solveword = c.phrase;
        numwrong = c.balloonsLost;
        doScores();
        EXPECT_EQ(figuresOf(current()), record(5, 2, "Circus-Worker", 100 + c.gain))
            << c.phrase << " with " << c.balloonsLost << " lost";
    }
}

TEST_P(StatsTest, EachBookingActsOnlyOnItsOwnOutcome) {
    const Figures start = record(4, 2, "Lion-Tamer", 100);
    solveword = "BIG TOP";
    for (int lost : {7, 8}) {
        setFigures(current(), start);
        numwrong = lost;
        doScores();
        EXPECT_EQ(figuresOf(current()), start) << "a lost game booked as won at " << lost;
    }
    for (int lost : {0, 6}) {
        setFigures(current(), start);
        numwrong = lost;
        doLoses();
        EXPECT_EQ(figuresOf(current()), start) << "a won game booked as lost at " << lost;
    }
    setFigures(current(), start);
    numwrong = 7;
    doLoses();
    EXPECT_EQ(figuresOf(current()), record(4, 3, "Lion-Tamer", 100));
}

TEST_P(StatsTest, ResetClearsTheCurrentPlayer) {
    setFigures(current(), record(30, 2, "Ring-Master", 2500));
    resetStats();
    EXPECT_EQ(figuresOf(current()), record(0, 0, "Circus-Worker", 0));
}

TEST_P(StatsTest, CountersStopAtTheIntLimits) {
    solveword = "BIG TOP";

    setFigures(current(), record(INT_MAX, 0, "Ring-Master", INT_MAX - 20));
    numwrong = 0;
    doScores();  // +70 points and one more win
    EXPECT_EQ(figuresOf(current()), record(INT_MAX, 0, "Ring-Master", INT_MAX));
    EXPECT_EQ(figuresOf(current()).pointsText, "2147483647");

    setFigures(current(), record(1, 0, "Circus-Worker", INT_MIN + 5));
    solveword = "X";
    numwrong = 6;
    doScores();  // -50 points
    EXPECT_EQ(figuresOf(current()), record(2, 0, "Circus-Worker", INT_MIN));
    EXPECT_EQ(figuresOf(current()).pointsText, "-2147483648");

    setFigures(current(), record(0, INT_MAX, "Circus-Worker"));
    numwrong = 7;
    doLoses();
    EXPECT_EQ(figuresOf(current()), record(0, INT_MAX, "Circus-Worker"));
}

TEST_P(StatsTest, LadderHoldsForHugeRecords) {
    // 100 x (wins - losses) and wins + losses are beyond 32 bits here.
    const LadderCase cases[] = {
        {INT_MAX, 0, "Circus-Worker", "Ring-Master"},
        {2000000000, 200000000, "Circus-Worker", "Trapeze-Artist"},  // 90
        {2000000000, 1000000000, "Lion-Tamer", "Lion-Tamer"},        // 50: kept
        {2000000000, 980000000, "Circus-Worker", "Juggling-Clown"},  // 51
        {INT_MAX, INT_MAX - 1, "Lion-Tamer", "Lion-Tamer"},          // 0: kept
        {INT_MAX, INT_MAX, "Ring-Master", "Circus-Worker"},
    };
    for (const LadderCase& c : cases) {
        setFigures(current(), record(c.wins, c.losses, c.before));
        doSkills();
        EXPECT_EQ(figuresOf(current()).skill, c.after) << c.wins << " won, " << c.losses << " lost";
    }
}

TEST(Stats, NoCurrentPlayerMeansNoChange) {
    for (int player : {0, 3, -1}) {
        ResetSharedState();
        setFigures(1, record(30, 2, "Lion-Tamer", 900));
        setFigures(2, kBystander);
        playertype = player;
        solveword = "BIG TOP";
        numwrong = 0;
        doScores();
        numwrong = 7;
        doLoses();
        doSkills();
        resetStats();
        EXPECT_EQ(figuresOf(1), record(30, 2, "Lion-Tamer", 900)) << "playertype " << player;
        EXPECT_EQ(figuresOf(2), kBystander) << "playertype " << player;
    }
}

}  // namespace
