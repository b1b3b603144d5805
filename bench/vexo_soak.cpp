// Soak of the real program: it clicks at its fastest period into a counting
// window for a number of minutes (argument, default 10), with one toggle
// sweep every 30 s, while its USER and GDI objects, handles and private
// memory are sampled every minute. Ends with a verdict line saying whether
// any of them grew; the exit code is non-zero if one grew or the program
// died, hung, or did not close and save cleanly. Click counts are reported
// against the ideal, never judged. Runs as one test on the end-to-end
// helpers, like the benchmark.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultMinutes = 10;
// The first minute is warm-up: the figures after it are the baseline.
constexpr int kMinMinutes = 2;
constexpr int kMaxMinutes = 24 * 60;
constexpr double kSecondsPerMinute = 60;
constexpr int kPeriodMs = 10; // that of kFastSettings
// Start key, end key, toggle key, period, both boxes: what closing must save.
const std::vector<int> kSavedAfterRun = {1, 2, 3, kPeriodMs, 1, 1};

// Sweeps fall halfway between two samples, so that no sample is taken while
// the cursor is away from the counting window.
constexpr double kSweepEverySeconds = 30;
constexpr double kFirstSweepSeconds = 15;

// Bound for the program to answer a message; longer means it hangs.
constexpr UINT kAnswerMs = 10000;
// After a sweep: clicks reaching the window this many times in a row mean
// the program is ticking again with the cursor back in place; none for this
// long with the cursor there, that clicking stopped.
constexpr int kSteadyClicks = 10;
constexpr double kRestartAfterSeconds = 5;

// Resident memory moves by whole pages as the heap and Wine's caches settle;
// growth within this much is noise, not a leak.
constexpr long long kMemoryNoiseKiB = 64;

constexpr long long kNotAvailable = -1;
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

// Wine keeps each process's GDI handle table in that process, at the place
// the PEB names; entries whose type is zero are free, and stock objects
// (made once per process) carry a flag.
constexpr size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
constexpr size_t kGdiTableEntries = 0x10000;
constexpr size_t kGdiEntrySize = 24;
constexpr size_t kGdiEntryTypeOffset = 14;
constexpr size_t kGdiEntryStockOffset = 12;
constexpr unsigned char kGdiStockFlag = 0x80;

struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT typeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

bool UnderWine()
{
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

struct Figures {
    long long user, gdi, handles, privateKiB;
};

struct WindowCount {
    DWORD processId;
    long long windows;
};

// Named callbacks rather than lambdas: a lambda converts to a function
// pointer of the default calling convention, not the system's on 32-bit.
BOOL CALLBACK CountWindow(HWND, LPARAM counter)
{
    ++*reinterpret_cast<long long*>(counter);
    return TRUE;
}

BOOL CALLBACK CountProcessWindow(HWND window, LPARAM parameter)
{
    WindowCount& count = *reinterpret_cast<WindowCount*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == count.processId) {
        ++count.windows;
        // Every descendant, not only direct children.
        ::EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&count.windows));
    }
    return TRUE;
}

