#include "immunize/immunize.h"

#include "immunize/layout.h"
#include "support/scratch.h"
#include "system/files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

namespace {

const std::string kD = "D:\\AutoRun.inf";
const std::string kH = "H:\\AutoRun.inf";
const std::string kE = "E:\\AutoRun.inf";
const std::vector<std::string> kDrives = {"D:", "H:"};

std::string cacls_log() { return scratch::program_directory() + "\\cacls.log"; }

// One line of the cacls stand-in: command line, container and guard present, show mode.
std::string lock_line(const std::string& container, bool built) {
    return "cacls " + container + " /e /p everyone:r|" + (built ? "1|1" : "0|0") + "|0\r\n";
}

::testing::AssertionResult answered(const Answer& answer, const std::string& text, bool ok) {
    if (answer.text == text && answer.ok == ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "answered [" << answer.text << "] ok=" << answer.ok << ", expected ["
                                         << text << "] ok=" << ok;
}

class DriveImmunization : public ::testing::Test {
protected:
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }
    static void clean() {
        for (const std::string& container : {kD, kH, kE}) scratch::scrub(container);
        DeleteFileA(cacls_log().c_str());
    }
};

TEST_F(DriveImmunization, AllDrivesBuildTwiceAndStripWithAndWithoutTheLock) {
    release_base_path();
    for (bool lock : {false, true}) {
        SCOPED_TRACE(lock ? "with the lock" : "without the lock");
        for (int run = 0; run < 2; ++run) {
            EXPECT_TRUE(answered(default_immunize(kDrives, lock, true, "E"), "所有磁盘免疫文件成功", true));
            EXPECT_TRUE(layout::immunized(kD));
            EXPECT_TRUE(layout::immunized(kH));
            EXPECT_TRUE(layout::absent(kE));
        }
        EXPECT_TRUE(answered(default_remove(kDrives, lock, true, "E"), "删除所有磁盘免疫文件成功", true));
        EXPECT_TRUE(layout::absent(kD));
        EXPECT_TRUE(layout::absent(kH));

        // The clean pass and the remove lock what is there; the build pass locks what it built.
        const std::string expected =
            lock ? lock_line(kD, false) + lock_line(kH, false) + lock_line(kD, true) + lock_line(kH, true) +
                       lock_line(kD, true) + lock_line(kH, true) + lock_line(kD, true) + lock_line(kH, true) +
                       lock_line(kD, true) + lock_line(kH, true)
                 : "<missing>";
        EXPECT_EQ(expected, scratch::read_text(cacls_log()));
        EXPECT_EQ("", base_path()) << "the all-drives forms keep no base path";
        DeleteFileA(cacls_log().c_str());
    }
}

// The single-drive immunize strips every listed drive first and builds only the chosen one,
// which need not be in the list; the lock serves the clean pass only.
TEST_F(DriveImmunization, SingleDriveForms) {
    ASSERT_TRUE(answered(default_immunize(kDrives, false, true, ""), "所有磁盘免疫文件成功", true));
    for (int run = 0; run < 2; ++run) {
        EXPECT_TRUE(answered(default_immunize(kDrives, true, false, "E"), "磁盘免疫文件成功！", true));
        EXPECT_TRUE(layout::immunized(kE));
        EXPECT_TRUE(layout::absent(kD));
        EXPECT_TRUE(layout::absent(kH));
        EXPECT_EQ("E", base_path());
    }
    EXPECT_EQ(lock_line(kD, true) + lock_line(kH, true) + lock_line(kD, false) + lock_line(kH, false),
              scratch::read_text(cacls_log()));

    EXPECT_TRUE(answered(default_remove(kDrives, true, false, "D"), "删除磁盘免疫文件成功", true));
    EXPECT_EQ("D", base_path());
    EXPECT_TRUE(layout::immunized(kE));
    EXPECT_TRUE(answered(default_remove(kDrives, true, false, "E"), "删除磁盘免疫文件成功", true));
    EXPECT_TRUE(layout::absent(kE));
    const std::string log = scratch::read_text(cacls_log());
    EXPECT_EQ(4, std::count(log.begin(), log.end(), '\n')) << "the single-drive remove runs no lock";
}

TEST_F(DriveImmunization, NoDriveLetterTouchesNothing) {
    ASSERT_TRUE(answered(default_immunize(kDrives, false, true, ""), "所有磁盘免疫文件成功", true));
    release_base_path();
    EXPECT_TRUE(answered(default_immunize(kDrives, true, false, ""), "磁盘免疫文件失败！", false));
    EXPECT_TRUE(answered(default_remove(kDrives, true, false, ""), "删除磁盘免疫文件失败", false));
    EXPECT_TRUE(layout::immunized(kD));
    EXPECT_TRUE(layout::immunized(kH));
    EXPECT_EQ("", base_path());
    EXPECT_EQ("<missing>", scratch::read_text(cacls_log()));
}

TEST_F(DriveImmunization, EmptyDriveListSucceedsWithoutWork) {
    EXPECT_TRUE(answered(default_immunize({}, true, true, "E"), "所有磁盘免疫文件成功", true));
    EXPECT_TRUE(answered(default_remove({}, true, true, "E"), "删除所有磁盘免疫文件成功", true));
    EXPECT_TRUE(layout::absent(kE));
    EXPECT_EQ("<missing>", scratch::read_text(cacls_log()));
}

// A plain AutoRun.inf file, as malware leaves it, gives way to the container in both build
// forms; the removes leave it with its attributes cleared.
TEST_F(DriveImmunization, PlainFileNamedAutoRunInf) {
    const auto plant = [] {
        scratch::write_text(kH, "[autorun]");
        SetFileAttributesA(kH.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    };
    plant();
    EXPECT_TRUE(answered(default_immunize(kDrives, false, true, ""), "所有磁盘免疫文件成功", true));
    EXPECT_TRUE(layout::immunized(kH));
    scratch::scrub(kH);
    plant();
    EXPECT_TRUE(answered(default_immunize({}, false, false, "H"), "磁盘免疫文件成功！", true));
    EXPECT_TRUE(layout::immunized(kH));
    scratch::scrub(kH);

    plant();
    EXPECT_TRUE(answered(default_remove(kDrives, false, true, ""), "删除所有磁盘免疫文件成功", true));
    EXPECT_TRUE(answered(default_remove({}, false, false, "H"), "删除磁盘免疫文件成功", true));
    EXPECT_EQ("[autorun]", scratch::read_text(kH));
    EXPECT_EQ(0u, GetFileAttributesA(kH.c_str()) & 7);
}

// Q: and R: do not exist; a file of the container's name held open cannot give way.
TEST_F(DriveImmunization, FailedDrivesAreNamed) {
    ASSERT_FALSE(GetLogicalDrives() & ((1u << ('Q' - 'A')) | (1u << ('R' - 'A'))));
    EXPECT_TRUE(answered(default_immunize({"Q:", "D:", "R:"}, false, true, ""), "以下磁盘免疫文件失败：Q: R:", false));
    EXPECT_TRUE(layout::immunized(kD));
    EXPECT_TRUE(answered(default_immunize({}, false, false, "Q"), "磁盘免疫文件失败！", false));
    EXPECT_EQ("Q", base_path());
    // Nothing of the layout is on a missing drive, so there is nothing left to remove.
    EXPECT_TRUE(answered(default_remove({"Q:"}, false, true, ""), "删除所有磁盘免疫文件成功", true));

    TextFile held = open_text_file(kH, TextFileMode::create);
    ASSERT_TRUE(held.open);
    EXPECT_TRUE(answered(default_immunize(kDrives, false, true, ""), "以下磁盘免疫文件失败：H:", false));
    EXPECT_TRUE(answered(default_immunize(kDrives, false, false, "H"), "磁盘免疫文件失败！", false));
    close(held);
}

TEST_F(DriveImmunization, ForeignContentIsKept) {
    ASSERT_TRUE(answered(default_immunize(kDrives, false, true, ""), "所有磁盘免疫文件成功", true));
    scratch::write_text(kD + "\\mine.txt", "mine");
    const std::string info = std::string("\n") + layout::kInfo;

    EXPECT_TRUE(answered(default_remove(kDrives, false, true, ""), "删除所有磁盘免疫文件成功" + info + kD, true));
    EXPECT_EQ("mine", scratch::read_text(kD + "\\mine.txt"));
    EXPECT_FALSE(scratch::exists(layout::guard(kD)));
    EXPECT_EQ(0u, GetFileAttributesA(kD.c_str()) & 7);
    EXPECT_TRUE(layout::absent(kH));

    // Rebuilt around the foreign file; an immunized container is not reported as kept.
    EXPECT_TRUE(answered(default_immunize(kDrives, false, true, ""), "所有磁盘免疫文件成功", true));
    EXPECT_TRUE(layout::immunized(kD));
    EXPECT_EQ("mine", scratch::read_text(kD + "\\mine.txt"));

    CreateDirectoryA((kH + "\\sub").c_str(), nullptr);
    scratch::write_text(kH + "\\sub\\theirs.txt", "theirs");
    EXPECT_TRUE(answered(default_immunize(kDrives, false, false, "E"), "磁盘免疫文件成功！" + info + kD + " " + kH, true));
    EXPECT_TRUE(answered(default_remove(kDrives, false, false, "D"), "删除磁盘免疫文件成功" + info + kD, true));
    EXPECT_EQ("theirs", scratch::read_text(kH + "\\sub\\theirs.txt"));
}

}  // namespace
