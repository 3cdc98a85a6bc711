// The whole process of starting the payroll program until its first dialog (the
// period selection) has been painted, when it ends itself, against a bare Qt
// Widgets program that ends once its one window has been painted. Both run
// offscreen on a drive folder made once beforehand (by a start that runs through
// to the main window), so every start finds its files in place. The program is
// ended without tearing down, so it leaves its single-instance lock and socket
// behind; they are cleared between the timed starts, which are then all first
// starts of a user's day rather than take-overs from a dead copy.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"

extern char** environ;

namespace {

const std::string kProgram = TOLVANE_PROGRAM;
const std::string kBare = TOLVANE_BARE_WINDOW;

// Runs the program to its end; false when it could not be started or failed.
bool runOnce(const std::string& exe, const std::vector<std::string>& env) {
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e; ++e) {
        std::string_view v(*e);
        if (!v.starts_with("TOLVANE_") && !v.starts_with("QT_QPA_PLATFORM=") &&
            !v.starts_with("TMPDIR="))
            envp.push_back(*e);
    }
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
    pid_t pid;
    if (::posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return false;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void runStarts(benchmark::State& state, const std::string& exe) {
    bench_data::TempFolder drive;
    const std::filesystem::path temp = drive.path / "tmp";
    std::filesystem::create_directories(temp);
    const std::string base = "TOLVANE_DRIVE=" + drive.path.string();
    const std::string messages = "TOLVANE_TEST_MESSAGES=" + (drive.path / "messages.txt").string();
    const std::string tmpdir = "TMPDIR=" + temp.string();
    const std::vector<std::string> setup{
        "QT_QPA_PLATFORM=offscreen",    base, messages, tmpdir, "TOLVANE_TEST_QUIT_AFTER_START=1",
        "TOLVANE_TEST_ACCEPT_DIALOGS=1"};
    const std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", base, messages, tmpdir,
                                       "TOLVANE_TEST_QUIT_AT_FIRST_DIALOG=1"};
    // The first start creates the folders, the settings and the year file.
    if (!runOnce(exe, setup)) {
        state.SkipWithError("the program did not start and end cleanly");
        return;
    }
    for (auto _ : state) {
        if (!runOnce(exe, env)) state.SkipWithError("the program did not end cleanly");
        state.PauseTiming();
        for (const auto& e : std::filesystem::directory_iterator(temp))
            std::filesystem::remove_all(e.path());
        state.ResumeTiming();
    }
}

void BM_StartTolvane4(benchmark::State& state) {
    runStarts(state, kProgram);
}
BENCHMARK(BM_StartTolvane4)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_StartBareQtWindow(benchmark::State& state) {
    runStarts(state, kBare);
}
BENCHMARK(BM_StartBareQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace
