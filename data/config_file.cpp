#include "data/config_file.h"

#include "app/counters.h"
#include "app/state.h"
#include "data/file_names.h"
#include "data/file_replace.h"

#include <fstream>
#include <limits>

namespace {

// Both key lines lock; no blank before '=', one after; no line break at the end.
const char kDefaultConfiguration[] =
    "Disable_Console= 1\n"
    "Disable_VCCntls= 1\n"
    "\n"
    "//To Enable Edit Cntls:  set value(s) to '0'\n"
    "//Editing this file incorrectly, or removing\n"
    "//content may result in program failure.  If\n"
    "//proper file format is lost, delete file...";

// The values are positional: the integer after the next '=' whatever the key.
// A huge value reads as the int limit, so it still locks.
void readValueAfterEquals(std::istream& in, int& value) {
    in.ignore(std::numeric_limits<std::streamsize>::max(), '=');
    ReadClampedInt(in, value);
}

}  // namespace

void Userchoice() {
    std::ifstream in(DiskPath(TimerFile));
    if (in.is_open()) {
        readValueAfterEquals(in, ConsoleUse);
        readValueAfterEquals(in, EditingUse);
        return;
    }
    ConsoleUse = 1;
    // Only a file that is certainly not there is created: one that exists but
    // cannot be read now (locked by another program, say) still holds the
    // player's settings. Written as text, with the system's line breaks.
    if (FileCertainlyMissing(TimerFile)) ReplaceFileContent(TimerFile, kDefaultConfiguration, std::ios::out);
}