// USER and GDI objects, handles and private memory of another process. Where
// the system's own call gives nothing (Wine implements some only for the
// calling process, or not at all), an honest substitute is counted and
// named in Sources().
class ProcessFigures {
public:
    explicit ProcessFigures(DWORD processId)
        : m_processId(processId)
        , m_process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId))
    {
        // A running GUI process always has some of each: zero means the call
        // does not report them.
        m_userByWindows = ::GetGuiResources(m_process, GR_USEROBJECTS) == 0;
        m_sources += m_userByWindows ? "- USER: GetGuiResources(GR_USEROBJECTS) gives 0 here (not implemented); "
                                       "counted instead: the process's windows, top-level, child and message-only\n"
                                     : "- USER: GetGuiResources(GR_USEROBJECTS)\n";
        m_gdiByTable = ::GetGuiResources(m_process, GR_GDIOBJECTS) == 0;
        if (!m_gdiByTable)
            m_sources += "- GDI: GetGuiResources(GR_GDIOBJECTS)\n";
        else if (UnderWine() && (m_gdiTable = WineGdiTable()) != 0)
            m_sources += "- GDI: GetGuiResources(GR_GDIOBJECTS) gives 0 here (not implemented); counted instead: "
                         "the live, non-stock entries of the GDI handle table Wine keeps in the process, read "
                         "from its memory\n";
        else
            m_sources += "- GDI: not available (GetGuiResources gives 0, and there is no handle table to read)\n";
        DWORD handles = 0;
        m_handlesByList = !::GetProcessHandleCount(m_process, &handles) || handles == 0;
        m_sources += m_handlesByList ? "- handles: GetProcessHandleCount gives 0 here; counted instead: the "
                                       "process's entries in "
                                       "NtQuerySystemInformation(SystemExtendedHandleInformation)\n"
                                     : "- handles: GetProcessHandleCount\n";
        m_memoryByPagefile = Memory().PrivateUsage == 0;
        m_sources += m_memoryByPagefile ? "- private memory: PROCESS_MEMORY_COUNTERS_EX.PrivateUsage is 0 here; "
                                          "shown instead: PagefileUsage, the commit charge Windows gives as the "
                                          "same figure, which Wine fills with the resident anonymous plus swapped "
                                          "memory of the Linux process\n"
                                        : "- private memory: PROCESS_MEMORY_COUNTERS_EX.PrivateUsage\n";
    }
    ~ProcessFigures() { ::CloseHandle(m_process); }
    ProcessFigures(const ProcessFigures&) = delete;
    ProcessFigures& operator=(const ProcessFigures&) = delete;

    Figures Read() const
    {
        Figures figures;
        figures.user = m_userByWindows ? CountWindows() : ::GetGuiResources(m_process, GR_USEROBJECTS);
        if (!m_gdiByTable)
            figures.gdi = ::GetGuiResources(m_process, GR_GDIOBJECTS);
        else
            figures.gdi = m_gdiTable ? CountGdiTable() : kNotAvailable;
        DWORD handles = 0;
        if (m_handlesByList)
            figures.handles = CountHandles();
        else
            figures.handles = ::GetProcessHandleCount(m_process, &handles) ? handles : kNotAvailable;
        const PROCESS_MEMORY_COUNTERS_EX memory = Memory();
        const SIZE_T bytes = m_memoryByPagefile ? memory.PagefileUsage : memory.PrivateUsage;
        figures.privateKiB = bytes ? static_cast<long long>(bytes / 1024) : kNotAvailable;
        return figures;
    }

    // Where each figure comes from, a line each.
    const std::string& Sources() const { return m_sources; }

private:
    PROCESS_MEMORY_COUNTERS_EX Memory() const
    {
        PROCESS_MEMORY_COUNTERS_EX memory = {};
        memory.cb = sizeof memory;
        ::GetProcessMemoryInfo(m_process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        return memory;
    }

    long long CountWindows() const
    {
        WindowCount count = {m_processId, 0};
        ::EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&count));
        // Message-only windows are not top-level windows of the desktop.
        for (HWND window = nullptr; (window = ::FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;)
            CountProcessWindow(window, reinterpret_cast<LPARAM>(&count));
        return count.windows;
    }

    ULONG_PTR WineGdiTable() const
    {
        PROCESS_BASIC_INFORMATION basic = {};
        if (::NtQueryInformationProcess(m_process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
            return 0;
        ULONG_PTR table = 0;
        SIZE_T read = 0;
        ::ReadProcessMemory(m_process, reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kPebGdiTableOffset,
                            &table, sizeof table, &read);
        return read == sizeof table ? table : 0;
    }

    long long CountGdiTable() const
    {
        std::vector<unsigned char> table(kGdiTableEntries * kGdiEntrySize);
        SIZE_T read = 0;
        const LPCVOID address = reinterpret_cast<LPCVOID>(m_gdiTable);
        if (!::ReadProcessMemory(m_process, address, table.data(), table.size(), &read) || read != table.size())
            return kNotAvailable;
        long long live = 0;
        for (size_t entry = 0; entry < table.size(); entry += kGdiEntrySize)
            if (table[entry + kGdiEntryTypeOffset] != 0 && !(table[entry + kGdiEntryStockOffset] & kGdiStockFlag))
                ++live;
        return live;
    }

    long long CountHandles() const
    {
        std::vector<unsigned char> buffer(1 << 20);
        const auto query = [&] {
            return ::NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(kSystemExtendedHandleInformation),
                                              buffer.data(), static_cast<ULONG>(buffer.size()), nullptr);
        };
        NTSTATUS status;
        while ((status = query()) == kInfoLengthMismatch)
            buffer.resize(buffer.size() * 2);
        if (status != 0)
            return kNotAvailable;
        const HandleTable& table = *reinterpret_cast<const HandleTable*>(buffer.data());
        long long handles = 0;
        for (ULONG_PTR i = 0; i < table.count; ++i)
            handles += table.entries[i].processId == m_processId;
        return handles;
    }

    DWORD m_processId;
    HANDLE m_process;
    bool m_userByWindows, m_gdiByTable, m_handlesByList, m_memoryByPagefile;
    ULONG_PTR m_gdiTable = 0;
    std::string m_sources;
};

