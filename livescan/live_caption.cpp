#include "live_caption.h"

CString LiveCaption(const char* title, std::size_t modules, std::size_t missing) {
    CString caption;
    caption.Format("%s - %lu module%s", title, static_cast<unsigned long>(modules), modules == 1 ? "" : "s");
    if (missing > 0) {
        CString counted;
        counted.Format(", %lu missing", static_cast<unsigned long>(missing));
        caption += counted;
    }
    return caption;
}
