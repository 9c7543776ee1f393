// The library's engine through its real exports, against the module
// simulator on the test segment.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "notification_recorder.h"
#include "sim_control.h"
#include "vorn.h"

namespace {

using kltest::DrainLibrary;
using kltest::NotificationRecorder;
using kltest::Sim;

std::uint32_t Addr(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

std::string MacText(const std::uint8_t* mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return text;
}

// The simulated modules are numbered from this MAC and 198.18.1.100.
const std::uint8_t kFirstMac[VORN_MAC_SIZE] = {0x02, 0x00, 0x00, 0x00, 0x01, 0x01};

// Rebuilds the simulated population from the first MAC and address above.
std::string Reset(const std::string& options) {
    return Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.1.100 " + options);
}

std::vector<VORN_ModuleScanResponseType> TakeAll() {
    std::vector<VORN_ModuleScanResponseType> all;
    VORN_ModuleScanResponseType response;
    while (VORN_GetResponse(&response)) all.push_back(response);
    return all;
}

VORN_ConfigureRequestType RequestFor(const std::uint8_t* mac) {
    VORN_ConfigureRequestType request;
    std::memset(&request, 0, sizeof request);
    std::memcpy(request.macId, mac, VORN_MAC_SIZE);
    request.ip = request.sn = request.gw = request.dns1 = request.dns2 = 0xFFFFFFFFu;
    request.dhcp = 0xFF;
    return request;
}

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        VORN_RegisterCallBack(&NotificationRecorder::OnNotify);
        VORN_Start();
    }
};

class Engine : public ::testing::Test {
protected:
    void SetUp() override {
        VORN_RegisterCallBack(&NotificationRecorder::OnNotify);
        NotificationRecorder::Instance().SetTakeInsideCallback(false);
        DrainLibrary();
    }
    void TearDown() override { DrainLibrary(); }

    NotificationRecorder& recorder = NotificationRecorder::Instance();
};

TEST_F(Engine, WholeScanReadsEveryField) {
    ASSERT_EQ(Reset("--count 3 --protect-every 2 --hostname-prefix press --sn 255.255.0.0 --gw 198.18.0.254 "
                  "--dns1 198.18.0.53 --dns2 none --type IO-GATEWAY --version 2.03.1 --protocol 1.10 --dhcp off"),
              "OK");
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    ASSERT_TRUE(recorder.WaitForCount(3));
    recorder.WaitForQuiet(300);
    // Our own "Module Scan" comes back to the socket and is ignored.
    EXPECT_EQ(recorder.Codes(), (std::vector<int>{1, 1, 1}));
    const std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 3u);
    for (unsigned i = 0; i < 3; ++i) {
        const VORN_ModuleScanResponseType& r = all[i];
        std::uint8_t mac[VORN_MAC_SIZE];
        std::memcpy(mac, kFirstMac, sizeof mac);
        mac[5] = static_cast<std::uint8_t>(mac[5] + i);
        EXPECT_EQ(MacText(r.macId), MacText(mac));
        EXPECT_EQ(r.protocolVersionMajor, 1);
        EXPECT_EQ(r.protocolVersionMinor, 10);
        EXPECT_STREQ(r.fbType, "IO-GATEWAY");
        EXPECT_EQ(r.moduleVersionMajor, 2);
        EXPECT_EQ(r.moduleVersionMinor, 3);
        EXPECT_EQ(r.moduleVersionBuild, 1);
        EXPECT_EQ(r.ip, Addr(198, 18, 1, 100 + i));
        EXPECT_EQ(r.sn, Addr(255, 255, 0, 0));
        EXPECT_EQ(r.gw, Addr(198, 18, 0, 254));
        EXPECT_EQ(r.dhcp, 0);
        EXPECT_EQ(r.pswd, i % 2 == 0 ? 1 : 0);
        EXPECT_EQ(std::string(r.hn), "press" + std::to_string(i));
        EXPECT_EQ(r.dns1, Addr(198, 18, 0, 53));
        EXPECT_EQ(r.dns2Valid, 0);
        EXPECT_EQ(r.dns2, 0xFFFFFFFFu);
        EXPECT_EQ(r.protocolVersionValid + r.fbTypeValid + r.moduleVersionValid + r.macIdValid + r.ipValid +
                      r.snValid + r.gwValid + r.dhcpValid + r.pswdValid + r.hnValid + r.dns1Valid,
                  11);
    }
}

