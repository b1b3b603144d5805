#pragma once
#include <windows.h>

#include <string>

// CPU time, user plus kernel, in milliseconds; or why it could not be read.
struct CpuReading {
    double milliseconds = 0;
    std::string problem;
    bool Available() const { return problem.empty(); }
};

// A Windows process's CPU time from the system's process list, by its
// process id. Under Wine this is the Linux process that runs it, all its
// threads, as its /proc stat file gives them; GetProcessTimes would give the
// caller's own times there, whatever process it is asked about.
CpuReading WindowsProcessCpu(DWORD processId);

// A Linux process's CPU time from its /proc files, read through Wine's
// drive Z:. For the wine server, which has no Windows process id.
class LinuxProcessCpu {
public:
    // The pid, and the length of the clock tick its stat file counts in.
    LinuxProcessCpu(const std::string& pid, double tickMs);
    // Both from environment variables: the pid, and the ticks per second.
    static LinuxProcessCpu FromEnvironment(const char* pidVariable, const char* ticksPerSecondVariable);

    // User plus system time of the whole process, in whole clock ticks.
    CpuReading Read() const;
    // The running time of its live threads, to the nanosecond.
    CpuReading ReadExactly() const;
    const std::string& Pid() const { return m_pid; }

private:
    std::string m_pid;
    double m_tickMs;
    std::string m_problem;
};

// The pid of the one Linux process whose command line holds the argument;
// empty if none or several do. Wine gives a process's Linux command line its
// Windows one.
std::string LinuxProcessWithArgument(const std::string& argument);

// The clock tick of the /proc figures in milliseconds, from the environment
// variable holding the ticks per second; 0 if it is not there.
double ClockTickMs(const char* ticksPerSecondVariable);
