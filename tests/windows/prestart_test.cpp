// The library as a freshly started process finds it: loading binds
// nothing, the first call opens the socket, and a scan sent before the
// engine runs is answered once the worker thread starts. Its own process,
// because the socket is opened and the engine started once per process.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "notification_recorder.h"
#include "port_probe.h"
#include "sim_control.h"
#include "vorn.h"

using kltest::ModulePortIsFree;

TEST(EngineBeforeStart, FirstCallBindsAndAnEarlyScanIsAnsweredOnceTheWorkerRuns) {
    kltest::NotificationRecorder& recorder = kltest::NotificationRecorder::Instance();
    ASSERT_EQ(kltest::Sim("reset --count 4"), "OK");
    EXPECT_TRUE(ModulePortIsFree()) << "the library bound the port while loading";
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    EXPECT_FALSE(ModulePortIsFree()) << "the first call left the port unbound";
    Sleep(500);
    VORN_RegisterCallBack(&kltest::NotificationRecorder::OnNotify);
    EXPECT_TRUE(recorder.Codes().empty());
    VORN_Start();
    ASSERT_TRUE(recorder.WaitForCount(4)) << "the engine did not start";
    recorder.WaitForQuiet();
    EXPECT_EQ(recorder.Codes(), std::vector<int>(4, 1));
    int taken = 0;
    VORN_ModuleScanResponseType response;
    while (VORN_GetResponse(&response)) ++taken;
    EXPECT_EQ(taken, 4);
}
