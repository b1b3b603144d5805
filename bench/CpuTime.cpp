#include "CpuTime.h"

#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
constexpr double kHundredNanosecondsPerMs = 1e4;
constexpr double kNanosecondsPerMs = 1e6;
// utime and stime are the 14th and 15th fields of a stat file, the 12th and
// 13th after the command name, which ends at the last parenthesis.
constexpr int kUtimeAfterName = 12;
const char kProc[] = "Z:\\proc\\";

std::string Environment(const char* name)
{
    char value[64] = "";
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

bool AllDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The files of /proc report no size: read until they end.
bool ReadWholeFile(const std::string& path, std::string& text)
{
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    text.clear();
    char chunk[512];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        text.append(chunk, read);
    ::CloseHandle(file);
    return true;
}

// The names of the numbered entries of a /proc folder: processes or threads.
std::vector<std::string> NumberedEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (AllDigits(entry.cFileName))
            names.push_back(entry.cFileName);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return names;
}

// utime plus stime, in clock ticks, from the text of the /proc/<pid>/stat
// file of the given pid; false if the text is not such a file.
bool StatCpuTicks(const std::string& stat, const std::string& pid, unsigned long long& ticks)
{
    // The command name may itself hold spaces and parentheses.
    const size_t nameEnd = stat.rfind(')');
    if (stat.compare(0, pid.size() + 2, pid + " (") != 0 || nameEnd == std::string::npos)
        return false;
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int skipped = 1; skipped < kUtimeAfterName && fields >> field; ++skipped) {
    }
    std::string utime, stime;
    if (!(fields >> utime >> stime) || !AllDigits(utime) || !AllDigits(stime))
        return false;
    ticks = std::strtoull(utime.c_str(), nullptr, 10) + std::strtoull(stime.c_str(), nullptr, 10);
    return true;
}

} // namespace

CpuReading WindowsProcessCpu(DWORD processId)
{
    std::vector<unsigned char> buffer(1 << 16);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = ::NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                                static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    if (status != 0) {
        char problem[80];
        std::snprintf(problem, sizeof problem, "NtQuerySystemInformation(SystemProcessInformation) gave 0x%08lX",
                      static_cast<unsigned long>(status));
        return {0, problem};
    }
    for (size_t offset = 0;;) {
        const auto& process = *reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        if (reinterpret_cast<ULONG_PTR>(process.UniqueProcessId) == processId)
            return {static_cast<double>(process.KernelTime.QuadPart + process.UserTime.QuadPart) /
                        kHundredNanosecondsPerMs,
                    ""};
        if (process.NextEntryOffset == 0)
            return {0, "the process is not in the system's process list"};
        offset += process.NextEntryOffset;
    }
}

double ClockTickMs(const char* ticksPerSecondVariable)
{
    const std::string ticks = Environment(ticksPerSecondVariable);
    return AllDigits(ticks) && std::atoi(ticks.c_str()) > 0 ? 1000.0 / std::atoi(ticks.c_str()) : 0;
}

std::string LinuxProcessWithArgument(const std::string& argument)
{
    std::vector<std::string> found;
    std::string commandLine;
    for (const std::string& pid : NumberedEntries(kProc)) {
        // Its arguments, each ended by a null character.
        if (!ReadWholeFile(kProc + pid + "\\cmdline", commandLine))
            continue;
        std::istringstream arguments(commandLine);
        for (std::string each; std::getline(arguments, each, '\0');)
            if (each == argument) {
                found.push_back(pid);
                break;
            }
    }
    return found.size() == 1 ? found.front() : std::string();
}

LinuxProcessCpu::LinuxProcessCpu(const std::string& pid, double tickMs)
    : m_pid(pid)
    , m_tickMs(tickMs)
{
    if (!AllDigits(m_pid))
        m_problem = "no Linux pid";
    else if (m_tickMs <= 0)
        m_problem = "the clock tick is not known";
}

LinuxProcessCpu LinuxProcessCpu::FromEnvironment(const char* pidVariable, const char* ticksPerSecondVariable)
{
    LinuxProcessCpu process(Environment(pidVariable), ClockTickMs(ticksPerSecondVariable));
    if (process.m_pid.empty())
        process.m_problem = std::string("no Linux pid given (") + pidVariable + ")";
    else if (!process.m_problem.empty())
        process.m_problem += std::string(" (") + pidVariable + ", " + ticksPerSecondVariable + ")";
    return process;
}

CpuReading LinuxProcessCpu::Read() const
{
    if (!m_problem.empty())
        return {0, m_problem};
    const std::string path = kProc + m_pid + "\\stat";
    std::string stat;
    if (!ReadWholeFile(path, stat))
        return {0, "cannot read " + path + ", error " + std::to_string(::GetLastError())};
    unsigned long long ticks = 0;
    if (!StatCpuTicks(stat, m_pid, ticks))
        return {0, path + " is not the stat file of process " + m_pid};
    return {static_cast<double>(ticks) * m_tickMs, ""};
}

CpuReading LinuxProcessCpu::ReadExactly() const
{
    if (!m_problem.empty())
        return {0, m_problem};
    const std::string tasks = kProc + m_pid + "\\task\\";
    double nanoseconds = 0;
    std::string schedstat;
    for (const std::string& thread : NumberedEntries(tasks)) {
        // Its first number is the time the thread has run.
        if (!ReadWholeFile(tasks + thread + "\\schedstat", schedstat))
            return {0, "cannot read " + tasks + thread + "\\schedstat"};
        nanoseconds += std::strtod(schedstat.c_str(), nullptr);
    }
    if (nanoseconds == 0)
        return {0, "no running time in " + tasks};
    return {nanoseconds / kNanosecondsPerMs, ""};
}
