#include "text/text.h"

#include "system/files.h"

#include <windows.h>

namespace {

bool is_lead_byte(unsigned char c) { return c >= 0x80; }

unsigned char fold(unsigned char c, bool ignore_case) {
    return (ignore_case && c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

bool matches_at(const std::string& text, size_t at, const std::string& pattern, bool ignore_case) {
    if (at + pattern.size() > text.size()) return false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (fold(text[at + i], ignore_case) != fold(pattern[i], ignore_case)) return false;
    }
    return true;
}

// Calls visit(position) for every character start from byte position start on, until visit says stop.
// A lead byte that is the last byte of the text ends the scan.
template <typename Visit>
void scan_characters(const std::string& text, int start, Visit visit) {
    size_t i = 0;
    const size_t from = static_cast<size_t>(start < 1 ? 1 : start) - 1;
    while (i < text.size()) {
        const bool lead = is_lead_byte(static_cast<unsigned char>(text[i]));
        if (lead && i + 1 >= text.size()) return;
        if (i >= from && !visit(i)) return;
        i += lead ? 2 : 1;
    }
}

}  // namespace

std::string left_bytes(const std::string& text, int n) {
    if (n <= 0) return std::string();
    return text.substr(0, static_cast<size_t>(n));
}

std::string right_bytes(const std::string& text, int n) {
    if (n <= 0) return std::string();
    const size_t count = static_cast<size_t>(n) < text.size() ? static_cast<size_t>(n) : text.size();
    return text.substr(text.size() - count);
}

int find_forward(const std::string& text, const std::string& pattern, int start, bool ignore_case) {
    // An empty pattern answers 1 whenever the scanned part is not empty.
    if (pattern.empty()) return (start < 1 ? 1 : start) <= static_cast<int>(text.size()) ? 1 : -1;
    int found = -1;
    scan_characters(text, start, [&](size_t at) {
        if (!matches_at(text, at, pattern, ignore_case)) return true;
        found = static_cast<int>(at) + 1;
        return false;
    });
    return found;
}

int find_backward(const std::string& text, const std::string& pattern, bool ignore_case) {
    int found = -1;
    scan_characters(text, 1, [&](size_t at) {
        if (matches_at(text, at, pattern, ignore_case)) found = static_cast<int>(at) + 1;
        return true;
    });
    return found;
}

std::string splice_text(const std::string& text, int position, int count, const std::string& insert) {
    const size_t at = static_cast<size_t>(position < 1 ? 1 : position) - 1;
    if (at >= text.size()) return text + insert;
    const size_t removed = count <= 0 ? 0 : static_cast<size_t>(count);
    return text.substr(0, at) + insert + (removed >= text.size() - at ? std::string() : text.substr(at + removed));
}

std::string ensure_trailing_backslash(const std::string& text) {
    return right_bytes(text, 1) == "\\" ? text : text + "\\";
}

std::string replace_all(const std::string& text, const std::string& pattern, const std::string& replacement) {
    std::string copy = text;
    if (pattern.empty()) return copy;
    int start = 1;
    for (;;) {
        const int found = find_forward(copy, pattern, start, true);
        if (found == -1) return copy;
        copy = splice_text(copy, found, static_cast<int>(pattern.size()), replacement);
        start = found + static_cast<int>(replacement.size());
    }
}

void make_directory_path(std::string& path) {
    path = replace_all(path, "/", "\\");
    if (right_bytes(path, 1) == "\\") path.pop_back();
    if (path.empty()) return;
    const int last = find_backward(path, "\\", true);
    int done = 0;
    while (done < last) {
        done = find_forward(path, "\\", done + 1, true);
        create_directory(left_bytes(path, done));
    }
    create_directory(path);
}

std::string temp_directory() {
    char buffer[256] = {};
    DWORD length = GetTempPathA(255, buffer);
    if (length < 255) return ensure_trailing_backslash(std::string(buffer, length));
    // A longer temporary path is asked for again with the size Windows named.
    std::string path(length, '\0');
    length = GetTempPathA(length, &path[0]);
    path.resize(length < path.size() ? length : 0);
    return ensure_trailing_backslash(path);
}
