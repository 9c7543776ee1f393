#include "app_name.h"

CString AppNameFromPath(const char* path) {
    CString name(path);
    int start = 0;
    for (int i = 0; i < name.GetLength(); ++i) {
        if (name.GetAt(i) == '\\' || name.GetAt(i) == '/') start = i + 1;
    }
    name = name.Mid(start);
    int dot = -1;
    for (int i = name.Find('.'); i >= 0; i = name.Find('.', i + 1)) dot = i;
    return dot >= 0 ? name.Left(dot) : name;
}
