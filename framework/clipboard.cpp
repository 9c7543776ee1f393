#include "clipboard.h"

#include <cstring>

namespace {

// Another program may hold the clipboard open for a moment.
BOOL OpenClipboardRetrying(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (::OpenClipboard(owner)) return TRUE;
        ::Sleep(10);
    }
    return FALSE;
}

// Moveable global memory holding text and its NUL, as the clipboard takes it.
HGLOBAL GlobalCopy(const CString& text) {
    const std::size_t size = static_cast<std::size_t>(text.GetLength()) + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void* bytes = ::GlobalLock(memory);
    if (!bytes) {
        ::GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(bytes, text.GetString(), size);
    ::GlobalUnlock(memory);
    return memory;
}

}  // namespace

BOOL CopyTextToClipboard(HWND owner, const CString& text) {
    HGLOBAL memory = GlobalCopy(text);
    if (!memory) return FALSE;
    if (!OpenClipboardRetrying(owner)) {
        ::GlobalFree(memory);
        return FALSE;
    }
    ::EmptyClipboard();
    // Once set, the memory belongs to the clipboard.
    const BOOL stored = ::SetClipboardData(CF_TEXT, memory) != nullptr;
    if (!stored) ::GlobalFree(memory);
    ::CloseClipboard();
    return stored;
}
