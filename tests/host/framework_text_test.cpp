#include <gtest/gtest.h>

#include "about_dialog_text.h"
#include "app_name.h"
#include "cstring.h"

namespace {

TEST(CString, RemoveReplaceAndTrim) {
    CString s = " a, b ,c ";
    EXPECT_EQ(s.Remove(' '), 4);
    EXPECT_STREQ(s, "a,b,c");
    EXPECT_EQ(s.Replace(",", ".."), 2);
    EXPECT_STREQ(s, "a..b..c");
    EXPECT_EQ(s.Replace("", "x"), 0);
    // Replacing with a text that contains the pattern must not loop.
    CString grow = "aa";
    EXPECT_EQ(grow.Replace("a", "aa"), 2);
    EXPECT_STREQ(grow, "aaaa");
    CString t = "\t x y \r\n";
    EXPECT_STREQ(t.Trim(), "x y");
}

TEST(CString, BoundsAreSafe) {
    const CString s = "abc";
    EXPECT_STREQ(s.Left(10), "abc");
    EXPECT_STREQ(s.Left(-1), "");
    EXPECT_STREQ(s.Mid(5), "");
    EXPECT_STREQ(s.Mid(1, 99), "bc");
    EXPECT_EQ(s.Find('c', 7), -1);
    CString f;
    f.Format("%s-%d", std::string(1000, 'x').c_str(), 7);
    EXPECT_EQ(f.GetLength(), 1002);
}

TEST(AppName, FileNameWithoutFolderAndExtension) {
    EXPECT_STREQ(AppNameFromPath("C:\\tools\\Kelvara Lanwise.exe"), "Kelvara Lanwise");
    EXPECT_STREQ(AppNameFromPath("/a.b/c.d.exe"), "c.d");
    EXPECT_STREQ(AppNameFromPath("noext"), "noext");
    EXPECT_STREQ(AppNameFromPath(""), "");
}

TEST(VersionLine, BlanksRemovedCommasToDots) {
    EXPECT_STREQ(VersionLine("1, 1, 2, 0"), "Version: 1.1.2.0");
    EXPECT_STREQ(VersionLine(" 2.0.1 "), "Version: 2.0.1");
    EXPECT_STREQ(VersionLine(""), "Version: ");
}

}  // namespace