std::string Value(long long value)
{
    return value == kNotAvailable ? "n/a" : std::to_string(value);
}

// True when the program's thread takes a message within the bound.
bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result) != 0;
}

bool CursorAt(POINT point)
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    return cursor.x == point.x && cursor.y == point.y;
}

// The soak's running totals; the clock starts at the first click.
struct Totals {
    double start = 0;
    double paused = 0; // from each sweep's start until clicks reached the window again
    int sweeps = 0;
    int restarts = 0;
};

// Puts the cursor back on the counting window after a sweep, and again
// whenever it is moved off, until clicks reach the window steadily; gives the
// time the first of them was seen, or 0 if none came. Under Wine the program
// works through the input of the sweep's own cursor moves after the sweep,
// without ticking meanwhile, and the last of those moves takes the cursor
// back to the anchor. The sweep leaves the clicking state alone; should
// clicks not come back all the same, the start key is pressed once and the
// restart counted.
double ReturnToWindow(POINT home, const ClickTarget& target, Totals& totals)
{
    ::SetCursorPos(home.x, home.y);
    int clicksWhenPlaced = target.clicks;
    double resumed = 0;
    bool restarted = false;
    const double placed = Seconds();
    const bool steady = WaitUntil([&] {
        if (!CursorAt(home)) {
            ::SetCursorPos(home.x, home.y);
            clicksWhenPlaced = target.clicks;
            resumed = 0;
            return false;
        }
        if (resumed == 0 && target.clicks > clicksWhenPlaced)
            resumed = Seconds();
        if (resumed == 0 && !restarted && Seconds() - placed > kRestartAfterSeconds) {
            Tap(VK_F2);
            restarted = true;
            ++totals.restarts;
        }
        return resumed != 0 && target.clicks >= clicksWhenPlaced + kSteadyClicks;
    });
    return steady ? resumed : 0;
}

// One sweep by the toggle key. It drags the cursor away and leaves it at its
// last anchor, where the clicks go until the cursor is put back; the tick
// that swept answers no message before it ends, so an answer marks the end.
// Gives what went wrong, or nothing.
std::string SweepOnce(const ClickerProcess& program, const ClickTarget& target, POINT home, Totals& totals)
{
    Tap(VK_F4);
    if (!WaitUntil([&] { return !CursorAt(home); }))
        return "a press of the toggle key started no sweep";
    const double left = Seconds();
    if (!Answers(program.Panel()))
        return "the program stopped answering during a sweep";
    const double resumed = ReturnToWindow(home, target, totals);
    if (resumed == 0)
        return "clicks did not come back after a sweep";
    totals.paused += resumed - left;
    ++totals.sweeps;
    return std::string();
}

double Expected(const Totals& totals, double now)
{
    return (now - totals.start - totals.paused) * 1000 / kPeriodMs;
}

