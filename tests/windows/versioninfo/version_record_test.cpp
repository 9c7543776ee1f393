// CVFXVersionRecord on its own: emptiness, clearing, copying and the texts it
// gives of itself.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "vfx_version_record.h"
#include "win_app.h"

namespace {

// Every field set, each to something different from the others.
CVFXVersionRecord FilledRecord() {
    CVFXVersionRecord record;
    record.fileName = "C:\\folder\\file.dll";
    const WORD file[4] = {1, 2, 3, 4};
    const WORD product[4] = {5, 6, 7, 8};
    for (int i = 0; i < 4; ++i) {
        record.fileVersion[i] = file[i];
        record.productVersion[i] = product[i];
    }
    record.FileVersion = "fv";
    record.ProductVersion = "pv";
    record.CompanyName = "cn";
    record.FileDescription = "fd";
    record.InternalName = "in";
    record.LegalCopyright = "lc";
    record.OriginalFilename = "of";
    record.ProductName = "pn";
    record.Comments = "co";
    record.LegalTrademarks = "lt";
    record.PrivateBuild = "pb";
    record.SpecialBuild = "sb";
    return record;
}

const char kFilledSummary[] =
    "VS_VERSION_INFO for C:\\folder\\file.dll:\n"
    "\n"
    "FileVersion: fv\n"
    "ProductVersion: pv\n"
    "CompanyName: cn\n"
    "FileDescription: fd\n"
    "InternalName: in\n"
    "LegalCopyright: lc\n"
    "OriginalFileName: of\n"
    "ProductName: pn\n"
    "Comments co\n"
    "LegalTradeMarks: lt\n"
    "PrivateBuild: pb\n"
    "SpecialBuild: sb\n";

using Setter = std::function<void(CVFXVersionRecord&)>;

// One way per field of making an empty record not empty.
std::vector<Setter> OneFieldSetters() {
    std::vector<Setter> setters = {
        [](CVFXVersionRecord& r) { r.fileName = "x"; },
        [](CVFXVersionRecord& r) { r.FileVersion = "x"; },
        [](CVFXVersionRecord& r) { r.ProductVersion = "x"; },
        [](CVFXVersionRecord& r) { r.CompanyName = "x"; },
        [](CVFXVersionRecord& r) { r.FileDescription = "x"; },
        [](CVFXVersionRecord& r) { r.InternalName = "x"; },
        [](CVFXVersionRecord& r) { r.LegalCopyright = "x"; },
        [](CVFXVersionRecord& r) { r.OriginalFilename = "x"; },
        [](CVFXVersionRecord& r) { r.ProductName = "x"; },
        [](CVFXVersionRecord& r) { r.Comments = "x"; },
        [](CVFXVersionRecord& r) { r.LegalTrademarks = "x"; },
        [](CVFXVersionRecord& r) { r.PrivateBuild = "x"; },
        [](CVFXVersionRecord& r) { r.SpecialBuild = "x"; },
    };
    for (int i = 0; i < 4; ++i) {
        setters.push_back([i](CVFXVersionRecord& r) { r.fileVersion[i] = 1; });
        setters.push_back([i](CVFXVersionRecord& r) { r.productVersion[i] = 0x8000; });
    }
    return setters;
}

void ExpectSameFields(const CVFXVersionRecord& expected, const CVFXVersionRecord& actual) {
    EXPECT_STREQ(expected.fileName, actual.fileName);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected.fileVersion[i], actual.fileVersion[i]) << "fileVersion word " << i;
        EXPECT_EQ(expected.productVersion[i], actual.productVersion[i]) << "productVersion word " << i;
    }
    EXPECT_STREQ(expected.FileVersion, actual.FileVersion);
    EXPECT_STREQ(expected.ProductVersion, actual.ProductVersion);
    EXPECT_STREQ(expected.CompanyName, actual.CompanyName);
    EXPECT_STREQ(expected.FileDescription, actual.FileDescription);
    EXPECT_STREQ(expected.InternalName, actual.InternalName);
    EXPECT_STREQ(expected.LegalCopyright, actual.LegalCopyright);
    EXPECT_STREQ(expected.OriginalFilename, actual.OriginalFilename);
    EXPECT_STREQ(expected.ProductName, actual.ProductName);
    EXPECT_STREQ(expected.Comments, actual.Comments);
    EXPECT_STREQ(expected.LegalTrademarks, actual.LegalTrademarks);
    EXPECT_STREQ(expected.PrivateBuild, actual.PrivateBuild);
    EXPECT_STREQ(expected.SpecialBuild, actual.SpecialBuild);
}

TEST(VersionRecord, FreshRecordIsEmpty) {
    const CVFXVersionRecord record;
    EXPECT_TRUE(record.IsEmpty());
    EXPECT_STREQ("", record.fileName);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0, record.fileVersion[i]);
        EXPECT_EQ(0, record.productVersion[i]);
    }
}

TEST(VersionRecord, AnySingleFieldMakesItNotEmpty) {
    const std::vector<Setter> setters = OneFieldSetters();
    for (size_t i = 0; i < setters.size(); ++i) {
        CVFXVersionRecord record;
        setters[i](record);
        EXPECT_FALSE(record.IsEmpty()) << "field setter " << i;
    }
}

TEST(VersionRecord, ClearEmptiesEveryField) {
    CVFXVersionRecord record = FilledRecord();
    ASSERT_FALSE(record.IsEmpty());
    record.Clear();
    EXPECT_TRUE(record.IsEmpty());
    ExpectSameFields(CVFXVersionRecord(), record);
}

