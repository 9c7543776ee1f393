// A commissioning plan: a CSV file with a header line naming its columns
// and one row per module, as a text editor, a spreadsheet or "lanwise-cli
// scan --format csv" writes it. Portable.
#ifndef KL_CLI_CONFIGURE_PLAN_H
#define KL_CLI_CONFIGURE_PLAN_H

#include <string>
#include <vector>

#include "module_settings.h"

struct PlanRow {
    int line;  // where the row begins in the file, counted from 1
    MacAddress mac;
    ModuleSettings settings;
};

// One record of a plan's text: its cells and the line it begins on.
struct PlanRecord {
    int line;
    std::vector<std::string> cells;
};

// Reads the text as spreadsheets save CSV: a UTF-8 byte-order mark is
// skipped; the separator is ",", ";" or a tab, whichever the header line
// holds first ("," when it holds none); lines end in CR LF, LF or CR. A
// cell in double quotes is kept exactly and may hold separators, line
// breaks and doubled quotes; blanks (spaces, and tabs unless they
// separate) around an unquoted cell are not part of it. A record whose
// cells are all empty is skipped. False with "line N: <reason>" when a
// quoted cell is broken; records then holds those read before it.
bool ReadPlanRecords(const std::string& text, std::vector<PlanRecord>& records, std::string& error);

// The whole plan or nothing: false with "line N: <reason>" at the first
// fault (an unknown or repeated column, a cell holding a control
// character, a row with another number of cells, a value that can never
// be sent, a MAC named twice). Header names are matched in any case and
// take the scan's columns too (Version and Type are ignored, as are
// the program's record columns Old_IP and Result). An empty
// cell or "N/A" keeps the module's value; a row whose MAC is "N/A", a
// module that reports none, names no module and is skipped. A host name
// is checked only once the module's own is known: the scan writes
// names that could not be typed.
bool ParsePlan(const std::string& text, std::vector<PlanRow>& rows, std::string& error);

#endif