void PrintRow(int minute, const ClickTarget& target, const Totals& totals, double now, const Figures& figures)
{
    const double expected = Expected(totals, now);
    char ratio[16] = "-";
    if (expected > 0)
        std::snprintf(ratio, sizeof ratio, "%.4f", target.clicks / expected);
    std::printf("| %d | %d | %.0f | %s | %d | %s | %s | %s | %s |\n", minute, target.clicks, expected, ratio,
                totals.sweeps, Value(figures.user).c_str(), Value(figures.gdi).c_str(),
                Value(figures.handles).c_str(), Value(figures.privateKiB).c_str());
    std::fflush(stdout);
}

struct Growth {
    const char* name;
    long long before, after, allowance;
    const char* unit;
};

int g_minutes = kDefaultMinutes;
bool g_verdictClean = false;

} // namespace

TEST(Soak, Run)
{
    ForgetPastPresses();
    ClickTarget target;
    POINT home;
    ::GetCursorPos(&home);
    ClickerRun run("", kFastSettings);
    ClickerProcess& program = run.process;
    if (!program.WaitForPanel()) {
        std::printf("verdict: FAILED: the program's panel did not come up\n");
        return;
    }
    ProcessFigures probe(program.Id());

    std::printf("Screen %d x %d; period %d ms; %d minutes; a sweep every %.0f s from %.0f s on\n\n",
                ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), kPeriodMs, g_minutes,
                kSweepEverySeconds, kFirstSweepSeconds);
    std::printf("Figures of the program's process:\n%s\n", probe.Sources().c_str());
    std::printf("Clicks are counted by a window of the soak under the cursor, from the first one on. Expected: "
                "one per %d ms of that time, less the time from each sweep's start until clicks reach the window "
                "again (the cursor is put back after each sweep).\n\n",
                kPeriodMs);
    std::printf("| minute | clicks counted | expected | ratio | sweeps | USER | GDI | handles "
                "| private memory (KiB) |\n|---|---|---|---|---|---|---|---|---|\n");

    Tap(VK_F2);
    if (!WaitUntil([&] { return target.clicks > 0; })) {
        std::printf("verdict: FAILED: the start key started no clicking\n");
        program.Close();
        return;
    }
    Totals totals;
    totals.start = Seconds();
    std::vector<Figures> samples = {probe.Read()};
    PrintRow(0, target, totals, totals.start, samples.back());

    std::string failure;
    double nextSweep = totals.start + kFirstSweepSeconds;
    for (int minute = 1; minute <= g_minutes && failure.empty(); ++minute) {
        const double sampleAt = totals.start + minute * kSecondsPerMinute;
        for (;;) {
            const double due = std::min(nextSweep, sampleAt);
            WaitUntil([&] { return Seconds() >= due || !program.IsRunning(); },
                      static_cast<DWORD>((due - Seconds()) * 1000) + kWaitMs);
            if (!program.IsRunning()) {
                failure = "the program ended";
                break;
            }
            if (due == sampleAt)
                break;
            failure = SweepOnce(program, target, home, totals);
            nextSweep += kSweepEverySeconds;
            if (!failure.empty())
                break;
        }
        const double now = Seconds();
        if (failure.empty() && !Answers(program.Panel()))
            failure = "the program stopped answering";
        if (!failure.empty()) {
            failure += " in minute " + std::to_string(minute);
            break;
        }
        samples.push_back(probe.Read());
        PrintRow(minute, target, totals, now, samples.back());
    }

    std::printf("\n");
    if (failure.empty()) {
        const double stopped = Seconds();
        Tap(VK_F3);
        WaitUntilSettled([&] { return target.clicks; });
        const double expected = Expected(totals, stopped);
        std::printf("Clicking stopped by the end key: %d clicks counted, %.0f expected (ratio %.4f).\n"
                    "%d sweeps; clicks stopped reaching the window for %.2f s per sweep on average, from the "
                    "sweep's start until the first click after it.\n",
                    target.clicks, expected, target.clicks / expected, totals.sweeps,
                    totals.sweeps ? totals.paused / totals.sweeps : 0.0);
        if (totals.restarts == 0)
            std::printf("Clicking went on after every sweep by itself.\n");
        else
            std::printf("Clicking had stopped after %d sweeps and was restarted with the start key.\n",
                        totals.restarts);

        // The About box proves the program's thread still serves its windows,
        // and that the USER and GDI figures follow what the program does.
        const Figures idle = probe.Read();
        ::PostMessageW(program.Panel(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        const HWND about = program.WaitForDialog(Texts::kAboutCaption);
        if (!about) {
            failure = "the About box did not open after the run";
        } else {
            PumpFor(500);
            const Figures open = probe.Read();
            PostClick(about, IDOK);
            WaitUntil([&] { return !::IsWindow(about); });
            std::printf("Responsive after the run: the About box opened and closed again; with it open USER %s -> "
                        "%s, GDI %s -> %s, handles %s -> %s, private memory %s -> %s KiB.\n",
                        Value(idle.user).c_str(), Value(open.user).c_str(), Value(idle.gdi).c_str(),
                        Value(open.gdi).c_str(), Value(idle.handles).c_str(), Value(open.handles).c_str(),
                        Value(idle.privateKiB).c_str(), Value(open.privateKiB).c_str());
        }
    }
    if (failure.empty()) {
        const double closing = Seconds();
        if (!program.Close() || program.ExitCode() != 0)
            failure = "the program did not close cleanly";
        else
            std::printf("Closed by its exit button in %.2f s, exit code 0.\n", Seconds() - closing);
    }
    if (failure.empty()) {
        const std::vector<int> saved = run.copy.SavedSettings();
        const char* keys[] = {"start", "end", "toggle", "time", "SW_AUTO", "SW_TOGGLE"};
        std::string values;
        for (size_t i = 0; i < saved.size(); ++i)
            values += std::string(" ") + keys[i] + "=" +
                      (saved[i] == kMissingSetting ? "(missing)" : std::to_string(saved[i]));
        std::printf("Settings file after closing:%s (%s).\n", values.c_str(),
                    saved == kSavedAfterRun ? "the six values of the run" : "NOT the six values of the run");
        if (saved != kSavedAfterRun)
            failure = "the settings file does not hold the six values of the run";
    }

    // Counts compare exactly, memory with room for page noise; the first
    // minute (first clicks, first sweeps) is warm-up.
    const Figures& before = samples.size() > 1 ? samples[1] : samples.front();
    const Figures& after = samples.back();
    const Growth figures[] = {{"USER", before.user, after.user, 0, ""},
                              {"GDI", before.gdi, after.gdi, 0, ""},
                              {"handles", before.handles, after.handles, 0, ""},
                              {"private memory", before.privateKiB, after.privateKiB, kMemoryNoiseKiB, " KiB"}};
    std::printf("\nRule: a figure grew if its last sample (minute %zu) exceeds its sample at minute %d, private "
                "memory by more than %lld KiB.\n",
                samples.size() - 1, samples.size() > 1 ? 1 : 0, kMemoryNoiseKiB);
    std::string grew, all;
    for (const Growth& figure : figures) {
        const std::string text = std::string(figure.name) + " " + Value(figure.before) + "->" + Value(figure.after) +
                                 figure.unit;
        all += (all.empty() ? "" : ", ") + text;
        if (figure.before != kNotAvailable && figure.after != kNotAvailable &&
            figure.after > figure.before + figure.allowance)
            grew += (grew.empty() ? "" : ", ") + text;
    }
    if (!failure.empty())
        std::printf("verdict: FAILED: %s (%s)\n", failure.c_str(), all.c_str());
    else if (!grew.empty())
        std::printf("verdict: GREW: %s\n", grew.c_str());
    else
        std::printf("verdict: no growth (%s)\n", all.c_str());
    std::fflush(stdout);
    g_verdictClean = failure.empty() && grew.empty();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        char* end = nullptr;
        const long minutes = std::strtol(argv[1], &end, 10);
        if (*end != '\0' || minutes < kMinMinutes || minutes > kMaxMinutes) {
            std::fprintf(stderr, "usage: vexo_soak [minutes, %d..%d, default %d]\n", kMinMinutes, kMaxMinutes,
                         kDefaultMinutes);
            return 2;
        }
        g_minutes = static_cast<int>(minutes);
    }
    const int status = RUN_ALL_TESTS();
    return status == 0 && g_verdictClean ? 0 : 1;
}
