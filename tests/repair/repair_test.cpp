#include "repair/repair.h"
#include "support/scratch.h"
#include "system/files.h"
#include "system/shell.h"
#include "text/text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kFolderHidden[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden";
const char kUserAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const char kAutoplayHandlers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers";
const char kPoliciesExplorer[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

Bytes bytes_of(const std::string& text) { return Bytes(text.begin(), text.end()); }
std::string text_of(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// "\n" line ends turned into CR LF.
std::string crlf(const std::string& text) { return replace_all(text, "\n", "\r\n"); }


std::vector<std::string> files_in(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((ensure_trailing_backslash(directory) + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

// A five-digit number from 10000 to 90000 followed by the extension.
bool is_numbered(const std::string& name, const std::string& extension) {
    if (name.size() != 5 + extension.size() || name.substr(5) != extension) return false;
    for (int i = 0; i < 5; ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
    }
    const int n = std::stoi(name.substr(0, 5));
    return n >= 10000 && n <= 90000;
}

// A folder of the temporary directory, empty at the start and removed at the end (once the
// scripts started in it have let go of their files).
struct ScratchDirectory {
    std::string path;  // ends in "\"
    explicit ScratchDirectory(const std::string& name) {
        const std::string directory = temp_directory() + name;
        scratch::scrub(directory);
        CreateDirectoryA(directory.c_str(), nullptr);
        path = directory + "\\";
    }
    ~ScratchDirectory() {
        const std::string directory = path.substr(0, path.size() - 1);
        scratch::eventually([&] {
            scratch::scrub(directory);
            return !scratch::exists(directory);
        });
    }
};

// Points the process's temporary directory (TMP) elsewhere for one scope.
struct TempRedirect {
    std::string saved;
    bool had = false;
    explicit TempRedirect(const std::string& directory) {
        char buffer[MAX_PATH] = {};
        had = GetEnvironmentVariableA("TMP", buffer, MAX_PATH) > 0;
        saved = buffer;
        SetEnvironmentVariableA("TMP", directory.c_str());
    }
    ~TempRedirect() { SetEnvironmentVariableA("TMP", had ? saved.c_str() : nullptr); }
};

struct RegistryValue {
    HKEY root;
    std::string key;
    std::string name;
    DWORD type;
    Bytes data;  // strings with their ending zero
};

RegistryValue string_value(HKEY root, const std::string& key, const std::string& name, const std::string& text,
                           DWORD type = REG_SZ) {
    Bytes data = bytes_of(text);
    data.push_back(0);
    return {root, key, name, type, data};
}

RegistryValue dword_value(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    return {root, key, name, REG_DWORD,
            Bytes{static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                  static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)}};
}

// The value as stored, read without expansion; HKEY_LOCAL_MACHINE in its 64-bit view.
::testing::AssertionResult holds(const RegistryValue& expected) {
    const REGSAM view = expected.root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0;
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(expected.root, expected.key.c_str(), 0, KEY_READ | view, &key);
    if (status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "key not opened: " << status;
    Bytes data(4096);
    DWORD type = 0, size = static_cast<DWORD>(data.size());
    status = RegQueryValueExA(key, expected.name.c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "value missing: " << status;
    data.resize(size);
    if (type != expected.type) return ::testing::AssertionFailure() << "type " << type << ", expected " << expected.type;
    if (data != expected.data) return ::testing::AssertionFailure() << "data \"" << text_of(data) << "\"";
    return ::testing::AssertionSuccess();
}

std::vector<RegistryValue> show_hidden_values() {
    const HKEY lm = HKEY_LOCAL_MACHINE;
    const std::string hidden = kFolderHidden;
    const std::string no_hidden = hidden + "\\NOHIDDEN";
    const std::string show_all = hidden + "\\SHOWALL";
    const std::string reg_path = kUserAdvanced;
    return {
        string_value(lm, hidden, "Text", "@shell32.dll,-30499"),
        string_value(lm, hidden, "Type", "group"),
        string_value(lm, hidden, "Bitmap", "%SystemRoot%\\system32\\shell32.dll,4", REG_EXPAND_SZ),
        string_value(lm, hidden, "HelpID", "shell.hlp#51131"),
        string_value(lm, no_hidden, "RegPath", reg_path),
        string_value(lm, no_hidden, "Text", "@shell32.dll,-30501"),
        string_value(lm, no_hidden, "Type", "radio"),
        dword_value(lm, no_hidden, "CheckedValue", 2),
        string_value(lm, no_hidden, "ValueName", "Hidden"),
        dword_value(lm, no_hidden, "DefaultValue", 2),
        dword_value(lm, no_hidden, "HKeyRoot", 0x80000001),
        string_value(lm, no_hidden, "HelpID", "shell.hlp#51104"),
        string_value(lm, show_all, "RegPath", reg_path),
        string_value(lm, show_all, "Text", "@shell32.dll,-30500"),
        string_value(lm, show_all, "Type", "radio"),
        dword_value(lm, show_all, "CheckedValue", 1),
        string_value(lm, show_all, "ValueName", "Hidden"),
        dword_value(lm, show_all, "DefaultValue", 2),
        dword_value(lm, show_all, "HKeyRoot", 0x80000001),
        string_value(lm, show_all, "HelpID", "shell.hlp#51105"),
        dword_value(HKEY_CURRENT_USER, kUserAdvanced, "ShowSuperHidden", 1),
        dword_value(HKEY_CURRENT_USER, kUserAdvanced, "Hidden", 1),
    };
}

void delete_machine_tree(const std::string& key_path, REGSAM view) {
    const size_t split = key_path.rfind('\\');
    HKEY parent = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_path.substr(0, split).c_str(), 0, KEY_ALL_ACCESS | view, &parent) !=
        ERROR_SUCCESS) {
        return;
    }
    RegDeleteTreeA(parent, key_path.substr(split + 1).c_str());
    RegCloseKey(parent);
}

// Removes what the registry script writes, in both views, so that its effect is seen afresh.
void forget_show_hidden_values() {
    delete_machine_tree(kFolderHidden, KEY_WOW64_64KEY);
    delete_machine_tree(kFolderHidden, KEY_WOW64_32KEY);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kUserAdvanced, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "ShowSuperHidden");
        RegDeleteValueA(key, "Hidden");
        RegCloseKey(key);
    }
}

void set_dword(HKEY root, const std::string& key_path, const std::string& name, DWORD value) {
    const REGSAM view = root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, key_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

// Sets the two autoplay values to 0, so that a later write of the repair changes them.
void reset_autoplay_values() {
    set_dword(HKEY_CURRENT_USER, kAutoplayHandlers, "DisableAutoplay", 0);
    set_dword(HKEY_LOCAL_MACHINE, kPoliciesExplorer, "NoDriveTypeAutoRun", 0);
}

unsigned long long key_written_at(HKEY root, const std::string& key_path) {
    const REGSAM view = root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, key_path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return 0;
    FILETIME time = {};
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &time);
    RegCloseKey(key);
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The batch file and launcher that run_batch_hidden writes for number n and payload.
::testing::AssertionResult holds_batch_pair(const std::string& directory, const std::string& n, const Bytes& payload) {
    const std::string batch = scratch::read_text(directory + n + ".bat");
    const std::string launcher = scratch::read_text(directory + n + ".vbs");
    const std::string expected_batch = text_of(payload) + "del " + n + ".vbs\r\ndel " + n + ".bat\r\n";
    const std::string expected_launcher =
        "Set ws = CreateObject(\"Wscript.Shell\")\r\nws.run \"cmd /c " + n + ".bat\",vbhide\r\n";
    if (batch != expected_batch) return ::testing::AssertionFailure() << "batch:\n" << batch;
    if (launcher != expected_launcher) return ::testing::AssertionFailure() << "launcher:\n" << launcher;
    return ::testing::AssertionSuccess();
}

// The number of the one batch/launcher pair in the directory, or "" unless there is exactly one.
std::string only_pair_number(const std::string& directory) {
    const std::vector<std::string> names = files_in(directory);
    if (names.size() != 2) return "";
    const std::string n = names[0].substr(0, 5);
    const std::set<std::string> got(names.begin(), names.end());
    const std::set<std::string> expected = {n + ".bat", n + ".vbs"};
    if (got != expected || !is_numbered(n + ".bat", ".bat")) return "";
    return n;
}

// Notes the class of a visible top-level window of another process.
BOOL CALLBACK note_foreign_window(HWND window, LPARAM classes) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() && IsWindowVisible(window)) {
        char name[128] = {};
        GetClassNameA(window, name, sizeof name);
        reinterpret_cast<std::set<std::string>*>(classes)->insert(name);
    }
    return TRUE;
}

// A payload that ends the batch before its two del lines run, so the files stay to be read.
const Bytes kStayingPayload = bytes_of("@exit\r\n");

const char kShowHiddenText[] = R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\Folder\Hidden]
"Text"="@shell32.dll,-30499"
"Type"="group"
"Bitmap"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\
  00,25,00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,73,00,\
  68,00,65,00,6c,00,6c,00,33,00,32,00,2e,00,64,00,6c,00,6c,00,2c,00,34,00,00,\
  00
