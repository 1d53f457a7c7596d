#pragma once

#include <chrono>
#include <optional>
#include <string>

/// The real game binary, started in a working directory of the test's choosing.
class GameProcess {
public:
    GameProcess(const std::string& binary, const std::string& workingDirectory);
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
