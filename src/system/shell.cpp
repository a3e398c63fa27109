// Placeholder until the shell operations land.
#include "system/shell.h"

bool shell_open(const std::string&, const std::string&, const std::string&, int) { return false; }
bool write_registry_integer(int, const std::string&, int32_t) { return false; }
void show_message(const std::string&, unsigned, const std::string&) {}
std::string browse_for_folder(const std::string&) { return std::string(); }
std::vector<std::string> list_drives(int) { return {}; }
void fix_program_directory() {}
std::string program_directory() { return std::string(); }
uint32_t seed_random() { return 0; }
int random_between(int low, int) { return low; }
std::string decimal_text(long long n) { return std::to_string(n); }
std::string window_text(HWND) { return std::string(); }
void append_window_text(HWND, const std::string&) {}
