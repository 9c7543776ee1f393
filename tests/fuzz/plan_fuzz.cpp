// Feeds arbitrary text to the plan reader, which must never crash and
// must refuse with a line number or read rows. The same bytes, cut at each
// NUL into cells (a module's text ends at its NUL) and eight cells to a
// line, go through scan's CSV writer: read back as a plan, the records are
// the lines written, each on the line it began on, and no cell read back
// is one a spreadsheet would take for a formula (the writer puts a "'"
// before such a cell and changes nothing else); only a line of empty
// cells is skipped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "configure_plan.h"
#include "module_table.h"

namespace {

constexpr std::size_t kMaxInput = 4096;

// What a spreadsheet would act on: a cell beginning with "=", "+", "@", a
// tab or a CR, or with "-" followed by anything.
bool TakenForFormula(const std::string& cell) {
    if (cell.empty()) return false;
    const char first = cell[0];
    return first == '=' || first == '+' || first == '@' || first == '\t' || first == '\r' ||
           (first == '-' && cell.size() > 1);
}

// A cell read back is the cell written, or it with a "'" before it where
// the written one would be taken for a formula; it is never taken for one.
bool ReadBackSafely(const std::string& written, const std::string& read) {
    if (TakenForFormula(read)) return false;
    if (read == written) return true;
    return read == "'" + written && TakenForFormula(written);
}

std::vector<ScanLine> LinesOf(const std::uint8_t* data, std::size_t size) {
    std::vector<ScanLine> lines;
    ScanLine line;
    int column = 0;
    std::string cell;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && data[i] != 0) {
            cell += static_cast<char>(data[i]);
            continue;
        }
        line[column++] = cell;
        cell.clear();
        if (column == kScanColumnCount) {
            lines.push_back(line);
            line = ScanLine();
            column = 0;
        }
    }
    if (column > 0) lines.push_back(line);
    return lines;
}

// Line breaks inside a cell: CR LF, LF or CR.
int LineBreaks(const std::string& cell) {
    int breaks = 0;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\n' || (cell[i] == '\r' && (i + 1 == cell.size() || cell[i + 1] != '\n'))) ++breaks;
    }
    return breaks;
}

void CheckPlanReader(const std::string& text) {
    std::vector<PlanRow> rows;
    std::string error;
    if (ParsePlan(text, rows, error)) {
        if (rows.empty()) std::abort();
    } else if (error.rfind("line ", 0) != 0 && error != "the plan names no module") {
        std::abort();
    }
}

void CheckCsvRoundTrip(const std::uint8_t* data, std::size_t size) {
    const std::vector<ScanLine> lines = LinesOf(data, size);
    std::vector<PlanRecord> records;
    std::string error;
    if (!ReadPlanRecords(FormatScanLines(lines, ScanFormat::Csv, {}), records, error)) std::abort();
    if (records.empty() || records[0].line != 1 || records[0].cells.size() != kScanColumnCount) std::abort();
    std::size_t next = 1;
    int line = 2;
    for (const ScanLine& written : lines) {
        bool allEmpty = true;
        int breaks = 0;
        for (const std::string& cell : written) {
            allEmpty = allEmpty && cell.empty();
            breaks += LineBreaks(cell);
        }
        if (!allEmpty) {
            if (next >= records.size() || records[next].line != line) std::abort();
            const std::vector<std::string>& read = records[next].cells;
            if (read.size() != written.size()) std::abort();
            for (std::size_t c = 0; c < read.size(); ++c) {
                if (!ReadBackSafely(written[c], read[c])) std::abort();
            }
            ++next;
        }
        line += 1 + breaks;
    }
    if (next != records.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) return -1;
    CheckPlanReader(std::string(reinterpret_cast<const char*>(data), size));
    CheckCsvRoundTrip(data, size);
    return 0;
}