TEST(VersionRecord, ClearIsReachedThroughTheBase) {
    CVFXVersionRecord filled = FilledRecord();
    CVFXVersionRecord& base = filled;
    base.Clear();
    EXPECT_TRUE(filled.IsEmpty());
}

TEST(VersionRecord, AssignCopiesEveryField) {
    const CVFXVersionRecord source = FilledRecord();
    CVFXVersionRecord target;
    target.Comments = "stale";
    target.Assign(source);
    ExpectSameFields(source, target);
    EXPECT_STREQ(source.GetSummary(), target.GetSummary());
}

TEST(VersionRecord, AssignFromAnEmptyRecordEmpties) {
    CVFXVersionRecord target = FilledRecord();
    target.Assign(CVFXVersionRecord());
    EXPECT_TRUE(target.IsEmpty());
}

TEST(VersionRecord, AssignToItselfKeepsEverything) {
    CVFXVersionRecord record = FilledRecord();
    record.Assign(record);
    ExpectSameFields(FilledRecord(), record);
}

TEST(VersionRecord, CopiesAreIndependent) {
    CVFXVersionRecord source = FilledRecord();
    const CVFXVersionRecord copy(source);
    CVFXVersionRecord assigned;
    assigned = source;
    source.Clear();
    ExpectSameFields(FilledRecord(), copy);
    ExpectSameFields(FilledRecord(), assigned);
}

TEST(VersionRecord, SummaryOfAnEmptyRecord) {
    EXPECT_STREQ("No version information is available", CVFXVersionRecord().GetSummary());
}

TEST(VersionRecord, SummaryOfAFullRecordHasEveryLabelInOrder) {
    EXPECT_STREQ(kFilledSummary, FilledRecord().GetSummary());
}

TEST(VersionRecord, SummaryLeavesOutTheNumericVersions) {
    CVFXVersionRecord record;
    record.fileVersion[3] = 7;
    EXPECT_STREQ(
        "VS_VERSION_INFO for :\n\nFileVersion: \nProductVersion: \nCompanyName: \nFileDescription: \n"
        "InternalName: \nLegalCopyright: \nOriginalFileName: \nProductName: \nComments \n"
        "LegalTradeMarks: \nPrivateBuild: \nSpecialBuild: \n",
        record.GetSummary());
}

TEST(VersionRecord, SummaryKeepsPercentSignsInValues) {
    CVFXVersionRecord record;
    record.Comments = "100% %s %d";
    const std::string summary = record.GetSummary().GetString();
    EXPECT_NE(std::string::npos, summary.find("\nComments 100% %s %d\n"));
}

TEST(VersionRecord, ShowOnTheConsoleWritesTheSummary) {
    const CVFXVersionRecord record = FilledRecord();
    testing::internal::CaptureStdout();
    record.Show(true);
    EXPECT_EQ(std::string(kFilledSummary), testing::internal::GetCapturedStdout());
}

// What the information box looked like when it came up; the hook closes it at
// once so the test does not wait for a user.
struct ShownBox {
    HWND window = nullptr;
    int count = 0;
    std::string caption;
    std::string text;
    bool informationIcon = false;
    bool okButton = false;
    bool otherButton = false;
};

ShownBox g_shownBox;
HHOOK g_boxHook = nullptr;

std::string WindowText(HWND window) {
    char text[2048] = {0};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK InspectBoxChild(HWND child, LPARAM) {
    char className[32] = {0};
    ::GetClassNameA(child, className, sizeof className);
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    const int id = ::GetDlgCtrlID(child);
    if (_stricmp(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        const HICON shown = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        g_shownBox.informationIcon = shown != nullptr && shown == ::LoadIconA(nullptr, IDI_INFORMATION);
    } else if (_stricmp(className, "Button") == 0 && (style & WS_VISIBLE) != 0) {
        if (id == IDOK) g_shownBox.okButton = true;
        else g_shownBox.otherButton = true;
    } else if (id == 0xFFFF) {
        g_shownBox.text = WindowText(child);
    }
    return TRUE;
}

bool IsDialogBox(HWND window) {
    char className[32] = {0};
    return window != nullptr && ::GetClassNameA(window, className, sizeof className) > 0 &&
           std::strcmp(className, "#32770") == 0;
}

LRESULT CALLBACK CloseBoxWhenShown(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        // Only dialog boxes count, each once however often it is activated.
        if (!IsDialogBox(box) || box == g_shownBox.window) return ::CallNextHookEx(g_boxHook, code, wParam, lParam);
        g_shownBox.window = box;
        try {
            ++g_shownBox.count;
            g_shownBox.caption = WindowText(box);
            ::EnumChildWindows(box, InspectBoxChild, 0);
        } catch (...) {
            g_shownBox.count = -1;
        }
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return ::CallNextHookEx(g_boxHook, code, wParam, lParam);
}

TEST(VersionRecord, ShowInABoxUsesTheInformationBox) {
    // The box is the framework's, captioned with the application's title.
    CWinApp app;
    app.InitApplication(::GetModuleHandleA(nullptr));
    const CVFXVersionRecord record = FilledRecord();
    g_shownBox = ShownBox();
    g_boxHook = ::SetWindowsHookExA(WH_CBT, CloseBoxWhenShown, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, g_boxHook);
    record.Show(false);
    ::UnhookWindowsHookEx(g_boxHook);
    ASSERT_EQ(1, g_shownBox.count);
    EXPECT_EQ("versioninfo_tests", g_shownBox.caption);
    EXPECT_EQ(std::string(kFilledSummary), g_shownBox.text);
    EXPECT_TRUE(g_shownBox.informationIcon);
    EXPECT_TRUE(g_shownBox.okButton);
    EXPECT_FALSE(g_shownBox.otherButton);
}

}  // namespace
