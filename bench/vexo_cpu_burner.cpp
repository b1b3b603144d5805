// A helper of the benchmark, not part of the product: it burns CPU on
// request, so that the benchmark can show that its CPU figure of another
// process follows what that process really spends. Each line on standard
// input is a number of milliseconds to spin (0 for none), on a thread other
// than the main one, so that a figure missing threads would show it; each
// "done" on standard output answers one. It ends at the end of its input.
// Its argument is only a mark for the benchmark to find its Linux process by.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

HANDLE g_go = nullptr;
HANDLE g_done = nullptr;
volatile LONG g_milliseconds = 0;

LONGLONG Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

DWORD WINAPI Spinner(void*)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    for (;;) {
        ::WaitForSingleObject(g_go, INFINITE);
        const LONGLONG end = Now() + frequency.QuadPart * g_milliseconds / 1000;
        while (Now() < end) {
        }
        ::SetEvent(g_done);
    }
}

bool ReadLine(HANDLE input, std::string& line)
{
    line.clear();
    char c;
    DWORD read = 0;
    while (::ReadFile(input, &c, 1, &read, nullptr) && read == 1) {
        if (c == '\n')
            return true;
        line += c;
    }
    return false;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE), output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    g_go = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_done = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    // It lives as long as the process: the figures of a thread that ended
    // leave the per-thread counts the benchmark compares with.
    if (!g_go || !g_done || !::CreateThread(nullptr, 0, Spinner, nullptr, 0, nullptr))
        return 1;
    std::string request;
    while (ReadLine(input, request)) {
        g_milliseconds = std::strtol(request.c_str(), nullptr, 10);
        ::SetEvent(g_go);
        ::WaitForSingleObject(g_done, INFINITE);
        DWORD written = 0;
        if (!::WriteFile(output, "done\n", 5, &written, nullptr))
            return 1;
    }
    return 0;
}
