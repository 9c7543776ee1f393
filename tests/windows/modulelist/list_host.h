// A CModuleListCtrl set up as the main dialog sets it up, in a plain window
// of the test's own, and a 32-bit canvas to draw header items into.
#ifndef KL_TESTS_MODULELIST_LIST_HOST_H
#define KL_TESTS_MODULELIST_LIST_HOST_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "module_list_ctrl.h"

namespace kltest {

// A top-level window bound to a plain CWnd, so that the list's
// notifications are reflected back to the list's object.
class ListHost {
public:
    ListHost();
    // With a list object of the test's own, bound like the plain one.
    explicit ListHost(std::unique_ptr<CModuleListCtrl> list);
    ~ListHost();

    HWND Window() const { return host_.GetSafeHwnd(); }
    CModuleListCtrl& List() { return *list_; }
    HWND Header() const;
    CArrowHeaderCtrl& HeaderObject() const;

    // What a heading click makes the list view send to its parent.
    void SendColumnClick(int column);
    // A real press and release of the mouse on the heading.
    void ClickHeading(int column);
    std::string Cell(int row, int column) const;
    std::vector<std::string> Column(int column) const;

private:
    CWnd host_;
    std::unique_ptr<CModuleListCtrl> list_;
};

// A record with every field present; mac's last byte and ip vary.
VORN_ModuleScanResponseType Record(std::uint8_t macLast, std::uint32_t ip);

// A top-down 32-bit DIB section selected into a memory context.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Fill(COLORREF color);
    COLORREF Pixel(int x, int y) const;
    // Writes the canvas magnified as a 24-bit BMP; false on failure.
    bool SaveBmp(const std::string& path, int scale) const;

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace kltest

#endif
