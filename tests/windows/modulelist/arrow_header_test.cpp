// The sort-indicator header's drawing, pixel by pixel: items of 20 and 18
// pixels drawn through DrawItem into a memory context, and the whole
// header painted by the control itself, which reaches DrawItem by
// reflection through the list.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "list_host.h"

namespace {

using kltest::Canvas;
using kltest::ListHost;

constexpr int kIp = 0;
constexpr int kMac = 6;
constexpr COLORREF kUntouched = RGB(255, 0, 255);
constexpr int kLeft = 10;  // the item starts inside the canvas, to see clipping
constexpr int kRight = 130;
constexpr char kLongHeading[] = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
COLORREF Light() { return GetSysColor(COLOR_BTNHIGHLIGHT); }
COLORREF Shadow() { return GetSysColor(COLOR_BTNSHADOW); }

void SetHeading(HWND header, int column, const char* text, int extraFormat = 0) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.fmt = (item.fmt & ~HDF_JUSTIFYMASK) | extraFormat;
    item.pszText = const_cast<char*>(text);
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

// Draws one item of the given height through DrawItem, as the header's
// WM_DRAWITEM would; text is drawn without a background cell so that only
// its ink shows.
void DrawInto(ListHost& host, Canvas& canvas, int column, int height, UINT state = 0) {
    canvas.Fill(kUntouched);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_HEADER;
    draw.itemID = static_cast<UINT>(column);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = state;
    draw.hwndItem = host.Header();
    draw.hDC = canvas.Dc();
    draw.rcItem = {kLeft, 0, kRight, height};
    host.HeaderObject().DrawItem(&draw);
}

bool IsInk(const Canvas& canvas, int x, int y) { return canvas.Pixel(x, y) != Face(); }

bool AnyInk(const Canvas& canvas, int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (IsInk(canvas, x, y)) return true;
        }
    }
    return false;
}

// The bounding box of the ink in [x0, x1) over the whole height.
RECT InkBox(const Canvas& canvas, int x0, int x1) {
    RECT box = {x1, canvas.Height(), x0, 0};
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!IsInk(canvas, x, y)) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    return box;
}

// x of the line from (x0, y0) to (x1, y1) at height y.
double LineX(int x0, int y0, int x1, int y1, int y) {
    return x0 + static_cast<double>(x1 - x0) * (y - y0) / (y1 - y0);
}

// Each row between top and bottom (exclusive) starts with a shadow pixel
// near the left edge's line and ends with a light one near the right's.
void ExpectSides(const Canvas& canvas, int top, int bottom, int leftX0, int leftY0, int leftX1, int leftY1,
                 int rightX0, int rightY0, int rightX1, int rightY1) {
    const int zoneLeft = kRight - 30;
    for (int y = top + 1; y < bottom; ++y) {
        int first = -1;
        int last = -1;
        for (int x = zoneLeft; x < kRight; ++x) {
            if (!IsInk(canvas, x, y)) continue;
            if (first < 0) first = x;
            last = x;
        }
        ASSERT_GE(first, 0) << "row " << y;
        EXPECT_EQ(canvas.Pixel(first, y), Shadow()) << "row " << y;
        EXPECT_EQ(canvas.Pixel(last, y), Light()) << "row " << y;
        EXPECT_NEAR(first, LineX(leftX0, leftY0, leftX1, leftY1, y), 1.0) << "row " << y;
        EXPECT_NEAR(last, LineX(rightX0, rightY0, rightX1, rightY1, y), 1.0) << "row " << y;
    }
}

class ArrowHeader : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { SetHeading(host.Header(), kMac, "MAC"); }
    ListHost host;
};

TEST_P(ArrowHeader, FillsTheItemWithTheButtonFaceAndStaysInside) {
    const int height = GetParam();
    Canvas canvas(kRight + 10, height + 5);
    SetHeading(host.Header(), kMac, kLongHeading);
    host.HeaderObject().ShowSortIndicator(kMac, TRUE);
    DrawInto(host, canvas, kMac, height);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const bool inside = x >= kLeft && x < kRight && y < height;
            EXPECT_EQ(canvas.Pixel(x, y) != kUntouched, inside) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.Pixel(kLeft + 1, 0), Face());
}