TEST_F(Engine, BurstOfTenQueuedAndNotifiedInArrivalOrder) {
    ASSERT_EQ(Reset("--count 10 --spread 0"), "OK");
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    ASSERT_TRUE(recorder.WaitForCount(10));
    recorder.WaitForQuiet();
    EXPECT_EQ(recorder.Codes(), std::vector<int>(10, 1));
    const std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 10u);
    for (unsigned i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].macId[5], kFirstMac[5] + i) << i;
    VORN_ModuleScanResponseType untouched;
    std::memset(&untouched, 0x5A, sizeof untouched);
    EXPECT_EQ(VORN_GetResponse(&untouched), 0);
    for (std::size_t i = 0; i < sizeof untouched; ++i) ASSERT_EQ(reinterpret_cast<unsigned char*>(&untouched)[i], 0x5A);
}

// A busy segment answers nearly at once; the socket must hold the burst
// until the worker drains it.
TEST_F(Engine, BurstOfTwoHundredFiftyIsQueuedInFull) {
    ASSERT_EQ(Reset("--count 250 --spread 0"), "OK");
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    recorder.WaitForCount(250, 10000);
    recorder.WaitForQuiet(300);
    const std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 250u);
    for (unsigned i = 0; i < all.size(); ++i) {
        const unsigned mac = (all[i].macId[4] << 8) | all[i].macId[5];
        ASSERT_EQ(mac, 0x0101u + i);
    }
}

TEST_F(Engine, CallbackTakesItsResponseFromInsideTheNotification) {
    recorder.SetTakeInsideCallback(true);
    ASSERT_EQ(Reset("--count 5"), "OK");
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    ASSERT_TRUE(recorder.WaitForCount(5));
    recorder.WaitForQuiet();
    const std::vector<VORN_ModuleScanResponseType> taken = recorder.TakenInside();
    ASSERT_EQ(taken.size(), 5u);
    for (unsigned i = 0; i < taken.size(); ++i) EXPECT_EQ(taken[i].macId[5], kFirstMac[5] + i);
    EXPECT_TRUE(TakeAll().empty());
}

TEST_F(Engine, WithoutCallbackAnswersAreStillQueued) {
    VORN_RegisterCallBack(nullptr);
    ASSERT_EQ(Reset("--count 4"), "OK");
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    Sleep(500);
    EXPECT_TRUE(recorder.Codes().empty());
    const std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].macId[5], kFirstMac[5]);
    EXPECT_EQ(all[3].macId[5], kFirstMac[5] + 3);
}

void ThrowingCallback(int) { throw 42; }

// A callback that throws must not stop the library from receiving.
TEST_F(Engine, ThrowingCallbackDoesNotStopTheWorker) {
    VORN_RegisterCallBack(&ThrowingCallback);
    ASSERT_EQ(Reset("--count 3"), "OK");
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    Sleep(500);
    VORN_RegisterCallBack(&NotificationRecorder::OnNotify);
    EXPECT_EQ(TakeAll().size(), 3u);
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    ASSERT_TRUE(recorder.WaitForCount(3));
    recorder.WaitForQuiet();
    EXPECT_EQ(TakeAll().size(), 3u);
}

TEST_F(Engine, SecondStartChangesNothing) {
    VORN_RegisterCallBack(nullptr);
    ASSERT_EQ(Reset("--count 2"), "OK");
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    Sleep(300);
    VORN_Start();
    EXPECT_EQ(TakeAll().size(), 2u);
}

