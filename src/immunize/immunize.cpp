#include "immunize/immunize.h"

#include "system/files.h"
#include "system/shell.h"
#include "text/text.h"

namespace {

// The guard is always addressed with a trailing backslash, which keeps the dots of its name.
const char kGuard[] = "\\Keltora目录..\\";
const char kGuardPlain[] = "\\Keltora目录";
const char kGuardPlainTarget[] = "\\Keltora目录\\";
const char kRootContainer[] = "\\AutoRun.inf";

const char kKeptLine[] = "\n以下文件夹中还有其他文件，已保留：";
const char kInvalidName[] =
    "免疫文件名称无效：名称不能为空，不能只由点组成，也不能包含 \\ / : * ? \" < > | 等字符";

std::string g_base_path;

enum class Cleared { yes, kept, no };

bool is_immunized(const std::string& container) {
    return is_directory(container) && is_directory(container + kGuard);
}

// Cleared when the guard is gone under both names and the container is no longer a directory,
// or is still one only because something else lies in it.
Cleared cleared_state(const std::string& container) {
    if (is_directory(container + kGuard) || is_directory(container + kGuardPlain)) return Cleared::no;
    if (!is_directory(container)) return Cleared::yes;
    return directory_has_entries(container) ? Cleared::kept : Cleared::no;
}

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : " ") + item;
    return text;
}

Answer answer(bool ok, const std::string& text, const std::vector<std::string>& kept) {
    return {kept.empty() ? text : text + kKeptLine + joined(kept), ok};
}

// The answer of a remove with one target, a drive or a folder.
Answer single_removal_answer(const std::string& container) {
    const Cleared state = cleared_state(container);
    if (state == Cleared::no) return {"删除磁盘免疫文件失败", false};
    return answer(true, "删除磁盘免疫文件成功", state == Cleared::kept ? std::vector<std::string>{container}
                                                                      : std::vector<std::string>());
}

bool is_drive_letter(const std::string& letter) {
    return letter.size() == 1 && ((letter[0] >= 'A' && letter[0] <= 'Z') || (letter[0] >= 'a' && letter[0] <= 'z'));
}

// A usable container name is one file name: not empty, not only dots and spaces, and free of
// separators, wildcards and control characters. Two-byte characters (lead bytes 0x81 to 0xFE)
// are stepped over, since Windows does not read their second byte as a separator.
bool is_safe_name(const std::string& name) {
    if (name.find_first_not_of(". ") == std::string::npos) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 0x81 && c <= 0xFE) {
            ++i;
        } else if (c < 0x20 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos) {
            return false;
        }
    }
    return true;
}

// Makes the folder field end in "\" as the user would see it, then takes it as the base path.
const std::string& take_folder_field(HWND folder_field) {
    if (right_bytes(window_text(folder_field), 1) != "\\") append_window_text(folder_field, "\\");
    g_base_path = window_text(folder_field);
    return g_base_path;
}

}  // namespace

void lock_container_acl(const std::string& container) {
    run_command_line("cacls " + container + " /e /p everyone:r", true, 1);
}

void strip_container(const std::string& container) {
    set_attributes(container + kGuard, 32);
    rename_path(container + kGuard, container + kGuardPlainTarget);
    remove_directory_tree(container + kGuardPlain);
    set_attributes(container, 32);
    remove_directory(container);  // only when nothing foreign is left in it
}

void immunize_container(const std::string& container, Creation creation) {
    std::string path = container;
    if (creation == Creation::plain) {
        create_directory(path);
        create_directory(path + kGuardPlain);
    } else {
        if (!is_directory(path)) {
            delete_file(path);
            make_directory_path(path);
        }
        std::string guard = path + kGuardPlain;
        make_directory_path(guard);
    }
    rename_path(path + kGuardPlain, path + kGuard);
    set_attributes(path, 7);
    set_attributes(path + kGuard, 7);
}

Answer default_immunize(const std::vector<std::string>& drive_names, bool lock, bool all_drives,
                        const std::string& drive_letter) {
    if (!all_drives && !is_drive_letter(drive_letter)) return {"磁盘免疫文件失败！", false};
    for (const std::string& name : drive_names) {
        const std::string container = name + kRootContainer;
        if (lock) lock_container_acl(container);
        strip_container(container);
    }
    if (all_drives) {
        std::vector<std::string> failed;
        for (const std::string& name : drive_names) {
            const std::string container = name + kRootContainer;
            immunize_container(container, Creation::with_ancestors);
            // Locked after it is built, so the lock holds on the new container.
            if (lock) lock_container_acl(container);
            if (!is_immunized(container)) failed.push_back(name);
        }
        if (failed.empty()) return {"所有磁盘免疫文件成功", true};
        return {"以下磁盘免疫文件失败：" + joined(failed), false};
    }
    g_base_path = drive_letter;
    const std::string container = drive_letter + ":" + kRootContainer;
    strip_container(container);
    delete_file(container);
    immunize_container(container, Creation::plain);
    std::vector<std::string> kept;
    for (const std::string& name : drive_names) {
        if (cleared_state(name + kRootContainer) == Cleared::kept) kept.push_back(name + kRootContainer);
    }
    return is_immunized(container) ? answer(true, "磁盘免疫文件成功！", kept) : answer(false, "磁盘免疫文件失败！", kept);
}

Answer default_remove(const std::vector<std::string>& drive_names, bool lock, bool all_drives,
                      const std::string& drive_letter) {
    if (all_drives) {
        std::vector<std::string> failed;
        std::vector<std::string> kept;
        for (const std::string& name : drive_names) {
            const std::string container = name + kRootContainer;
            if (lock) lock_container_acl(container);
            strip_container(container);
            const Cleared state = cleared_state(container);
            if (state == Cleared::no) failed.push_back(name);
            if (state == Cleared::kept) kept.push_back(container);
        }
        if (failed.empty()) return answer(true, "删除所有磁盘免疫文件成功", kept);
        return answer(false, "以下磁盘删除免疫文件失败：" + joined(failed), kept);
    }
    if (!is_drive_letter(drive_letter)) return {"删除磁盘免疫文件失败", false};
    g_base_path = drive_letter;
    const std::string container = drive_letter + ":" + kRootContainer;
    strip_container(container);
    return single_removal_answer(container);
}

Answer custom_immunize(HWND folder_field, const std::string& name) {
    if (!is_safe_name(name)) return {kInvalidName, false};
    const std::string container = take_folder_field(folder_field) + name;
    delete_file(container);
    strip_container(container);
    immunize_container(container, Creation::plain);
    return is_immunized(container) ? Answer{"磁盘免疫文件成功！", true} : Answer{"磁盘免疫文件失败！", false};
}

Answer custom_remove(HWND folder_field, const std::string& name) {
    if (!is_safe_name(name)) return {kInvalidName, false};
    const std::string container = take_folder_field(folder_field) + name;
    strip_container(container);
    return single_removal_answer(container);
}

const std::string& base_path() { return g_base_path; }
void release_base_path() { g_base_path.clear(); g_base_path.shrink_to_fit(); }
