#include "stats/stats_file.h"

#include "app/state.h"
#include "data/file_replace.h"

#include <climits>
#include <fstream>
#include <sstream>

namespace {

const std::string kDefaultSkill = "Circus-Worker";

// Reads one counter; a field that cannot be read leaves it as it was and
// fails the stream, so every later field is left alone too. Digits beyond
// the int range come back from the stream as INT_MAX or INT_MIN with the
// failure flag: that is the value the saturating counters would hold
// themselves, so it is kept and the next field read as usual.
void readCounter(std::istream& in, int& counter) {
    int value = 0;
    in >> value;
    if (in.fail() && (value == INT_MAX || value == INT_MIN)) in.clear(in.rdstate() & ~std::ios::failbit);
    if (!in.fail()) counter = value;
}

void readSkill(std::istream& in, std::string& skill) {
    std::string word;
    if (in >> word) skill = word;
}

void readPlayer(std::istream& in, int& points, int& wins, int& losses, std::string& skill) {
    readCounter(in, points);
    readCounter(in, wins);
    readCounter(in, losses);
    readSkill(in, skill);
}

// The file has no way to hold an empty skill (the reader would take the next
// number for it and shift every later field), so such a skill is stored as
// the rank every player starts with.
void writePlayer(std::ostream& out, int points, int wins, int losses, const std::string& skill) {
    out << points << ' ' << wins << ' ' << losses << ' ' << (skill.empty() ? kDefaultSkill : skill);
}

}  // namespace

void loadScores() {
    std::ifstream in(ScoreFile);
    if (!in.good()) {
        pskillone = pskilltwo = kDefaultSkill;
        pallone = pwinone = plosone = palltwo = pwintwo = plostwo = "0";
        return;
    }
    readPlayer(in, pscoreone, pwinsone, plossone, pskillone);
    readPlayer(in, pscoretwo, pwinstwo, plosstwo, pskilltwo);
    in.close();
    pallone = std::to_string(pscoreone);
    pwinone = std::to_string(pwinsone);
    plosone = std::to_string(plossone);
    palltwo = std::to_string(pscoretwo);
    pwintwo = std::to_string(pwinstwo);
    plostwo = std::to_string(plosstwo);
}

void saveScores() {
    std::ostringstream line;
    writePlayer(line, pscoreone, pwinsone, plossone, pskillone);
    line << ' ';
    writePlayer(line, pscoretwo, pwinstwo, plosstwo, pskilltwo);
    ReplaceFileContent(ScoreFile, line.str());
}
