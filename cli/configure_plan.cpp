#include "configure_plan.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kNotAvailable[] = "n/a";

enum class Column { Mac, Ip, Sn, Gw, Dns1, Dns2, Hostname, Dhcp, Password, NewPassword, Version, Type, OldIp, Result };

struct ColumnName {
    const char* name;
    Column column;
};

// The scan's columns IP, SN, GW, DHCP, MAC and Hostname are among these
// in another case; its Version and Type are read and ignored.
const ColumnName kColumns[] = {
    {"mac", Column::Mac},           {"ip", Column::Ip},           {"sn", Column::Sn},
    {"gw", Column::Gw},             {"dns1", Column::Dns1},       {"dns2", Column::Dns2},
    {"hostname", Column::Hostname}, {"dhcp", Column::Dhcp},       {"password", Column::Password},
    {"new_password", Column::NewPassword}, {"version", Column::Version}, {"type", Column::Type},
    // The program's record of an address assignment: read and ignored.
    {"old_ip", Column::OldIp},      {"result", Column::Result},
};

// The records of RFC 4180 text as spreadsheets of any locale save it; see
// ReadPlanRecords.
class CsvReader {
public:
    explicit CsvReader(const std::string& text) : text_(text) {
        if (text_.compare(0, 3, kByteOrderMark) == 0) pos_ = 3;
        separator_ = HeaderSeparator();
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    int Line() const { return line_; }

    // The next record; false with a reason when a quoted cell is broken.
    bool ReadRecord(std::vector<std::string>& cells, std::string& reason) {
        cells.clear();
        for (;;) {
            cells.emplace_back();
            if (!ReadCell(cells.back(), reason)) return false;
            if (!Peek(separator_)) break;
            ++pos_;
        }
        SkipLineEnd();
        return true;
    }

private:
    bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    bool AtLineEnd() const { return Peek('\r') || Peek('\n'); }
    bool IsBlank(char c) const { return c == ' ' || (c == '\t' && separator_ != '\t'); }

    // The first separator of the header line outside quotes; empty lines
    // before it are skipped as their records are.
    char HeaderSeparator() const {
        bool quoted = false;
        const std::size_t header = text_.find_first_not_of(" \t\r\n", pos_);
        for (std::size_t at = header; at < text_.size(); ++at) {
            const char c = text_[at];
            if (c == '"') quoted = !quoted;
            if (quoted) continue;
            if (c == '\r' || c == '\n') break;
            if (c == ',' || c == ';' || c == '\t') return c;
        }
        return ',';
    }

    void SkipBlanks() {
        while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
    }

    // CR LF, LF or CR.
    void SkipLineEnd() {
        if (!AtLineEnd()) return;
        if (Peek('\r')) ++pos_;
        if (Peek('\n')) ++pos_;
        ++line_;
    }

    // One cell, up to a separator, a line end or the end of the text.
    bool ReadCell(std::string& cell, std::string& reason) {
        SkipBlanks();
        if (Peek('"')) return ReadQuoted(cell, reason);
        const std::size_t start = pos_;
        while (!AtEnd() && !Peek(separator_) && !AtLineEnd()) ++pos_;
        std::size_t end = pos_;
        while (end > start && IsBlank(text_[end - 1])) --end;
        cell.assign(text_, start, end - start);
        return true;
    }

    // The quoted part of a cell, up to its closing quote, behind which
    // only blanks may come before the cell ends.
    bool ReadQuoted(std::string& cell, std::string& reason) {
        ++pos_;
        for (;;) {
            if (AtEnd()) {
                reason = "a quoted cell is not closed";
                return false;
            }
            const char c = text_[pos_++];
            if (c == '"' && !Peek('"')) break;
            if (c == '"') ++pos_;
            if (c == '\n' || (c == '\r' && !Peek('\n'))) ++line_;
            cell += c;
        }
        SkipBlanks();
        if (AtEnd() || Peek(separator_) || AtLineEnd()) return true;
        reason = "text after a quoted cell";
        return false;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    char separator_ = ',';
};

std::string Lowered(const std::string& text) {
    std::string lowered = text;
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

bool AllEmpty(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& cell) { return cell.empty(); });
}

// A control character in a host name or password would reach the module
// as part of it, though nobody typed it; a plan holding one is refused.
bool AnyHoldsControlCharacter(const std::vector<std::string>& cells) {
    return std::any_of(cells.begin(), cells.end(), [](const std::string& cell) { return HoldsControlCharacter(cell); });
}

bool ReadHeader(const std::vector<std::string>& cells, std::vector<Column>& columns, std::string& reason) {
    bool hasMac = false;
    for (const std::string& cell : cells) {
        const std::string name = Lowered(cell);
        const ColumnName* known = nullptr;
        for (const ColumnName& entry : kColumns) {
            if (name == entry.name) known = &entry;
        }
        if (!known) {
            reason = "unknown column \"" + cell + "\"";
            return false;
        }
        if (std::find(columns.begin(), columns.end(), known->column) != columns.end()) {
            reason = "column \"" + name + "\" named twice";
            return false;
        }
        columns.push_back(known->column);
        hasMac = hasMac || known->column == Column::Mac;
    }
    if (!hasMac) reason = "the header names no mac column";
    return hasMac;
}

bool ReadAddressCell(const std::string& cell, std::optional<std::uint32_t>& field, std::string& reason) {
    std::uint32_t address = 0;
    if (!ParseAddressText(cell, address, reason)) return false;
    field = address;
    return true;
}

bool ReadPasswordCell(const std::string& cell, std::optional<std::string>& field, std::string& reason) {
    if (!CheckPasswordSetting(cell, reason)) return false;
    field = cell;
    return true;
}

bool ReadDhcpCell(const std::string& cell, std::optional<bool>& field, std::string& reason) {
    bool on = false;
    if (!ParseDhcpSetting(cell, on, reason)) return false;
    field = on;
    return true;
}

// A cell of a setting; an empty one or "N/A" keeps the module's value, so
// it sets nothing.
bool ReadSettingCell(Column column, const std::string& cell, ModuleSettings& s, std::string& reason) {
    if (cell.empty() || Lowered(cell) == kNotAvailable) return true;
    switch (column) {
        case Column::Ip: return ReadAddressCell(cell, s.ip, reason);
        case Column::Sn: return ReadAddressCell(cell, s.sn, reason);
        case Column::Gw: return ReadAddressCell(cell, s.gw, reason);
        case Column::Dns1: return ReadAddressCell(cell, s.dns1, reason);
        case Column::Dns2: return ReadAddressCell(cell, s.dns2, reason);
        case Column::Hostname: s.hostname = cell; return true;
        case Column::Dhcp: return ReadDhcpCell(cell, s.dhcpOn, reason);
        case Column::Password: return ReadPasswordCell(cell, s.password, reason);
        case Column::NewPassword: return ReadPasswordCell(cell, s.newPassword, reason);
        case Column::Mac:
        case Column::Version:
        case Column::Type:
        case Column::OldIp:
        case Column::Result: break;
    }
    return true;
}

// namesModule is false for a row whose MAC is "N/A".
bool ReadRow(const std::vector<Column>& columns, const std::vector<std::string>& cells, PlanRow& row,
             bool& namesModule, std::string& reason) {
    if (cells.size() != columns.size()) {
        reason = std::to_string(cells.size()) + " cells where the header names " + std::to_string(columns.size());
        return false;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (columns[i] != Column::Mac) {
            if (!ReadSettingCell(columns[i], cells[i], row.settings, reason)) return false;
        } else if (Lowered(cells[i]) == kNotAvailable) {
            namesModule = false;
        } else if (!ParseMacArgument(cells[i], row.mac)) {
            reason = "\"" + cells[i] + "\" is not a MAC address";
            return false;
        }
    }
    return true;
}

bool NamedBefore(const std::vector<PlanRow>& rows, const MacAddress& mac) {
    for (const PlanRow& row : rows) {
        if (std::memcmp(row.mac.bytes, mac.bytes, VORN_MAC_SIZE) == 0) return true;
    }
    return false;
}

// Reads the record as the header or a row; false with a reason when it is
// malformed.
bool ReadPlanRecord(const PlanRecord& record, std::vector<Column>& columns, std::vector<PlanRow>& rows,
                    std::string& reason) {
    if (AnyHoldsControlCharacter(record.cells)) {
        reason = "a cell holds a control character";
        return false;
    }
    if (columns.empty()) return ReadHeader(record.cells, columns, reason);
    PlanRow row = {record.line, {}, {}};
    bool namesModule = true;
    if (!ReadRow(columns, record.cells, row, namesModule, reason)) return false;
    if (!namesModule) return true;
    if (NamedBefore(rows, row.mac)) {
        reason = "MAC " + MacArgumentText(row.mac) + " named twice";
        return false;
    }
    rows.push_back(row);
    return true;
}

}  // namespace

bool ReadPlanRecords(const std::string& text, std::vector<PlanRecord>& records, std::string& error) {
    CsvReader reader(text);
    while (!reader.AtEnd()) {
        PlanRecord record = {reader.Line(), {}};
        std::string reason;
        if (!reader.ReadRecord(record.cells, reason)) {
            error = "line " + std::to_string(record.line) + ": " + reason;
            return false;
        }
        if (!AllEmpty(record.cells)) records.push_back(record);
    }
    return true;
}

bool ParsePlan(const std::string& text, std::vector<PlanRow>& rows, std::string& error) {
    std::vector<PlanRecord> records;
    std::string readError;
    const bool readWhole = ReadPlanRecords(text, records, readError);
    // The records before a broken one are looked at first, so that the
    // first fault in the file is the one told.
    std::vector<Column> columns;
    std::vector<PlanRow> read;
    for (const PlanRecord& record : records) {
        std::string reason;
        if (!ReadPlanRecord(record, columns, read, reason)) {
            error = "line " + std::to_string(record.line) + ": " + reason;
            return false;
        }
    }
    if (!readWhole) {
        error = readError;
        return false;
    }
    if (read.empty()) {
        error = "the plan names no module";
        return false;
    }
    rows = read;
    return true;
}
