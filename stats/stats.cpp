#include "stats/stats.h"

#include "app/counters.h"
#include "app/state.h"

#include <cstdint>

namespace {

struct PlayerFigures {
    int& points;
    int& wins;
    int& losses;
    std::string& pointsText;
    std::string& winsText;
    std::string& lossesText;
    std::string& skill;
};

PlayerFigures playerOne() { return {pscoreone, pwinsone, plossone, pallone, pwinone, plosone, pskillone}; }
PlayerFigures playerTwo() { return {pscoretwo, pwinstwo, plosstwo, palltwo, pwintwo, plostwo, pskilltwo}; }

template <typename Action>
void forCurrentPlayer(Action action) {
    if (playertype == 1) {
        PlayerFigures figures = playerOne();
        action(figures);
    } else if (playertype == 2) {
        PlayerFigures figures = playerTwo();
        action(figures);
    }
}

const char* rankForMargin(std::int64_t margin) {
    if (margin >= 96) return "Ring-Master";
    if (margin >= 90) return "Trapeze-Artist";
    if (margin >= 70) return "Lion-Tamer";
    if (margin >= 51) return "Juggling-Clown";
    return nullptr;  // the rank in force stays
}

}  // namespace

void doScores() {
    if (numwrong >= 7) return;
    forCurrentPlayer([](PlayerFigures& p) {
        AddSaturated(p.wins, 1);
        p.winsText = std::to_string(p.wins);
        std::int64_t gain = (static_cast<std::int64_t>(solveword.size()) - numwrong) * 10;
        AddSaturated(p.points, gain);
        p.pointsText = std::to_string(p.points);
    });
}

void doLoses() {
    if (numwrong <= 6) return;
    forCurrentPlayer([](PlayerFigures& p) {
        AddSaturated(p.losses, 1);
        p.lossesText = std::to_string(p.losses);
    });
}

void doSkills() {
    forCurrentPlayer([](PlayerFigures& p) {
        // Wide arithmetic: loaded figures may be near the int limits.
        std::int64_t wins = p.wins;
        std::int64_t losses = p.losses;
        if (wins <= losses || wins + losses <= 24) {
            p.skill = "Circus-Worker";
            return;
        }
        std::int64_t margin = 100 * (wins - losses) / wins;
        if (const char* rank = rankForMargin(margin)) p.skill = rank;
    });
}

void resetStats() {
    forCurrentPlayer([](PlayerFigures& p) {
        p.points = 0;
        p.wins = 0;
        p.losses = 0;
        p.skill = "Circus-Worker";
        p.lossesText = "0";
        p.winsText = "0";
        p.pointsText = "0";
    });
}
