// Booking of won and lost games, the skill ladder and the reset, at the limits of the counters.
#include "stats/stats.h"

#include <gtest/gtest.h>
#include <climits>

#include "app/state.h"

namespace {

// A player's points, wins, losses, their three texts and the skill.
using Figures = std::tuple<int, int, int, std::string, std::string, std::string, std::string>;

Figures figures(int points, int wins, int losses, const std::string& skill) {
    return {points, wins, losses, std::to_string(points), std::to_string(wins), std::to_string(losses), skill};
}

// Runs an operation with either player as the current one; the other one's figures stay.
void forEitherPlayer(const Figures& before, void (*operation)(), const Figures& after) {
    for (int player : {1, 2}) {
        auto one = std::tie(pscoreone, pwinsone, plossone, pallone, pwinone, plosone, pskillone);
        auto two = std::tie(pscoretwo, pwinstwo, plosstwo, palltwo, pwintwo, plostwo, pskilltwo);
        one = two = before;
        playertype = player;
        operation();
        EXPECT_EQ(std::make_pair(Figures(one), Figures(two)),
                  std::make_pair(player == 1 ? after : before, player == 2 ? after : before));
    }
}

TEST(Stats, SkillRankFollowsTheMarginOfWinsOverLossesFromTwentyFiveGames) {
    // The margin is 100 x (wins - losses) / wins; at 50 and below the rank in force stays.
    for (auto [wins, losses, skill] :
         {std::tuple{300, 300, "Circus-Worker"}, {24, 0, "Circus-Worker"}, {40, 20, "Sword-Swallower"},
          {41, 20, "Juggling-Clown"}, {100, 31, "Juggling-Clown"}, {100, 30, "Lion-Tamer"}, {100, 11, "Lion-Tamer"},
          {100, 10, "Trapeze-Artist"}, {24, 1, "Trapeze-Artist"}, {25, 1, "Ring-Master"},
          {INT_MAX, INT_MAX - 1, "Sword-Swallower"}})
        forEitherPlayer(figures(0, wins, losses, "Sword-Swallower"), doSkills, figures(0, wins, losses, skill));
}

TEST(Stats, AWinEarnsTenPointsPerCharacterNotLostALossOnlyCountsAndCountersSaturate) {
    // Before: points, wins, losses; the phrase and balloons lost; after.
    for (auto [points, wins, losses, phrase, lost, pointsAfter, winsAfter, lossesAfter] :
         {std::tuple{100, 4, 2, "HELLO WORLD", 3, 180, 5, 2}, {100, 4, 2, "OX", 5, 70, 5, 2},
          {100, 4, 2, "BIG TOP", 7, 100, 4, 3}, {100, 4, 2, "BIG TOP", 6, 110, 5, 2},
          {INT_MAX - 20, INT_MAX, 0, "BIG TOP", 0, INT_MAX, INT_MAX, 0}, {INT_MIN + 5, 1, 0, "X", 6, INT_MIN, 2, 0},
          {70, 5, INT_MAX, "X", 7, 70, 5, INT_MAX}}) {
        std::tie(solveword, numwrong) = std::make_tuple(phrase, lost);
        forEitherPlayer(figures(points, wins, losses, "Lion-Tamer"), [] { doScores(), doLoses(); },
                        figures(pointsAfter, winsAfter, lossesAfter, "Lion-Tamer"));
    }
}

TEST(Stats, ResetClearsTheCurrentPlayersFiguresToTheStartingRank) {
    forEitherPlayer(figures(90, 7, 3, "Lion-Tamer"), resetStats, figures(0, 0, 0, "Circus-Worker"));
}

}  // namespace
