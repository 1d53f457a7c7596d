#include "GameProcess.hpp"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

GameProcess::GameProcess(const std::string& binary, const std::string& workingDirectory,
                         const std::vector<std::string>& arguments, const std::string& output) {
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid = fork();
    if (pid == 0) {
        if (chdir(workingDirectory.c_str()) != 0) {
            _exit(127);
        }
        if (!output.empty()) {
            const int file = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (file < 0 || dup2(file, STDOUT_FILENO) < 0) {
                _exit(127);
            }
        }
        execv(binary.c_str(), argv.data());
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