TEST_F(Engine, InvalidPasswordQueueIsPeekedThenRemoved) {
    ASSERT_EQ(Sim("send-batch send-text Invalid Password: 02-12-34-56-78-9A|send-text Invalid Password: 02-12-34|"
                  "send-text Invalid Password:02-12-34-56-78-9A"),
              "OK");
    ASSERT_TRUE(recorder.WaitForCount(3));
    EXPECT_EQ(recorder.Codes(), (std::vector<int>{3, 3, 3}));
    std::uint8_t mac[VORN_MAC_SIZE];
    ASSERT_EQ(VORN_GetInvPswdMacId(mac), 1);
    EXPECT_EQ(MacText(mac), "02-12-34-56-78-9A");
    ASSERT_EQ(VORN_GetInvPswdMacId(mac), 1);
    EXPECT_EQ(MacText(mac), "02-12-34-56-78-9A");
    VORN_RemoveFirstInvPswdMacId();
    ASSERT_EQ(VORN_GetInvPswdMacId(mac), 1);
    EXPECT_EQ(MacText(mac), "02-12-34-FF-FF-FF");
    VORN_RemoveFirstInvPswdMacId();
    ASSERT_EQ(VORN_GetInvPswdMacId(mac), 1);
    EXPECT_EQ(MacText(mac), "FF-FF-FF-FF-FF-FF");
    VORN_RemoveFirstInvPswdMacId();
    std::memset(mac, 0x33, sizeof mac);
    EXPECT_EQ(VORN_GetInvPswdMacId(mac), 0);
    EXPECT_EQ(MacText(mac), "33-33-33-33-33-33");
    VORN_RemoveFirstInvPswdMacId();
    EXPECT_TRUE(TakeAll().empty());
}

TEST_F(Engine, ConfigureWithWrongPasswordIsRefused) {
    ASSERT_EQ(Reset("--count 1 --protect-every 1 --password right"), "OK");
    VORN_ConfigureRequestType request = RequestFor(kFirstMac);
    std::strcpy(request.pswd, "wrong");
    std::strcpy(request.hn, "renamed");
    VORN_SendConfigure(&request);
    ASSERT_TRUE(recorder.WaitForCount(2));
    recorder.WaitForQuiet();
    // Our own request comes back as an answer without MAC; then the refusal.
    const std::vector<int> codes = recorder.Codes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[1], 3);
    std::uint8_t mac[VORN_MAC_SIZE];
    ASSERT_EQ(VORN_GetInvPswdMacId(mac), 1);
    EXPECT_EQ(MacText(mac), MacText(kFirstMac));
}

TEST_F(Engine, ConfigureAcceptedGivesCodeTwoAndNewSettingsOnRescan) {
    ASSERT_EQ(Reset("--count 2 --protect-every 1 --password right"), "OK");
    VORN_ConfigureRequestType request = RequestFor(kFirstMac);
    std::strcpy(request.pswd, "right");
    std::strcpy(request.hn, "press_7");
    request.ip = Addr(198, 18, 7, 7);
    request.dhcp = 1;
    request.dns2 = Addr(198, 18, 0, 54);
    VORN_SendConfigure(&request);
    ASSERT_TRUE(recorder.WaitForCount(2));
    recorder.WaitForQuiet();
    const std::vector<int> codes = recorder.Codes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], 1);  // the request's own echo
    EXPECT_EQ(codes[1], 2);
    std::uint8_t mac[VORN_MAC_SIZE];
    EXPECT_EQ(VORN_GetInvPswdMacId(mac), 0);
    DrainLibrary();

    ASSERT_EQ(VORN_SendModuleScan(), 1);
    ASSERT_TRUE(recorder.WaitForCount(2));
    recorder.WaitForQuiet();
    const std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].ip, Addr(198, 18, 7, 7));
    EXPECT_EQ(all[0].dhcp, 1);
    EXPECT_STREQ(all[0].hn, "press_7");
    EXPECT_EQ(all[0].dns2, Addr(198, 18, 0, 54));
    EXPECT_EQ(all[1].ip, Addr(198, 18, 1, 101));
}

