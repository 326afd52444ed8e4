#include "data/puzzle_console.h"

#include "app/controls.h"
#include "app/counters.h"
#include "app/sounds.h"
#include "app/state.h"
#include "data/file_names.h"
#include "data/file_replace.h"
#include "data/puzzle_file.h"
#include "resource.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

const char kPassEndedNotice[] = "Resetting Puzzle Viewer...";
const char kNotDeletedNotice[] = "Puzzle not deleted...";
const char kNoHintRecordEnd[] = "no hint available:";

std::string recordText(const std::string& phrase, const std::string& hint) { return phrase + ";" + hint + ":"; }

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A separator typed into a field would split the record differently when it
// is read back and spoil the record stored after it.
bool holdsSeparator(const std::string& text) { return text.find_first_of(";:") != std::string::npos; }

void clearEditFields() {
    SendMessageA(hEditWord, WM_SETTEXT, 0, 0);
    SetDlgItemTextA(hWnd, IDC_PHRASE_EDIT, "");
    SendMessageA(hEditHint, WM_SETTEXT, 0, 0);
    SetDlgItemTextA(hWnd, IDC_HINT_EDIT, "");
}

void endPass() {
    pfinds.close();
    prelim = 0;
    doit = 0;
}

void showNextRecord() {
    std::string phrase, hint;
    ReadPuzzleRecord(pfinds, phrase, hint);  // an unfinished record at the end is shown as far as it goes
    test1 = phrase;
    test2 = hint;
}

// Cuts the shown record out of the file's present content. It must still
// stand right after the records passed in this pass; anything after it,
// whatever its form, is kept as it is. `counted` tells whether it was a
// complete record, one that the draw's record count includes.
bool cutShownRecord(std::string& content, bool& counted) {
    if (content.compare(0, storepuzzles.size(), storepuzzles) != 0) return false;
    std::istringstream rest(content.substr(storepuzzles.size()));
    std::string phrase, hint;
    counted = ReadPuzzleRecord(rest, phrase, hint);
    if (phrase != test1 || hint != test2) return false;
    std::string after;
    if (counted) after.assign(std::istreambuf_iterator<char>(rest), std::istreambuf_iterator<char>());
    content = storepuzzles + after;
    return true;
}

// Rewrites the puzzle file without the shown record. The file is read afresh
// rather than trusting the viewer's stream, so a file changed by another
// program meanwhile is never cut short: if the shown record is no longer where
// the pass found it, nothing is written. False when the file was left as it was.
bool deleteShownRecord() {
    pfinds.close();  // an open stream would keep Windows from replacing the file
    std::string content;
    bool counted = false;
    bool deleted = ReadFileContent(WordsFile, content) && cutShownRecord(content, counted) &&
                   ReplaceFileContent(WordsFile, content);
    if (deleted && counted) AddSaturated(gRandom, -1);
    test1.clear();
    test2.clear();
    storepuzzles.clear();
    return deleted;
}

}  // namespace

void ConsoleToggle(HWND hwnd) {
    if (ConsoleUse == 1) MessageBeep(0);
    if (ConsoleUse != 0) return;
    playwav6();
    CountPress(HideCon);
    ShowWindow(hWnd, HideCon % 2 == 1 ? SW_SHOW : SW_HIDE);
    SetFocus(hwnd);
}

void ReviewCommand() {
    if (doit == 0 && EditingUse == 0 && EndofFile.empty()) {
        playwav1();
        flipthru();
        SetControlTexts(hWnd, {{IDC_PHRASE_EDIT, &test1}, {IDC_HINT_EDIT, &test2}});
    } else {
        MessageBeep(0);
    }
    if (EndofFile.size() > 5) {
        SetDlgItemTextA(hWnd, IDC_PHRASE_EDIT, EndofFile.c_str());
        EndofFile.clear();
    }
}

void DeleteCommand() {
    if (doit != 0 || EditingUse != 0 || test1.size() <= 2) {
        MessageBeep(0);
        return;
    }
    playwav1();
    doit = 1;
    flipthru();
    clearEditFields();
}

void AddPuzzleCommand() {
    playwav1();
    std::string phrase = ReadControlText(hWnd, IDC_PHRASE_EDIT);
    std::string hint = ReadControlText(hWnd, IDC_HINT_EDIT);
    if (holdsSeparator(phrase) || holdsSeparator(hint)) {
        MessageBeep(0);
        return;
    }
    if (phrase.size() <= 1) {
        if (phrase.empty()) MessageBeep(0);
        return;  // a phrase of one character is not stored, and not signalled either
    }
    if (!HoldsLetter(phrase.begin(), phrase.end())) {
        MessageBeep(0);  // nothing to guess: it would be won at the first click
        return;
    }
    exportwords = lowerCase(phrase) + ";" + (hint.empty() ? std::string(kNoHintRecordEnd) : hint + ":");
    // Should the file refuse the record, the fields keep what was typed.
    if (ExportWord()) clearEditFields();
    else MessageBeep(0);
}

void flipthru() {
    AddSaturated(prelim, 1);
    if (!test1.empty() && doit == 0) {
        storepuzzles += recordText(test1, test2);
        test1.clear();
        test2.clear();
    }
    if (prelim == 1) {
        storepuzzles.clear();
        pfinds.close();
        pfinds.open(DiskPath(WordsFile), std::ios::binary);
    }
    const char* notice = kPassEndedNotice;
    if (doit == 1) {
        if (!deleteShownRecord()) {
            MessageBeep(0);
            notice = kNotDeletedNotice;
        }
    } else if (pfinds.good()) {
        showNextRecord();
    }
    // End of the file, a deletion done or tried, a file that would not open,
    // or a stored phrase of a single character.
    if (test1.size() <= 1) {
        endPass();
        EndofFile = notice;
    }
}

bool ExportWord() {
    storepuzzles.clear();
    test1.clear();
    test2.clear();
    if (prelim > 0) endPass();
    std::ofstream out(DiskPath(WordsFile), std::ios::app | std::ios::binary);
    out << exportwords;
    out.close();
    if (out.fail()) return false;
    AddSaturated(gRandom, 1);
    return true;
}

void PuzClicked() {
    if (test2.size() > 2) endPass();
}