"HelpID"="shell.hlp#51131"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\Folder\Hidden\NOHIDDEN]
"RegPath"="Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"
"Text"="@shell32.dll,-30501"
"Type"="radio"
"CheckedValue"=dword:00000002
"ValueName"="Hidden"
"DefaultValue"=dword:00000002
"HKeyRoot"=dword:80000001
"HelpID"="shell.hlp#51104"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\Folder\Hidden\SHOWALL]
"RegPath"="Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"
"Text"="@shell32.dll,-30500"
"Type"="radio"
"CheckedValue"=dword:00000001
"ValueName"="Hidden"
"DefaultValue"=dword:00000002
"HKeyRoot"=dword:80000001
"HelpID"="shell.hlp#51105"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced]
"ShowSuperHidden"=dword:00000001

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced]
"Hidden"=dword:00000001)";

}  // namespace

TEST(Payloads, DriveOpenBatchByteForByte) {
    const std::string payload = text_of(drive_open_payload());
    EXPECT_EQ(195u, payload.size());
    const std::string line3 =
        "FOR %%a IN ( C: D: E: F: G: H: I: J: K: L: M: N: O: P: Q: R: S: T: U: V: W: X: Y: Z: ) DO  "
        "ATTRIB -R -H -S -A %%a\\AUTORUN.INF & DEL /F /Q /A -R -H -S -A %%a\\AUTORUN.INF";
    EXPECT_EQ(168u, line3.size());
    EXPECT_EQ("@echo off\r\n\r\n" + line3 + "\r\n\r\nDEL %0\r\n\r\n", payload);
}

