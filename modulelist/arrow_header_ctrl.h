// CArrowHeaderCtrl: the module list's column headings.
#ifndef KL_MODULELIST_ARROW_HEADER_CTRL_H
#define KL_MODULELIST_ARROW_HEADER_CTRL_H

#include "controls.h"

class CArrowHeaderCtrl : public CHeaderCtrl {
protected:
    void OnPaint() { Default(); }
    BOOL OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }

    DECLARE_MESSAGE_MAP()
};

#endif
