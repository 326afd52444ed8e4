// The puzzle file through New Puzzle and the puzzle console, driven through the real window procedure.
#include "data/puzzle_file.h"
#include "game_session.h"

#include <sys/stat.h>
#include <cstdlib>
#include <random>

const std::string kThree = "big top;a place for clowns:lion;king of the ring:juggler;keeps balls up:";

// Records numbered by their hints; those numbered 1 and 4 hold no letter.
const std::string kNumbered3 = "phrase;0:20 24!;1:phrase;2:", kNumbered6 = kNumbered3 + "phrase;3:20 24!;4:phrase;5:";

struct Puzzles : ::testing::Test {
    // A new run on `file` that plays its first game, which counts the records.
    void start(const std::string& file = kThree, const char* config = kUnlocked) {
        folder.write("MVC_CONFIG.INI", config);
        chmod(folder.file("MVData.dat").c_str(), 0644);
        folder.write("MVData.dat", file);
        StartUpIn(folder);
        Press(IDC_NEW_PUZZLE);
        headless_clear_log();
    }
    // How often each of `count` records was drawn in `games` New Puzzles.
    std::vector<int> draws(int games, int count) {
        std::vector<int> drawn(count);
        for (int game = 0; game < games; ++game) {
            Press(IDC_NEW_PUZZLE);
            ++drawn.at(std::stoi(grabhint));
        }
        return drawn;
    }
    TempFolder folder;
};

// gRandom holds the complete records, playable or not; with no playable one New Puzzle starts no game.
TEST_F(Puzzles, NewPuzzleCountsTheRecordsAtTheFirstGameAndAgainWhileNoneAreLeftAndBuildsThePhraseStrings) {
    const struct { const char* file; int records = 0; bool game = false; } files[] = {
        {.file = "Data purged..."}, {.file = "big top;a hint"}, {.file = "20 24;b:?!;d:", .records = 2},
        {.file = "a;b:c;d", .records = 1, .game = true}, {.file = ";b:  ;d:a;x:", .records = 3, .game = true}};
    for (const auto& c : files) {
        SCOPED_TRACE(c.file);
        start(c.file);
        EXPECT_EQ(gRandom, c.records);
        EXPECT_EQ(gameRunning, int(c.game));
    }
    start(kNumbered6);
    // A file that shrank is followed, else a count of none left is redone.
    const struct { int records, before, after; } later[] = {
        {.records = 3, .before = 6, .after = 3}, {.records = 6, .before = 3, .after = 3},
        {.records = 6, .before = -2, .after = 6}, {.records = 6, .before = 0, .after = 6}};
    for (const auto& c : later) {
        folder.write("MVData.dat", c.records == 3 ? kNumbered3 : kNumbered6);
        gRandom = c.before;
        draws(300, c.records);
        EXPECT_EQ(gRandom, c.after) << c.records << " records, gRandom was " << c.before;
    }
    start("act 2!;a hint:");
    EXPECT_EQ(showdashes, " _ _ _   2 !");
    EXPECT_EQ(buildword, " * * *   2 !");
}

// RAND_MAX is 32767 on Windows: a file of more records must still have each of them drawn.
TEST_F(Puzzles, EveryPlayableRecordIsDrawnAlikeAndNoOtherEverWithTheGeneratorSeededOnce) {
    start(kNumbered6);
    std::srand(7);
    const std::vector<int> afterSeven = draws(1800, 6);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(afterSeven[i], i % 3 == 1 ? 0 : 450, 100) << "record " << i;
    std::srand(7);
    EXPECT_EQ(draws(1800, 6), afterSeven) << "a later game seeded the generator again";
    static std::mt19937 bits(2024);
    const int many = 3 * 32768 + 5;
    std::vector<int> hits(many);
    for (int i = 0; i < 2000000; ++i) ++hits.at(UniformIndex(many, [] { return int(bits() & 0x7fff); }, 32767));
    for (int index : {0, 32767, 32768, 65536, many - 1}) EXPECT_GT(hits[index], 0) << "index " << index;
}

// Add works under both locks (the default). A one-character phrase is neither stored nor beeped; fields take 38, 34.
TEST_F(Puzzles, AddStoresTheLowerCasedRecordOrRefusesWithABeepKeepingTheFields) {
    const struct { const char *phrase, *hint, *stored = nullptr; bool beeps = false; } cases[] = {
        {.phrase = "Big Top", .hint = "A place for clowns", .stored = "big top;A place for clowns:"},
        {.phrase = "ab", .hint = "", .stored = "ab;no hint available:"}, {.phrase = "a", .hint = "hint"},
        {.phrase = "a;b", .hint = "hint", .beeps = true},  // a separator would split the record
        {.phrase = "ab", .hint = "x:y", .beeps = true}, {.phrase = "", .hint = "a hint", .beeps = true},
        {.phrase = "2024!", .hint = "a year", .beeps = true},  // no letter: won at the first click
        {.phrase = "abcdefghijklmnopqrstuvwxyzabcdefghijklmn", .hint = "0123456789012345678901234567890123456",
         .stored = "abcdefghijklmnopqrstuvwxyzabcdefghijkl;0123456789012345678901234567890123:"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.phrase);
        start(kThree, "Disable_Console= 1\nDisable_VCCntls= 1");
        headless_type(hEditWord, c.phrase);
        headless_type(hEditHint, c.hint);
        const std::string typedPhrase = TextOf(IDC_PHRASE_EDIT);
        Press(IDC_ADD_PUZZLE);
        EXPECT_EQ(folder.read("MVData.dat"), kThree + (c.stored ? c.stored : ""));
        EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), c.stored ? "" : typedPhrase);
        EXPECT_EQ(gRandom, c.stored ? 4 : 3);
        EXPECT_EQ(CuesHeard(), (c.beeps ? Cues{IDW_CLICK, kBeep} : Cues{IDW_CLICK}));
    }
}

