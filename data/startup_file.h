// The scrambled store of the puzzles between runs.
#pragma once

#include <string>

// Unpacks the store into the plain puzzle file, unless that file holds newer
// records. A player with no puzzles yet (no store, and no records in the plain
// file) is given the starter puzzles shipped beside the program, in the
// store's form; the first regular quit then stores them as their own. A file
// that is there but cannot be read leaves everything as it is.
void OnLoads();
// Scrambles the plain puzzle file into the store, then purges it.
void OnExits();

// The store's bytes for the given plain puzzle text, as OnExits writes them.
std::string ScrambleStore(const std::string& puzzles);
// The plain puzzle text a store holds.
std::string UnscrambleStore(std::string store);
