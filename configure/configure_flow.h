// The configure flow: from a double-clicked row of the module list to a
// configure request on the wire.
#ifndef KL_CONFIGURE_CONFIGURE_FLOW_H
#define KL_CONFIGURE_CONFIGURE_FLOW_H

class CModuleListCtrl;

// Opens the configure dialog for the module shown in row and, after "Set"
// with a legal host name and passwords without ";", sends the request and
// records the module as the one configured last.
void ConfigureModule(CModuleListCtrl& list, int row);

#endif
