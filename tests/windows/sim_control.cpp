#include "sim_control.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <sstream>

namespace kltest {

std::vector<std::string> SimulatorAddresses(const char* variable) {
    std::vector<std::string> result;
    const char* list = std::getenv(variable);
    std::stringstream stream(list ? list : "");
    std::string address;
    while (std::getline(stream, address, ',')) {
        if (!address.empty()) result.push_back(address);
    }
    return result;
}

static int ControlPort() {
    const char* port = std::getenv("KL_SIM_CONTROL_PORT");
    return port ? std::atoi(port) : 3251;
}

std::string SimCommand(const std::string& address, const std::string& command, int timeoutMs) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) return "ERR no socket";
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(ControlPort()));
    inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    DWORD timeout = static_cast<DWORD>(timeoutMs);
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    sendto(s, command.data(), static_cast<int>(command.size()), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    char reply[2048];
    const int n = recv(s, reply, sizeof reply - 1, 0);
    closesocket(s);
    WSACleanup();
    if (n <= 0) return "TIMEOUT";
    std::string text(reply, static_cast<std::size_t>(n));
    while (!text.empty() && (text.back() == '\0' || text.back() == '\n')) text.pop_back();
    return text;
}

std::string Sim(const std::string& command) {
    const std::vector<std::string> addresses = SimulatorAddresses();
    return addresses.empty() ? "ERR no simulator" : SimCommand(addresses.front(), command);
}

std::string HexOf(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

}  // namespace kltest
