// GDI wrappers. Pens, brushes and regions own their handles and delete
// them; a device context object restores every state it saved and never
// deletes a context it was only attached to.
#ifndef KL_FRAMEWORK_GDI_H
#define KL_FRAMEWORK_GDI_H

#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL DeleteObject();

protected:
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ m_hObject = nullptr;
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgnIndirect(const RECT* rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL Attach(HDC dc);
    HDC Detach();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    int SaveDC();
    BOOL RestoreDC(int savedDC);

    // Returns the object it replaced, to select back later.
    HGDIOBJ SelectObject(const CPen* pen) { return ::SelectObject(m_hDC, pen->GetSafeHandle()); }
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    // Selects the region as the clipping region (the context keeps a copy).
    int SelectObject(const CRgn* region) { return ::SelectClipRgn(m_hDC, static_cast<HRGN>(region->GetSafeHandle())); }

    void FillRect(const RECT* rect, const CBrush* brush) { ::FillRect(m_hDC, rect, *brush); }
    int DrawText(const char* text, int length, RECT* rect, UINT format) {
        return ::DrawTextA(m_hDC, text, length, rect, format);
    }
    POINT MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

protected:
    HDC m_hDC = nullptr;

private:
    int m_firstSavedState = 0;  // the oldest state still saved, 0 for none
    int m_savedStates = 0;
};

// A size given in pixels at 96 DPI, scaled to the system DPI (the DPI over
// 96, rounded). The program declares itself DPI-aware, so Windows no longer
// stretches it: every pixel size it sets itself must follow the display.
// The DPI is read once; a system-DPI-aware process keeps the one it
// started with.
int ScaleToSystemDpi(int pixelsAt96Dpi);

// The context of one WM_PAINT: BeginPaint on construction, EndPaint when done.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND window);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

#endif
