// Texts are code-page-936 byte strings. Lengths count bytes, positions are 1-based,
// a search that finds nothing answers -1. Searches step over two-byte characters
// (a byte of 0x80 or more and the byte after it) and never match on a second byte.
#pragma once
#include <string>

std::string left_bytes(const std::string& text, int n);
std::string right_bytes(const std::string& text, int n);
int find_forward(const std::string& text, const std::string& pattern, int start, bool ignore_case);
int find_backward(const std::string& text, const std::string& pattern, bool ignore_case);
std::string splice_text(const std::string& text, int position, int count, const std::string& insert);

// The text itself when its last byte is "\", else the text with "\" appended ("" gives "\").
std::string ensure_trailing_backslash(const std::string& text);
// Every match of pattern (ASCII case ignored) replaced, left to right; never rescans a replacement.
std::string replace_all(const std::string& text, const std::string& pattern, const std::string& replacement);
// Creates the directory and its missing ancestors. The path becomes its normalised form:
// "/" turned into "\" and one trailing "\" removed. No creation result is looked at.
void make_directory_path(std::string& path);
// The user's temporary directory, ending in "\".
std::string temp_directory();
