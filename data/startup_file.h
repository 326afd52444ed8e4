// The scrambled store of the puzzles between runs.
#pragma once

#include <string>

void OnLoads();
void OnExits();

// The store's bytes for the given plain puzzle text, as OnExits writes them.
std::string ScrambleStore(const std::string& puzzles);
// The plain puzzle text a store holds.
std::string UnscrambleStore(std::string store);
