// The main window's caption while the list keeps scanning: the counts of
// modules (every row with a MAC, missing ones included) and of missing
// ones. Portable.
#ifndef KL_LIVESCAN_LIVE_CAPTION_H
#define KL_LIVESCAN_LIVE_CAPTION_H

#include <cstddef>

#include "cstring.h"

// "<title> - 24 modules", "<title> - 1 module, 1 missing".
CString LiveCaption(const char* title, std::size_t modules, std::size_t missing);

#endif
