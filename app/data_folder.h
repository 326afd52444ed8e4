// Where the game's files are: the paths of the data files, formed once at start-up.
#pragma once

// Fills getDrivePath with the program's folder and the five file paths.
// The help and a configuration file placed beside the program are taken from
// there. The other files lie beside the program too when its folder takes new
// files; otherwise in the player's own %LOCALAPPDATA%\Marivane, made when
// missing and given the starter puzzles and statistics found beside the
// program. When neither folder can be written, a message box says so and the
// files are read from beside the program.
void FormDataPaths();
