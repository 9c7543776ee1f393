// Steers the module simulators of the test segment over their control port.
#ifndef KL_TESTS_SIM_CONTROL_H
#define KL_TESTS_SIM_CONTROL_H

#include <string>
#include <vector>

namespace kltest {

// The simulator addresses the test segment exported: those of its first
// segment (KL_SIM_ADDRS) or, with --second-adapter, of its second
// (KL_SECOND_SIM_ADDRS).
std::vector<std::string> SimulatorAddresses(const char* variable = "KL_SIM_ADDRS");

// Sends one command to a simulator and returns its reply ("OK ..." or
// "ERR ..."), or "TIMEOUT" when none came within timeoutMs.
std::string SimCommand(const std::string& address, const std::string& command, int timeoutMs = 5000);

// The same command to the first simulator.
std::string Sim(const std::string& command);

// Bytes as the simulator reports them (last-configure): two upper-case
// hexadecimal digits each.
std::string HexOf(const std::string& bytes);

}  // namespace kltest

#endif
