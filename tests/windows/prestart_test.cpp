// A scan sent before the engine runs: the answers wait in the socket and
// are read once the worker thread starts. Its own process, because the
// engine starts once per process.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "notification_recorder.h"
#include "sim_control.h"
#include "vorn.h"

TEST(EngineBeforeStart, ScanSentEarlyIsAnsweredOnceTheWorkerRuns) {
    kltest::NotificationRecorder& recorder = kltest::NotificationRecorder::Instance();
    ASSERT_EQ(kltest::Sim("reset --count 4"), "OK");
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    Sleep(500);
    VORN_RegisterCallBack(&kltest::NotificationRecorder::OnNotify);
    EXPECT_TRUE(recorder.Codes().empty());
    ASSERT_EQ(VORN_Start(), 1);
    ASSERT_TRUE(recorder.WaitForCount(4));
    recorder.WaitForQuiet();
    EXPECT_EQ(recorder.Codes(), std::vector<int>(4, 1));
    int taken = 0;
    VORN_ModuleScanResponseType response;
    while (VORN_GetResponse(&response)) ++taken;
    EXPECT_EQ(taken, 4);
}
