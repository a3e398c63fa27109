#include "system/files.h"

#include "support/scratch.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

const std::string kRoot = "H:\\files_test";

DWORD attributes_of(const std::string& path) { return GetFileAttributesA(path.c_str()); }

Bytes bytes_of(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Lays out files (content "x") and directories (names ending in "\") below the scratch root.
void lay_out(std::initializer_list<const char*> entries) {
    for (const char* entry : entries) {
        const std::string path = kRoot + "\\" + entry;
        if (path.back() == '\\') {
            CreateDirectoryA(path.c_str(), nullptr);
        } else {
            scratch::write_text(path, "x");
        }
    }
}

::testing::AssertionResult present(const std::string& path, bool expected) {
    if (scratch::exists(path) == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << (expected ? " is missing" : " is still there");
}

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        scratch::scrub(kRoot);
        ASSERT_TRUE(CreateDirectoryA(kRoot.c_str(), nullptr));
    }
    void TearDown() override { scratch::scrub(kRoot); }
};

TEST_F(Files, TreeRemovalRefusesDriveRootsAndEmptyPaths) {
    lay_out({"sentinel.txt"});
    for (const char* path : {"", "    ", "H:", "H:\\", "   H:", "  H:\\"}) {
        SCOPED_TRACE(std::string("[") + path + "]");
        EXPECT_FALSE(remove_directory_tree(path));
        EXPECT_TRUE(present(kRoot + "\\sentinel.txt", true));
    }
}

TEST_F(Files, TreeRemovalTakesLeadingSpacesAndTrailingBackslash) {
    for (const char* form : {"  H:\\files_test\\t", "H:\\files_test\\t\\"}) {
        SCOPED_TRACE(form);
        lay_out({"t\\", "t\\a\\", "t\\a\\b\\", "t\\a\\b\\deep.txt", "t\\top.txt", "t\\hidden.txt"});
        SetFileAttributesA((kRoot + "\\t\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        EXPECT_TRUE(remove_directory_tree(form));
        EXPECT_TRUE(present(kRoot + "\\t", false));
    }
}

// What cannot be removed stays with every directory above it; the rest of the walk goes on.
TEST_F(Files, TreeRemovalLeavesReadOnlyFilesDotNamesAndTheGuard) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> layout;
        const char* stays;  // the entry the walk cannot or must not remove
        const char* stays_too;
    };
    const Case cases[] = {
        {"read-only file", {"t\\", "t\\sub\\", "t\\sub\\ro.txt"}, "t\\sub\\ro.txt", "t\\sub"},
        {"dot file", {"t\\", "t\\.keep"}, "t\\.keep", "t"},
        {"dot directory not entered", {"t\\", "t\\.git\\", "t\\.git\\inner.txt"}, "t\\.git\\inner.txt", "t\\.git"},
        {"guard", {"t\\", "t\\Keltora目录\\"}, "t\\Keltora目录..\\", "t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lay_out(c.layout);
        lay_out({"t\\gone.txt", "t\\gone\\", "t\\gone\\inner.txt"});
        SetFileAttributesA((kRoot + "\\t\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        MoveFileA((kRoot + "\\t\\Keltora目录").c_str(), (kRoot + "\\t\\Keltora目录..\\").c_str());

        EXPECT_FALSE(remove_directory_tree(kRoot + "\\t"));
        EXPECT_TRUE(present(kRoot + "\\" + c.stays, true));
        EXPECT_TRUE(present(kRoot + "\\" + c.stays_too, true));
        EXPECT_TRUE(present(kRoot + "\\t\\gone.txt", false));
        EXPECT_TRUE(present(kRoot + "\\t\\gone", false));
        scratch::scrub(kRoot + "\\t");
    }
}

TEST_F(Files, TreeRemovalOfAFileDeletesNothing) {
    lay_out({"f.txt"});
    EXPECT_FALSE(remove_directory_tree(kRoot + "\\f.txt"));
    EXPECT_EQ("x", scratch::read_text(kRoot + "\\f.txt"));
}

// A directory link is removed as a link: neither the walk nor a call on the link itself
// empties the directory it points at.
TEST_F(Files, TreeRemovalNeverFollowsLinks) {
    std::string tree = kRoot + "\\tree";
    std::string outside = kRoot + "\\outside";
    if (scratch::on_wine()) {
        // Wine's CreateSymbolicLinkA makes nothing; the test bed lays out a Unix link instead.
        tree = "C:\\linkfixture\\tree";
        outside = "C:\\linkfixture\\outside";
        if (!scratch::exists(tree + "\\link")) GTEST_SKIP() << "C:\\linkfixture is laid out by tests/wine/bed up";
    } else {
        lay_out({"tree\\", "outside\\"});
        scratch::write_text(outside + "\\keep.txt", "keep");
        CreateSymbolicLinkA((tree + "\\link").c_str(), outside.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
        if (!scratch::exists(tree + "\\link")) GTEST_SKIP() << "no right to create a directory link here";
    }
    const std::string link = tree + "\\link";
    ASSERT_EQ("keep", scratch::read_text(outside + "\\keep.txt"));
    ASSERT_TRUE(attributes_of(link) & FILE_ATTRIBUTE_REPARSE_POINT);

    const bool removed_link = remove_directory_tree(link);
    EXPECT_EQ("keep", scratch::read_text(outside + "\\keep.txt")) << "the link itself was emptied";
    const bool removed_tree = remove_directory_tree(tree);
    EXPECT_EQ("keep", scratch::read_text(outside + "\\keep.txt"));
    if (scratch::on_wine()) {
        // Wine refuses to remove a Unix link to a directory that is not empty (error 145),
        // so the link and the tree above it stay.
        EXPECT_FALSE(removed_link || removed_tree);
        EXPECT_TRUE(present(link, true));
    } else {
        EXPECT_TRUE(removed_link);
        EXPECT_TRUE(removed_tree);
        EXPECT_TRUE(present(tree, false));
    }
}

TEST_F(Files, AttributesAreMaskedWith39) {
    lay_out({"f.txt", "d\\"});
    const std::string file = kRoot + "\\f.txt";
    const std::string directory = kRoot + "\\d";
    EXPECT_TRUE(set_attributes(file, 255));
    EXPECT_EQ(0x27u, attributes_of(file));
    EXPECT_TRUE(set_attributes(file, 32));
    EXPECT_EQ(0u, attributes_of(file) & 7);
    EXPECT_TRUE(set_attributes(file, 7));
    EXPECT_EQ(7u, attributes_of(file) & 7);
    // Windows keeps read-only on directories; Wine keeps only hidden and system there.
    const DWORD kept_on_directories = scratch::on_wine() ? 6 : 7;
    EXPECT_TRUE(set_attributes(directory, 255));
    EXPECT_EQ(kept_on_directories, attributes_of(directory) & 7);
    EXPECT_TRUE(attributes_of(directory) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(set_attributes(directory, 32));
    EXPECT_EQ(0u, attributes_of(directory) & 7);
    EXPECT_FALSE(set_attributes(kRoot + "\\missing", 7));
}

TEST_F(Files, DirectoriesRenamesAndDeletes) {
    lay_out({"a\\", "f.txt", "g.txt", "ro.txt"});
    EXPECT_TRUE(create_directory(kRoot + "\\new"));
    EXPECT_TRUE(is_directory(kRoot + "\\new"));
    EXPECT_FALSE(create_directory(kRoot + "\\new"));
    EXPECT_FALSE(create_directory(kRoot + "\\missing\\child"));
    EXPECT_TRUE(present(kRoot + "\\missing", false));

    EXPECT_FALSE(rename_path(kRoot + "\\f.txt", kRoot + "\\g.txt"));
    EXPECT_FALSE(rename_path(kRoot + "\\a", kRoot + "\\new"));
    EXPECT_TRUE(present(kRoot + "\\f.txt", true));
    EXPECT_TRUE(present(kRoot + "\\a", true));
    EXPECT_TRUE(rename_path(kRoot + "\\a", kRoot + "\\b"));
    EXPECT_TRUE(is_directory(kRoot + "\\b"));

    EXPECT_FALSE(is_directory(kRoot + "\\f.txt"));
    EXPECT_FALSE(is_directory(kRoot + "\\missing"));

    SetFileAttributesA((kRoot + "\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(delete_file(kRoot + "\\ro.txt"));
    EXPECT_FALSE(delete_file(kRoot + "\\b"));
    EXPECT_TRUE(delete_file(kRoot + "\\f.txt"));
    EXPECT_TRUE(present(kRoot + "\\ro.txt", true));
    EXPECT_TRUE(present(kRoot + "\\f.txt", false));
}

TEST_F(Files, WholeFileWritesAndReads) {
    const std::string file = kRoot + "\\f.bin";
    const Bytes data = {0, 1, 0xFF, 13, 10, 0x5C};
    EXPECT_TRUE(write_file_bytes(file, data));
    EXPECT_EQ(data, read_file_bytes(file));
    EXPECT_TRUE(write_file_bytes(file, Bytes()));  // truncates
    EXPECT_EQ("", scratch::read_text(file));
    EXPECT_TRUE(read_file_bytes(file).empty());
    EXPECT_TRUE(read_file_bytes(kRoot + "\\missing").empty());
    EXPECT_TRUE(read_file_bytes("").empty());
    EXPECT_FALSE(write_file_bytes("", data));
    EXPECT_FALSE(write_file_bytes(kRoot + "\\missing\\f.bin", data));
}

TEST_F(Files, WholeFileWriteRefusesProtectedFiles) {
    if (scratch::on_wine()) GTEST_SKIP() << "Wine lets CREATE_ALWAYS replace hidden, system and read-only files";
    for (DWORD attributes : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_READONLY}) {
        SCOPED_TRACE(attributes);
        const std::string file = kRoot + "\\p.txt";
        scratch::write_text(file, "old");
        SetFileAttributesA(file.c_str(), attributes);
        EXPECT_FALSE(write_file_bytes(file, bytes_of("new")));
        EXPECT_EQ("old", scratch::read_text(file));
        scratch::scrub(file);
    }
}

TEST_F(Files, TextFileLinesAndModes) {
    const std::string file = kRoot + "\\t.txt";
    scratch::write_text(file, "old content");

    TextFile created = open_text_file(file, TextFileMode::create);
    ASSERT_TRUE(created.open);
    EXPECT_EQ("", scratch::read_text(file));  // emptied on opening
    EXPECT_TRUE(append_line(created, "abc"));
    EXPECT_TRUE(append_line(created, ""));
    // The open file blocks whole-file reads and writes.
    EXPECT_TRUE(read_file_bytes(file).empty());
    EXPECT_FALSE(write_file_bytes(file, bytes_of("zz")));
    close(created);
    close(created);
    EXPECT_FALSE(created.open);
    EXPECT_EQ("abc\r\n\r\n", scratch::read_text(file));

    TextFile appended = open_text_file(file, TextFileMode::read_write);
    ASSERT_TRUE(appended.open);
    EXPECT_TRUE(seek_to_end(appended));
    EXPECT_TRUE(append_line(appended, "d"));
    EXPECT_TRUE(append_line(appended, "\xB1\xED"));
    close(appended);
    EXPECT_EQ("abc\r\n\r\nd\r\n\xB1\xED\r\n", scratch::read_text(file));

    TextFile overwriting = open_text_file(file, TextFileMode::read_write);
    EXPECT_TRUE(append_line(overwriting, "XY"));  // not moved to the end: writes from the first byte
    close(overwriting);
    EXPECT_EQ("XY\r\n\n\r\nd\r\n\xB1\xED\r\n", scratch::read_text(file));

    for (TextFile closed : {open_text_file(kRoot + "\\missing.txt", TextFileMode::read_write),
                            open_text_file("", TextFileMode::create)}) {
        EXPECT_FALSE(closed.open);
        EXPECT_FALSE(seek_to_end(closed));
        EXPECT_FALSE(append_line(closed, "abc"));
        close(closed);
    }
    EXPECT_TRUE(present(kRoot + "\\missing.txt", false));
}

TEST_F(Files, CommandLineOfAMissingProgramFails) {
    EXPECT_FALSE(run_command_line("no_such_program_here " + kRoot, true));
    EXPECT_FALSE(run_command_line("no_such_program_here " + kRoot, false));
}

// startup_probe sleeps, then writes "<show flag set> <show value>": the file is there as soon
// as a waiting run returns.
TEST_F(Files, CommandLineWaitsAndPassesTheWindowMode) {
    const std::string out = kRoot + "\\probe.txt";
    struct Case {
        int mode;
        const char* expected;
    };
    const Case cases[] = {{0, "1 0"}, {-5, "1 0"}, {1, "1 0"}, {2, "1 1"}, {3, "1 2"},
                          {4, "1 3"}, {5, "1 4"},  {6, "1 6"}, {9, "1 6"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        DeleteFileA(out.c_str());
        EXPECT_TRUE(run_command_line("startup_probe " + out + " 200", true, c.mode));
        EXPECT_EQ(c.expected, scratch::read_text(out));
    }
    DeleteFileA(out.c_str());
    EXPECT_TRUE(run_command_line("startup_probe " + out + " 200", true));
    EXPECT_EQ("1 1", scratch::read_text(out));
}

}  // namespace
