#include "receive_queues.h"

#include "adapter_sends.h"
#include "request_echoes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vorn {
namespace {

// What the callback saw: the code and the queue sizes at that moment.
struct Seen {
    int code;
    std::size_t responses;
    std::size_t invalid;
};
std::vector<Seen> g_seen;
ReceiveQueues* g_queues = nullptr;

void Record(int code) { g_seen.push_back({code, g_queues->ResponseCount(), g_queues->InvalidPasswordCount()}); }

class ReceiveQueuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_seen.clear();
        g_queues = &queues;
        queues.SetCallback(&Record);
    }
    void Feed(const std::string& text) { queues.Dispatch(text.c_str(), text.size() + 1); }

    ReceiveQueues queues;
};

TEST_F(ReceiveQueuesTest, EachEntryQueuedBeforeItsNotificationInArrivalOrder) {
    for (int i = 0; i < 10; ++i) Feed("hn = m" + std::to_string(i) + ";");
    ASSERT_EQ(g_seen.size(), 10u);
    for (std::size_t i = 0; i < g_seen.size(); ++i) {
        EXPECT_EQ(g_seen[i].code, 1);
        EXPECT_EQ(g_seen[i].responses, i + 1);
    }
    VORN_ModuleScanResponseType r;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(queues.TakeResponse(r));
        EXPECT_EQ(std::string(r.hn), "m" + std::to_string(i));
    }
    std::memset(&r, 0xAB, sizeof r);
    EXPECT_FALSE(queues.TakeResponse(r));
    for (std::size_t i = 0; i < sizeof r; ++i) ASSERT_EQ(reinterpret_cast<unsigned char*>(&r)[i], 0xAB);
}

TEST_F(ReceiveQueuesTest, RepliesAndScanRequests) {
    Feed("Reconfigured: 02-12-34-56-78-9A");
    Feed("module scan");
    Feed("Invalid Password: 02-12-34-56-78-9A");
    Feed("Invalid Password:x");
    ASSERT_EQ(g_seen.size(), 3u);
    EXPECT_EQ(g_seen[0].code, 2);
    EXPECT_EQ(g_seen[0].responses + g_seen[0].invalid, 0u);
    EXPECT_EQ(g_seen[1].code, 3);
    EXPECT_EQ(g_seen[1].invalid, 1u);
    EXPECT_EQ(g_seen[2].code, 3);
    EXPECT_EQ(queues.ResponseCount(), 0u);

    std::uint8_t mac[6] = {};
    std::uint8_t again[6] = {};
    ASSERT_TRUE(queues.PeekInvalidPasswordMac(mac));
    ASSERT_TRUE(queues.PeekInvalidPasswordMac(again));
    EXPECT_EQ(0, std::memcmp(mac, again, 6));
    EXPECT_EQ(mac[5], 0x9A);
    queues.RemoveFirstInvalidPasswordMac();
    ASSERT_TRUE(queues.PeekInvalidPasswordMac(mac));
    EXPECT_EQ(mac[0], 0xFF);
    queues.RemoveFirstInvalidPasswordMac();
    queues.RemoveFirstInvalidPasswordMac();
    std::memset(mac, 0x11, sizeof mac);
    EXPECT_FALSE(queues.PeekInvalidPasswordMac(mac));
    EXPECT_EQ(mac[0], 0x11);
}

TEST_F(ReceiveQueuesTest, WithoutCallbackAnswersAreStillQueued) {
    queues.SetCallback(nullptr);
    Feed("ip = 1.2.3.4;");
    Feed("ip = 1.2.3.5;");
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(queues.ResponseCount(), 2u);
    queues.Clear();
    EXPECT_EQ(queues.ResponseCount(), 0u);
}

// An empty datagram carries no text and is dropped; one that begins with
// NUL has an empty text, which is an answer without any key.
TEST_F(ReceiveQueuesTest, EmptyDatagramIsDroppedNulFirstIsAnAnswer) {
    const char nulFirst[] = {'\0', 'h', 'n', ' ', '=', ' ', 'x', ';'};
    queues.Dispatch(nulFirst, 0);
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(queues.ResponseCount(), 0u);
    queues.Dispatch(nulFirst, sizeof nulFirst);
    ASSERT_EQ(g_seen.size(), 1u);
    VORN_ModuleScanResponseType r;
    ASSERT_TRUE(queues.TakeResponse(r));
    EXPECT_EQ(r.hnValid + r.macIdValid + r.ipValid, 0);
}

// A flood cannot make the queues grow without bound: beyond the capacity
// entries are dropped without a notification, and room taken frees a place.
TEST_F(ReceiveQueuesTest, FullQueuesDropWithoutNotification) {
    const std::size_t extra = 10;
    for (std::size_t i = 0; i < ReceiveQueues::kCapacity + extra; ++i) {
        Feed("hn = m" + std::to_string(i) + ";");
        Feed("Invalid Password: 02-00-00-00-00-01");
    }
    EXPECT_EQ(queues.ResponseCount(), ReceiveQueues::kCapacity);
    EXPECT_EQ(queues.InvalidPasswordCount(), ReceiveQueues::kCapacity);
    EXPECT_EQ(g_seen.size(), 2 * ReceiveQueues::kCapacity);
    Feed("Reconfigured:");  // queues nothing, so it is never dropped
    EXPECT_EQ(g_seen.back().code, 2);

    VORN_ModuleScanResponseType r;
    ASSERT_TRUE(queues.TakeResponse(r));
    EXPECT_STREQ(r.hn, "m0");
    queues.RemoveFirstInvalidPasswordMac();
    Feed("hn = late;");
    Feed("Invalid Password: 02-00-00-00-00-02");
    ASSERT_EQ(g_seen.size(), 2 * ReceiveQueues::kCapacity + 3);
    EXPECT_EQ(g_seen[g_seen.size() - 2].code, 1);
    EXPECT_EQ(g_seen.back().code, 3);
    std::string last;
    while (queues.TakeResponse(r)) last = r.hn;
    EXPECT_EQ(last, "late");
}

