#include "GameProcess.hpp"

#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

GameProcess::GameProcess(const std::string& binary, const std::string& workingDirectory) {
    pid = fork();
    if (pid == 0) {
        if (chdir(workingDirectory.c_str()) != 0) {
            _exit(127);
        }
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

GameProcess::~GameProcess() {
    if (pid > 0 && !exited) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

std::optional<int> GameProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            if (WIFEXITED(status)) {
                return WEXITSTATUS(status);
            }
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}
