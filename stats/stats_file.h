// The statistics file beside the program.
#pragma once

void loadScores();
void saveScores();