TEST(Payloads, ShowHiddenRegistryScriptByteForByte) {
    const Bytes payload = show_hidden_payload();
    ASSERT_EQ(2842u, payload.size());
    EXPECT_EQ(0xFF, payload[0]);
    EXPECT_EQ(0xFE, payload[1]);
    // the expectation written out above, as UTF-16LE with its byte-order mark
    Bytes expected = {0xFF, 0xFE};
    for (char c : crlf(kShowHiddenText)) {
        expected.push_back(static_cast<unsigned char>(c));
        expected.push_back(0);
    }
    ASSERT_EQ(expected.size(), payload.size());
    for (size_t i = 0; i < payload.size(); ++i) {
        ASSERT_EQ(expected[i], payload[i]) << "first difference at byte " << i;
    }
}

TEST(RunBatchHidden, NormalisesAndCreatesTheDirectoryAndWritesBothFiles) {
    ScratchDirectory folder("keltora batch");
    // forward slashes, no trailing backslash, two missing levels
    const std::string given = replace_all(folder.path + "one\\two", "\\", "/");
    const std::string made = folder.path + "one\\two\\";
    ASSERT_FALSE(scratch::is_dir(made));

    EXPECT_TRUE(run_batch_hidden(kStayingPayload, given));
    ASSERT_TRUE(scratch::is_dir(made));
    const std::string n = only_pair_number(made);
    ASSERT_NE("", n) << "expected one n.bat and one n.vbs";
    EXPECT_TRUE(holds_batch_pair(made, n, kStayingPayload));
}

