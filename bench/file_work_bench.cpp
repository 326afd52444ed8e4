// Times the game's file work against the plainest way to move the same bytes,
// and prints the ratios at the end of the run:
//   quit and start (OnExits + OnLoads) on a 16 MiB puzzle file against two
//   buffered copies of it; New Puzzle on 200,000 records, first and later
//   games, against one read of the file.
#include "app/state.h"
#include "data/puzzle_file.h"
#include "data/startup_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kFolder = fs::temp_directory_path() / "marivane-bench";

std::string file(const char* name) { return (kFolder / name).string(); }

// Records as the console stores them, with the record number in each.
void writePuzzleFile(const std::string& path, std::size_t records, std::size_t bytes) {
    std::string content;
    for (std::size_t i = 0; i < records || content.size() < bytes; ++i)
        content += "the flying trapeze number " + std::to_string(i) + ";a hint for record " + std::to_string(i) + ":";
    std::ofstream(path, std::ios::binary) << content;
}

void bufferedCopy(const std::string& from, const std::string& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    static char buffer[128 * 1024];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) std::fwrite(buffer, 1, n, out);
    std::fclose(in);
    std::fclose(out);
}

void setPaths() {
    WordsFile = file("MVData.dat");
    LoadsFile = file("OnLoad.dat");
}

void TwoBufferedCopies(benchmark::State& state) {
    writePuzzleFile(file("copy-a"), 0, 16 << 20);
    for (auto _ : state) {
        bufferedCopy(file("copy-a"), file("copy-b"));
        bufferedCopy(file("copy-b"), file("copy-a"));
    }
}

void QuitAndStart(benchmark::State& state) {
    setPaths();
    writePuzzleFile(WordsFile, 0, 16 << 20);
    for (auto _ : state) {
        OnExits();
        OnLoads();
    }
}

void OneRead(benchmark::State& state) {
    writePuzzleFile(file("MVData.dat"), 200000, 0);
    for (auto _ : state) {
        std::ifstream in(file("MVData.dat"), std::ios::binary);
        std::string content(static_cast<std::size_t>(fs::file_size(file("MVData.dat"))), '\0');
        in.read(&content[0], static_cast<std::streamsize>(content.size()));
        benchmark::DoNotOptimize(content.data());
    }
}

void NewPuzzle(benchmark::State& state) {
    ResetSharedState();
    setPaths();
    writePuzzleFile(WordsFile, 200000, 0);
    for (auto _ : state) {
        firstrun = state.range(0) ? 1 : 2;  // the first game of a run counts the records
        ChooseWord();
    }
}

// Wall-clock time, as most of the work is the system's; medians of repeated
// runs, as other programs on the machine disturb single ones.
void timing(benchmark::internal::Benchmark* b) {
    b->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}
BENCHMARK(TwoBufferedCopies)->Apply(timing);
BENCHMARK(QuitAndStart)->Apply(timing);
BENCHMARK(OneRead)->Apply(timing);
BENCHMARK(NewPuzzle)->ArgName("first")->Arg(1)->Arg(0)->Apply(timing);

// The console report, then the ratios of the median times, wall-clock and
// processor time of the program itself.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name == "median") {
                const std::string name = run.run_name.function_name + " " + run.run_name.args;
                real_[name] = run.GetAdjustedRealTime();
                cpu_[name] = run.GetAdjustedCPUTime();
            }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("quit and start / two buffered copies (goal <= 2)", "QuitAndStart ", "TwoBufferedCopies ");
        ratio("first New Puzzle / one read (goal <= 3)", "NewPuzzle first:1", "OneRead ");
        ratio("later New Puzzle / one read (goal <= 2)", "NewPuzzle first:0", "OneRead ");
    }

private:
    void ratio(const char* what, const std::string& measured, const std::string& base) {
        std::printf("%-50s %5.2f wall-clock %5.2f processor\n", what, real_[measured] / real_[base],
                    cpu_[measured] / cpu_[base]);
    }
    std::map<std::string, double> real_, cpu_;
};

}  // namespace

int main(int argc, char** argv) {
    fs::create_directories(kFolder);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fs::remove_all(kFolder);
}
