#include "system/files.h"

#include "system/handles.h"

#include <shlwapi.h>
#include <windows.h>

namespace {

// A drive root: a letter and a colon, with or without one backslash behind.
bool is_drive_root(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && (path.size() == 2 || (path.size() == 3 && path[2] == '\\'));
}

struct Entry {
    std::string path;
    bool directory;
    bool link;
};

void empty_directory(const std::string& directory) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAA found;
    UniqueFind find(FindFirstFileA((directory + "\\*.*").c_str(), &found));
    if (!find) return;
    do {
        if (found.cFileName[0] == '.') continue;  // ".", ".." and every other dot name stay untouched
        entries.push_back({directory + "\\" + found.cFileName,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileA(find.get(), &found));
    find.reset();

    for (const Entry& entry : entries) {
        if (entry.directory) {
            // A junction or directory link is removed as a link; what it points at is never entered.
            if (!entry.link) empty_directory(entry.path);
            RemoveDirectoryA(entry.path.c_str());
        } else {
            DeleteFileA(entry.path.c_str());
        }
    }
}

HANDLE handle_of(const TextFile& file) { return static_cast<HANDLE>(file.handle); }

bool write_all(HANDLE handle, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(handle, data, size, &written, nullptr) && written == size;
}

}  // namespace

bool create_directory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool remove_directory_tree(const std::string& path) {
    const size_t first = path.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const std::string working = path.substr(first);
    if (is_drive_root(working)) return false;
    // A link given as the tree itself goes as a link; its target is not emptied.
    const DWORD attributes = GetFileAttributesA(working.c_str());
    const bool link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (!link) empty_directory(working);
    return RemoveDirectoryA(working.c_str()) != 0;
}

bool remove_directory(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool directory_has_entries(const std::string& path) {
    WIN32_FIND_DATAA found;
    UniqueFind find(FindFirstFileA((path + "\\*.*").c_str(), &found));
    if (!find) return false;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") return true;
    } while (FindNextFileA(find.get(), &found));
    return false;
}

bool delete_file(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool rename_path(const std::string& old_path, const std::string& new_path) {
    return MoveFileA(old_path.c_str(), new_path.c_str()) != 0;
}

bool set_attributes(const std::string& path, unsigned value) {
    return SetFileAttributesA(path.c_str(), value & 39u) != 0;
}

bool is_directory(const std::string& path) { return PathIsDirectoryA(path.c_str()) != FALSE; }

bool write_file_bytes(const std::string& path, const Bytes& bytes) {
    if (path.empty()) return false;
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    if (bytes.empty()) return true;
    return write_all(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
}

Bytes read_file_bytes(const std::string& path) {
    if (path.empty()) return Bytes();
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Bytes();
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == 0 || size == INVALID_FILE_SIZE) return Bytes();
    Bytes bytes(size);
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data(), size, &got, nullptr)) return Bytes();
    bytes.resize(got);
    return bytes;
}

TextFile open_text_file(const std::string& path, TextFileMode mode) {
    TextFile file;
    if (path.empty()) return file;
    const bool create = mode == TextFileMode::create;
    const HANDLE handle = CreateFileA(path.c_str(), create ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return file;
    file.handle = handle;
    file.open = true;
    return file;
}

bool seek_to_end(TextFile& file) {
    if (!file.open) return false;
    return SetFilePointer(handle_of(file), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

bool append_line(TextFile& file, const std::string& text) {
    if (!file.open) return false;
    const HANDLE handle = handle_of(file);
    const DWORD position = SetFilePointer(handle, 0, nullptr, FILE_CURRENT);
    const bool ok = (text.empty() || write_all(handle, text.data(), static_cast<DWORD>(text.size()))) &&
                    write_all(handle, "\r\n", 2);
    if (!ok) SetFilePointer(handle, static_cast<LONG>(position), nullptr, FILE_BEGIN);
    return ok;
}

void close(TextFile& file) {
    if (!file.open) return;
    CloseHandle(handle_of(file));
    file.handle = nullptr;
    file.open = false;
}

namespace {

using RedirectionOff = BOOL(WINAPI*)(PVOID*);
using RedirectionRevert = BOOL(WINAPI*)(PVOID);

// Creates the process; with native set, a 32-bit process on 64-bit Windows has the file system
// redirector switched off around the creation only, so the system's own 64-bit program starts.
bool start_process(const std::string& command_line, bool wait, int window_mode, bool native) {
    static const WORD show_for_mode[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED,
                                         SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE};
    const int mode = window_mode < 1 ? 1 : (window_mode > 6 ? 6 : window_mode);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show_for_mode[mode - 1];
    PROCESS_INFORMATION process = {};
    std::string writable = command_line;  // CreateProcessA may write into its command line

    BOOL wow64 = FALSE;
    if (native) IsWow64Process(GetCurrentProcess(), &wow64);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto redirection_off =
        wow64 ? reinterpret_cast<RedirectionOff>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")) : nullptr;
    const auto redirection_revert =
        wow64 ? reinterpret_cast<RedirectionRevert>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")) : nullptr;
    PVOID redirection = nullptr;
    const bool switched = redirection_off && redirection_revert && redirection_off(&redirection);
    const BOOL created =
        CreateProcessA(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    if (switched) redirection_revert(redirection);
    if (!created) return false;

    UniqueHandle process_handle(process.hProcess);
    UniqueHandle thread_handle(process.hThread);
    if (wait) {
        WaitForSingleObject(process.hProcess, INFINITE);
    } else {
        WaitForInputIdle(process.hProcess, 1000);
    }
    return true;
}

}  // namespace

bool run_command_line(const std::string& command_line, bool wait, int window_mode) {
    return start_process(command_line, wait, window_mode, false);
}

bool run_native_command_line(const std::string& command_line, bool wait, int window_mode) {
    return start_process(command_line, wait, window_mode, true);
}
