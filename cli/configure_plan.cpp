#include "configure_plan.h"

#include <cstring>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

enum class Column { Mac, Ip, Sn, Gw, Dns1, Dns2, Hostname, Dhcp, Password, NewPassword };

struct ColumnName {
    const char* name;
    Column column;
};

const ColumnName kColumns[] = {
    {"mac", Column::Mac},           {"ip", Column::Ip},     {"sn", Column::Sn},
    {"gw", Column::Gw},             {"dns1", Column::Dns1}, {"dns2", Column::Dns2},
    {"hostname", Column::Hostname}, {"dhcp", Column::Dhcp}, {"password", Column::Password},
    {"new_password", Column::NewPassword},
};

// One record of RFC 4180 text: cells separated by ",", a cell in double
// quotes may hold ",", line breaks and doubled quotes. Lines end in LF or
// CR LF.
class CsvReader {
public:
    explicit CsvReader(const std::string& text) : text_(text) {
        if (text_.compare(0, 3, kByteOrderMark) == 0) pos_ = 3;
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    int Line() const { return line_; }

    // The next record; false with a reason when a quoted cell is broken.
    bool ReadRecord(std::vector<std::string>& cells, std::string& reason) {
        cells.assign(1, std::string());
        for (;;) {
            if (AtEnd()) return true;
            const char c = text_[pos_++];
            if (c == '\n') {
                ++line_;
                return true;
            }
            if (c == '\r' && Peek('\n')) continue;
            if (c == ',') {
                cells.emplace_back();
            } else if (c == '"' && cells.back().empty()) {
                if (!ReadQuoted(cells.back(), reason)) return false;
            } else {
                cells.back() += c;
            }
        }
    }

private:
    bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }

    // The quoted part of a cell, up to its closing quote, which must end
    // the cell.
    bool ReadQuoted(std::string& cell, std::string& reason) {
        for (;;) {
            if (AtEnd()) {
                reason = "a quoted cell is not closed";
                return false;
            }
            const char c = text_[pos_++];
            if (c == '"' && Peek('"')) {
                cell += '"';
                ++pos_;
            } else if (c == '"') {
                break;
            } else {
                if (c == '\n') ++line_;
                cell += c;
            }
        }
        if (AtCellEnd()) return true;
        reason = "text after a quoted cell";
        return false;
    }

    bool AtCellEnd() const {
        if (AtEnd() || Peek(',') || Peek('\n')) return true;
        return Peek('\r') && (pos_ + 1 == text_.size() || text_[pos_ + 1] == '\n');
    }

    const std::string& text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

std::string Lowered(const std::string& text) {
    std::string lowered = text;
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ReadHeader(const std::vector<std::string>& cells, std::vector<Column>& columns, std::string& reason) {
    columns.clear();
    bool hasMac = false;
    for (const std::string& cell : cells) {
        const std::string name = Lowered(Trimmed(cell));
        const ColumnName* known = nullptr;
        for (const ColumnName& entry : kColumns) {
            if (name == entry.name) known = &entry;
        }
        if (!known) {
            reason = "unknown column \"" + cell + "\"";
            return false;
        }
        for (Column taken : columns) {
            if (taken == known->column) {
                reason = "column \"" + name + "\" named twice";
                return false;
            }
        }
        columns.push_back(known->column);
        hasMac = hasMac || known->column == Column::Mac;
    }
    if (!hasMac) reason = "the header names no mac column";
    return hasMac;
}

bool ReadAddressCell(const std::string& cell, std::optional<std::uint32_t>& field, std::string& reason) {
    std::uint32_t address = 0;
    if (!ParseAddressSetting(cell, address, reason)) return false;
    field = address;
    return true;
}

bool ReadTextCell(const std::string& cell, std::optional<std::string>& field,
                  bool (*check)(const std::string&, std::string&), std::string& reason) {
    if (!check(cell, reason)) return false;
    field = cell;
    return true;
}

// An empty cell keeps the module's value, so it sets nothing.
bool ReadCell(Column column, const std::string& cell, PlanRow& row, std::string& reason) {
    ModuleSettings& s = row.settings;
    if (column == Column::Mac) {
        if (ParseMacArgument(cell, row.mac)) return true;
        reason = "\"" + cell + "\" is not a MAC address";
        return false;
    }
    if (cell.empty()) return true;
    switch (column) {
        case Column::Ip: return ReadAddressCell(cell, s.ip, reason);
        case Column::Sn: return ReadAddressCell(cell, s.sn, reason);
        case Column::Gw: return ReadAddressCell(cell, s.gw, reason);
        case Column::Dns1: return ReadAddressCell(cell, s.dns1, reason);
        case Column::Dns2: return ReadAddressCell(cell, s.dns2, reason);
        case Column::Hostname: return ReadTextCell(cell, s.hostname, CheckHostnameSetting, reason);
        case Column::Password: return ReadTextCell(cell, s.password, CheckPasswordSetting, reason);
        case Column::NewPassword: return ReadTextCell(cell, s.newPassword, CheckPasswordSetting, reason);
        case Column::Dhcp: {
            bool on = false;
            if (!ParseDhcpSetting(cell, on, reason)) return false;
            s.dhcpOn = on;
            return true;
        }
        case Column::Mac: break;
    }
    return true;
}

bool ReadRow(const std::vector<Column>& columns, const std::vector<std::string>& cells, PlanRow& row,
             std::string& reason) {
    if (cells.size() != columns.size()) {
        reason = std::to_string(cells.size()) + " cells where the header names " + std::to_string(columns.size());
        return false;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (!ReadCell(columns[i], cells[i], row, reason)) return false;
    }
    return true;
}

bool NamedBefore(const std::vector<PlanRow>& rows, const MacAddress& mac) {
    for (const PlanRow& row : rows) {
        if (std::memcmp(row.mac.bytes, mac.bytes, VORN_MAC_SIZE) == 0) return true;
    }
    return false;
}

bool IsBlank(const std::vector<std::string>& cells) { return cells.size() == 1 && Trimmed(cells[0]).empty(); }

// Reads the next non-blank record as the header or a row; false with a
// reason when it is malformed.
bool ReadPlanRecord(CsvReader& reader, std::vector<Column>& columns, std::vector<PlanRow>& rows,
                    std::string& reason) {
    const int line = reader.Line();
    std::vector<std::string> cells;
    if (!reader.ReadRecord(cells, reason)) return false;
    if (IsBlank(cells)) return true;
    if (columns.empty()) return ReadHeader(cells, columns, reason);
    PlanRow row = {line, {}, {}};
    if (!ReadRow(columns, cells, row, reason)) return false;
    if (NamedBefore(rows, row.mac)) {
        reason = "MAC " + MacArgumentText(row.mac) + " named twice";
        return false;
    }
    rows.push_back(row);
    return true;
}

}  // namespace

bool ParsePlan(const std::string& text, std::vector<PlanRow>& rows, std::string& error) {
    // A NUL would end a host name or password early further down.
    if (text.find('\0') != std::string::npos) {
        error = "the plan holds a NUL byte";
        return false;
    }
    std::vector<PlanRow> read;
    std::vector<Column> columns;
    CsvReader reader(text);
    while (!reader.AtEnd()) {
        const int line = reader.Line();
        std::string reason;
        if (!ReadPlanRecord(reader, columns, read, reason)) {
            error = "line " + std::to_string(line) + ": " + reason;
            return false;
        }
    }
    if (read.empty()) {
        error = "the plan names no module";
        return false;
    }
    rows = read;
    return true;
}
