#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <list>
#include <memory>


// Whatever the file holds, the panel comes up with lists that have a valid
// selection or none, a speed bar within its range and a timer that runs:
// the bar moved to 20, some time later closing saves 200 ms.
TEST(E2ESettings, AnyFileContentGivesAWorkingPanelWithARunningTimer)
{
    constexpr int kAny = 1000; // only range-checked
    struct OddFile {
        const char* name;
        const char* text;
        int start, end, toggle, speed;
    };
    const OddFile files[] = {
        {"empty", "", 1, 2, 3, 15},
        {"other_section", "[other]\r\nstart=7\r\ntime=300\r\n", 1, 2, 3, 15},
        {"missing_keys", "[vexo v1.2]\r\nstart=12\r\n", 12, 2, 3, 15},
        {"out_of_range", "[vexo v1.2]\r\nstart=14\r\nend=-1\r\ntoggle=-7\r\ntime=100000\r\n", -1, -1, -1, 100},
        {"negative_time", "[vexo v1.2]\r\ntime=-5\r\n", 1, 2, 3, 100},
        {"overflow", "[vexo v1.2]\r\nstart=99999999999\r\ntime=99999999999\r\nSW_AUTO=99999999999\r\n", kAny, 2, 3, kAny},
        {"text", "[vexo v1.2]\r\nstart=abc\r\nend=F3\r\ntoggle=3x\r\ntime=fast\r\nSW_AUTO=on\r\nSW_TOGGLE=yes\r\n", kAny,
         kAny, kAny, kAny},
        {"empty_values", "[vexo v1.2]\r\nstart=\r\nend=\r\ntoggle=\r\ntime=\r\nSW_AUTO=\r\nSW_TOGGLE=\r\n", kAny, kAny,
         kAny, kAny},
        {"junk", "\x01\xff==\r\n[vexo v1.2\r\nstart\r\n=5\r\ntime 300\r\n[]\r\n", kAny, kAny, kAny, kAny},
    };
    auto expectWithin = [](int expected, int actual, int low, int high) {
        EXPECT_TRUE(expected == kAny ? actual >= low && actual <= high : actual == expected)
            << "expected " << expected << ", got " << actual;
    };
    // Side by side, since each may wait a whole slow tick.
    std::list<ClickerRun> runs;
    for (const OddFile& file : files)
        runs.emplace_back(file.name, file.text);
    std::vector<std::vector<int>> shown;
    const OddFile* file = files;
    for (ClickerRun& run : runs) {
        SCOPED_TRACE(file->name);
        ASSERT_TRUE(run.process.WaitForPanel());
        shown.push_back(run.process.KeySelections());
        expectWithin(file->start, shown.back()[0], -1, 13);
        expectWithin(file->end, shown.back()[1], -1, 13);
        expectWithin(file->toggle, shown.back()[2], -1, 13);
        const int speed = ScrollPosition(run.process.Control(IDC_SPEED));
        expectWithin(file->speed, speed, 1, 100);
        EXPECT_EQ(SpeedLabel(speed), TextOf(run.process.Control(IDC_SPEED_TEXT)));
        MoveSpeedBarTo(run.process, 20);
        ++file;
    }
    // Twice the slowest period, whatever period the timer started with.
    PumpFor(2500);
    for (ClickerRun& run : runs)
        PostClick(run.process.Panel(), IDCANCEL);
    auto selections = shown.begin();
    for (ClickerRun& run : runs) {
        SCOPED_TRACE(run.copy.Name());
        ASSERT_TRUE(run.process.WaitForExit());
        const std::vector<int> saved = run.copy.SavedSettings();
        EXPECT_EQ(*selections++, std::vector<int>(saved.begin(), saved.begin() + 3));
        EXPECT_EQ(200, saved[3]) << run.copy.SettingsText();
        for (int box : {saved[4], saved[5]})
            EXPECT_TRUE(box >= 0 && box <= 2) << run.copy.SettingsText();
    }
}

TEST(E2ESettings, UnwritableFileIsUsedAndLeftUnchanged)
{
    ClickerCopy copy("", "[vexo v1.2]\r\nstart=5\r\nend=6\r\ntoggle=13\r\ntime=300\r\nSW_AUTO=1\r\nSW_TOGGLE=0\r\n");
    const std::string before = copy.SettingsText();
    ::SetFileAttributesA(copy.SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY);
    // Wine run as root writes read-only files all the same; a handle that
    // refuses writers keeps the file unwritable there too.
    const std::unique_ptr<void, decltype(&::CloseHandle)> holder(
        ::CreateFileA(copy.SettingsPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
        &::CloseHandle);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder.get());
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    EXPECT_EQ((std::vector<int>{5, 6, 13}), program.KeySelections());
    EXPECT_EQ(30, ScrollPosition(program.Control(IDC_SPEED)));
    EXPECT_FALSE(::IsWindowEnabled(program.Control(IDC_TOGGLE_KEY)));
    MoveSpeedBarTo(program, 50);
    Ask(program.Control(IDC_START_KEY), CB_SETCURSEL, 7);
    PumpFor(800);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_EQ(before, copy.SettingsText());
}
