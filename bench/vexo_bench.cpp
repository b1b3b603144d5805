// Figures of the real program on this desktop: clicks per second for several
// periods, the delay from a start-key press to the first click, the length of
// one sweep, and the program's CPU use. Prints Markdown tables; judges nothing.
// Runs as one test on the end-to-end helpers, which fail it only when the
// program cannot be started, found or ended.
#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Settings(int periodMs, const char* more = "")
{
    return "[vexo v1.2]\r\ntime=" + std::to_string(periodMs) + "\r\n" + more;
}

// A copy of the program with its panel up and ready; closed at the end.
class Clicker {
public:
    explicit Clicker(const std::string& settings)
        : m_run("bench", settings.c_str())
    {
        m_run.process.WaitForPanel();
    }
    ~Clicker() { m_run.process.Close(); }
    ClickerProcess& Process() { return m_run.process; }

private:
    ClickerRun m_run;
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
double ClicksPerSecond(int periodMs, double windowSeconds)
{
    ForgetPastPresses();
    ClickTarget target;
    Clicker clicker(Settings(periodMs));
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

double CpuSeconds(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0.0;
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// CPU milliseconds the program spends per second of wall time, idle or clicking.
double CpuMsPerSecond(int periodMs, bool clicking, double windowSeconds)
{
    ForgetPastPresses();
    ClickTarget target;
    Clicker clicker(Settings(periodMs));
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, clicker.Process().Id());
    if (clicking) {
        Tap(VK_F2);
        WaitUntil([&] { return target.clicks > 0; });
    }
    PumpFor(1000);
    const double cpuBefore = CpuSeconds(process), wallBefore = Seconds();
    PumpFor(static_cast<DWORD>(windowSeconds * 1000));
    const double cpu = CpuSeconds(process) - cpuBefore, wall = Seconds() - wallBefore;
    if (clicking) {
        Tap(VK_F3);
        WaitUntilSettled([&] { return target.clicks; });
    }
    ::CloseHandle(process);
    return cpu * 1000 / wall;
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

    std::printf("\n| state, over 10 s | CPU time of the program (ms per s) |\n|---|---|\n");
    std::printf("| idle, 150 ms period | %.2f |\n", CpuMsPerSecond(150, false, 10));
    std::printf("| clicking, 10 ms period | %.2f |\n", CpuMsPerSecond(10, true, 10));
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
