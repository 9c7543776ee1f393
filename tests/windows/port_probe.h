// Whether the module port is taken, seen from the test process itself.
#ifndef KL_TESTS_PORT_PROBE_H
#define KL_TESTS_PORT_PROBE_H

namespace kltest {

// Whether this process could bind UDP port 3250 right now.
bool ModulePortIsFree();

}  // namespace kltest

#endif
