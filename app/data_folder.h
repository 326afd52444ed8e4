// Where the game's files are: the paths of the data files, formed once at start-up.
#pragma once

// Fills getDrivePath with the program's folder and the six file paths.
// The help, the starter puzzles and a configuration file placed beside the
// program are taken from there. The other files lie beside the program too
// when its folder takes new files and the player has no home of their own
// yet; otherwise in the player's own %LOCALAPPDATA%\Marivane, made when
// missing. Once that folder holds the game's store, puzzle or statistics file
// it stays the player's home, even when the program's folder could be written
// later. It is given the files it lacks from beside the program: the
// statistics, and the store, or a plain puzzle file where there is no store
// on either side. When neither folder can be written, a message box says so
// and the files are read from beside the program.
void FormDataPaths();
