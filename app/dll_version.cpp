#include "dll_version.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>

namespace {

// The version resource of a file, owned for the duration of one read.
class VersionResource {
public:
    explicit VersionResource(const char* fileName) {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA(fileName, &handle);
        if (size == 0) return;
        data_ = new (std::nothrow) char[size + 1];
        if (data_ && !GetFileVersionInfoA(fileName, 0, size, data_)) {
            delete[] data_;
            data_ = nullptr;
        }
    }
    ~VersionResource() { delete[] data_; }
    VersionResource(const VersionResource&) = delete;
    VersionResource& operator=(const VersionResource&) = delete;

    bool Loaded() const { return data_ != nullptr; }

    bool Query(const char* path, void** value, UINT* length) const {
        return VerQueryValueA(data_, path, value, length) != FALSE;
    }

private:
    char* data_ = nullptr;
};

// Under the single listed translation, or else under the user's default
// language with the Unicode code page.
void FileVersionPath(const VersionResource& resource, char (&path)[64]) {
    DWORD* translation = nullptr;
    UINT length = 0;
    if (resource.Query("\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
        length == 4) {
        const unsigned language = LOWORD(*translation);
        const unsigned codePage = HIWORD(*translation);
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%02X%02X%02X%02X\\FileVersion", (language >> 8) & 0xFF,
                      language & 0xFF, (codePage >> 8) & 0xFF, codePage & 0xFF);
    } else {
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X04B0\\FileVersion",
                      static_cast<unsigned>(GetUserDefaultLangID()));
    }
}

}  // namespace

bool CDllVersion::ReadFileVersion(const char* fileName, char (&text)[kFileVersionBufferSize]) {
    const VersionResource resource(fileName);
    if (!resource.Loaded()) return false;
    char path[64];
    FileVersionPath(resource, path);
    char* value = nullptr;
    UINT length = 0;
    if (!resource.Query(path, reinterpret_cast<void**>(&value), &length) || !value) return false;
    // The reported length counts characters (with the NUL where there is
    // one); never copy more than the value or the buffer holds.
    const std::size_t available = length < kFileVersionBufferSize ? length : kFileVersionBufferSize - 1;
    std::size_t copy = 0;
    while (copy < available && value[copy] != '\0') ++copy;
    std::memcpy(text, value, copy);
    text[copy] = '\0';
    return true;
}

bool CDllVersion::GetVersion(const char* fileName, int& major, int& minor, int& release) {
    major = minor = release = 0;
    char text[kFileVersionBufferSize];
    if (!ReadFileVersion(fileName, text)) return false;
    return ParseVersion(text, '.', major, minor, release) || ParseVersion(text, ',', major, minor, release);
}
