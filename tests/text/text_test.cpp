#include "text/text.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(Platform, AnsiCodePageIs936) { EXPECT_EQ(936u, GetACP()); }

TEST(TextPrimitives, CutsAndSearches) {
    EXPECT_EQ("", left_bytes("abc", 0));
    EXPECT_EQ("", left_bytes("abc", -3));
    EXPECT_EQ("abc", left_bytes("abc", 9));
    EXPECT_EQ("ab", left_bytes("abc", 2));
    EXPECT_EQ("", right_bytes("abc", 0));
    EXPECT_EQ("abc", right_bytes("abc", 9));
    EXPECT_EQ("bc", right_bytes("abc", 2));

    struct Case {
        const char* text;
        const char* pattern;
        int start;
        bool ignore_case;
        int forward;
    };
    const Case cases[] = {
        {"a\\b\\c", "\\", 0, true, 2},  {"a\\b\\c", "\\", -4, true, 2}, {"a\\b\\c", "\\", 3, true, 4},
        {"a\\b\\c", "\\", 9, true, -1}, {"abc", "", 1, true, 1},        {"", "", 1, true, -1}, {"abc", "", 3, true, 1}, {"abc", "", 4, true, -1},
        {"abc", "B", 1, false, -1},     {"abc", "B", 1, true, 2},       {"a[c", "{", 1, true, -1},
        // "表" is B1 ED, "\x95\x5c" is a two-byte character whose second byte is a backslash
        {"\x95\x5c" "a\\", "\\", 1, true, 4},
        {"\x95", "\x95", 1, true, -1},  // a lead byte at the very end ends the scan
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.forward, find_forward(c.text, c.pattern, c.start, c.ignore_case));
    }
    EXPECT_EQ(4, find_backward("a\\b\\c", "\\", true));
    EXPECT_EQ(1, find_backward("\\\x95\x5c", "\\", true));
    EXPECT_EQ(-1, find_backward("abc", "x", true));

    EXPECT_EQ("aXYd", splice_text("abcd", 2, 2, "XY"));
    EXPECT_EQ("XYcd", splice_text("abcd", -1, 2, "XY"));
    EXPECT_EQ("aZ", splice_text("abcd", 2, 99, "Z"));
}

TEST(PathHelpers, TrailingBackslashAndReplace) {
    EXPECT_EQ("\\", ensure_trailing_backslash(""));
    EXPECT_EQ("C:\\", ensure_trailing_backslash("C:"));
    EXPECT_EQ("C:\\", ensure_trailing_backslash("C:\\"));
    // a last two-byte character with 0x5C as second byte counts as a trailing backslash
    EXPECT_EQ("D:\\\x95\x5c", ensure_trailing_backslash("D:\\\x95\x5c"));

    EXPECT_EQ("a\\b\\\\c", replace_all("a/b//c", "/", "\\"));
    EXPECT_EQ("abc", replace_all("abc", "/", "\\"));
    EXPECT_EQ("xAx", replace_all("xax", "a", "A"));  // the replacement is never searched again
    EXPECT_EQ("xAx", replace_all("xAaAx", "aA", ""));  // ASCII case ignored
}

TEST(PathHelpers, TempDirectoryEndsInBackslash) {
    const std::string temp = temp_directory();
    ASSERT_GT(temp.size(), 3u);
    EXPECT_EQ('\\', temp.back());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(temp.c_str()));
}
