// The configure flow: from a double-clicked row of the module list, or its
// menu, to a configure request on the wire.
#ifndef KL_CONFIGURE_CONFIGURE_FLOW_H
#define KL_CONFIGURE_CONFIGURE_FLOW_H

#include "workstation_subnets.h"

class CModuleListCtrl;

// Opens the configure dialog for the module shown in row and, after "Set"
// with a legal host name and passwords without ";", sends the request and
// records the module as the one configured last.
void ConfigureModule(CModuleListCtrl& list, int row);

// The same, with the dialog proposing an address in the adapter's subnet
// that nothing holds (IsAddressTaken), the adapter's mask and its gateway. When no
// such address is found, a warning says so and no dialog opens.
void MoveModuleIntoSubnet(CModuleListCtrl& list, int row, const WorkstationAdapter& adapter);

#endif
