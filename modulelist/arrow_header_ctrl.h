// CArrowHeaderCtrl: the module list's column headings. The sorted column's
// item is owner-drawn: background, heading text and a raised triangle at
// its right end, apex up for ascending, down for descending.
#ifndef KL_MODULELIST_ARROW_HEADER_CTRL_H
#define KL_MODULELIST_ARROW_HEADER_CTRL_H

#include "controls.h"

class CDC;

class CArrowHeaderCtrl : public CHeaderCtrl {
public:
    // Moves the arrow to the column and repaints the whole header. The
    // column stays owner-drawn from now on, without an arrow once another
    // column is sorted.
    BOOL ShowSortIndicator(int column, BOOL ascending);
    void DrawItem(LPDRAWITEMSTRUCT draw) override;

protected:
    void OnPaint() { Default(); }
    BOOL OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }

    BOOL sortAscending = TRUE;
    int sortColumn = 0;

    DECLARE_MESSAGE_MAP()

private:
    void DrawHeading(CDC& dc, const DRAWITEMSTRUCT& draw, int d) const;
    void DrawArrow(CDC& dc, const RECT& item, int d) const;
};

#endif
