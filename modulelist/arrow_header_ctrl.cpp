#include "arrow_header_ctrl.h"

BEGIN_MESSAGE_MAP(CArrowHeaderCtrl, CHeaderCtrl)
ON_WM_PAINT()
ON_WM_NCACTIVATE()
END_MESSAGE_MAP()
