// The eight sound cues. Each asks the system player for its WAVE resource and
// returns at once; a new cue cuts off the one still playing.
#pragma once

void playwav1();  // button click
void playwav2();  // minimise
void playwav3();  // letter found
void playwav4();  // wrong guess
void playwav5();  // new puzzle
void playwav6();  // console shown or hidden
void playwav7();  // game won
void playwav8();  // game lost

// The sound switch: the game cues (3, 4, 5, 7, 8) play only while this holds.
bool SoundsOn();