TEST(RunBatchHidden, OverwritesExistingFilesOfTheSameNames) {
    // The test foresees the next file number with its own copy of the generator (checked first
    // against random_between), and puts longer files of those names in the way beforehand.
    const auto foreseen = [](uint32_t seed) {
        std::mt19937 generator(seed);
        return std::uniform_int_distribution<int>(10000, 90000)(generator);
    };
    const uint32_t probe = seed_random();
    ASSERT_EQ(foreseen(probe), random_between(10000, 90000)) << "the copy of the generator no longer matches";

    const std::string junk(3000, 'J');
    for (int attempt = 0; attempt < 5; ++attempt) {
        ScratchDirectory folder("keltora batch overwrite");
        const DWORD tick = GetTickCount();
        const uint32_t seed = seed_random();
        if (GetTickCount() != tick) continue;
        const uint32_t counter = seed - tick + (seed & 0xFFu) + 100u;  // the counter after this seeding
        // the run is started at a tick a little ahead, once the files of the numbers it may
        // draw from there on are in place
        std::set<std::string> candidates;
        const DWORD target = GetTickCount() + 300;
        for (DWORD t = target; t < target + 40; ++t) candidates.insert(decimal_text(foreseen(t + counter)));
        for (const std::string& n : candidates) {
            scratch::write_text(folder.path + n + ".bat", junk);
            scratch::write_text(folder.path + n + ".vbs", junk);
        }
        if (GetTickCount() >= target) continue;  // preparing took too long this time
        while (GetTickCount() < target) Sleep(1);

        EXPECT_TRUE(run_batch_hidden(kStayingPayload, folder.path));
        std::vector<std::string> rewritten;
        for (const std::string& n : candidates) {
            if (scratch::read_text(folder.path + n + ".bat") != junk) rewritten.push_back(n);
        }
        if (rewritten.empty() && files_in(folder.path).size() == 2 * candidates.size() + 2) continue;  // too late
        ASSERT_EQ(1u, rewritten.size()) << "files outside the run's own pair changed";
        EXPECT_TRUE(holds_batch_pair(folder.path, rewritten[0], kStayingPayload));
        return;
    }
    FAIL() << "the run's number was never among the foreseen ones";
}

TEST(RunBatchHidden, TheBatchRunsHiddenInItsDirectoryAndDeletesBothFiles) {
    ScratchDirectory folder("keltora batch run");
    const Bytes payload = bytes_of("@echo off\r\necho ran> ran.txt\r\n");
    std::set<std::string> shown;
    EXPECT_TRUE(run_batch_hidden(payload, folder.path));
    const bool finished = scratch::eventually([&] {
        // every visible top-level window of another process that shows up meanwhile (Wine shows
        // no console window for cmd even when it is started visibly; Windows would)
        EnumWindows(note_foreign_window, reinterpret_cast<LPARAM>(&shown));
        const std::vector<std::string> names = files_in(folder.path);
        return names.size() == 1 && names[0] == "ran.txt";
    });
    EXPECT_TRUE(finished) << "left: " << files_in(folder.path).size() << " files";
    EXPECT_TRUE(shown.empty()) << "a window was shown: " << *shown.begin();
}

TEST(ImportRegSilently, ImportsIntoThe64BitViewFromAPathWithASpace) {
    ScratchDirectory folder("keltora import");
    forget_show_hidden_values();
    const std::string directory = folder.path + "with space";  // missing, no trailing backslash

    EXPECT_TRUE(import_reg_silently(show_hidden_payload(), directory));
    for (const RegistryValue& value : show_hidden_values()) {
        SCOPED_TRACE(value.key + " " + value.name);
        EXPECT_TRUE(holds(value));
    }
    EXPECT_TRUE(scratch::absent_from_32bit_view(HKEY_LOCAL_MACHINE, kFolderHidden)) << "the 32-bit registry editor imported into the 32-bit view";
    EXPECT_TRUE(scratch::is_dir(directory));
    EXPECT_TRUE(files_in(directory).empty()) << "the numbered script stayed";
}

TEST(ImportRegSilently, AnUnwritableDirectoryIsReported) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    // a folder below a file can never be made
    EXPECT_FALSE(import_reg_silently(show_hidden_payload(), std::string(module) + "\\below"));
    EXPECT_FALSE(run_batch_hidden(kStayingPayload, std::string(module) + "\\below"));
}

TEST(Repairs, DisableAutoplayWritesBothValues) {
    reset_autoplay_values();
    EXPECT_TRUE(disable_autoplay());
    EXPECT_TRUE(holds(dword_value(HKEY_CURRENT_USER, kAutoplayHandlers, "DisableAutoplay", 1)));
    EXPECT_TRUE(holds(dword_value(HKEY_LOCAL_MACHINE, kPoliciesExplorer, "NoDriveTypeAutoRun", 181)));
}

TEST(Repairs, ShowHiddenLeavesNoScriptInTheTemporaryDirectory) {
    ScratchDirectory folder("keltora temp");
    TempRedirect redirect(folder.path);
    forget_show_hidden_values();
    EXPECT_TRUE(repair_show_hidden());
    EXPECT_TRUE(holds(dword_value(HKEY_CURRENT_USER, kUserAdvanced, "ShowSuperHidden", 1)));
    EXPECT_TRUE(files_in(folder.path).empty());
}

