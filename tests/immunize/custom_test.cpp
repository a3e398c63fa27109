#include "immunize/immunize.h"

#include "immunize/layout.h"
#include "support/scratch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

const std::string kFolder = "H:\\custom_test";
const std::string kContainer = kFolder + "\\AutoRun.inf";
const char kInvalidName[] =
    "免疫文件名称无效：名称不能为空，不能只由点组成，也不能包含 \\ / : * ? \" < > | 等字符";

std::string text_of(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}


// A hidden edit control stands in for the window's folder field.
class CustomImmunization : public ::testing::Test {
protected:
    void SetUp() override {
        scratch::scrub(kFolder);
        scratch::scrub("H:\\AutoRun.inf");
        ASSERT_TRUE(CreateDirectoryA(kFolder.c_str(), nullptr));
        field_ = CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 300, 24, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, field_);
    }
    void TearDown() override {
        DestroyWindow(field_);
        scratch::scrub(kFolder);
        scratch::scrub("H:\\AutoRun.inf");
    }
    HWND field_ = nullptr;
};

TEST_F(CustomImmunization, FieldGetsItsBackslashAndTheLayoutMatchesADriveRoot) {
    SetWindowTextA(field_, kFolder.c_str());
    EXPECT_EQ("磁盘免疫文件成功！", custom_immunize(field_, "AutoRun.inf").text);
    EXPECT_EQ(kFolder + "\\", text_of(field_));
    EXPECT_EQ(kFolder + "\\", base_path());
    EXPECT_TRUE(layout::immunized(kContainer));
    EXPECT_EQ(1u, scratch::names_in(kContainer).size()) << "the guard alone";

    // A second run on a field that already ends in "\" leaves the field and the layout as they were.
    Answer again = custom_immunize(field_, "AutoRun.inf");
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(kFolder + "\\", text_of(field_));
    EXPECT_TRUE(layout::immunized(kContainer));
    EXPECT_EQ(1u, scratch::names_in(kContainer).size());

    Answer removed = custom_remove(field_, "AutoRun.inf");
    EXPECT_EQ("删除磁盘免疫文件成功", removed.text);
    EXPECT_TRUE(removed.ok);
    EXPECT_TRUE(layout::absent(kContainer));
}

// An empty field becomes "\": the container lands at the root of the current drive.
TEST_F(CustomImmunization, EmptyFieldMeansTheCurrentDrivesRoot) {
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(kFolder.c_str()));
    const Answer built = custom_immunize(field_, "AutoRun.inf");
    const bool was_immunized = layout::immunized("H:\\AutoRun.inf");
    const Answer removed = custom_remove(field_, "AutoRun.inf");
    SetCurrentDirectoryA(previous);

    EXPECT_EQ("\\", text_of(field_));
    EXPECT_TRUE(built.ok);
    EXPECT_TRUE(was_immunized);
    EXPECT_TRUE(removed.ok);
    EXPECT_TRUE(layout::absent("H:\\AutoRun.inf"));
}

TEST_F(CustomImmunization, MissingFolderFailsAndCreatesNothing) {
    SetWindowTextA(field_, (kFolder + "\\missing").c_str());
    const Answer answer = custom_immunize(field_, "AutoRun.inf");
    EXPECT_EQ("磁盘免疫文件失败！", answer.text);
    EXPECT_FALSE(answer.ok);
    EXPECT_TRUE(scratch::names_in(kFolder).empty());
}

TEST_F(CustomImmunization, FileOfTheNameGivesWay) {
    scratch::write_text(kFolder + "\\guard.inf", "[autorun]");
    SetWindowTextA(field_, (kFolder + "\\").c_str());
    EXPECT_TRUE(custom_immunize(field_, "guard.inf").ok);
    EXPECT_TRUE(layout::immunized(kFolder + "\\guard.inf"));
}

TEST_F(CustomImmunization, ForeignContentIsKept) {
    SetWindowTextA(field_, kFolder.c_str());
    ASSERT_TRUE(custom_immunize(field_, "AutoRun.inf").ok);
    scratch::write_text(kContainer + "\\mine.txt", "mine");

    const Answer removed = custom_remove(field_, "AutoRun.inf");
    EXPECT_EQ(std::string("删除磁盘免疫文件成功\n") + layout::kInfo + kContainer, removed.text);
    EXPECT_TRUE(removed.ok);
    EXPECT_FALSE(scratch::exists(layout::guard(kContainer)));
    EXPECT_EQ("mine", scratch::read_text(kContainer + "\\mine.txt"));

    EXPECT_EQ("磁盘免疫文件成功！", custom_immunize(field_, "AutoRun.inf").text);
    EXPECT_TRUE(layout::immunized(kContainer));
    EXPECT_EQ("mine", scratch::read_text(kContainer + "\\mine.txt"));
}

// A name that would make the container the folder itself, one above it or another folder is
// refused before the field or the disk is touched.
TEST_F(CustomImmunization, UnsafeNamesAreRefused) {
    scratch::write_text(kFolder + "\\keep.txt", "keep");
    CreateDirectoryA((kFolder + "\\a").c_str(), nullptr);
    SetWindowTextA(field_, kFolder.c_str());
    release_base_path();
    for (const char* name : {"", ".", "..", "...", " ", ". .", "a\\b", "a/b", "a:b", "*", "?", "\"", "<", ">", "|",
                             "a\tb", "\x01"}) {
        SCOPED_TRACE(std::string("[") + name + "]");
        for (const Answer& answer : {custom_immunize(field_, name), custom_remove(field_, name)}) {
            EXPECT_EQ(kInvalidName, answer.text);
            EXPECT_FALSE(answer.ok);
        }
        EXPECT_EQ(kFolder, text_of(field_));
        EXPECT_EQ("", base_path());
        EXPECT_EQ((std::vector<std::string>{"a", "keep.txt"}), scratch::names_in(kFolder));
        EXPECT_TRUE(scratch::names_in(kFolder + "\\a").empty());
    }
}

// Dots and spaces inside a name are fine, and so is a two-byte character whose second byte is 0x5C.
TEST_F(CustomImmunization, OrdinaryNamesAreTaken) {
    SetWindowTextA(field_, kFolder.c_str());
    for (const char* name : {"a.b c", "..x", "免疫", "a\x95\x5c" "b"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(custom_immunize(field_, name).ok);
        EXPECT_TRUE(layout::immunized(kFolder + "\\" + name));
        EXPECT_TRUE(custom_remove(field_, name).ok);
        EXPECT_TRUE(layout::absent(kFolder + "\\" + name));
    }
    EXPECT_TRUE(scratch::names_in(kFolder).empty());
}

}  // namespace
