// The library loaded and freed at run time, as a caller that unloads it
// would: before its engine starts, freeing it unloads it and gives the
// port back; once started, it stays loaded and its worker keeps serving
// the exports. Its own process, with vorn.dll not in its import table.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "port_probe.h"
#include "sim_control.h"
#include "vorn.h"

namespace {

using kltest::ModulePortIsFree;

template <typename Function>
Function Export(HMODULE library, const char* name) {
    // Through an untyped pointer: the procedure address has no prototype of its own.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

using ScanFn = int (*)(void);
using StartFn = int (*)(void);
using GetResponseFn = int (*)(VORN_ModuleScanResponseType*);

TEST(Unload, BeforeStartFreeingTheLibraryUnloadsItAndGivesThePortBack) {
    ASSERT_EQ(GetModuleHandleA("vorn.dll"), nullptr);
    HMODULE library = LoadLibraryA("vorn.dll");
    ASSERT_NE(library, nullptr);
    const ScanFn scan = Export<ScanFn>(library, "VORN_SendModuleScan");
    ASSERT_NE(scan, nullptr);
    ASSERT_EQ(scan(), 1);
    EXPECT_FALSE(ModulePortIsFree());
    ASSERT_TRUE(FreeLibrary(library));
    EXPECT_EQ(GetModuleHandleA("vorn.dll"), nullptr) << "still loaded";
    EXPECT_TRUE(ModulePortIsFree()) << "the socket was left open";
}

// Freed while its worker and timer run, the library would take their
// code with it; it stays, and a scan is still answered.
TEST(Unload, OnceStartedTheLibraryStaysLoadedAndKeepsWorking) {
    ASSERT_EQ(kltest::Sim("reset --count 3"), "OK");
    HMODULE library = LoadLibraryA("vorn.dll");
    ASSERT_NE(library, nullptr);
    const StartFn start = Export<StartFn>(library, "VORN_Start");
    const ScanFn scan = Export<ScanFn>(library, "VORN_SendModuleScan");
    const GetResponseFn getResponse = Export<GetResponseFn>(library, "VORN_GetResponse");
    ASSERT_TRUE(start && scan && getResponse);
    ASSERT_EQ(start(), 1);
    ASSERT_TRUE(FreeLibrary(library));
    EXPECT_EQ(GetModuleHandleA("vorn.dll"), library) << "unloaded under its running worker";
    Sleep(200);  // the worker and the timer go on meanwhile
    ASSERT_EQ(scan(), 1);
    int answers = 0;
    VORN_ModuleScanResponseType response;
    for (int waited = 0; waited < 5000 && answers < 3; waited += 10) {
        while (getResponse(&response)) ++answers;
        Sleep(10);
    }
    EXPECT_EQ(answers, 3);
}

}  // namespace
