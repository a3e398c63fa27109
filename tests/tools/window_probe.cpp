// Measures and pokes GUI programs from outside, for the start-up benchmark and the run script.
//   window_probe time <runs> <program A> <program B>
//       starts A and B alternately, <runs> times each; per start the time from process creation
//       to the first visible top-level window of its first thread, and its peak working set once it is idle; the
//       window is then closed. Prints every run and the medians, and B's median over A's.
//   window_probe point <window title> <control text>
//       moves the mouse onto the centre of the first visible control of that window whose text
//       begins with the given text.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK match_visible_window(HWND window, LPARAM data) {
    if (!IsWindowVisible(window) || GetParent(window) != nullptr) return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

struct Run {
    double milliseconds = -1;
    SIZE_T peak_working_set = 0;
};

double elapsed_ms(LARGE_INTEGER since) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - since.QuadPart) / static_cast<double>(frequency.QuadPart);
}

Run start_once(const std::string& program) {
    Run run;
    std::string command_line = "\"" + program + "\"";
    const std::string directory = program.substr(0, program.rfind('\\') + 1);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        return run;
    }
    // Only the windows of the program's first thread are looked at, which keeps the polling light
    // on the window server that the starting program needs too.
    HWND found = nullptr;
    while (found == nullptr && elapsed_ms(start) < 30000) {
        EnumThreadWindows(process.dwThreadId, match_visible_window, reinterpret_cast<LPARAM>(&found));
        if (found == nullptr) Sleep(1);
    }
    if (found != nullptr) {
        run.milliseconds = elapsed_ms(start);
        WaitForInputIdle(process.hProcess, 10000);
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) run.peak_working_set = memory.PeakWorkingSetSize;
        PostMessageA(found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return run;
}

template <typename T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int time_programs(int runs, const std::string& first, const std::string& second) {
    const std::string programs[2] = {first, second};
    std::vector<double> times[2];
    std::vector<SIZE_T> peaks[2];
    for (int round = 0; round < runs; ++round) {
        for (int which = 0; which < 2; ++which) {
            const Run run = start_once(programs[which]);
            if (run.milliseconds < 0) return 1;
            times[which].push_back(run.milliseconds);
            peaks[which].push_back(run.peak_working_set);
            std::printf("run %2d  %-40s %8.1f ms  peak working set %6lu KiB\n", round + 1, programs[which].c_str(),
                        run.milliseconds, static_cast<unsigned long>(run.peak_working_set / 1024));
        }
    }
    for (int which = 0; which < 2; ++which) {
        std::printf("median  %-40s %8.1f ms  peak working set %6lu KiB\n", programs[which].c_str(),
                    median(times[which]), static_cast<unsigned long>(median(peaks[which]) / 1024));
    }
    std::printf("ratio   %.2f (median of the second over the first)\n", median(times[1]) / median(times[0]));
    return 0;
}

struct ControlSearch {
    const char* prefix;
    HWND found;
};

BOOL CALLBACK match_control_text(HWND control, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    char text[256] = {};
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (!IsWindowVisible(control) || std::strncmp(text, search->prefix, std::strlen(search->prefix)) != 0) return TRUE;
    search->found = control;
    return FALSE;
}

int point_at(const char* title, const char* control_text) {
    const HWND window = FindWindowA(nullptr, title);
    if (window == nullptr) return 1;
    ControlSearch search = {control_text, nullptr};
    EnumChildWindows(window, match_control_text, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) return 1;
    RECT rect;
    GetWindowRect(search.found, &rect);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (rect.left + rect.right) / 2 * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (rect.top + rect.bottom) / 2 * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return SendInput(1, &input, sizeof input) == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "time") == 0) return time_programs(std::atoi(argv[2]), argv[3], argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "point") == 0) return point_at(argv[2], argv[3]);
    std::fprintf(stderr, "usage: window_probe time <runs> <program A> <program B>\n"
                         "       window_probe point <window title> <control text>\n");
    return 2;
}
