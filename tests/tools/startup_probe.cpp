// Started by the process tests: "startup_probe <output file> [milliseconds]". Sleeps the given
// time, then writes "<STARTF_USESHOWWINDOW set 0/1> <wShowWindow>" to the output file.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (argc > 2) Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);
    char text[64];
    std::snprintf(text, sizeof text, "%d %d", (startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0,
                  static_cast<int>(startup.wShowWindow));
    const HANDLE file = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