TEST_P(ArrowHeader, AscendingArrowHasItsApexUpAndLightBase) {
    const int height = GetParam();
    const int d = height / 4;
    const int r = kRight;
    const int base = height - d - 1;
    Canvas canvas(kRight, height);
    host.HeaderObject().ShowSortIndicator(kMac, TRUE);
    DrawInto(host, canvas, kMac, height);
    // The base: light from the right corner to just right of the shadow's start.
    for (int x = r - 3 * d; x <= r - d; ++x) EXPECT_EQ(canvas.Pixel(x, base), Light()) << x;
    EXPECT_EQ(canvas.Pixel(r - 3 * d - 1, base), Shadow());
    EXPECT_EQ(canvas.Pixel(r - 3 * d - 2, base), Face());
    EXPECT_EQ(canvas.Pixel(r - d + 1, base), Face());
    // The apex near (R.right - 2d, d); nothing above d - 1 or below the base.
    EXPECT_TRUE(AnyInk(canvas, r - 2 * d - 1, r - 2 * d + 1, d - 1, d + 1));
    EXPECT_FALSE(AnyInk(canvas, r - 3 * d - 2, r, 0, d - 1));
    EXPECT_FALSE(AnyInk(canvas, r - 3 * d - 2, r, base + 1, height));
    ExpectSides(canvas, d, base, r - 3 * d - 1, base, r - 2 * d, d - 1, r - 2 * d, d, r - d, base);
}

TEST_P(ArrowHeader, DescendingArrowHasItsApexDownAndShadowTop) {
    const int height = GetParam();
    const int d = height / 4;
    const int r = kRight;
    const int bottom = height - d;
    Canvas canvas(kRight, height);
    host.HeaderObject().ShowSortIndicator(kMac, FALSE);
    DrawInto(host, canvas, kMac, height);
    // The top: shadow from the left corner to just short of the light's start.
    for (int x = r - 3 * d - 1; x <= r - d - 2; ++x) EXPECT_EQ(canvas.Pixel(x, d), Shadow()) << x;
    EXPECT_EQ(canvas.Pixel(r - d - 1, d), Light());
    EXPECT_EQ(canvas.Pixel(r - 3 * d - 2, d), Face());
    EXPECT_EQ(canvas.Pixel(r - d, d), Face());
    // The apex: the shadow line starts at (R.right - 2d - 2, R.bottom - d).
    EXPECT_EQ(canvas.Pixel(r - 2 * d - 2, bottom), Shadow());
    EXPECT_FALSE(AnyInk(canvas, r - 3 * d - 2, r, 0, d));
    EXPECT_FALSE(AnyInk(canvas, r - 3 * d - 2, r, bottom + 1, height));
    ExpectSides(canvas, d, bottom - 1, r - 2 * d - 2, bottom, r - 3 * d - 1, d, r - d - 1, d, r - 2 * d - 1,
                bottom);
}

INSTANTIATE_TEST_SUITE_P(Heights, ArrowHeader, ::testing::Values(20, 18));

class HeaderText : public ::testing::Test {
protected:
    ListHost host;
    Canvas canvas{kRight, 20};
};

// The long heading drawn with the same flags straight into the expected
// rectangle, on the face colour: DrawItem must have drawn exactly this
// left of stopX. The text that the ellipsis leaves must end in "...".
void ExpectHeadingDrawnIn(const Canvas& canvas, RECT area, int stopX) {
    Canvas reference(canvas.Width(), canvas.Height());
    reference.Fill(Face());
    SetBkMode(reference.Dc(), TRANSPARENT);
    char shown[sizeof kLongHeading + 8] = "";
    std::strncpy(shown, kLongHeading, sizeof shown - 1);
    DrawTextA(reference.Dc(), shown, -1, &area,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    const std::string text(shown);
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 3), "...");
    EXPECT_LT(text.size(), std::strlen(kLongHeading));
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = kLeft; x < stopX; ++x) EXPECT_EQ(canvas.Pixel(x, y), reference.Pixel(x, y)) << x << "," << y;
    }
}

TEST_F(HeaderText, SortedHeadingRunsFromLeftPlusDToBeforeTheArrowWithAnEllipsis) {
    SetHeading(host.Header(), kMac, kLongHeading);
    host.HeaderObject().ShowSortIndicator(kMac, TRUE);
    DrawInto(host, canvas, kMac, 20);
    const RECT box = InkBox(canvas, kLeft, kRight - 17);  // left of the arrow's base
    EXPECT_GE(box.left, kLeft + 5);
    EXPECT_LE(box.left, kLeft + 7);
    EXPECT_LE(box.right, kRight - 20);
    ExpectHeadingDrawnIn(canvas, {kLeft + 5, 0, kRight - 20, 20}, kRight - 17);
}

TEST_F(HeaderText, HeadingWithoutArrowRunsToRightMinusD) {
    SetHeading(host.Header(), kMac, kLongHeading);
    host.HeaderObject().ShowSortIndicator(kMac, TRUE);
    host.HeaderObject().ShowSortIndicator(kIp, TRUE);
    DrawInto(host, canvas, kMac, 20);  // owner-drawn still, but not sorted
    EXPECT_GE(InkBox(canvas, kLeft, kRight).left, kLeft + 5);
    EXPECT_FALSE(AnyInk(canvas, kRight - 5, kRight, 0, 20));
    ExpectHeadingDrawnIn(canvas, {kLeft + 5, 0, kRight - 5, 20}, kRight);
}

