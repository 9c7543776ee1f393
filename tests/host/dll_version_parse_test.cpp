#include "dll_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Parsed {
    bool ok;
    int major, minor, release;
};

// The check's two parses on one buffer, as the program makes them.
Parsed Check(const std::string& fileVersion) {
    char text[kFileVersionBufferSize] = "";
    std::strncpy(text, fileVersion.c_str(), sizeof text - 1);
    Parsed p = {false, 0, 0, 0};
    p.ok = CDllVersion::ParseVersion(text, '.', p.major, p.minor, p.release) ||
           CDllVersion::ParseVersion(text, ',', p.major, p.minor, p.release);
    return p;
}

TEST(ParseVersion, CommaFormPassesAfterTheDotParseFails) {
    const Parsed p = Check("1, 1, 2, 0");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.major, 1);
    EXPECT_EQ(p.minor, 1);
    EXPECT_EQ(p.release, 2);
    EXPECT_TRUE(IsSupportedLibraryVersion(p.major, p.minor));
}

TEST(ParseVersion, DotForm) {
    const Parsed p = Check("1.1.2.0");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.release, 2);
}

TEST(ParseVersion, TwoNumbersStillPassTheCheck) {
    for (const char* text : {"1.1", "1,1", "1, 1"}) {
        const Parsed p = Check(text);
        EXPECT_FALSE(p.ok) << text;
        EXPECT_TRUE(IsSupportedLibraryVersion(p.major, p.minor)) << text;
    }
}

TEST(ParseVersion, WrongOrIncompleteVersionsFail) {
    EXPECT_FALSE(IsSupportedLibraryVersion(Check("1").major, Check("1").minor));
    const Parsed a = Check("1, 2, 0, 0");
    EXPECT_FALSE(IsSupportedLibraryVersion(a.major, a.minor));
    const Parsed b = Check("2, 1, 0, 0");
    EXPECT_FALSE(IsSupportedLibraryVersion(b.major, b.minor));
    EXPECT_FALSE(Check("").ok);
}

TEST(ParseVersion, SplitsLikeStrtok) {
    char text[] = "..3...4.5.6";
    int major = 0, minor = 0, release = 0;
    EXPECT_TRUE(CDllVersion::ParseVersion(text, '.', major, minor, release));
    EXPECT_EQ(major, 3);
    EXPECT_EQ(minor, 4);
    EXPECT_EQ(release, 5);
    // The separator that ends each field was overwritten.
    EXPECT_STREQ(text + 2, "3");
    char signs[] = " -1,+2,x";
    EXPECT_TRUE(CDllVersion::ParseVersion(signs, ',', major, minor, release));
    EXPECT_EQ(major, -1);
    EXPECT_EQ(minor, 2);
    EXPECT_EQ(release, 0);
}

}  // namespace
