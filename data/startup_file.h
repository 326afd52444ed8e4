// The scrambled store of the puzzles between runs.
#pragma once

void OnLoads();
void OnExits();
