// Programs the benchmarks start beside themselves: the window opener, the
// xterm sink, the xdotool command. Each runs until it ends or the object
// goes, which stops it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace wedge_bench {

class ChildProcess {
public:
    // Starts the program, found on PATH, with these arguments (the first is
    // the program). Check started().
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // Waits for the program to end; its exit status, or -1 when it did not
    // start or was ended by a signal.
    int wait();

private:
    pid_t pid_ = -1;
};

// Starts the program and waits for it: its exit status, or -1.
int runToEnd(const std::vector<std::string>& arguments);

// A program built beside the running one.
std::string siblingProgram(const std::string& name);

}  // namespace wedge_bench
