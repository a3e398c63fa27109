#include "repair/repair.h"

#include "system/shell.h"
#include "text/text.h"
#include "ui/resource.h"

#include <windows.h>

namespace {

// A payload compiled into the executable's resources, or an empty buffer when it is missing.
Bytes resource_bytes(int id) {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (!found) return Bytes();
    const HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const auto* data = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!data || size == 0) return Bytes();
    return Bytes(data, data + size);
}

// The script directory in its normalised, created form, ending in "\".
std::string prepare_script_directory(std::string directory) {
    if (directory.empty()) directory = temp_directory();
    make_directory_path(directory);
    return ensure_trailing_backslash(directory);
}

// A fresh five-digit number naming the temporary script files of one run.
std::string fresh_file_number() {
    seed_random();
    return decimal_text(random_between(10000, 90000));
}

}  // namespace

Bytes drive_open_payload() { return resource_bytes(IDR_DRIVE_OPEN_PAYLOAD); }
Bytes show_hidden_payload() { return resource_bytes(IDR_SHOW_HIDDEN_PAYLOAD); }

// Every step is attempted whatever the one before gave; the answer says whether the two files
// were written whole and the launcher found.
bool run_batch_hidden(const Bytes& payload, std::string directory) {
    directory = prepare_script_directory(directory);
    const std::string number = fresh_file_number();
    const std::string batch = number + ".bat";
    const std::string launcher = number + ".vbs";

    bool written = write_file_bytes(directory + batch, payload);

    TextFile script = open_text_file(directory + launcher, TextFileMode::create);
    written &= script.open;
    written &= append_line(script, "Set ws = CreateObject(\"Wscript.Shell\")");
    written &= append_line(script, "ws.run \"cmd /c " + batch + "\",vbhide");
    close(script);

    script = open_text_file(directory + batch, TextFileMode::read_write);
    written &= script.open;
    written &= seek_to_end(script);
    written &= append_line(script, "del " + launcher);
    written &= append_line(script, "del " + batch);
    close(script);

    const bool opened = shell_open(launcher, "", directory, 0);
    return written && opened;
}

// The script's path is quoted on the command line, since temporary directories often hold spaces.
bool import_reg_silently(const Bytes& payload, std::string directory) {
    directory = prepare_script_directory(directory);
    const std::string script = directory + fresh_file_number() + ".reg";
    const bool written = write_file_bytes(script, payload);
    const bool started = run_native_command_line("regedit /s \"" + script + "\"", true, 1);
    delete_file(script);
    return written && started;
}

bool repair_drive_open() { return run_batch_hidden(drive_open_payload(), ""); }

bool repair_show_hidden() { return import_reg_silently(show_hidden_payload(), ""); }

bool disable_autoplay() {
    const bool user = write_registry_integer(
        3, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\DisableAutoplay", 1);
    const bool machine = write_registry_integer(
        4, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\NoDriveTypeAutoRun", 181);
    return user && machine;
}

std::vector<std::string> run_selected_repairs(bool drive_open, bool show_hidden, bool autoplay) {
    struct Repair {
        bool ticked;
        bool (*run)();
        const char* failure;
    };
    const Repair repairs[] = {
        {drive_open, repair_drive_open, "修复磁盘双击打开失败"},
        {show_hidden, repair_show_hidden, "修复显示隐藏文件失败"},
        {autoplay, disable_autoplay, "禁止自动播放设置失败（请以管理员身份运行）"},
    };
    std::vector<std::string> failures;
    for (const Repair& repair : repairs) {
        if (repair.ticked && !repair.run()) failures.push_back(repair.failure);
    }
    return failures;
}
