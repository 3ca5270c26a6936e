#include "child_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

extern char** environ;

namespace wedge_bench {

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (!arguments.empty() && posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0) {
        pid_ = pid;
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        wait();
    }
}

int ChildProcess::wait() {
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    const pid_t ended = waitpid(pid_, &status, 0);
    pid_ = -1;
    return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runToEnd(const std::vector<std::string>& arguments) {
    ChildProcess child(arguments);
    return child.wait();
}

std::string siblingProgram(const std::string& name) {
    char self[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    std::string path(self, length > 0 ? static_cast<size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1) + name;
}

}  // namespace wedge_bench
