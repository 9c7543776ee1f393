// A commissioning plan: a CSV file with a header line naming its columns
// and one row per module. Portable.
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

// The whole plan or nothing: false with "line N: <reason>" at the first
// fault (an unknown or repeated column, a row with another number of
// cells, a value the configure dialog would refuse, a MAC named twice).
bool ParsePlan(const std::string& text, std::vector<PlanRow>& rows, std::string& error);

#endif