TEST_F(HeaderText, PressedTextMovesButTheArrowStays) {
    SetHeading(host.Header(), kMac, "MAC");
    host.HeaderObject().ShowSortIndicator(kMac, TRUE);
    const int textEnd = kRight - 20;
    DrawInto(host, canvas, kMac, 20);
    const RECT normal = InkBox(canvas, kLeft, textEnd);
    const RECT arrow = InkBox(canvas, textEnd, kRight);
    DrawInto(host, canvas, kMac, 20, ODS_SELECTED);
    const RECT pressed = InkBox(canvas, kLeft, textEnd);
    EXPECT_EQ(pressed.left - normal.left, 1);
    // The rectangle's top moves by 2 with its bottom kept, and the text is
    // centred in it vertically: the text itself goes 1 pixel down.
    EXPECT_EQ(pressed.top - normal.top, 1);
    const RECT pressedArrow = InkBox(canvas, textEnd, kRight);
    EXPECT_TRUE(EqualRect(&arrow, &pressedArrow));
    DrawInto(host, canvas, kMac, 20, ODS_SELECTED | ODS_FOCUS);
    const RECT notOnlyPressed = InkBox(canvas, kLeft, textEnd);
    EXPECT_TRUE(EqualRect(&normal, &notOnlyPressed));
}

TEST_F(HeaderText, CentredAndRightAlignedFormats) {
    host.HeaderObject().ShowSortIndicator(kMac, TRUE);
    SetHeading(host.Header(), kMac, "MAC", HDF_CENTER);
    DrawInto(host, canvas, kMac, 20);
    const RECT centred = InkBox(canvas, kLeft, kRight - 20);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, (kLeft + 5 + kRight - 20) / 2.0, 2.0);
    SetHeading(host.Header(), kMac, "MAC", HDF_RIGHT);
    DrawInto(host, canvas, kMac, 20);
    const RECT right = InkBox(canvas, kLeft, kRight - 20);
    EXPECT_GE(right.right, kRight - 23);
    EXPECT_LE(right.right, kRight - 20);
}

TEST_F(HeaderText, AmpersandIsDrawnLiterally) {
    host.HeaderObject().ShowSortIndicator(kMac, TRUE);
    SetHeading(host.Header(), kMac, "&&&&");
    DrawInto(host, canvas, kMac, 20);
    const RECT literal = InkBox(canvas, kLeft, kRight - 20);
    SetHeading(host.Header(), kMac, "&&");
    DrawInto(host, canvas, kMac, 20);
    const RECT half = InkBox(canvas, kLeft, kRight - 20);
    // With mnemonic processing "&&&&" would show as "&&".
    EXPECT_GT(literal.right - literal.left, half.right - half.left);
}

// The header paints itself (WM_PRINTCLIENT into a memory context); its
// WM_DRAWITEM goes to the list and is reflected to the header's DrawItem.
TEST(HeaderPainting, SortedColumnShowsTheArrowThroughReflection) {
    ListHost host;
    host.List().AddModule(kltest::Record(1, 1));
    host.SendColumnClick(kMac);
    host.SendColumnClick(kMac);  // MAC descending
    RECT client = {};
    GetClientRect(host.Header(), &client);
    Canvas canvas(client.right, client.bottom);
    canvas.Fill(kUntouched);
    SendMessageA(host.Header(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    RECT mac = {};
    SendMessageA(host.Header(), HDM_GETITEMRECT, kMac, reinterpret_cast<LPARAM>(&mac));
    const int d = (mac.bottom - mac.top) / 4;
    for (int x = mac.right - 3 * d - 1; x <= mac.right - d - 2; ++x) EXPECT_EQ(canvas.Pixel(x, d), Shadow()) << x;
    EXPECT_EQ(canvas.Pixel(mac.right - d - 1, d), Light());
    RECT ip = {};
    SendMessageA(host.Header(), HDM_GETITEMRECT, kIp, reinterpret_cast<LPARAM>(&ip));
    EXPECT_FALSE(AnyInk(canvas, ip.right - 3 * d - 2, ip.right - 1, d - 1, ip.bottom - d + 1));
    CreateDirectoryA(KL_REVIEW_DIR, nullptr);
    EXPECT_TRUE(canvas.SaveBmp(std::string(KL_REVIEW_DIR) + "/sorted_header_mac_descending.bmp", 4));
}

}  // namespace
