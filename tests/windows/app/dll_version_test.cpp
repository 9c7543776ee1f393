// The library check against real files whose version resources differ.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dll_version.h"

namespace {

struct Outcome {
    bool parsed;
    int major, minor, release;
    bool passes;
};

Outcome CheckFile(const std::string& name) {
    Outcome o = {false, -1, -1, -1, false};
    CDllVersion version;
    o.parsed = version.GetVersion(name.c_str(), o.major, o.minor, o.release);
    o.passes = IsSupportedLibraryVersion(o.major, o.minor);
    return o;
}

// The fixtures lie in a folder beside this test program.
std::string Fixture(const char* name) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    return folder + "dllversion\\dllver_" + name + ".dll";
}

TEST(LibraryCheck, ShippedLibraryPasses) {
    const Outcome o = CheckFile("vorn.dll");
    EXPECT_TRUE(o.parsed);
    EXPECT_EQ(o.release, 2);
    EXPECT_TRUE(o.passes);
}

TEST(LibraryCheck, CommaAndDotFormsPass) {
    EXPECT_TRUE(CheckFile(Fixture("comma_1_1_2_0")).passes);
    const Outcome dots = CheckFile(Fixture("dots_1_1_2_0"));
    EXPECT_TRUE(dots.parsed);
    EXPECT_TRUE(dots.passes);
}

TEST(LibraryCheck, OtherVersionFails) {
    const Outcome o = CheckFile(Fixture("comma_1_2_0_0"));
    EXPECT_TRUE(o.parsed);
    EXPECT_EQ(o.minor, 2);
    EXPECT_FALSE(o.passes);
}

// With two translations the string is looked up under the user's default
// language and the Unicode code page, not under either listed entry.
TEST(LibraryCheck, TwoTranslationsUseTheUserLanguage) {
    const Outcome o = CheckFile(Fixture("two_translations"));
    if (GetUserDefaultLangID() == 0x0409) {
        EXPECT_TRUE(o.parsed);
        EXPECT_EQ(o.major, 2);
    } else {
        EXPECT_FALSE(o.parsed);
    }
    EXPECT_FALSE(o.passes);
}

TEST(LibraryCheck, MissingResourceOrFileFails) {
    const Outcome none = CheckFile(Fixture("no_resource"));
    EXPECT_FALSE(none.parsed);
    EXPECT_EQ(none.major, 0);
    EXPECT_FALSE(none.passes);
    EXPECT_FALSE(CheckFile("no_such_library.dll").passes);
}

}  // namespace
