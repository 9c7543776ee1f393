// CSV files chosen through the standard open and save dialogs: a plan read
// whole, a list or a record written whole or not at all.
#ifndef KL_BATCH_CSV_FILES_H
#define KL_BATCH_CSV_FILES_H

#include <windows.h>

#include <string>

// Asks for a file name (defaultName proposed) and writes text there: into a
// new file beside it first, which then replaces the file. A failure is told
// in a "Warning" box and leaves no file behind. False when nothing was
// written (cancelled or failed).
bool SaveCsvFile(HWND owner, const char* defaultName, const std::string& text);

// Asks for a CSV file and reads it whole (at most 1 MiB). A failure is told
// in a "Warning" box. False when nothing was read.
bool OpenCsvFile(HWND owner, std::string& text);

// The same write without the dialog, for a path already chosen; false with
// the system's reason.
bool WriteFileWhole(const std::string& path, const std::string& text, std::string& reason);

#endif
