// What the module list shows: the seven column texts of one scan record,
// the column layout text the list is set up from and the copied text.
// Portable.
#ifndef KL_MODULELIST_MODULE_ROW_TEXTS_H
#define KL_MODULELIST_MODULE_ROW_TEXTS_H

#include <array>
#include <optional>
#include <vector>

#include "address_text.h"
#include "cstring.h"
#include "vorn.h"

constexpr int kModuleColumnCount = 7;
constexpr int kIpColumn = 0;
constexpr int kSubnetMaskColumn = 1;
constexpr int kGatewayColumn = 2;
constexpr int kTypeColumn = 5;
constexpr int kMacColumn = 6;
// What a column shows for a value the module left out.
constexpr char kNotAvailableText[] = "N/A";

// IP, SN, GW, DHCP, Version, Type, MAC; "N/A" where the record lacks the field.
std::array<CString, kModuleColumnCount> ModuleRowTexts(const VORN_ModuleScanResponseType& record);

// A row's IP and SN texts as addresses: false when the IP text is no
// address; mask is left empty when the SN text is none ("N/A").
bool ReadRowAddresses(const char* ipText, const char* snText, std::uint32_t& ip,
                      std::optional<std::uint32_t>& mask);
CString MacText(const std::uint8_t* macId);

struct ColumnLayout {
    CString heading;
    int width;
};

// Entries of "heading,width" ended by ";" or the end; see SetupColumns.
std::vector<ColumnLayout> ParseColumnLayout(const char* layout);

// One line of copied text: the cells joined by tabs and ended by CRLF, so
// that a spreadsheet takes each cell into a column of its own. A tab or a
// line break inside a cell would split it, so it becomes a blank; then each
// cell is guarded as SpreadsheetCell guards it, as a module's texts come from
// the network.
CString CopyLine(const std::vector<CString>& cells);

#endif
