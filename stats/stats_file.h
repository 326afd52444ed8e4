// The statistics file beside the program.
#pragma once

void loadScores();
// The score texts of players with no statistics yet: what loadScores shows
// when there is no file.
void SetStartingScores();
void saveScores();
