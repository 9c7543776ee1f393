#ifndef KL_APP_ABOUT_DIALOG_TEXT_H
#define KL_APP_ABOUT_DIALOG_TEXT_H

#include "cstring.h"

// The About box's version line: "Version: " and the product version
// without blanks, commas turned into dots ("1, 1, 2, 0" gives
// "Version: 1.1.2.0"). Portable.
CString VersionLine(const CString& productVersion);

#endif
