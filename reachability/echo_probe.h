// Whether something answers at an address: one ICMP echo, for the
// addresses offered to a module moved into this computer's subnet.
#ifndef KL_REACHABILITY_ECHO_PROBE_H
#define KL_REACHABILITY_ECHO_PROBE_H

#include <windows.h>

#include <cstdint>

// The longest wait for an echo's reply.
constexpr DWORD kEchoTimeoutMs = 300;

// True when an echo reply came back within timeoutMs; false on silence,
// and when no echo could be sent at all.
bool AnswersEcho(std::uint32_t address, DWORD timeoutMs);

#endif
