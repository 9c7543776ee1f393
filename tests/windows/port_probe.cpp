#include "port_probe.h"

#include <winsock2.h>

namespace kltest {

bool ModulePortIsFree() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(3250);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    const bool bound = probe != INVALID_SOCKET && bind(probe, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
    if (probe != INVALID_SOCKET) closesocket(probe);
    WSACleanup();
    return bound;
}

}  // namespace kltest
