// Placeholder until the commands land.
#include "immunize/immunize.h"

void lock_container_acl(const std::string&) {}
void strip_container(const std::string&) {}
void immunize_container(const std::string&, Creation) {}
Answer default_immunize(const std::vector<std::string>&, bool, bool, const std::string&) { return {}; }
Answer default_remove(const std::vector<std::string>&, bool, bool, const std::string&) { return {}; }
Answer custom_immunize(HWND, const std::string&) { return {}; }
Answer custom_remove(HWND, const std::string&) { return {}; }
static std::string g_base_path;
const std::string& base_path() { return g_base_path; }
void release_base_path() { g_base_path.clear(); }
