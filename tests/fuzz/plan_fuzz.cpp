// Feeds arbitrary text to the plan reader, which must never crash and
// must refuse with a line number or read rows. The same bytes, cut at each
// NUL into cells (a module's text ends at its NUL) and eight cells to a
// line, go through scan's CSV writer: read back as a plan, the records are
// the lines written, with the "'" the writer puts before a cell a
// spreadsheet would take for a formula, each on the line it began on;
// only a line of empty cells is skipped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "configure_plan.h"
#include "module_table.h"

namespace {

constexpr std::size_t kMaxInput = 4096;

std::string Guarded(const std::string& cell) {
    const bool formula = !cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos &&
                         cell != "-";
    return formula ? "'" + cell : cell;
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
        std::vector<std::string> expected;
        bool allEmpty = true;
        int breaks = 0;
        for (const std::string& cell : written) {
            expected.push_back(Guarded(cell));
            allEmpty = allEmpty && cell.empty();
            breaks += LineBreaks(expected.back());
        }
        if (!allEmpty) {
            if (next >= records.size() || records[next].cells != expected || records[next].line != line) std::abort();
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
