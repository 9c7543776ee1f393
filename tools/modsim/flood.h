// A flood: one datagram, or scan answers of ever new MACs, sent to one
// peer back to back for a while, as a broadcast storm or a hostile host
// would send them.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "module.h"

namespace modsim {

struct FloodOptions {
  std::uint32_t durationMs = 0;
  std::uint32_t rate = 0;    // datagrams per second; 0: as fast as possible
  bool answers = false;      // scan answers, each with a MAC of its own
  std::string datagram;      // otherwise this datagram, again and again
};

// The datagrams a flood sends, one after the other. Answers are those of
// the model module with its MAC counted up from firstMac, so that no two
// are alike.
class FloodSource {
 public:
  FloodSource(const FloodOptions& options, const Module& model, const Mac& firstMac);
  const std::string& next();

 private:
  const FloodOptions options_;
  Module module_;
  const Mac firstMac_;
  std::uint64_t count_ = 0;
  std::string answer_;
};

// How many datagrams a flood at this rate has sent by `elapsed`; without a
// rate, as many as can be sent, which the caller bounds by its batch.
std::uint64_t floodDue(std::uint32_t rate, std::chrono::microseconds elapsed);

}  // namespace modsim
