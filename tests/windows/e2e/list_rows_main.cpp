// list_rows.exe: prints the module list of the running "Kelvara Lanwise",
// one line per row, cells separated by tabs, for scripts.
//
//   list_rows [--wait N] [--timeout MS] [--desktop NAME]
//
// With --wait it first waits until the list holds at least N rows (at most
// MS milliseconds, default 10000). --desktop looks for the program on that
// desktop (a Wine virtual desktop) instead of this process's own, waiting
// as long for the desktop to appear. Exit status 0 when the rows were
// printed, 1 when the program or its list was not found or N rows never
// came, 2 on a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "list_rows.h"
#include "program_process.h"

namespace {

struct Options {
    int waitRows = 0;
    DWORD timeoutMs = 10000;
    const char* desktop = nullptr;
};

bool ParseNumber(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0;
}

// Every option takes one value.
bool ParseOption(const char* name, const char* value, Options& options) {
    long number = 0;
    if (std::strcmp(name, "--desktop") == 0) {
        options.desktop = value;
        return true;
    }
    if (!ParseNumber(value, number)) return false;
    if (std::strcmp(name, "--wait") == 0) {
        options.waitRows = static_cast<int>(number);
    } else if (std::strcmp(name, "--timeout") == 0) {
        options.timeoutMs = static_cast<DWORD>(number);
    } else {
        return false;
    }
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc || !ParseOption(argv[i], argv[i + 1], options)) return false;
    }
    return true;
}

void PrintRow(const kltest::Row& row) {
    for (std::size_t column = 0; column < row.size(); ++column) {
        std::printf("%s%s", column ? "\t" : "", row[column].c_str());
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: list_rows [--wait N] [--timeout MS] [--desktop NAME]\n");
        return 2;
    }
    // A desktop that is just being created appears a moment later.
    if (options.desktop &&
        !kltest::WaitUntil([&] { return kltest::UseDesktop(options.desktop); }, options.timeoutMs)) {
        std::fprintf(stderr, "list_rows: no desktop \"%s\"\n", options.desktop);
        return 1;
    }
    HWND list = nullptr;
    const bool ready = kltest::WaitUntil(
        [&] {
            list = kltest::FindModuleList();
            return list && kltest::RowCount(list) >= options.waitRows;
        },
        options.timeoutMs);
    std::vector<kltest::Row> rows;
    if (!ready || !kltest::ReadRows(list, rows)) {
        std::fprintf(stderr, "list_rows: %s\n", list ? "the rows did not come" : "no \"Kelvara Lanwise\" list found");
        return 1;
    }
    for (const kltest::Row& row : rows) PrintRow(row);
    return 0;
}