// 0 lets the console button show and hide the console, 1 makes it beep, any other value does nothing.
TEST_F(Puzzles, TheConsoleButtonTogglesTheConsoleOnlyWhenUnlocked) {
    const struct { const char* config; Cues heard = {}; bool shown = false; } cases[] = {
        {.config = kUnlocked, .heard = {IDW_CONSOLE}, .shown = true}, {.config = "Disable_Console= 2"},
        {.config = "Disable_Console= 1", .heard = {kBeep}}, {.config = "Disable_Console= -1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        start(kThree, c.config);
        Press(IDC_CONSOLE);
        EXPECT_EQ(CuesHeard(), c.heard);
        EXPECT_EQ(Shown(hWnd), c.shown);
    }
}

// A pass ends after the last record or at a New Puzzle. Records without a letter, or unfinished, are shown and
// deleted like any other; only complete ones count. A read-only or held file is kept, and the next Review says so.
// Each row gives what differs from a plain Review, Review and Delete of the second of three records.
TEST_F(Puzzles, ReviewPagesThroughTheFileAndDeleteRewritesItWithoutTheShownRecordOrKeepsItWhole) {
    const int R = IDC_REVIEW;
    static const std::string done = "Resetting Puzzle Viewer...", notDeleted = "Puzzle not deleted...";
    enum Lock { kNone, kReadOnly, kHeld, kEditingLockedOnceShown };
    struct Case {
        std::string file = kThree;
        const char* config = kUnlocked;
        std::vector<int> commands = {R, R};
        Lock lock = kNone;
        std::string shownPhrase = "lion", shownHint = "king of the ring", phraseAfterDelete = "";
        int records = 3;            // counted after Delete
        Cues heard = {IDW_CLICK};  // at Delete
        std::string fileAfter = kThree, nextReview = done;
    };
    const Case cases[] = {
        {.records = 2, .fileAfter = "big top;a place for clowns:juggler;keeps balls up:"},
        {.lock = kReadOnly, .heard = {IDW_CLICK, kBeep}, .nextReview = notDeleted},
        {.lock = kHeld, .heard = {IDW_CLICK, kBeep}, .nextReview = notDeleted},
        {.commands = {R, R, R, R}, .shownPhrase = done, .shownHint = "", .phraseAfterDelete = done, .heard = {kBeep},
         .nextReview = "big top"},
        {.commands = {R, R, IDC_NEW_PUZZLE, R}, .shownPhrase = "big top", .shownHint = "a place for clowns",
         .records = 2, .fileAfter = "lion;king of the ring:juggler;keeps balls up:"},
        {.file = kThree + "2024!;a year:", .commands = {R, R, R, R}, .shownPhrase = "2024!", .shownHint = "a year"},
        {.file = kThree + "clowns;red no", .commands = {R, R, R, R}, .shownPhrase = "clowns", .shownHint = "red no"},
        {.lock = kEditingLockedOnceShown, .phraseAfterDelete = "lion", .heard = {kBeep}, .nextReview = "lion"},
        {.config = "Disable_Console= 0\nDisable_VCCntls= 1", .shownPhrase = "", .shownHint = "", .heard = {kBeep},
         .nextReview = ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << c.config << ", commands: " << c.commands.size() << ", lock " << c.lock);
        start(c.file, c.config);
        Press(IDC_CONSOLE);
        for (int command : c.commands) Press(command);
        if (c.lock == kReadOnly) chmod(folder.file("MVData.dat").c_str(), 0444);
        EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), c.shownPhrase);
        EXPECT_EQ(TextOf(IDC_HINT_EDIT), c.shownHint);
        if (c.lock == kEditingLockedOnceShown) EditingUse = 1;
        headless_clear_log();
        const Limit limit = c.lock == kHeld ? kUnreadable : kNoLimit;
        Limited(limit, folder, [] { Press(IDC_DELETE); }, "MVData.dat");
        EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), c.phraseAfterDelete);
        EXPECT_EQ(gRandom, c.records);
        EXPECT_EQ(CuesHeard(), c.heard);
        EXPECT_FALSE(folder.exists("MVData.dat.tmp"));
        Limited(limit, folder, [] { Press(IDC_REVIEW); }, "MVData.dat");
        EXPECT_EQ(folder.read("MVData.dat"), c.fileAfter);
        EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), c.nextReview);
    }
}

// A puzzle file another program holds gives no game, so no click can book one, and a Review ends its pass at once.
TEST_F(Puzzles, AnUnreadablePuzzleFileGivesNoGameAndNothingToReview) {
    start();
    Press(IDC_CONSOLE);
    Limited(kUnreadable, folder, [] { Press(IDC_NEW_PUZZLE), Press(IDC_REVIEW); }, "MVData.dat");
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING");
    EXPECT_EQ(TextOf(IDC_HINT_LINE), "No data");
    EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), "Resetting Puzzle Viewer...");
    EXPECT_EQ(folder.read("MVData.dat"), kThree);
}
