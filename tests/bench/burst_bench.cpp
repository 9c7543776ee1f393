// Burst benchmark, run under Wine on the test segment: the simulator
// answers one scan with N modules, all at once or spread over S ms, and
// this prints how many answers the library queued and when the last one
// arrived. Arguments: runs as N or N@S (default 10 50 250 1000 1000@100).
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim_control.h"
#include "vorn.h"

namespace {

volatile LONG g_answers = 0;
LARGE_INTEGER g_lastAnswer;

void OnNotify(int code) {
    if (code != VORN_NOTIFY_RESPONSE) return;
    QueryPerformanceCounter(&g_lastAnswer);
    InterlockedIncrement(&g_answers);
}

struct Run {
    int count;
    int spreadMs;
};

Run ParseRun(const std::string& text) {
    const std::size_t at = text.find('@');
    return Run{std::atoi(text.substr(0, at).c_str()), at == std::string::npos ? 0 : std::atoi(text.c_str() + at + 1)};
}

// Counts answers until the expected number arrived or none came for a while.
LONG WaitForAnswers(LONG expected) {
    LONG seen = -1;
    for (int quietRounds = 0; quietRounds < 30 && g_answers < expected;) {
        Sleep(50);
        quietRounds = (g_answers == seen) ? quietRounds + 1 : 0;
        seen = g_answers;
    }
    return g_answers;
}

int GrantedReceiveBuffer(int requested) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&requested), sizeof requested);
    int granted = 0;
    int length = sizeof granted;
    getsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted), &length);
    closesocket(s);
    return granted;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> runs(argv + 1, argv + argc);
    if (runs.empty()) runs = {"10", "50", "250", "1000", "1000@100"};
    VORN_RegisterCallBack(&OnNotify);
    VORN_Start();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::printf("platform grants SO_RCVBUF 1048576 -> %d bytes\n", GrantedReceiveBuffer(1 << 20));
    int failures = 0;
    for (const std::string& text : runs) {
        const Run run = ParseRun(text);
        const std::string reset =
            "reset --count " + std::to_string(run.count) + " --spread " + std::to_string(run.spreadMs);
        if (kltest::Sim(reset) != "OK") {
            std::printf("simulator did not accept: %s\n", reset.c_str());
            ++failures;
            continue;
        }
        VORN_ModuleScanResponseType response;
        while (VORN_GetResponse(&response)) {
        }
        InterlockedExchange(&g_answers, 0);
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        VORN_SendModuleScan();
        const LONG queued = WaitForAnswers(run.count);
        const double lastMs =
            queued ? 1000.0 * static_cast<double>(g_lastAnswer.QuadPart - start.QuadPart) / frequency.QuadPart : 0.0;
        std::printf("answers %5d %-14s queued %5ld of %5d  last answer after %8.1f ms\n", run.count,
                    run.spreadMs ? ("spread " + std::to_string(run.spreadMs) + " ms").c_str() : "all at once",
                    static_cast<long>(queued), run.count, lastMs);
        std::fflush(stdout);
        while (VORN_GetResponse(&response)) {
        }
    }
    return failures ? 1 : 0;
}
