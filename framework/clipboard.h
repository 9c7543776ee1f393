// The clipboard, for the program's plain text.
#ifndef KL_FRAMEWORK_CLIPBOARD_H
#define KL_FRAMEWORK_CLIPBOARD_H

#include <windows.h>

#include "cstring.h"

// Replaces the clipboard's contents by text as CF_TEXT; owner is the window
// that opens the clipboard. FALSE when the clipboard could not be taken
// (another program holds it open) or no memory was left.
BOOL CopyTextToClipboard(HWND owner, const CString& text);

#endif
