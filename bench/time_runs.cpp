// Times whole processes on the monotonic clock and prints each command's median, fastest and
// slowest wall time. Commands take turns round by round so that drift hits them alike.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Runs one command with its output thrown away; false when it did not exit with 0.
bool runOnce(const std::vector<char*>& argv, double& ms) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        std::fprintf(stderr, "time_runs: cannot run %s: %s\n", argv[0], std::strerror(error));
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: time_runs RUNS WARMUP CMD [ARG...] [::: CMD [ARG...]]...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int warmup = std::atoi(argv[2]);
    std::vector<std::vector<char*>> commands(1);
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], ":::") == 0) {
            commands.emplace_back();
        } else {
            commands.back().push_back(argv[i]);
        }
    }
    for (auto& command : commands) {
        if (command.empty()) {
            std::fprintf(stderr, "time_runs: empty command\n");
            return 2;
        }
        command.push_back(nullptr);
    }
    std::vector<std::vector<double>> times(commands.size());
    for (int round = 0; round < warmup + runs; ++round) {
        for (std::size_t c = 0; c < commands.size(); ++c) {
            double ms = 0;
            if (!runOnce(commands[c], ms)) {
                std::fprintf(stderr, "time_runs: %s failed\n", commands[c][0]);
                return 1;
            }
            if (round >= warmup) {
                times[c].push_back(ms);
            }
        }
    }
    // One line per command: median, fastest and slowest in milliseconds, then the run count.
    for (auto& t : times) {
        std::sort(t.begin(), t.end());
        const std::size_t n = t.size();
        const double median = n % 2 == 1 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
        std::printf("%.3f %.3f %.3f %zu\n", median, t.front(), t.back(), n);
    }
    return 0;
}
