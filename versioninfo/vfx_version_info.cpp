#include "vfx_version_info.h"

#include <shlwapi.h>
#include <winver.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vfx_module.h"
#include "vfx_pointer.h"

namespace {

// Enough for any value the record keeps: 255 characters and the NUL.
const UINT kValueCapacity = 256;
const size_t kSubBlockCapacity = 256;

struct StringField {
    const char* key;
    CString CVFXVersionRecord::*member;
};

// The order in which the values are read.
const StringField kStringFields[] = {
    {"ProductVersion", &CVFXVersionRecord::ProductVersion},
    {"FileVersion", &CVFXVersionRecord::FileVersion},
    {"CompanyName", &CVFXVersionRecord::CompanyName},
    {"FileDescription", &CVFXVersionRecord::FileDescription},
    {"InternalName", &CVFXVersionRecord::InternalName},
    {"LegalCopyright", &CVFXVersionRecord::LegalCopyright},
    {"OriginalFilename", &CVFXVersionRecord::OriginalFilename},
    {"ProductName", &CVFXVersionRecord::ProductName},
    {"Comments", &CVFXVersionRecord::Comments},
    {"LegalTrademarks", &CVFXVersionRecord::LegalTrademarks},
    {"PrivateBuild", &CVFXVersionRecord::PrivateBuild},
    {"SpecialBuild", &CVFXVersionRecord::SpecialBuild},
};

// An empty path means the running program; any other must name a file.
BOOL ResolvePath(CString& path) {
    if (path.IsEmpty()) return CVFXModule().GetModuleFileName(path);
    return ::PathFileExistsA(path) ? TRUE : FALSE;
}

// The fixed part must be whole before any of it is read: a resource whose
// root value is shorter would have us read past it.
const VS_FIXEDFILEINFO* QueryFixedInfo(const void* block) {
    LPVOID value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block, "\\", &value, &length) || value == nullptr) return nullptr;
    if (length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(value);
}

// A language the system does not have cannot become the thread's locale; the
// thread then keeps the one it has, but the language still names the strings.
LCID InstalledOrCurrentLocale(WORD language) {
    const LCID candidate = MAKELCID(language, SORT_DEFAULT);
    return ::IsValidLocale(candidate, LCID_INSTALLED) ? candidate : ::GetThreadLocale();
}

void SplitVersion(DWORD mostSignificant, DWORD leastSignificant, WORD (&words)[4]) {
    words[0] = HIWORD(mostSignificant);
    words[1] = LOWORD(mostSignificant);
    words[2] = HIWORD(leastSignificant);
    words[3] = LOWORD(leastSignificant);
}

}  // namespace

const CRuntimeClass CVFXVersionInfo::classCVFXVersionInfo = {"CVFXVersionInfo", &CObject::classCObject};

CVFXVersionInfo::CVFXVersionInfo(DWORD requestedCodePage, WORD requestedLanguage)
    : language(requestedLanguage),
      codePage(requestedCodePage),
      savedLocale(::GetThreadLocale()),
      appliedLocale(InstalledOrCurrentLocale(requestedLanguage)) {
    if (!::SetThreadLocale(appliedLocale)) ::SetThreadLocale(savedLocale);
}

CVFXVersionInfo::~CVFXVersionInfo() { ::SetThreadLocale(savedLocale); }

const CRuntimeClass* CVFXVersionInfo::GetRuntimeClass() const { return &classCVFXVersionInfo; }

BOOL CVFXVersionInfo::Read(CVFXVersionRecord& record, LPCSTR fileName) {
    CVFXPointer resource(nullptr, true);
    CString path(fileName);
    record.Clear();
    path.TrimLeft();
    path.TrimRight();
    if (!ResolvePath(path)) return FALSE;
    const DWORD size = GetInfoSize(path);
    if (size == 0) return FALSE;
    resource.Reset(AllocBuffer(size));
    if (resource.IsNull() || !GetInfo(path, size, resource.Get())) return FALSE;
    const VS_FIXEDFILEINFO* fixed = QueryFixedInfo(resource.Get());
    if (fixed == nullptr) return FALSE;
    record.fileName = path;
    SplitVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS, record.productVersion);
    SplitVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS, record.fileVersion);
    ReadStrings(resource.Get(), record);
    return TRUE;
}

// A value that is absent is no failure: its string simply stays empty.
void CVFXVersionInfo::ReadStrings(const void* block, CVFXVersionRecord& record) const {
    char value[kValueCapacity];
    for (const StringField& field : kStringFields) {
        QueryString(block, field.key, value, sizeof value);
        record.*field.member = value;
    }
}

// The copy reads at most outSize - 1 characters of the value and stops at its
// NUL, so it never reads further than it keeps.
BOOL CVFXVersionInfo::QueryString(const void* block, LPCSTR key, char* out, UINT outSize) const {
    if (out == nullptr || outSize == 0) return FALSE;
    std::memset(out, 0, outSize);
    if (block == nullptr || key == nullptr) return FALSE;
    char subBlock[kSubBlockCapacity];
    const int written = std::snprintf(subBlock, sizeof subBlock, "\\StringFileInfo\\%04x%04x\\%s",
                                      static_cast<unsigned>(language), static_cast<unsigned>(codePage), key);
    // A path cut short would name some other value.
    if (written < 0 || static_cast<size_t>(written) >= sizeof subBlock) return FALSE;
    LPVOID value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block, subBlock, &value, &length) || value == nullptr) return FALSE;
    const char* text = static_cast<const char*>(value);
    size_t count = 0;
    while (count < outSize - 1 && text[count] != '\0') ++count;
    std::memcpy(out, text, count);
    return TRUE;
}

DWORD CVFXVersionInfo::GetInfoSize(const CString& path) const {
    DWORD handle = 0;
    return ::GetFileVersionInfoSizeA(path, &handle);
}

BOOL CVFXVersionInfo::GetInfo(const CString& path, DWORD size, void* buffer) const {
    return ::GetFileVersionInfoA(path, 0, size, buffer) ? TRUE : FALSE;
}

void* CVFXVersionInfo::AllocBuffer(DWORD n) const { return n == 0 ? nullptr : std::malloc(n); }
