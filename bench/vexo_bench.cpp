// Figures of the real program on this desktop: clicks per second for several
// periods, the delay from a start-key press to the first click, the length of
// one sweep, and the CPU use of the program and of the wine server. Prints
// Markdown tables; judges nothing but whether its CPU figures follow a known
// burn, and says so in a line of its own. Runs as one test on the end-to-end
// helpers, which fail it only when the program cannot be started, found or
// ended.
#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include "CpuTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Settings(int periodMs, const char* more = "")
{
    return SETTINGS_SECTION "time=" + std::to_string(periodMs) + "\r\n" + more;
}

// A copy of the program with its panel up and ready; closed at the end.
// Started with the linked token, it is not elevated and watches the windows
// it clicks into and the one in front, at the cost of a look at each per tick.
using Token = ClickerProcess::Token;
class Clicker {
public:
    explicit Clicker(const std::string& settings, Token token = Token::Own)
        : m_copy("bench", settings.c_str())
        , m_process(m_copy, token)
    {
        m_process.WaitForPanel();
    }
    ~Clicker() { m_process.Close(); }
    ClickerProcess& Process() { return m_process; }

private:
    ClickerCopy m_copy;
    ClickerProcess m_process;
};

std::vector<double> PressTimes(const ButtonRecorder& recorder)
{
    std::vector<double> times;
    for (const ButtonEvent& event : recorder.events)
        if (event.down)
            times.push_back(event.seconds);
    return times;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void StopClicking(ButtonRecorder& recorder)
{
    Tap(VK_F3);
    WaitUntilSettled([&] { return recorder.events.size(); });
    recorder.events.clear();
}

// Clicks per second over the window from the first click: presses after the
// first one divided by the time they took.
double ClicksPerSecond(int periodMs, double windowSeconds, Token token = Token::Own)
{
    ForgetPastPresses();
    ClickTarget target;
    Clicker clicker(Settings(periodMs), token);
    ButtonRecorder recorder;
    Tap(VK_F2);
    if (!WaitUntil([&] { return !recorder.events.empty(); }))
        return 0.0;
    const double start = recorder.events.front().seconds;
    WaitUntil([&] { return Seconds() > start + windowSeconds + 0.1; }, static_cast<DWORD>(windowSeconds * 1000) + 5000);
    std::vector<double> presses = PressTimes(recorder);
    presses.erase(std::remove_if(presses.begin(), presses.end(), [&](double t) { return t >= start + windowSeconds; }),
                  presses.end());
    StopClicking(recorder);
    return presses.size() < 2 ? 0.0 : static_cast<double>(presses.size() - 1) / (presses.back() - presses.front());
}

// Delays from the start key's press to the first click over a few tries,
// sorted.
std::vector<double> StartDelaysMs(int periodMs, int tries)
{
    ForgetPastPresses();
    ClickTarget target;
    Clicker clicker(Settings(periodMs));
    ButtonRecorder recorder;
    std::vector<double> delays;
    for (int i = 0; i < tries; ++i) {
        // Presses spread over the period, as a user's would be.
        PumpFor(static_cast<DWORD>(500 + periodMs * i / tries));
        const double pressed = Seconds();
        Tap(VK_F2);
        if (WaitUntil([&] { return !recorder.events.empty(); }))
            delays.push_back((recorder.events.front().seconds - pressed) * 1000);
        StopClicking(recorder);
    }
    std::sort(delays.begin(), delays.end());
    return delays;
}

struct SweepFigures {
    double milliseconds;
    size_t buttonEvents;
};

// One sweep at the given radius, first to last button event, median of tries.
SweepFigures Sweep(int radius, size_t expectedEvents, int tries)
{
    ForgetPastPresses();
    Clicker clicker(Settings(10, "SW_AUTO=0\r\n"));
    Ask(clicker.Process().Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, radius);
    ButtonRecorder recorder;
    std::vector<double> durations;
    size_t events = 0;
    for (int i = 0; i < tries; ++i) {
        recorder.events.clear();
        Tap(VK_F4);
        WaitUntil([&] { return recorder.events.size() >= expectedEvents; });
        WaitUntilSettled([&] { return recorder.events.size(); });
        events = recorder.events.size();
        if (events > 0)
            durations.push_back((recorder.events.back().seconds - recorder.events.front().seconds) * 1000);
    }
    return {Median(durations), events};
}

constexpr double kCpuWindowSeconds = 20;
constexpr DWORD kCpuSettleMs = 1000;
// Handed in by scripts/bench.sh, which finds the server from Linux.
const char kServerPidVariable[] = "VEXO_WINESERVER_PID";
const char kClockTicksVariable[] = "VEXO_CLOCK_TICKS";

// Lets time pass serving only what arrives (the clicks at the benchmark's
// window): the polling of PumpFor would add its own calls to the wine
// server's figure.
void WaitQuietly(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (DWORD elapsed; (elapsed = ::GetTickCount() - start) < milliseconds;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
}

CpuReading PerSecond(const CpuReading& before, const CpuReading& after, double seconds)
{
    if (!before.Available())
        return before;
    if (!after.Available())
        return after;
    // A process that has run at all has used some; none means none reported.
    if (after.milliseconds == 0)
        return {0, "the system reports no CPU time for it at all"};
    return {(after.milliseconds - before.milliseconds) / seconds, ""};
}

std::string Cell(const CpuReading& rate)
{
    if (!rate.Available())
        return "not available: " + rate.problem;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", rate.milliseconds);
    return text;
}

struct CpuRates {
    CpuReading program; // ms per second
    CpuReading server;
};

// CPU per second of wall time of the program (none when its id is 0) and of
// the wine server, over the window.
CpuRates CpuOverWindow(DWORD programId, const LinuxProcessCpu& server)
{
    const auto program = [&] { return programId ? WindowsProcessCpu(programId) : CpuReading(); };
    const CpuReading programBefore = program(), serverBefore = server.Read();
    const double wallBefore = Seconds();
    WaitQuietly(static_cast<DWORD>(kCpuWindowSeconds * 1000));
    const CpuReading programAfter = program(), serverAfter = server.Read();
    const double wall = Seconds() - wallBefore;
    return {PerSecond(programBefore, programAfter, wall), PerSecond(serverBefore, serverAfter, wall)};
}

void PrintCpuRow(const char* state, const CpuRates& rates, bool withProgram = true)
{
    std::printf("| %s | %s | %s |\n", state, withProgram ? Cell(rates.program).c_str() : "-",
                Cell(rates.server).c_str());
    std::fflush(stdout);
}

// The program idle or clicking: its CPU and the server's.
CpuRates ProgramCpu(const LinuxProcessCpu& server, int periodMs, bool clicking, Token token = Token::Own)
{
    ForgetPastPresses();
    ClickTarget target;
    Clicker clicker(Settings(periodMs), token);
    if (clicking) {
        Tap(VK_F2);
        WaitUntil([&] { return target.clicks > 0; });
    }
    PumpFor(kCpuSettleMs);
    const auto rates = CpuOverWindow(clicker.Process().Id(), server);
    if (clicking) {
        Tap(VK_F3);
        WaitUntilSettled([&] { return target.clicks; });
    }
    return rates;
}

std::string ExeNextToBench(const char* name)
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\') + 1) + name;
}

const char* BitsOf(const std::string& exe)
{
    DWORD type = 0;
    if (!::GetBinaryTypeA(exe.c_str(), &type))
        return "of unknown kind";
    return type == SCS_64BIT_BINARY ? "64-bit" : type == SCS_32BIT_BINARY ? "32-bit" : "of another kind";
}

// The burner, a helper that burns CPU on request, as a process of its own
// asked through pipes; the argument marks its Linux process.
class Burner {
public:
    explicit Burner(const std::string& mark)
    {
        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
        HANDLE requestsIn = nullptr, answersOut = nullptr;
        if (!::CreatePipe(&requestsIn, &m_requests, &inheritable, 0) ||
            !::CreatePipe(&m_answers, &answersOut, &inheritable, 0))
            return;
        // Only the burner's ends go to the burner.
        ::SetHandleInformation(m_requests, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(m_answers, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = requestsIn;
        startup.hStdOutput = startup.hStdError = answersOut;
        const std::string exe = ExeNextToBench("vexo_cpu_burner.exe");
        std::string commandLine = "\"" + exe + "\" " + mark;
        if (!::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                              &m_info))
            m_info = {};
        ::CloseHandle(requestsIn);
        ::CloseHandle(answersOut);
    }
    ~Burner()
    {
        // The end of its input ends it.
        ::CloseHandle(m_requests);
        if (m_info.hProcess) {
            if (::WaitForSingleObject(m_info.hProcess, kWaitMs) != WAIT_OBJECT_0)
                ::TerminateProcess(m_info.hProcess, 1);
            ::CloseHandle(m_info.hProcess);
            ::CloseHandle(m_info.hThread);
        }
        ::CloseHandle(m_answers);
    }
    Burner(const Burner&) = delete;
    Burner& operator=(const Burner&) = delete;

    DWORD Id() const { return m_info.dwProcessId; }

    // Spins for the given time and answers; false if it did not.
    bool Burn(int milliseconds)
    {
        const std::string request = std::to_string(milliseconds) + "\n";
        DWORD done = 0;
        if (!m_info.hProcess ||
            !::WriteFile(m_requests, request.data(), static_cast<DWORD>(request.size()), &done, nullptr))
            return false;
        std::string answer;
        char c;
        while (::ReadFile(m_answers, &c, 1, &done, nullptr) && done == 1 && c != '\n')
            answer += c;
        return answer == "done";
    }

private:
    PROCESS_INFORMATION m_info = {};
    HANDLE m_requests = nullptr;
    HANDLE m_answers = nullptr;
};

constexpr int kWarmUpBurnMs = 300;
constexpr int kCheckBurnMs = 1000;
// A figure is user plus system time, each cut down to whole ticks on its
// own, so it falls short of the exact count by less than 2 ticks, and a
// difference of two figures is off by less than 2 either way.
constexpr double kFigureResolutionTicks = 2;

// Shows that both ways of reading CPU follow what a process really spends:
// the burner's figure, read as the program's is and as the wine server's is,
// against Linux's own count of its threads' running time to the nanosecond,
// all read before and after one burn. Passes when both are within the
// figures' resolution.
void PrintResponsivenessCheck(double tickMs)
{
    std::printf("\nResponsiveness check: vexo_cpu_burner.exe, a helper of the benchmark, spins for %d ms on a "
                "thread of its own when asked. Linux counts its threads' running time to the nanosecond "
                "(/proc/<pid>/task/*/schedstat, the process found by a mark on its command line); its figure, read "
                "as the program's and as the wine server's are, must follow that count. All are read just before "
                "the request and just after the answer, so the cost of asking is in each of them.\n\n",
                kCheckBurnMs);
    char mark[64];
    std::snprintf(mark, sizeof mark, "vexo-cpu-burner-%lu-%lu", ::GetCurrentProcessId(), ::GetTickCount());
    Burner burner(mark);
    // Also lets it finish starting before anything is read.
    if (!burner.Burn(kWarmUpBurnMs)) {
        std::printf("Responsiveness check: FAILED: the burner did not start or did not answer\n");
        return;
    }
    const LinuxProcessCpu burnerProcess(LinuxProcessWithArgument(mark), tickMs);
    const CpuReading exactBefore = burnerProcess.ReadExactly(), programWayBefore = WindowsProcessCpu(burner.Id()),
                     serverWayBefore = burnerProcess.Read();
    const bool burned = burner.Burn(kCheckBurnMs);
    const CpuReading exactAfter = burnerProcess.ReadExactly(), programWayAfter = WindowsProcessCpu(burner.Id()),
                     serverWayAfter = burnerProcess.Read();
    for (const CpuReading* reading : {&exactBefore, &exactAfter, &programWayBefore, &programWayAfter,
                                      &serverWayBefore, &serverWayAfter})
        if (!reading->Available()) {
            const std::string pid = burnerProcess.Pid().empty() ? "not found" : burnerProcess.Pid();
            std::printf("Responsiveness check: FAILED: a figure of the burner (Linux process %s) is not "
                        "available: %s\n",
                        pid.c_str(), reading->problem.c_str());
            return;
        }
    if (!burned) {
        std::printf("Responsiveness check: FAILED: the burner did not answer\n");
        return;
    }
    const double exact = exactAfter.milliseconds - exactBefore.milliseconds;
    std::printf("| read as | burned, by Linux's exact count (ms) | figure (ms) | difference (ms) | difference (ticks "
                "of %.0f ms) |\n|---|---|---|---|---|\n",
                tickMs);
    bool within = true;
    const auto row = [&](const char* way, const CpuReading& before, const CpuReading& after) {
        const double figure = after.milliseconds - before.milliseconds, difference = figure - exact;
        std::printf("| %s | %.1f | %.1f | %+.1f | %+.2f |\n", way, exact, figure, difference, difference / tickMs);
        within = within && std::abs(difference) < kFigureResolutionTicks * tickMs;
    };
    row("the program's", programWayBefore, programWayAfter);
    row("the wine server's", serverWayBefore, serverWayAfter);
    std::printf("\nResponsiveness check: %s (each figure less than %.0f ticks from the exact count: a figure is "
                "user plus system time, each cut down to whole ticks on its own)\n",
                within ? "passed" : "FAILED", kFigureResolutionTicks);
    std::fflush(stdout);
}

// The program's CPU idle and clicking, and the wine server's meanwhile; then
// the proof that both figures follow what a process spends.
void PrintCpuFigures()
{
    const LinuxProcessCpu server = LinuxProcessCpu::FromEnvironment(kServerPidVariable, kClockTicksVariable);
    std::printf("\nCPU of vexo.exe (%s): its Linux process, all threads, from the system's process list by its "
                "Windows process id. Wine server: Linux process %s, from its /proc stat file; it serves every Wine "
                "process of the prefix, the first row shows it without the program. Clock tick %.0f ms; each "
                "figure over %.0f s.\n\n",
                BitsOf(ExeNextToBench("vexo.exe")), server.Pid().empty() ? "unknown" : server.Pid().c_str(),
                ClockTickMs(kClockTicksVariable), kCpuWindowSeconds);
    std::printf("| state | program (ms CPU per s) | wine server (ms CPU per s) |\n|---|---|---|\n");
    PumpFor(kCpuSettleMs);
    PrintCpuRow("no program running", CpuOverWindow(0, server), false);
    PrintCpuRow("idle, 150 ms period", ProgramCpu(server, 150, false));
    PrintCpuRow("idle, 10 ms period", ProgramCpu(server, 10, false));
    PrintCpuRow("clicking, 10 ms period", ProgramCpu(server, 10, true));
    PrintCpuRow("clicking, 10 ms period, not elevated", ProgramCpu(server, 10, true, Token::Linked));

    PrintResponsivenessCheck(ClockTickMs(kClockTicksVariable));
}

} // namespace

// A test only so that the copies of the program are named after it; it
// asserts nothing of the figures.
TEST(Bench, Figures)
{
    std::printf("Screen %d x %d\n\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));

    std::printf("| period (ms) | window (s) | clicks/s achieved | ideal clicks/s | ratio |\n|---|---|---|---|---|\n");
    const std::pair<int, double> rates[] = {{10, 5}, {50, 5}, {150, 5}, {1000, 10}};
    for (const auto& rate : rates) {
        const double achieved = ClicksPerSecond(rate.first, rate.second), ideal = 1000.0 / rate.first;
        std::printf("| %d | %.0f | %.2f | %.2f | %.3f |\n", rate.first, rate.second, achieved, ideal, achieved / ideal);
        std::fflush(stdout);
    }
    const double watched = ClicksPerSecond(10, 5, Token::Linked);
    std::printf("| 10, not elevated | 5 | %.2f | 100.00 | %.3f |\n", watched, watched / 100.0);

    constexpr int kTries = 9;
    std::printf("\n| period (ms) | start key to first click, median of %d (ms) | fastest | slowest |\n"
                "|---|---|---|---|\n", kTries);
    for (int period : {10, 150}) {
        const std::vector<double> delays = StartDelaysMs(period, kTries);
        if (!delays.empty())
            std::printf("| %d | %.1f | %.1f | %.1f |\n", period, Median(delays), delays.front(), delays.back());
        std::fflush(stdout);
    }

    std::printf("\n| sweep radius | first to last button event, median of 3 (ms) | button events seen | expected |\n"
                "|---|---|---|---|\n");
    const std::pair<int, size_t> sweeps[] = {{8, 897}, {10, 1293}};
    for (const auto& sweep : sweeps) {
        const SweepFigures figures = Sweep(sweep.first, sweep.second, 3);
        std::printf("| %d | %.1f | %zu | %zu |\n", sweep.first, figures.milliseconds, figures.buttonEvents,
                    sweep.second);
        std::fflush(stdout);
    }

    PrintCpuFigures();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
