// The statistics file, in the folder that holds the game's data files: beside
// the program or in the player's own folder (app/data_folder.h).
#pragma once

void loadScores();
// The score texts of players with no statistics yet: what loadScores shows
// when there is no file.
void SetStartingScores();
void saveScores();
