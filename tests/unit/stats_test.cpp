// Booking of won and lost games, the skill ladder and the reset, at the limits of the counters.
#include "stats/stats.h"
#include "game_session.h"

#include <climits>

struct Player { int points, wins, losses; std::string skill = "Lion-Tamer"; };

static void setFigures(int player, const Player& p) {
    auto figures = player == 1 ? std::tie(pscoreone, pwinsone, plossone, pskillone, pallone, pwinone, plosone)
                               : std::tie(pscoretwo, pwinstwo, plosstwo, pskilltwo, palltwo, pwintwo, plostwo);
    figures = std::make_tuple(p.points, p.wins, p.losses, p.skill, std::to_string(p.points), std::to_string(p.wins),
                              std::to_string(p.losses));
}

static void expectFigures(int player, const Player& p) {
    SCOPED_TRACE(testing::Message() << "player " << player);
    const bool one = player == 1;
    EXPECT_EQ(one ? pscoreone : pscoretwo, p.points);
    EXPECT_EQ(one ? pwinsone : pwinstwo, p.wins);
    EXPECT_EQ(one ? plossone : plosstwo, p.losses);
    EXPECT_EQ(one ? pskillone : pskilltwo, p.skill);
    EXPECT_EQ(one ? pallone : palltwo, std::to_string(p.points));
    EXPECT_EQ(one ? pwinone : pwintwo, std::to_string(p.wins));
    EXPECT_EQ(one ? plosone : plostwo, std::to_string(p.losses));
}

// Runs an operation with either player as the current one; the other one's figures stay.
static void forEitherPlayer(const Player& before, void (*operation)(), const Player& after) {
    for (int player : {1, 2}) {
        setFigures(1, before), setFigures(2, before);
        playertype = player;
        operation();
        expectFigures(player, after);
        expectFigures(3 - player, before);
    }
}

TEST(Stats, SkillRankFollowsTheMarginOfWinsOverLossesFromTwentyFiveGames) {
    // The margin is 100 x (wins - losses) / wins; at 50 and below the rank in force stays.
    const struct { int wins, losses; const char* skill; } cases[] = {
        {300, 300, "Circus-Worker"}, {24, 0, "Circus-Worker"}, {40, 20, "Sword-Swallower"},
        {41, 20, "Juggling-Clown"}, {100, 31, "Juggling-Clown"}, {100, 30, "Lion-Tamer"}, {100, 11, "Lion-Tamer"},
        {100, 10, "Trapeze-Artist"}, {24, 1, "Trapeze-Artist"}, {25, 1, "Ring-Master"},
        {INT_MAX, INT_MAX - 1, "Sword-Swallower"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.wins << " wins, " << c.losses << " losses");
        forEitherPlayer({0, c.wins, c.losses, "Sword-Swallower"}, doSkills, {0, c.wins, c.losses, c.skill});
    }
}

TEST(Stats, AWinEarnsTenPointsPerCharacterNotLostALossOnlyCountsCountersSaturateAndAResetClearsThemAll) {
    const struct { Player before; const char* phrase; int lost; Player after; } cases[] = {
        {.before = {100, 4, 2}, .phrase = "HELLO WORLD", .lost = 3, .after = {180, 5, 2}},
        {.before = {100, 4, 2}, .phrase = "OX", .lost = 5, .after = {70, 5, 2}},
        {.before = {100, 4, 2}, .phrase = "BIG TOP", .lost = 7, .after = {100, 4, 3}},
        {.before = {100, 4, 2}, .phrase = "BIG TOP", .lost = 6, .after = {110, 5, 2}},
        {.before = {INT_MAX - 20, INT_MAX, 0}, .phrase = "BIG TOP", .lost = 0, .after = {INT_MAX, INT_MAX, 0}},
        {.before = {INT_MIN + 5, 1, 0}, .phrase = "X", .lost = 6, .after = {INT_MIN, 2, 0}},
        {.before = {70, 5, INT_MAX}, .phrase = "X", .lost = 7, .after = {70, 5, INT_MAX}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.phrase << ", " << c.lost << " balloons lost");
        std::tie(solveword, numwrong) = std::make_tuple(c.phrase, c.lost);
        forEitherPlayer(c.before, [] { doScores(), doLoses(); }, c.after);
    }
    forEitherPlayer({90, 7, 3}, resetStats, {0, 0, 0, "Circus-Worker"});
}
