#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <list>
#include <memory>
#include <vector>

namespace {

// Longer than the slowest period (1000 ms) twice over, so that the timer has
// ticked after the bar moved whatever period it started with.
constexpr DWORD kTwoSlowTicksMs = 2500;
constexpr DWORD kSomeTicksMs = 800;

void MoveSpeedBarTo(const ClickerProcess& program, WORD position)
{
    Ask(program.Panel(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
        reinterpret_cast<LPARAM>(program.Control(IDC_SPEED)));
}

std::string SpeedLabel(int position)
{
    char label[16];
    std::snprintf(label, sizeof label, "%3d/100", position);
    return label;
}

} // namespace

TEST(E2ESettings, HandEditedShortPeriodStartsAtTheLowestSpeedAndIsSavedAsTenMilliseconds)
{
    ClickerCopy copy;
    copy.WriteSetting("time", "5");
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    EXPECT_EQ(1, ScrollPosition(program.Control(IDC_SPEED)));
    EXPECT_EQ("  1/100", TextOf(program.Control(IDC_SPEED_TEXT)));
    PumpFor(kSomeTicksMs);
    PostClick(program.Panel(), IDCANCEL);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(10, copy.ReadSetting("time"));
}

// Whatever the file holds, the panel comes up with lists that have a valid
// selection or none, a speed bar within its range, and a timer that runs:
// after the bar moves to 20 and some time passes, closing saves 200 ms.
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
        {"overflow", "[vexo v1.2]\r\nstart=99999999999\r\ntime=99999999999\r\nSW_AUTO=99999999999\r\n", kAny, 2, 3,
         kAny},
        {"text", "[vexo v1.2]\r\nstart=abc\r\nend=F3\r\ntoggle=3x\r\ntime=fast\r\nSW_AUTO=on\r\nSW_TOGGLE=yes\r\n", kAny,
         kAny, kAny, kAny},
        {"empty_values", "[vexo v1.2]\r\nstart=\r\nend=\r\ntoggle=\r\ntime=\r\nSW_AUTO=\r\nSW_TOGGLE=\r\n", kAny, kAny,
         kAny, kAny},
        {"junk", "\x01\xff==\r\n[vexo v1.2\r\nstart\r\n=5\r\ntime 300\r\n[]\r\n", kAny, kAny, kAny, kAny},
    };
    auto expectIndex = [](int expected, int actual) {
        if (expected == kAny)
            EXPECT_TRUE(actual >= -1 && actual <= 13) << actual;
        else
            EXPECT_EQ(expected, actual);
    };

    std::list<ClickerRun> runs;
    for (const OddFile& file : files)
        runs.emplace_back(file.name, file.text);
    auto run = runs.begin();
    std::vector<std::vector<int>> shown;
    for (const OddFile& file : files) {
        SCOPED_TRACE(file.name);
        ASSERT_TRUE(run->process.WaitForPanel());
        const std::vector<int> selections = run->process.KeySelections();
        expectIndex(file.start, selections[0]);
        expectIndex(file.end, selections[1]);
        expectIndex(file.toggle, selections[2]);
        const int speed = ScrollPosition(run->process.Control(IDC_SPEED));
        if (file.speed == kAny)
            EXPECT_TRUE(speed >= 1 && speed <= 100) << speed;
        else
            EXPECT_EQ(file.speed, speed);
        EXPECT_EQ(SpeedLabel(speed), TextOf(run->process.Control(IDC_SPEED_TEXT)));
        MoveSpeedBarTo(run->process, 20);
        shown.push_back(selections);
        ++run;
    }
    PumpFor(kTwoSlowTicksMs);
    for (ClickerRun& closing : runs)
        PostClick(closing.process.Panel(), IDCANCEL);

    run = runs.begin();
    for (size_t index = 0; index < runs.size(); ++index, ++run) {
        SCOPED_TRACE(files[index].name);
        ASSERT_TRUE(run->process.WaitForExit());
        const std::vector<int> saved = run->copy.SavedSettings();
        EXPECT_EQ(shown[index], std::vector<int>(saved.begin(), saved.begin() + 3));
        EXPECT_EQ(200, saved[3]);
        EXPECT_TRUE(saved[4] >= 0 && saved[4] <= 2 && saved[5] >= 0 && saved[5] <= 2) << run->copy.SettingsText();
    }
}

TEST(E2ESettings, UnwritableFileIsUsedAndLeftUnchanged)
{
    ClickerCopy copy;
    copy.WriteSettingsText("[vexo v1.2]\r\nstart=5\r\nend=6\r\ntoggle=13\r\ntime=300\r\nSW_AUTO=1\r\nSW_TOGGLE=0\r\n");
    const std::string before = copy.SettingsText();
    copy.SetSettingsReadOnly(true);
    // Wine run as root writes read-only files all the same; an open handle
    // that refuses writers keeps the file unwritable there too.
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
    PumpFor(kSomeTicksMs);
    PostClick(program.Panel(), IDCANCEL);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_EQ(before, copy.SettingsText());
}
