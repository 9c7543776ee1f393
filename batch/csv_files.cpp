#include "csv_files.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

constexpr char kFilter[] = "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
constexpr DWORD kMaxReadBytes = 1 << 20;
constexpr DWORD kPathChars = 1024;

std::string SystemReason(DWORD error) {
    char text[512] = "";
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                          0, text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) {
        reason.pop_back();
    }
    return reason.empty() ? "error " + std::to_string(error) : reason;
}

void Warn(HWND owner, const std::string& text) { ::MessageBoxA(owner, text.c_str(), "Warning", MB_OK | MB_ICONEXCLAMATION); }

OPENFILENAMEA FileDialogOf(HWND owner, std::vector<char>& path) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = "csv";
    return dialog;
}

bool WriteAll(HANDLE file, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - written, 1 << 16));
        DWORD done = 0;
        if (!::WriteFile(file, text.data() + written, chunk, &done, nullptr) || done == 0) return false;
        written += done;
    }
    return ::FlushFileBuffers(file) != 0;
}

}  // namespace

bool WriteFileWhole(const std::string& path, const std::string& text, std::string& reason) {
    const std::string partial = path + ".partial";
    HANDLE file = ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = SystemReason(::GetLastError());
        return false;
    }
    const bool written = WriteAll(file, text);
    const DWORD writeError = ::GetLastError();
    ::CloseHandle(file);
    if (written && ::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    reason = SystemReason(written ? ::GetLastError() : writeError);
    ::DeleteFileA(partial.c_str());
    return false;
}

bool SaveCsvFile(HWND owner, const char* defaultName, const std::string& text) {
    std::vector<char> path(kPathChars, '\0');
    lstrcpynA(path.data(), defaultName, static_cast<int>(path.size()));
    OPENFILENAMEA dialog = FileDialogOf(owner, path);
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameA(&dialog)) return false;
    std::string reason;
    if (WriteFileWhole(path.data(), text, reason)) return true;
    Warn(owner, std::string("The file ") + path.data() + " could not be written: " + reason);
    return false;
}

bool OpenCsvFile(HWND owner, std::string& text) {
    std::vector<char> path(kPathChars, '\0');
    OPENFILENAMEA dialog = FileDialogOf(owner, path);
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameA(&dialog)) return false;
    HANDLE file = ::CreateFileA(path.data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size = {};
    if (file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &size) || size.QuadPart > kMaxReadBytes) {
        const bool tooLarge = file != INVALID_HANDLE_VALUE && size.QuadPart > kMaxReadBytes;
        const std::string reason = tooLarge ? "larger than 1 MiB, not a plan" : SystemReason(::GetLastError());
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
        Warn(owner, std::string("The file ") + path.data() + " could not be read: " + reason);
        return false;
    }
    text.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    const bool read = text.empty() || (::ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &done, nullptr) &&
                                       done == text.size());
    const std::string reason = read ? std::string() : SystemReason(::GetLastError());
    ::CloseHandle(file);
    if (read) return true;
    Warn(owner, std::string("The file ") + path.data() + " could not be read: " + reason);
    return false;
}
