// The puzzle file and the random draw of a puzzle.
#pragma once

#include <istream>
#include <string>

// Draws the puzzle of a new game among the playable records of the puzzle
// file and builds the phrase strings from it; when nothing can be drawn they
// stay empty and it beeps. gRandom holds the number of complete records.
void ChooseWord();

// Upper case as the C library's toupper gives it: only 'a' to 'z' change.
std::string UpperCase(std::string text);

// Reads the next record 'phrase;hint:'. True only for a complete record, one
// whose two separators were both found.
bool ReadPuzzleRecord(std::istream& in, std::string& phrase, std::string& hint);

// True when the text holds a letter, one that is hidden and guessed: a phrase
// without one would be solved before the first guess.
bool HoldsLetter(std::string::const_iterator begin, std::string::const_iterator end);

// A uniform index in [0, count) from a generator of values in [0, randMax].
// Draws are combined when count exceeds the generator's range, and values
// that would favour low indices are drawn again.
int UniformIndex(int count, int (*nextRandom)(), long long randMax);
