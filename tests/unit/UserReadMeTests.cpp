#include "support/PanelFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

using UserReadMe = PanelTest;

// The read-me as this build made it, in the folder above the test programs,
// read as Notepad reads it: UTF-8 after a byte-order mark, every line ended by
// CR LF. Each language's part opens with its quick start, of ten lines at
// most; whatever the quick start quotes is a section of that part or a text
// the panel or its tray menu shows; and it gives each key list's default key
// followed by the list's label, the text the layout puts just before the list.
TEST_F(UserReadMe, QuickStartLeadsToItsSectionsAndQuotesWhatThePanelShows)
{
    Open();
    std::set<std::string> shown = {TextOf(panel->GetSafeHwnd())};
    for (HWND control = ::GetWindow(panel->GetSafeHwnd(), GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT))
        shown.insert(TextOf(control));
    const HMENU trayMenus = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU));
    for (int item = 0; item < ::GetMenuItemCount(::GetSubMenu(trayMenus, 0)); ++item) {
        wchar_t name[64] = L"";
        ::GetMenuStringW(::GetSubMenu(trayMenus, 0), static_cast<UINT>(item), name, ARRAYSIZE(name), MF_BYPOSITION);
        shown.insert(Utf8(name));
    }
    ::DestroyMenu(trayMenus);

    std::ifstream file(Wide(TestProgramFolder() + "..\\README.txt").c_str(), std::ios::binary);
    ASSERT_TRUE(file) << "no README.txt above " << TestProgramFolder();
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_EQ(0u, text.rfind("\xEF\xBB\xBF", 0)) << "no byte-order mark";
    ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r')) << "not CR LF";
    const std::regex heading("\r\n([^\r\n]+)\r\n-{3,}\r\n");
    const std::pair<std::string, std::string> parts[] = {{"[한국어]", "빠른 시작"}, {"[English]", "Quick start"}};
    for (const auto& part : parts) {
        const size_t begin = text.find("\r\n" + part.first + "\r\n");
        ASSERT_NE(std::string::npos, begin) << part.first;
        const std::string body = text.substr(begin, text.find("\r\n[", begin + 2) - begin);
        std::set<std::string> headings;
        std::vector<std::smatch> matches(std::sregex_iterator(body.begin(), body.end(), heading), {});
        ASSERT_LT(1u, matches.size()) << part.first;
        for (const std::smatch& match : matches)
            headings.insert(match[1]);
        EXPECT_EQ(part.second, matches[0][1]) << part.first << " opens with another section";
        const size_t quickStart = matches[0].position() + matches[0].length();
        std::string lines = body.substr(quickStart, matches[1].position() - quickStart);
        EXPECT_GE(10, std::count(lines.begin(), lines.end(), '\n')) << part.first << " quick start";
        lines = std::regex_replace(lines, std::regex("\r\n *"), " ");
        for (size_t open = lines.find('"'), close = 0; open != std::string::npos; open = lines.find('"', close + 1)) {
            close = lines.find('"', open + 1);
            ASSERT_NE(std::string::npos, close) << part.first << ": a quote left open";
            const std::string quoted = lines.substr(open + 1, close - open - 1);
            EXPECT_TRUE(headings.count(quoted) || shown.count(quoted)) << part.first << " quotes \"" << quoted << "\"";
        }
        for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY}) {
            const std::string named = Text(list) + " ?\\(\"" + TextOf(::GetWindow(Control(list), GW_HWNDPREV)) + "\"";
            EXPECT_TRUE(std::regex_search(lines, std::regex(named))) << part.first << " lacks " << named;
        }
    }
}
