#include "arrow_header_ctrl.h"

#include "gdi.h"

namespace {

// Left-aligned, vertically centred on one line, never wrapping into the
// arrow: cut with an ellipsis, "&" drawn as it is.
constexpr UINT kHeadingFlags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS;

UINT HeadingFlags(int format) {
    if (format & HDF_CENTER) return (kHeadingFlags & ~DT_LEFT) | DT_CENTER;
    if (format & HDF_RIGHT) return (kHeadingFlags & ~DT_LEFT) | DT_RIGHT;
    return kHeadingFlags;
}

void ClipTo(CDC& dc, const RECT& rect) {
    CRgn region;
    region.CreateRectRgnIndirect(&rect);
    dc.SelectObject(&region);  // the context keeps its own copy
}

// Light edges right and below, shadow left (and above for the descending
// arrow): a raised look on the button face. Heights count from the
// header's top, where all items start.
void DrawAscending(CDC& dc, const RECT& r, int d, const CPen& light, const CPen& shadow) {
    dc.SelectObject(&light);
    dc.MoveTo(r.right - 2 * d, d);
    dc.LineTo(r.right - d, r.bottom - d - 1);
    dc.LineTo(r.right - 3 * d - 2, r.bottom - d - 1);
    dc.SelectObject(&shadow);
    dc.MoveTo(r.right - 3 * d - 1, r.bottom - d - 1);
    dc.LineTo(r.right - 2 * d, d - 1);
}

void DrawDescending(CDC& dc, const RECT& r, int d, const CPen& light, const CPen& shadow) {
    dc.SelectObject(&light);
    dc.MoveTo(r.right - d - 1, d);
    dc.LineTo(r.right - 2 * d - 1, r.bottom - d);
    dc.SelectObject(&shadow);
    dc.MoveTo(r.right - 2 * d - 2, r.bottom - d);
    dc.LineTo(r.right - 3 * d - 1, d);
    dc.LineTo(r.right - d - 1, d);
}

}  // namespace

BEGIN_MESSAGE_MAP(CArrowHeaderCtrl, CHeaderCtrl)
ON_WM_PAINT()
ON_WM_NCACTIVATE()
END_MESSAGE_MAP()

BOOL CArrowHeaderCtrl::ShowSortIndicator(int column, BOOL ascending) {
    sortColumn = column;
    sortAscending = ascending;
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    if (GetItem(column, &item)) {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(column, &item);
    }
    // All of it: the item that loses the arrow must be drawn again too.
    return InvalidateRect(nullptr, TRUE);
}

void CArrowHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT draw) {
    const RECT& r = draw->rcItem;
    const int d = (r.bottom - r.top) / 4;
    CDC dc;
    dc.Attach(draw->hDC);
    const int saved = dc.SaveDC();
    ClipTo(dc, r);
    CBrush face(GetSysColor(COLOR_BTNFACE));
    dc.FillRect(&r, &face);
    DrawHeading(dc, *draw, d);
    if (static_cast<int>(draw->itemID) == sortColumn) DrawArrow(dc, r, d);
    dc.RestoreDC(saved);
    dc.Detach();
}

void CArrowHeaderCtrl::DrawHeading(CDC& dc, const DRAWITEMSTRUCT& draw, int d) const {
    char text[256] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = sizeof text - 1;
    GetItem(static_cast<int>(draw.itemID), &item);
    RECT area = draw.rcItem;
    // Only a plainly pressed item moves its text, as a pushed button does.
    if (draw.itemState == ODS_SELECTED) {
        area.left += 1;
        area.top += 2;
        area.right += 1;
    }
    if (static_cast<int>(draw.itemID) == sortColumn) area.right -= 3 * d;
    area.left += d;
    area.right -= d;
    if (area.left < area.right) dc.DrawText(text, -1, &area, HeadingFlags(item.fmt));
}

void CArrowHeaderCtrl::DrawArrow(CDC& dc, const RECT& item, int d) const {
    const CPen light(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    const CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    const HGDIOBJ previous = dc.SelectObject(&light);
    if (sortAscending) {
        DrawAscending(dc, item, d, light, shadow);
    } else {
        DrawDescending(dc, item, d, light, shadow);
    }
    dc.SelectObject(previous);
}
