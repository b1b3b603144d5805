#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <random>

namespace {

// Shown values only range-checked: what the platform makes of the text.
constexpr int kAny = 1000;

// How the file is laid out before the program starts.
enum class Setup { Text, NoFile, MegabyteOfJunk, ReadOnly, Directory };

struct SettingsCase {
    const char* name;
    Setup setup;
    const char* text;
    // Start, end and toggle selections, speed bar, the two boxes.
    int shown[6];
};

const SettingsCase kCases[] = {
    {"no_file", Setup::NoFile, nullptr, {1, 2, 3, 15, 1, 1}},
    {"empty_file", Setup::Text, "", {1, 2, 3, 15, 1, 1}},
    {"section_missing", Setup::Text, "[other]\r\nstart=7\r\ntime=300\r\nSW_AUTO=0\r\n", {1, 2, 3, 15, 1, 1}},
    {"text_values", Setup::Text,
     SETTINGS_SECTION "start=abc\r\nend=F3\r\ntoggle=3x\r\ntime=fast\r\nSW_AUTO=on\r\nSW_TOGGLE=yes\r\n",
     {kAny, kAny, kAny, kAny, kAny, kAny}},
    // A negative time reads as a huge period, held at the slowest.
    {"negative_numbers", Setup::Text,
     SETTINGS_SECTION "start=-3\r\nend=-1\r\ntoggle=-2147483648\r\ntime=-5\r\nSW_AUTO=-1\r\nSW_TOGGLE=-7\r\n",
     {-1, -1, -1, 100, 0, 0}},
    {"past_32_bits", Setup::Text,
     SETTINGS_SECTION "start=99999999999\r\nend=4294967298\r\ntoggle=18446744073709551616\r\ntime=99999999999\r\n"
     "SW_AUTO=4294967297\r\nSW_TOGGLE=99999999999\r\n",
     {kAny, kAny, kAny, kAny, kAny, kAny}},
    {"empty_values", Setup::Text, SETTINGS_SECTION "start=\r\nend=\r\ntoggle=\r\ntime=\r\nSW_AUTO=\r\nSW_TOGGLE=\r\n",
     {kAny, kAny, kAny, kAny, kAny, kAny}},
    {"megabyte_of_junk", Setup::MegabyteOfJunk, nullptr, {kAny, kAny, kAny, kAny, kAny, kAny}},
    {"read_only", Setup::ReadOnly,
     SETTINGS_SECTION "start=5\r\nend=6\r\ntoggle=13\r\ntime=300\r\nSW_AUTO=0\r\nSW_TOGGLE=0\r\n",
     {5, 6, 13, 30, 0, 0}},
    {"directory_in_its_place", Setup::Directory, nullptr, {1, 2, 3, 15, 1, 1}},
};

// Random bytes from a fixed seed, starting with no byte-order mark.
void WriteJunk(const std::string& path)
{
    std::minstd_rand random(20261206);
    std::string junk(1 << 20, '\0');
    for (char& byte : junk)
        byte = static_cast<char>(random() & 0xFF);
    junk[0] = '#';
    std::ofstream(Wide(path).c_str(), std::ios::binary) << junk;
}

class SettingsFile : public ::testing::TestWithParam<SettingsCase> {
};

} // namespace

// Whatever the file holds, the panel comes up within range, its keys work
// once chosen, and closing either saves six sane values or, when the file
// cannot be written, leaves it exactly as it was.
TEST_P(SettingsFile, StartsAnswersItsKeysAndSavesOrKeepsTheFile)
{
    const SettingsCase& row = GetParam();
    ClickerCopy copy("", row.setup == Setup::Text || row.setup == Setup::ReadOnly ? row.text : nullptr);
    const std::wstring settingsPath = Wide(copy.SettingsPath());
    if (row.setup == Setup::MegabyteOfJunk)
        WriteJunk(copy.SettingsPath());
    if (row.setup == Setup::Directory) {
        ASSERT_TRUE(::CreateDirectoryW(settingsPath.c_str(), nullptr));
    }
    // Wine run as root writes read-only files all the same; a handle that
    // refuses writers keeps the file unwritable there too.
    std::unique_ptr<void, decltype(&::CloseHandle)> holder(INVALID_HANDLE_VALUE, &::CloseHandle);
    if (row.setup == Setup::ReadOnly) {
        ::SetFileAttributesW(settingsPath.c_str(), FILE_ATTRIBUTE_READONLY);
        holder.reset(::CreateFileW(settingsPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
        ASSERT_NE(INVALID_HANDLE_VALUE, holder.get());
    }
    const std::string before = copy.SettingsText();

    ForgetPastPresses();
    ClickTarget target;
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    const std::vector<int> shown = ShownValues(program);
    const int low[] = {-1, -1, -1, 1, 0, 0}, high[] = {13, 13, 13, 100, 2, 2};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(row.shown[i] == kAny ? shown[i] >= low[i] && shown[i] <= high[i] : shown[i] == row.shown[i])
            << "value " << i << ": expected " << row.shown[i] << ", shown " << shown[i];
    }

    // As a user would: F2 and F3 as the keys, the Auto box ticked, fastest.
    Ask(program.Control(IDC_START_KEY), CB_SETCURSEL, 1);
    Ask(program.Control(IDC_END_KEY), CB_SETCURSEL, 2);
    if (shown[4] == BST_UNCHECKED)
        Ask(program.Control(IDC_AUTO_ON), BM_CLICK);
    MoveSpeedBarTo(program, 1);
    Tap(VK_F2);
    // Twenty clicks come soon only at the bar's period: at a saved 1000 ms
    // they would take longer than the bound.
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 20; }));
    Tap(VK_F3);
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));

    ASSERT_TRUE(program.Close());
    switch (row.setup) {
    case Setup::ReadOnly:
        EXPECT_EQ(before, copy.SettingsText());
        break;
    case Setup::Directory:
        EXPECT_NE(0u, ::GetFileAttributesW(settingsPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_TRUE(::RemoveDirectoryW(settingsPath.c_str()));
        break;
    default: {
        const int autoBox = shown[4] == BST_UNCHECKED ? BST_CHECKED : shown[4];
        EXPECT_EQ((std::vector<int>{1, 2, shown[2], 10, autoBox, shown[5]}), copy.SavedSettings())
            << copy.SettingsText().substr(0, 400);
    }
    }
}

INSTANTIATE_TEST_SUITE_P(E2E, SettingsFile, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SettingsCase>& info) { return std::string(info.param.name); });
