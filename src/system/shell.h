// Operations that reach Windows outside the file system: the shell, the registry, message
// boxes, the folder picker, the drive list, the program's directory and random numbers.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Opens a file through the shell ("open"). Show mode 1 hidden, 2 minimised without
// activation, anything else normal. False only when the shell reports the file not found.
bool shell_open(const std::string& file, const std::string& parameters, const std::string& directory,
                int show_mode);

// Root codes: 1 HKCR, 2 HKCC, 3 HKCU, 4 HKLM, 5 HKU, any other HKCU. The path's last
// single-byte backslash separates key path and value name. True when the value was stored.
bool write_registry_integer(int root_code, const std::string& registry_path, int32_t value);

// Message box without owner, task-modal unless the style asks for system-modal.
void show_message(const std::string& message, unsigned style, const std::string& title);

// The folder picker: the chosen folder ("D:\" for a root, "D:\Data" otherwise), or ""
// after Cancel or for an item outside the file system.
std::string browse_for_folder(const std::string& title);

// Drive names ("C:") in letter order. Kind 1 fixed, 2 CD-ROM, 3 removable, 4 remote,
// anything else all of these four.
std::vector<std::string> list_drives(int drive_kind);

// Fixes the program directory from the executable's path and makes it the current directory.
// Called once at start-up, before any window exists.
void fix_program_directory();
// The executable's directory without a trailing backslash ("" before fix_program_directory).
std::string program_directory();

// Reseeds the generator from the tick count plus a counter that grows with every seeding,
// so two seedings in one millisecond differ. Answers the seed used.
uint32_t seed_random();
// An integer from low to high, both included (0 <= low <= high).
int random_between(int low, int high);
std::string decimal_text(long long n);

// The text of a control, and appending to its end as a user would type it (caret at the end,
// view scrolled there).
std::string window_text(HWND window);
void append_window_text(HWND window, const std::string& text);
