#include "about_dialog_text.h"

CString VersionLine(const CString& productVersion) {
    CString version = productVersion;
    version.Remove(' ');
    CString line = "Version: " + version;
    line.Replace(",", ".");
    return line;
}
