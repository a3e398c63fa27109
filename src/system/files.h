// The program's only door to the file system and to process creation. Each operation is one
// ANSI Windows call (or a short walk of them) with fixed flags and an honest true/false.
// Paths are passed to Windows exactly as given: no conversion, no long-path prefix.
#pragma once
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

bool create_directory(const std::string& path);
// Empties the directory and removes it; true only when the directory itself was removed.
// Drive roots are refused; names beginning with a dot are neither entered nor deleted;
// links (reparse points) are removed as links, never entered.
bool remove_directory_tree(const std::string& path);
// Removes one empty directory (RemoveDirectoryA); never empties it first.
bool remove_directory(const std::string& path);
// True when a listing of the directory holds any entry besides "." and "..".
bool directory_has_entries(const std::string& path);
bool delete_file(const std::string& path);
// Never replaces an existing target.
bool rename_path(const std::string& old_path, const std::string& new_path);
// Applies the value masked with 39 (read-only, hidden, system, archive).
bool set_attributes(const std::string& path, unsigned value);
bool is_directory(const std::string& path);
// Replaces the whole file with the buffer; refuses to share it while writing.
bool write_file_bytes(const std::string& path, const Bytes& bytes);
// The whole file, or an empty buffer on any failure.
Bytes read_file_bytes(const std::string& path);

enum class TextFileMode { create, read_write };

// A file opened for writing text lines. It does not close itself; close() is harmless twice.
struct TextFile {
    void* handle = nullptr;
    bool open = false;
};

TextFile open_text_file(const std::string& path, TextFileMode mode);
bool seek_to_end(TextFile& file);
// Writes the text's bytes, then CR LF, at the current position.
bool append_line(TextFile& file, const std::string& text);
void close(TextFile& file);

// Starts the command line; true when the process was created. Window mode 1 hidden,
// 2 normal (default), 3 minimised, 4 maximised, 5 not activated, 6 minimised; clamped to 1..6.
bool run_command_line(const std::string& command_line, bool wait, int window_mode = 2);
// The same, but a 32-bit process on 64-bit Windows starts the system's own 64-bit program:
// the file system redirector is off while the process is created.
bool run_native_command_line(const std::string& command_line, bool wait, int window_mode = 2);
