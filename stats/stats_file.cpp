#include "stats/stats_file.h"

#include "app/counters.h"
#include "app/state.h"
#include "data/file_names.h"
#include "data/file_replace.h"

#include <fstream>
#include <sstream>

namespace {

const std::string kDefaultSkill = "Circus-Worker";

void readSkill(std::istream& in, std::string& skill) {
    std::string word;
    if (in >> word) skill = word;
}

void readPlayer(std::istream& in, int& points, int& wins, int& losses, std::string& skill) {
    // Beyond the int range a counter holds the limit the saturating counters would have stopped at.
    ReadClampedInt(in, points);
    ReadClampedInt(in, wins);
    ReadClampedInt(in, losses);
    readSkill(in, skill);
}

// The file has no way to hold an empty skill (the reader would take the next
// number for it and shift every later field), so such a skill is stored as
// the rank every player starts with.
void writePlayer(std::ostream& out, int points, int wins, int losses, const std::string& skill) {
    out << points << ' ' << wins << ' ' << losses << ' ' << (skill.empty() ? kDefaultSkill : skill);
}

}  // namespace

void SetStartingScores() {
    pskillone = pskilltwo = kDefaultSkill;
    pallone = pwinone = plosone = palltwo = pwintwo = plostwo = "0";
}

void loadScores() {
    std::ifstream in(DiskPath(ScoreFile));
    if (!in.good()) {
        ScoreFileUnread = !FileCertainlyMissing(ScoreFile);
        SetStartingScores();
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
    if (ScoreFileUnread) return;
    std::ostringstream line;
    writePlayer(line, pscoreone, pwinsone, plossone, pskillone);
    line << ' ';
    writePlayer(line, pscoretwo, pwinstwo, plosstwo, pskilltwo);
    SaveAtQuit(ScoreFile, line.str(), "figures");
}