// A module restarting to take its settings replies at once, then stays
// silent for its restart time and answers with the new settings after it.
TEST_F(Engine, ARestartingModuleAnswersOnlyAfterItsRestartTime) {
    constexpr DWORD kRestartMs = 800;
    ASSERT_EQ(Reset("--count 2 --restart " + std::to_string(kRestartMs)), "OK");
    VORN_ConfigureRequestType request = RequestFor(kFirstMac);
    request.ip = Addr(198, 18, 7, 7);
    const ULONGLONG sent = GetTickCount64();
    VORN_SendConfigure(&request);
    ASSERT_TRUE(recorder.WaitForCount(2));
    EXPECT_EQ(recorder.Codes().back(), 2);
    EXPECT_EQ(Sim("configure-log"), "OK 02-00-00-00-01-01>198.18.7.7");
    DrainLibrary();

    ASSERT_EQ(VORN_SendModuleScan(), 1);
    ASSERT_TRUE(recorder.WaitForCount(1));
    recorder.WaitForQuiet(300);
    ASSERT_LT(GetTickCount64() - sent, kRestartMs) << "the machine was too slow to see the silence";
    std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].ip, Addr(198, 18, 1, 101));
    DrainLibrary();

    // The module's silence began when it took the request, a little after
    // it was sent: the scan waits that little longer.
    constexpr DWORD kMarginMs = 300;
    const ULONGLONG elapsed = GetTickCount64() - sent;
    if (elapsed < kRestartMs + kMarginMs) Sleep(static_cast<DWORD>(kRestartMs + kMarginMs - elapsed));
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    ASSERT_TRUE(recorder.WaitForCount(2));
    recorder.WaitForQuiet();
    all = TakeAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].ip + all[1].ip, Addr(198, 18, 7, 7) + Addr(198, 18, 1, 101));
}

TEST_F(Engine, OwnConfigureBroadcastIsReadAsAnAnswerWithoutMac) {
    const std::uint8_t nobody[VORN_MAC_SIZE] = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F};
    VORN_ConfigureRequestType request = RequestFor(nobody);
    request.ip = Addr(10, 1, 2, 3);
    request.gw = Addr(10, 1, 2, 254);
    request.dhcp = 0;
    VORN_SendConfigure(&request);
    ASSERT_TRUE(recorder.WaitForCount(1));
    recorder.WaitForQuiet();
    EXPECT_EQ(recorder.Codes(), std::vector<int>{1});
    const std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].macIdValid, 0);
    EXPECT_EQ(MacText(all[0].macId), "FF-FF-FF-FF-FF-FF");
    EXPECT_EQ(all[0].ip, Addr(10, 1, 2, 3));
    EXPECT_EQ(all[0].gw, Addr(10, 1, 2, 254));
    EXPECT_EQ(all[0].snValid, 0);
    EXPECT_EQ(all[0].dhcpValid, 1);
    EXPECT_EQ(all[0].dhcp, 0);
    EXPECT_EQ(all[0].hnValid, 1);
    EXPECT_STREQ(all[0].hn, "");
}

TEST_F(Engine, ReconfiguredInCapitalsNotifiesTwoAndQueuesNothing) {
    ASSERT_EQ(Sim("send-text RECONFIGURED: 02-12-34-56-78-9A"), "OK");
    ASSERT_TRUE(recorder.WaitForCount(1));
    recorder.WaitForQuiet();
    EXPECT_EQ(recorder.Codes(), std::vector<int>{2});
    EXPECT_TRUE(TakeAll().empty());
    std::uint8_t mac[VORN_MAC_SIZE];
    EXPECT_EQ(VORN_GetInvPswdMacId(mac), 0);
}

