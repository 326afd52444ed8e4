#include "stats/stats_file.h"

#include "app/state.h"

void loadScores() {
    pskillone = pskilltwo = "Circus-Worker";
    pallone = pwinone = plosone = palltwo = pwintwo = plostwo = "0";
}

void saveScores() {}
