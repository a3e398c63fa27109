// Placeholder until the repairs land.
#include "repair/repair.h"

Bytes drive_open_payload() { return {}; }
Bytes show_hidden_payload() { return {}; }
bool run_batch_hidden(const Bytes&, std::string) { return false; }
bool import_reg_silently(const Bytes&, std::string) { return false; }
bool repair_drive_open() { return false; }
bool repair_show_hidden() { return false; }
bool disable_autoplay() { return false; }
std::vector<std::string> run_selected_repairs(bool, bool, bool) { return {}; }
