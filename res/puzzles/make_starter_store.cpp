// Turns the readable starter puzzle list into the game's scrambled store:
//   make_starter_store <starter_puzzles.txt> <MVStarters.dat>
// Every line that is neither blank nor a '#' comment is one 'phrase;hint'
// puzzle; the store holds the records 'phrase;hint:' back to back, scrambled
// and written by the same code the game uses when it quits.
#include "data/file_replace.h"
#include "data/startup_file.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_starter_store <starter_puzzles.txt> <MVStarters.dat>\n";
        return 2;
    }
    std::ifstream list(argv[1]);
    if (!list.is_open()) {
        std::cerr << "make_starter_store: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::string records, line;
    while (std::getline(list, line)) {
        // A checkout with Windows line ends leaves a CR on every line.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        records += line + ':';
    }
    if (list.bad() || !ReplaceFileContent(argv[2], ScrambleStore(records))) {
        std::cerr << "make_starter_store: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
