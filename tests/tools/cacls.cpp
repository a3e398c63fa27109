// Recording stand-in for the system's cacls: appends one line per run to cacls.log beside
// itself: "<command line>|<container is a directory>|<guard is a directory>|<show mode>".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

static int is_directory_at(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

int main(int argc, char** argv) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string log = module;
    log = log.substr(0, log.rfind('\\')) + "\\cacls.log";
    const std::string container = argc > 1 ? argv[1] : "";
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);
    char line[2048];
    std::snprintf(line, sizeof line, "%s|%d|%d|%d\r\n", GetCommandLineA(), is_directory_at(container),
                  is_directory_at(container + "\\Keltora目录..\\"),
                  (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1);
    const HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
