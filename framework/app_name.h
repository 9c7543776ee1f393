#ifndef KL_FRAMEWORK_APP_NAME_H
#define KL_FRAMEWORK_APP_NAME_H

#include "cstring.h"

// The file name without folder and extension ("C:\x\Kelvara Lanwise.exe"
// gives "Kelvara Lanwise"): the application's title.
CString AppNameFromPath(const char* path);

#endif
