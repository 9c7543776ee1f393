#include "gdi.h"

BOOL CGdiObject::Attach(HGDIOBJ object) {
    DeleteObject();
    m_hObject = object;
    return object != nullptr;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    const BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

namespace {

constexpr int kDesignDpi = 96;

int SystemDpi() {
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
        if (screen) ::ReleaseDC(nullptr, screen);
        return value > 0 ? value : kDesignDpi;
    }();
    return dpi;
}

}  // namespace

int ScaleToSystemDpi(int pixelsAt96Dpi) { return ::MulDiv(pixelsAt96Dpi, SystemDpi(), kDesignDpi); }

CDC::~CDC() {
    if (m_hDC && m_firstSavedState) ::RestoreDC(m_hDC, m_firstSavedState);
}

BOOL CDC::Attach(HDC dc) {
    if (m_hDC || !dc) return FALSE;
    m_hDC = dc;
    return TRUE;
}

// Detaching gives the context back as its owner left it.
HDC CDC::Detach() {
    if (m_hDC && m_firstSavedState) ::RestoreDC(m_hDC, m_firstSavedState);
    m_firstSavedState = 0;
    m_savedStates = 0;
    HDC dc = m_hDC;
    m_hDC = nullptr;
    return dc;
}

// Saved states are numbered consecutively; the object remembers the
// oldest one it saved and how many of its own are still outstanding.
int CDC::SaveDC() {
    const int saved = ::SaveDC(m_hDC);
    if (!saved) return 0;
    if (!m_firstSavedState) m_firstSavedState = saved;
    m_savedStates = saved - m_firstSavedState + 1;
    return saved;
}

BOOL CDC::RestoreDC(int savedDC) {
    const BOOL restored = ::RestoreDC(m_hDC, savedDC);
    if (!restored || !m_firstSavedState) return restored;
    m_savedStates = savedDC < 0 ? m_savedStates + savedDC : savedDC - m_firstSavedState;
    if (m_savedStates <= 0) {
        m_firstSavedState = 0;
        m_savedStates = 0;
    }
    return restored;
}

POINT CDC::MoveTo(int x, int y) {
    POINT previous = {0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

CPaintDC::CPaintDC(HWND window) : m_hWnd(window) { Attach(::BeginPaint(window, &m_ps)); }

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}
