// Checks of the immunity layout on disk, shared by the immunization tests.
#pragma once
#include "support/scratch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace layout {

const char kInfo[] = "以下文件夹中还有其他文件，已保留：";

inline std::string guard(const std::string& container) { return container + "\\Keltora目录..\\"; }

// Windows keeps read-only, hidden and system on directories; Wine keeps hidden and system only.
inline DWORD directory_bits() { return scratch::on_wine() ? 6 : 7; }

// Container and guard are directories with the layout's attributes, and nothing is left under
// the guard's temporary name.
inline ::testing::AssertionResult immunized(const std::string& container) {
    for (const std::string& path : {container, guard(container)}) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return ::testing::AssertionFailure() << path << " is not a directory";
        }
        if ((attributes & 7) != directory_bits()) {
            return ::testing::AssertionFailure() << path << " has attributes " << attributes;
        }
    }
    if (scratch::exists(container + "\\Keltora目录")) {
        return ::testing::AssertionFailure() << container << " still holds the guard's temporary name";
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult absent(const std::string& path) {
    if (!scratch::exists(path)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << " is still there";
}

}  // namespace layout
