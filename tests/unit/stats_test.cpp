// Booking of won and lost games, the skill ladder and clearing a player's
// figures, for either player and at the limits of the counters.
#include "app/state.h"
#include "stats/stats.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>

namespace {

// Points, wins, losses, their three texts and the skill of one player.
using Figures = std::tuple<int, int, int, std::string, std::string, std::string, std::string>;

auto figuresOf(int player) {
    return player == 1 ? std::tie(pscoreone, pwinsone, plossone, pallone, pwinone, plosone, pskillone)
                       : std::tie(pscoretwo, pwinstwo, plosstwo, palltwo, pwintwo, plostwo, pskilltwo);
}

Figures record(int wins, int losses, const std::string& skill, int points = 0) {
    return {points, wins, losses, std::to_string(points), std::to_string(wins), std::to_string(losses), skill};
}

const Figures kBystander = record(3, 4, "Lion-Tamer", 55);

// Every case runs for either player; the other one must keep his figures.
class StatsTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ResetSharedState();
        playertype = GetParam();
        figuresOf(3 - GetParam()) = kBystander;
    }
    void TearDown() override { EXPECT_EQ(Figures(figuresOf(3 - GetParam())), kBystander) << "the other player"; }
    void set(const Figures& figures) { figuresOf(GetParam()) = figures; }
    Figures figures() const { return figuresOf(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(EitherPlayer, StatsTest, ::testing::Values(1, 2));

TEST_P(StatsTest, SkillLadder) {
    // The margin is 100 x (wins - losses) / wins, truncated.
    const std::tuple<int, int, const char*, const char*> cases[] = {
        {300, 300, "Lion-Tamer", "Circus-Worker"},  // wins not above losses
        {0, 40, "Juggling-Clown", "Circus-Worker"},
        {24, 0, "Ring-Master", "Circus-Worker"},  // 24 games are too few
        {25, 0, "Circus-Worker", "Ring-Master"},
        {40, 20, "Trapeze-Artist", "Trapeze-Artist"},    // 50: the rank in force stays
        {51, 25, "Sword-Swallower", "Sword-Swallower"},  // 50.98, a loaded odd word too
        {41, 20, "Circus-Worker", "Juggling-Clown"},     // 51
        {100, 31, "Circus-Worker", "Juggling-Clown"},    // 69
        {100, 30, "Circus-Worker", "Lion-Tamer"},        // 70
        {100, 11, "Circus-Worker", "Lion-Tamer"},        // 89
        {100, 10, "Circus-Worker", "Trapeze-Artist"},    // 90
        {49, 2, "Circus-Worker", "Trapeze-Artist"},      // 95.9
        {25, 1, "Circus-Worker", "Ring-Master"},         // 96
        {20, 5, "Ring-Master", "Lion-Tamer"},            // 75: a rank also falls
        // sums and products beyond 32 bits
        {INT_MAX, 0, "Circus-Worker", "Ring-Master"},
        {2000000000, 980000000, "Circus-Worker", "Juggling-Clown"},  // 51
        {INT_MAX, INT_MAX - 1, "Lion-Tamer", "Lion-Tamer"},          // 0: kept
    };
    for (const auto& [wins, losses, before, after] : cases) {
        set(record(wins, losses, before));
        doSkills();
        EXPECT_EQ(figures(), record(wins, losses, after)) << wins << " won, " << losses << " lost";
    }
}

TEST_P(StatsTest, WonGameEarnsTenPointsPerCharacterNotLost) {
    const Figures start = record(4, 2, "Lion-Tamer", 100);
    const std::tuple<Figures, const char*, int, Figures> cases[] = {  // before, phrase, balloons lost, after
        {start, "HELLO WORLD", 0, record(5, 2, "Lion-Tamer", 210)},  // blanks count as characters
        {start, "HELLO WORLD", 3, record(5, 2, "Lion-Tamer", 180)},
        {start, "OX", 5, record(5, 2, "Lion-Tamer", 70)},  // fewer characters than balloons lost
        {start, "BIG TOP", 7, start},                      // a lost game
        {record(INT_MAX, 0, "Ring-Master", INT_MAX - 20), "BIG TOP", 0, record(INT_MAX, 0, "Ring-Master", INT_MAX)},
        {record(1, 0, "Circus-Worker", INT_MIN + 5), "X", 6, record(2, 0, "Circus-Worker", INT_MIN)},
    };
    for (const auto& [before, phrase, lost, after] : cases) {
        set(before);
        solveword = phrase;
        numwrong = lost;
        doScores();
        EXPECT_EQ(figures(), after) << phrase << ", " << lost << " lost";
    }
}

TEST_P(StatsTest, LostGameCountsOnceTheLastBalloonIsGone) {
    const Figures start = record(4, 2, "Lion-Tamer", 100);
    const std::tuple<Figures, int, Figures> cases[] = {  // before, balloons lost, after
        {start, 7, record(4, 3, "Lion-Tamer", 100)},
        {start, 6, start},
        {record(5, INT_MAX, "Lion-Tamer", 70), 7, record(5, INT_MAX, "Lion-Tamer", 70)},
    };
    for (const auto& [before, lost, after] : cases) {
        set(before);
        numwrong = lost;
        doLoses();
        EXPECT_EQ(figures(), after) << lost << " lost";
    }
    resetStats();
    EXPECT_EQ(figures(), record(0, 0, "Circus-Worker")) << "reset";
}

TEST(Stats, NoCurrentPlayerMeansNoChange) {
    for (int player : {0, 3}) {
        ResetSharedState();
        figuresOf(1) = kBystander;
        figuresOf(2) = kBystander;
        playertype = player;
        solveword = "BIG TOP";
        doScores();
        numwrong = 7;
        doLoses();
        doSkills();
        resetStats();
        EXPECT_EQ(Figures(figuresOf(1)), kBystander) << "playertype " << player;
        EXPECT_EQ(Figures(figuresOf(2)), kBystander) << "playertype " << player;
    }
}

}  // namespace