TEST_F(Engine, OversizedDatagramIsDroppedAndTheOnesBehindAreRead) {
    ASSERT_EQ(Sim("send-batch send-size 2000|send-size 1500|send-text hn = after;|send-text module scan"), "OK");
    ASSERT_TRUE(recorder.WaitForCount(2));
    recorder.WaitForQuiet();
    EXPECT_EQ(recorder.Codes(), (std::vector<int>{1, 1}));
    const std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].hnValid, 0);  // 1500 bytes of "x": read, no key in it
    EXPECT_STREQ(all[1].hn, "after");
}

// Neither an empty datagram nor one that begins with NUL stops reception:
// the answer behind each is queued. The empty one carries nothing; the
// other has an empty text, an answer without any key.
TEST_F(Engine, EmptyAndNulFirstDatagramsLeaveTheAnswersBehindThem) {
    ASSERT_EQ(Sim("send-batch send-size 0|send-text hn = after empty;"), "OK");
    ASSERT_TRUE(recorder.WaitForCount(1));
    recorder.WaitForQuiet();
    EXPECT_EQ(recorder.Codes(), std::vector<int>{1});
    std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_STREQ(all[0].hn, "after empty");

    // NUL, then "hn = x;"
    ASSERT_EQ(Sim("send-batch send-hex 00686e203d20783b|send-text hn = after nul;"), "OK");
    ASSERT_TRUE(recorder.WaitForCount(3));
    recorder.WaitForQuiet();
    EXPECT_EQ(recorder.Codes(), (std::vector<int>{1, 1, 1}));
    all = TakeAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].hnValid, 0);
    EXPECT_STREQ(all[1].hn, "after nul");
}

TEST_F(Engine, DatagramWithoutNulIsReadToItsLength) {
    // "hn = ab" without a terminating NUL.
    ASSERT_EQ(Sim("send-hex 686e203d206162"), "OK");
    ASSERT_TRUE(recorder.WaitForCount(1));
    const std::vector<VORN_ModuleScanResponseType> all = TakeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_STREQ(all[0].hn, "ab");
}

// A second process on the same host cannot bind port 3250: its scan fails
// and it receives nothing, while this process still gets the answers.
TEST_F(Engine, SecondProcessHasNoSocket) {
    ASSERT_EQ(Reset("--count 2"), "OK");
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string child(path);
    child = child.substr(0, child.find_last_of('\\') + 1) + "second_instance.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + child + "\"";
    ASSERT_TRUE(CreateProcessA(child.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    Sleep(1500);  // the child has loaded the library and started its engine
    ASSERT_EQ(VORN_SendModuleScan(), 1);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_EQ(exitCode, 0u) << "1 = its scan was sent, 2 = it received answers";
    EXPECT_EQ(TakeAll().size(), 2u);
}

TEST(LibraryFile, VersionResourceAndDllGetVersion) {
    HMODULE library = GetModuleHandleA("vorn.dll");
    ASSERT_NE(library, nullptr);
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(library, path, sizeof path), 0u);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00020000u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);

    for (const char* name : {"FileVersion", "ProductVersion"}) {
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_STREQ(value, "1, 1, 2, 0");
    }

    using GetVersionFn = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    // Through an untyped pointer: the procedure address has no prototype of its own.
    const auto getVersion =
        reinterpret_cast<GetVersionFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    ASSERT_NE(getVersion, nullptr);
    EXPECT_EQ(getVersion(nullptr), E_INVALIDARG);
    DLLVERSIONINFO info = {};
    EXPECT_EQ(getVersion(&info), 0);
    EXPECT_EQ(info.dwMajorVersion, 1u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwBuildNumber, 2u);
    EXPECT_EQ(info.dwPlatformID, static_cast<DWORD>(DLLVER_PLATFORM_WINDOWS));
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new EngineEnvironment);
    return RUN_ALL_TESTS();
}
