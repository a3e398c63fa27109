#include "text/text.h"

#include "support/scratch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

const std::string kRoot = "H:\\path_test";


class MakeDirectoryPath : public ::testing::Test {
protected:
    void SetUp() override {
        scratch::scrub(kRoot);
        ASSERT_TRUE(CreateDirectoryA(kRoot.c_str(), nullptr));
    }
    void TearDown() override { scratch::scrub(kRoot); }
};

TEST_F(MakeDirectoryPath, CreatesMissingAncestorsAndNormalisesThePath) {
    struct Case {
        const char* given;
        const char* normalised;
    };
    const Case cases[] = {
        {"H:/path_test/a/b/", "H:\\path_test\\a\\b"},
        {"H:\\path_test\\c\\d\\e", "H:\\path_test\\c\\d\\e"},
        {"H:\\path_test\\f\\\\", "H:\\path_test\\f\\"},  // only one trailing backslash goes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        std::string path = c.given;
        make_directory_path(path);
        EXPECT_EQ(c.normalised, path);
        EXPECT_TRUE(scratch::is_dir(path));
    }
}

TEST_F(MakeDirectoryPath, BareRootAndEmptyPathCreateNothing) {
    std::string root = "H:\\";
    make_directory_path(root);
    EXPECT_EQ("H:", root);
    std::string empty;
    make_directory_path(empty);
    EXPECT_EQ("", empty);
    EXPECT_TRUE(scratch::names_in(kRoot).empty());
}

TEST_F(MakeDirectoryPath, NameWithoutBackslashIsRelativeToTheCurrentDirectory) {
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(kRoot.c_str()));
    std::string path = "single";
    make_directory_path(path);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(std::vector<std::string>{"single"}, scratch::names_in(kRoot));
}

// "\x95\x5c" is one two-byte character whose second byte is a backslash: no directory is
// made from the part before it.
TEST_F(MakeDirectoryPath, SecondByteBackslashNeverEndsAPrefix) {
    std::string path = kRoot + "\\a\x95\x5c" "b\\c";
    make_directory_path(path);
    EXPECT_TRUE(scratch::is_dir(kRoot + "\\a\x95\x5c" "b\\c"));
    EXPECT_EQ(std::vector<std::string>{"a\x95\x5c" "b"}, scratch::names_in(kRoot));
}

}  // namespace
