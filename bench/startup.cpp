// The whole process of starting the payroll program until its start sequence has
// run and its first window was shown (it then closes itself), against a bare Qt
// Widgets program that shows one window and closes. Both run offscreen on a drive
// folder made once beforehand, so every start finds its files in place.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
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
        if (!v.starts_with("TOLVANE_") && !v.starts_with("QT_QPA_PLATFORM=")) envp.push_back(*e);
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
    const std::vector<std::string> env{
        "QT_QPA_PLATFORM=offscreen", "TOLVANE_DRIVE=" + drive.path.string(),
        "TOLVANE_TEST_MESSAGES=" + (drive.path / "messages.txt").string(),
        "TOLVANE_TEST_QUIT_AFTER_START=1", "TOLVANE_TEST_ACCEPT_DIALOGS=1"};
    // The first start creates the folders, the settings and the year file.
    if (!runOnce(exe, env)) {
        state.SkipWithError("the program did not start and end cleanly");
        return;
    }
    for (auto _ : state)
        if (!runOnce(exe, env)) state.SkipWithError("the program did not end cleanly");
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
