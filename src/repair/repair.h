// The three one-shot repairs and the hidden batch runner they use.
#pragma once
#include "system/files.h"

#include <string>
#include <vector>

// The payloads carried inside the executable, byte for byte.
Bytes drive_open_payload();
Bytes show_hidden_payload();

// Writes n.bat (payload + two self-deleting lines) and the n.vbs launcher into the directory
// (empty = the temporary directory) and opens the launcher; does not wait for the batch.
// False when a script file could not be written or the launcher could not be opened.
bool run_batch_hidden(const Bytes& payload, std::string directory);
// Writes n.reg, imports it with "regedit /s" hidden and waits, then deletes it.
// False when the script could not be written or regedit could not be started.
bool import_reg_silently(const Bytes& payload, std::string directory);

bool repair_drive_open();
bool repair_show_hidden();
bool disable_autoplay();

// Runs the ticked repairs in their fixed order; answers one line for each repair that failed.
std::vector<std::string> run_selected_repairs(bool drive_open, bool show_hidden, bool autoplay);
