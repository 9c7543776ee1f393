#include "vfx_version_record.h"

#include <cstdio>

#include "win_app.h"

namespace {

const int kWordCount = 4;

bool AllZero(const WORD (&words)[kWordCount]) {
    for (int i = 0; i < kWordCount; ++i) {
        if (words[i] != 0) return false;
    }
    return true;
}

void CopyWords(WORD (&to)[kWordCount], const WORD (&from)[kWordCount]) {
    for (int i = 0; i < kWordCount; ++i) to[i] = from[i];
}

}  // namespace

CVFXVersionRecord::CVFXVersionRecord() : fileVersion(), productVersion() {}

CVFXVersionRecord::~CVFXVersionRecord() {}

void CVFXVersionRecord::Show(bool toConsole) const {
    const CString summary = GetSummary();
    if (toConsole) {
        std::printf("%s", summary.GetString());
        // The text must be out before whatever the caller writes next by
        // another route.
        std::fflush(stdout);
        return;
    }
    AfxMessageBox(summary, MB_OK | MB_ICONINFORMATION);
}

// A fresh record is the empty one. The base Assign is named so that a
// derived record's own Assign is not handed a bare base record.
void CVFXVersionRecord::Clear() {
    CVFXVersionRecord::Assign(CVFXVersionRecord());
}

BOOL CVFXVersionRecord::IsEmpty() const {
    const bool stringsEmpty = FileVersion.IsEmpty() && ProductVersion.IsEmpty() && CompanyName.IsEmpty() &&
                              FileDescription.IsEmpty() && InternalName.IsEmpty() && LegalCopyright.IsEmpty() &&
                              OriginalFilename.IsEmpty() && ProductName.IsEmpty() && Comments.IsEmpty() &&
                              LegalTrademarks.IsEmpty() && PrivateBuild.IsEmpty() && SpecialBuild.IsEmpty();
    const bool wordsZero = AllZero(fileVersion) && AllZero(productVersion);
    return fileName.IsEmpty() && stringsEmpty && wordsZero ? TRUE : FALSE;
}

void CVFXVersionRecord::Assign(const CVFXVersionRecord& other) {
    fileName = other.fileName;
    CopyWords(fileVersion, other.fileVersion);
    CopyWords(productVersion, other.productVersion);
    FileVersion = other.FileVersion;
    ProductVersion = other.ProductVersion;
    CompanyName = other.CompanyName;
    FileDescription = other.FileDescription;
    InternalName = other.InternalName;
    LegalCopyright = other.LegalCopyright;
    OriginalFilename = other.OriginalFilename;
    ProductName = other.ProductName;
    Comments = other.Comments;
    LegalTrademarks = other.LegalTrademarks;
    PrivateBuild = other.PrivateBuild;
    SpecialBuild = other.SpecialBuild;
}

CString CVFXVersionRecord::GetSummary() const {
    if (IsEmpty()) return CString("No version information is available");
    CString summary;
    summary.Format(
        "VS_VERSION_INFO for %s:\n\nFileVersion: %s\nProductVersion: %s\nCompanyName: %s\nFileDescription: %s\n"
        "InternalName: %s\nLegalCopyright: %s\nOriginalFileName: %s\nProductName: %s\nComments %s\n"
        "LegalTradeMarks: %s\nPrivateBuild: %s\nSpecialBuild: %s\n",
        fileName.GetString(), FileVersion.GetString(), ProductVersion.GetString(), CompanyName.GetString(),
        FileDescription.GetString(), InternalName.GetString(), LegalCopyright.GetString(),
        OriginalFilename.GetString(), ProductName.GetString(), Comments.GetString(), LegalTrademarks.GetString(),
        PrivateBuild.GetString(), SpecialBuild.GetString());
    return summary;
}