TEST_F(ReceiveQueuesTest, DatagramWithoutNulIsReadToItsLength) {
    const char raw[] = {'h', 'n', ' ', '=', ' ', 'a', 'b'};
    queues.Dispatch(raw, sizeof raw);
    VORN_ModuleScanResponseType r;
    ASSERT_TRUE(queues.TakeResponse(r));
    EXPECT_STREQ(r.hn, "ab");
}

// Copies of a request sent through two adapters: the first to come back,
// from either address, is read; the further ones are not. Nothing else is
// held back: not another sender, port or text, and not a request that went
// out once.
TEST(RequestEchoes, OnlyTheFirstCopyOfARequestOfSeveralIsRead) {
    const std::string request = std::string("Configure: 02-00-00-00-00-01;IP = 10.0.0.5;") + '\0';
    const std::uint32_t first = 0xC6120001u, second = 0xC6130001u, module = 0xC612000Bu;
    RequestEchoes echoes;
    const auto further = [&](const std::string& bytes, std::uint32_t from, std::uint16_t port) {
        return echoes.IsFurtherCopy(bytes.data(), bytes.size(), from, port);
    };
    echoes.Sent(request.data(), request.size(), 2, {first, second});
    EXPECT_FALSE(further(request, module, kPort)) << "a module's datagram";
    EXPECT_FALSE(further(request, second, 3251)) << "another port";
    EXPECT_FALSE(further(request.substr(0, request.size() - 1), second, kPort)) << "other bytes";
    EXPECT_FALSE(further(request, second, kPort)) << "the first copy";
    EXPECT_TRUE(further(request, first, kPort));
    EXPECT_TRUE(further(request, second, kPort)) << "a copy brought twice";
    EXPECT_FALSE(further("Reconfigured:", first, kPort));

    echoes.Sent(request.data(), request.size(), 2, {first, second});
    EXPECT_FALSE(further(request, first, kPort)) << "the same request again has a first copy of its own";
    echoes.Sent(request.data(), request.size(), 1, {first, second});
    EXPECT_FALSE(further(request, first, kPort));
    EXPECT_FALSE(further(request, first, kPort)) << "one copy sent: every echo is read";
}

// The socket's side, scripted: which interfaces cannot be picked, through
// which a send fails, where the sends went and every call in its order.
struct ScriptedSocket {
    std::vector<std::uint32_t> refused;
    std::vector<std::uint32_t> failing;
    std::vector<std::uint32_t> sentThrough;
    std::vector<std::string> calls;
    std::uint32_t current = 0;
    bool Pick(std::uint32_t index) {
        const bool picked = std::find(refused.begin(), refused.end(), index) == refused.end();
        calls.push_back("pick " + std::to_string(index) + (picked ? "" : " refused"));
        if (picked) current = index;
        return picked;
    }
    int SendAll(const std::vector<std::uint32_t>& interfaces) {
        return SendThroughEachInterface(
            interfaces, [this](std::uint32_t index) { return Pick(index); },
            [this] {
                const bool sent = std::find(failing.begin(), failing.end(), current) == failing.end();
                calls.push_back("send through " + std::to_string(current) + (sent ? "" : " failed"));
                if (sent) sentThrough.push_back(current);
                return sent;
            });
    }
};

TEST(AdapterSends, OncePerAdapterAndOncePlainWhenNoneWentOut) {
    ScriptedSocket each;
    EXPECT_EQ(each.SendAll({3, 7}), 2);
    EXPECT_EQ(each.sentThrough, (std::vector<std::uint32_t>{3, 7}));
    EXPECT_EQ(each.current, 0u) << "the routing table chooses again";

    ScriptedSocket oneRefused;
    oneRefused.refused = {7};
    EXPECT_EQ(oneRefused.SendAll({3, 7}), 1);
    EXPECT_EQ(oneRefused.sentThrough, std::vector<std::uint32_t>{3});

    // One plain broadcast, sent only after the choice went back to the
    // routing table.
    ScriptedSocket allRefused;
    allRefused.refused = {3, 7};
    EXPECT_EQ(allRefused.SendAll({3, 7}), 1);
    EXPECT_EQ(allRefused.calls,
              (std::vector<std::string>{"pick 3 refused", "pick 7 refused", "pick 0", "send through 0"}));

    ScriptedSocket noneGoesOut;
    noneGoesOut.failing = {3, 7};
    EXPECT_EQ(noneGoesOut.SendAll({3, 7}), 1);
    EXPECT_EQ(noneGoesOut.calls, (std::vector<std::string>{"pick 3", "send through 3 failed", "pick 7",
                                                           "send through 7 failed", "pick 0", "send through 0"}));

    ScriptedSocket noAdapter;
    EXPECT_EQ(noAdapter.SendAll({}), 0);
    EXPECT_TRUE(noAdapter.sentThrough.empty());
}

}  // namespace
}  // namespace vorn