TEST(Repairs, NoneTickedRunsNone) {
    ScratchDirectory folder("keltora temp");
    TempRedirect redirect(folder.path);
    forget_show_hidden_values();
    reset_autoplay_values();

    EXPECT_TRUE(run_selected_repairs(false, false, false).empty());
    EXPECT_TRUE(files_in(folder.path).empty()) << "a script was written";
    EXPECT_TRUE(holds(dword_value(HKEY_CURRENT_USER, kAutoplayHandlers, "DisableAutoplay", 0)));
    EXPECT_TRUE(holds(dword_value(HKEY_LOCAL_MACHINE, kPoliciesExplorer, "NoDriveTypeAutoRun", 0)));
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFolderHidden, 0, KEY_READ | KEY_WOW64_64KEY, &key));
    if (key) RegCloseKey(key);
}

TEST(Repairs, AllTickedRunInTheirOrder) {
    ScratchDirectory folder("keltora temp");
    TempRedirect redirect(folder.path);
    forget_show_hidden_values();
    reset_autoplay_values();

    // Watches the temporary directory and keeps the latest write time seen of each file.
    std::map<std::string, unsigned long long> written;
    std::mutex guard;
    std::atomic<bool> stop{false};
    std::thread watcher([&] {
        while (!stop) {
            WIN32_FIND_DATAA found;
            HANDLE find = FindFirstFileA((folder.path + "*").c_str(), &found);
            if (find != INVALID_HANDLE_VALUE) {
                do {
                    const unsigned long long time =
                        (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                        found.ftLastWriteTime.dwLowDateTime;
                    std::lock_guard<std::mutex> lock(guard);
                    unsigned long long& latest = written[found.cFileName];
                    if (time > latest) latest = time;
                } while (FindNextFileA(find, &found));
                FindClose(find);
            }
            Sleep(1);
        }
    });
    const std::vector<std::string> failures = run_selected_repairs(true, true, true);
    // the batch of the first repair deletes itself and its launcher
    const bool batch_done = scratch::eventually([&] { return files_in(folder.path).empty(); });
    stop = true;
    watcher.join();

    EXPECT_TRUE(failures.empty()) << failures.front();
    EXPECT_TRUE(batch_done);
    unsigned long long batch_written = 0, script_written = 0;
    for (const auto& entry : written) {
        if (is_numbered(entry.first, ".bat") || is_numbered(entry.first, ".vbs")) {
            batch_written = std::max(batch_written, entry.second);
        }
        if (is_numbered(entry.first, ".reg")) script_written = entry.second;
    }
    ASSERT_NE(0u, batch_written) << "no batch was written";
    ASSERT_NE(0u, script_written) << "no registry script was written";
    const unsigned long long imported = key_written_at(HKEY_CURRENT_USER, kUserAdvanced);
    const unsigned long long autoplay_user = key_written_at(HKEY_CURRENT_USER, kAutoplayHandlers);
    const unsigned long long autoplay_machine = key_written_at(HKEY_LOCAL_MACHINE, kPoliciesExplorer);
    EXPECT_LE(batch_written, script_written) << "the batch was written after the registry script";
    EXPECT_LT(script_written, imported);
    EXPECT_LT(imported, autoplay_user) << "autoplay was written before the import ended";
    EXPECT_LE(autoplay_user, autoplay_machine);
    EXPECT_TRUE(holds(dword_value(HKEY_CURRENT_USER, kUserAdvanced, "Hidden", 1)));
    EXPECT_TRUE(holds(dword_value(HKEY_LOCAL_MACHINE, kPoliciesExplorer, "NoDriveTypeAutoRun", 181)));
}

TEST(Repairs, FailedRepairsAnswerOneLineEachInTheirOrder) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    TempRedirect redirect(std::string(module) + "\\below");  // no script can be written there
    const std::vector<std::string> failures = run_selected_repairs(true, true, true);
    const std::vector<std::string> expected = {"修复磁盘双击打开失败", "修复显示隐藏文件失败"};
    EXPECT_EQ(expected, failures);
    EXPECT_EQ(std::vector<std::string>{"修复显示隐藏文件失败"}, run_selected_repairs(false, true, false));
}
