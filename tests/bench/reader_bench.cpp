// Datagrams per second through the reader for a typical scan answer.
#include <benchmark/benchmark.h>

#include <string>

#include "receive_queues.h"
#include "wire_messages.h"

namespace {

// A typical answer of about 250 bytes, NUL included.
const std::string kAnswer =
    std::string("protocol version = 1.10;fb type = IO-GATEWAY-8DI-8DO;module version = 2.03.117;"
                "mac = 02-12-34-56-78-9A;ip = 192.168.100.120;sn = 255.255.255.0;gw = 192.168.100.1;"
                "dhcp = off;pswd = on;hn = press-line-4-station-12;dns1 = 192.168.100.1;dns2 = 192.168.100.2;") +
    '\0';

void ReadScanAnswer(benchmark::State& state) {
    for (auto _ : state) {
        VORN_ModuleScanResponseType r = vorn::ReadScanAnswer(vorn::ReceivedText(kAnswer.data(), kAnswer.size()));
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kAnswer.size()));
}
BENCHMARK(ReadScanAnswer);

// The whole receive step's work per datagram: classify, read, queue, take.
void DispatchAndTake(benchmark::State& state) {
    vorn::ReceiveQueues queues;
    VORN_ModuleScanResponseType r;
    for (auto _ : state) {
        queues.Dispatch(kAnswer.data(), kAnswer.size());
        queues.TakeResponse(r);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DispatchAndTake);

}  // namespace

BENCHMARK_MAIN();
