// Scratch folders and fixtures for the tests that work on the test drives: set up and torn
// down with plain Windows calls, independent of the operations under test.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace scratch {

// True when the tests run under Wine (ntdll exports wine_get_version).
bool on_wine();
// The running test program's directory, without a trailing backslash (C:\bin).
std::string program_directory();
// Removes the path and everything below it, whatever the attributes, the guard directory of
// the immunity layout included; links are removed, never entered. Missing paths are fine.
void scrub(const std::string& path);
bool write_text(const std::string& path, const std::string& text);
// The whole file as text; "<missing>" when it cannot be read.
std::string read_text(const std::string& path);
bool exists(const std::string& path);
bool is_dir(const std::string& path);
// The names in a directory besides "." and "..", sorted.
std::vector<std::string> names_in(const std::string& directory);

// True on 32-bit Windows; under WOW64 true when the key is missing from the 32-bit registry view.
bool absent_from_32bit_view(HKEY root, const std::string& key_path);

// Polls the condition for up to ten seconds.
template <typename Condition>
bool eventually(Condition condition) {
    for (int i = 0; i < 200; ++i) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

}  // namespace scratch
