// The two players' statistics and the skill ladder. Each operation acts on
// the current player (playertype) only and leaves the display to the caller.
#pragma once

void doScores();
void doLoses();
void doSkills();
void resetStats();
