// Booking of won and lost games, the skill ladder and the reset, at the limits of the counters.
#include "stats/stats.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "app/state.h"

namespace {

auto figuresOf(int player) {
    return player == 1 ? std::tie(pscoreone, pwinsone, plossone, pallone, pwinone, plosone, pskillone)
                       : std::tie(pscoretwo, pwinstwo, plosstwo, palltwo, pwintwo, plostwo, pskilltwo);
}

// Points, wins, losses, their three texts and the skill of one player.
using Figures = std::tuple<int, int, int, std::string, std::string, std::string, std::string>;

Figures record(int points, int wins, int losses, const std::string& skill) {
    return {points, wins, losses, std::to_string(points), std::to_string(wins), std::to_string(losses), skill};
}

// Runs an operation for each player in turn; the other player's figures stay.
void forEitherPlayer(const Figures& before, void (*operation)(), const Figures& after) {
    for (int player : {1, 2}) {
        figuresOf(1) = figuresOf(2) = before;
        playertype = player;
        operation();
        EXPECT_EQ(Figures(figuresOf(player)), after) << "player " << player;
        EXPECT_EQ(Figures(figuresOf(3 - player)), before) << "the other player of " << player;
    }
}

TEST(Stats, SkillRankFollowsTheMarginOfWinsOverLossesFromTwentyFiveGames) {
    // The margin is 100 x (wins - losses) / wins; at 50 and below the rank in force stays.
    const std::tuple<int, int, const char*> rows[] = {
        {300, 300, "Circus-Worker"}, {24, 0, "Circus-Worker"},   {25, 0, "Ring-Master"},
        {40, 20, "Sword-Swallower"}, {41, 20, "Juggling-Clown"}, {100, 31, "Juggling-Clown"},  // 50, 51, 69
        {100, 30, "Lion-Tamer"},     {100, 11, "Lion-Tamer"},    {100, 10, "Trapeze-Artist"},  // 70, 89, 90
        {24, 1, "Trapeze-Artist"},   {25, 1, "Ring-Master"},     {INT_MAX, INT_MAX - 1, "Sword-Swallower"},
    };
    for (const auto& [wins, losses, skill] : rows) {
        SCOPED_TRACE(testing::Message() << wins << ":" << losses);
        forEitherPlayer(record(0, wins, losses, "Sword-Swallower"), doSkills, record(0, wins, losses, skill));
    }
}

TEST(Stats, AWinEarnsTenPointsPerCharacterNotLostALossOnlyCountsAndCountersSaturate) {
    // Before: points, wins, losses; the phrase and balloons lost; after.
    const std::tuple<int, int, int, const char*, int, int, int, int> rows[] = {
        {100, 4, 2, "HELLO WORLD", 3, 180, 5, 2},
        {100, 4, 2, "OX", 5, 70, 5, 2},
        {100, 4, 2, "BIG TOP", 7, 100, 4, 3},
        {100, 4, 2, "BIG TOP", 6, 110, 5, 2},
        {INT_MAX - 20, INT_MAX, 0, "BIG TOP", 0, INT_MAX, INT_MAX, 0},
        {INT_MIN + 5, 1, 0, "X", 6, INT_MIN, 2, 0},
        {70, 5, INT_MAX, "X", 7, 70, 5, INT_MAX},
    };
    for (const auto& [points, wins, losses, phrase, lost, pointsAfter, winsAfter, lossesAfter] : rows) {
        SCOPED_TRACE(testing::Message() << phrase << ", " << lost << " lost");
        solveword = phrase;
        numwrong = lost;
        forEitherPlayer(record(points, wins, losses, "Lion-Tamer"), [] { doScores(), doLoses(); },
                        record(pointsAfter, winsAfter, lossesAfter, "Lion-Tamer"));
    }
}

TEST(Stats, ResetClearsTheCurrentPlayersFiguresToTheStartingRank) {
    forEitherPlayer(record(90, 7, 3, "Lion-Tamer"), resetStats, record(0, 0, 0, "Circus-Worker"));
}

}  // namespace
