// The immunity layout: a container directory (AutoRun.inf at a drive root, or a name of the
// user's choice in a folder) holding the guard directory "Keltora目录..", both read-only,
// hidden and system. Building and dismantling it on drives and folders.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What a command answers: the text to show and whether every target ended as asked.
struct Answer {
    std::string text;
    bool ok = true;
};

enum class Creation { plain, with_ancestors };

// Runs "cacls <container> /e /p everyone:r" hidden and waits for it.
void lock_container_acl(const std::string& container);
// Takes the layout apart. The container is removed only when nothing foreign is left in it.
void strip_container(const std::string& container);
void immunize_container(const std::string& container, Creation creation);

// drive_names: the items of the hidden drive list ("C:"); drive_letter: the selector's letter ("C").
Answer default_immunize(const std::vector<std::string>& drive_names, bool lock, bool all_drives,
                        const std::string& drive_letter);
Answer default_remove(const std::vector<std::string>& drive_names, bool lock, bool all_drives,
                      const std::string& drive_letter);

// The folder field is the edit control itself: a missing trailing "\" is appended to it first.
Answer custom_immunize(HWND folder_field, const std::string& name);
Answer custom_remove(HWND folder_field, const std::string& name);

// The drive letter or folder of the last single-drive or custom command; released at exit.
const std::string& base_path();
void release_base_path();
