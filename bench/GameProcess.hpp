#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

/// The real game binary, started in a working directory of the test's choosing.
class GameProcess {
public:
    /// With `output`, the game's standard output goes into that file.
    GameProcess(const std::string& binary, const std::string& workingDirectory,
                const std::vector<std::string>& arguments = {}, const std::string& output = {});
    /// Kills the game if it is still running, so that no test leaves one behind.
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    /// Waits for the game to end; its exit code, or nothing if it did not end in time or
    /// was ended by a signal.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

    /// The game's process id.
    int id() const { return pid; }

private:
    int pid = -1;
    bool exited = false;
};
