#include "system/shell.h"

#include "system/handles.h"
#include "text/text.h"

#include <shlobj.h>
#include <shellapi.h>

#include <random>

namespace {

std::string g_program_directory;
std::mt19937 g_generator;
uint32_t g_seed_counter = 0;

HKEY root_key(int root_code) {
    switch (root_code) {
        case 1: return HKEY_CLASSES_ROOT;
        case 2: return HKEY_CURRENT_CONFIG;
        case 4: return HKEY_LOCAL_MACHINE;
        case 5: return HKEY_USERS;
        default: return HKEY_CURRENT_USER;
    }
}

// Position (0-based) of the last single-byte backslash, stepping over two-byte characters;
// npos when there is none.
size_t last_backslash(const std::string& path) {
    const int found = find_backward(path, "\\", false);
    return found < 0 ? std::string::npos : static_cast<size_t>(found - 1);
}

bool drive_type_listed(UINT type, int drive_kind) {
    switch (drive_kind) {
        case 1: return type == DRIVE_FIXED;
        case 2: return type == DRIVE_CDROM;
        case 3: return type == DRIVE_REMOVABLE;
        case 4: return type == DRIVE_REMOTE;
        default:
            return type == DRIVE_REMOVABLE || type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_CDROM;
    }
}

struct WindowState {
    HWND window;
    bool enabled;
};

BOOL CALLBACK disable_thread_window(HWND window, LPARAM states) {
    reinterpret_cast<std::vector<WindowState>*>(states)->push_back({window, IsWindowEnabled(window) != FALSE});
    EnableWindow(window, FALSE);
    return TRUE;
}

}  // namespace

bool shell_open(const std::string& file, const std::string& parameters, const std::string& directory,
                int show_mode) {
    const int show = show_mode == 1 ? SW_HIDE : (show_mode == 2 ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
    const HINSTANCE result = ShellExecuteA(nullptr, "open", file.c_str(),
                                           parameters.empty() ? nullptr : parameters.c_str(), directory.c_str(), show);
    return reinterpret_cast<INT_PTR>(result) != SE_ERR_FNF;
}

// HKEY_LOCAL_MACHINE is reached in its 64-bit view, where the system reads its settings also
// on 64-bit Windows; 32-bit Windows ignores the flag.
bool write_registry_integer(int root_code, const std::string& registry_path, int32_t value) {
    const HKEY root = root_key(root_code);
    const size_t split = last_backslash(registry_path);
    const std::string key_path = split == std::string::npos ? std::string() : registry_path.substr(0, split);
    const std::string value_name = split == std::string::npos ? registry_path : registry_path.substr(split + 1);
    const REGSAM access = KEY_WRITE | (root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0);

    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key_path.c_str(), 0, access, &opened) != ERROR_SUCCESS) {
        opened = nullptr;
        if (RegCreateKeyExA(root, key_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &opened,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
    }
    UniqueKey key(opened);
    const DWORD data = static_cast<DWORD>(value);
    const BYTE bytes[4] = {static_cast<BYTE>(data), static_cast<BYTE>(data >> 8), static_cast<BYTE>(data >> 16),
                           static_cast<BYTE>(data >> 24)};
    return RegSetValueExA(key.get(), value_name.c_str(), 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS;
}

void show_message(const std::string& message, unsigned style, const std::string& title) {
    const unsigned modality = (style & MB_SYSTEMMODAL) ? 0u : static_cast<unsigned>(MB_TASKMODAL);
    MessageBoxA(nullptr, message.c_str(), title.c_str(), style | modality);
}

// The shell's folder dialog, modal over every top-level window of this thread, which get their
// enabled state back (and the foreground and active window theirs) as soon as it returns.
std::string browse_for_folder(const std::string& title) {
    HWND owner = GetActiveWindow();
    if (!IsWindow(owner)) owner = nullptr;
    const HWND foreground = GetForegroundWindow();

    std::vector<WindowState> states;
    EnumThreadWindows(GetCurrentThreadId(), disable_thread_window, reinterpret_cast<LPARAM>(&states));

    char display_name[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = display_name;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_EDITBOX;
    info.lpfn = nullptr;
    info.lParam = 0;
    LPITEMIDLIST items = SHBrowseForFolderA(&info);

    for (const WindowState& state : states) EnableWindow(state.window, state.enabled ? TRUE : FALSE);
    if (IsWindow(foreground)) SetForegroundWindow(foreground);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);

    if (!items) return std::string();
    char path[MAX_PATH] = {};
    std::string chosen;
    if (SHGetPathFromIDListA(items, path)) chosen = path;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
    return chosen;
}

std::vector<std::string> list_drives(int drive_kind) {
    const int kind = (drive_kind < 0 || drive_kind > 4) ? 0 : drive_kind;
    std::vector<std::string> drives;
    // Letters that name no drive at all would answer DRIVE_NO_ROOT_DIR; they are not asked.
    const DWORD present = GetLogicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!(present & (1u << (letter - 'A')))) continue;
        const std::string name{letter, ':'};
        if (drive_type_listed(GetDriveTypeA(name.c_str()), kind)) drives.push_back(name);
    }
    return drives;
}

void fix_program_directory() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string module(path, length < MAX_PATH ? length : 0);
    const size_t split = last_backslash(module);
    g_program_directory = split == std::string::npos ? std::string() : module.substr(0, split);
    SetCurrentDirectoryA(g_program_directory.c_str());
}

std::string program_directory() { return g_program_directory; }

// The counter grows with every seeding by the seed's low byte plus 100, so two seedings
// within one tick of the clock still differ.
uint32_t seed_random() {
    const uint32_t seed = GetTickCount() + g_seed_counter;
    g_seed_counter += (seed & 0xFFu) + 100u;
    g_generator.seed(seed);
    return seed;
}

int random_between(int low, int high) {
    if (high <= low) return low;
    return std::uniform_int_distribution<int>(low, high)(g_generator);
}

std::string decimal_text(long long n) { return std::to_string(n); }

std::string window_text(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

// The length in bytes is never less than the length in characters, so the caret lands at the end.
void append_window_text(HWND window, const std::string& text) {
    const int end = GetWindowTextLengthA(window);
    SendMessageA(window, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
    SendMessageA(window, EM_SCROLLCARET, 0, 0);
    SendMessageA(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}
