#include "flood.h"

#include <algorithm>
#include <limits>

namespace modsim {

FloodSource::FloodSource(const FloodOptions& options, const Module& model, const Mac& firstMac)
    : options_(options), module_(model), firstMac_(firstMac) {}

const std::string& FloodSource::next() {
  if (!options_.answers) return options_.datagram;
  module_.mac = macPlus(firstMac_, count_++);
  answer_ = answerText(module_);
  answer_.push_back('\0');
  return answer_;
}

std::uint64_t floodDue(std::uint32_t rate, std::chrono::microseconds elapsed) {
  if (rate == 0) return std::numeric_limits<std::uint64_t>::max();
  const auto us = static_cast<std::uint64_t>(std::max<std::int64_t>(elapsed.count(), 0));
  return us * rate / 1000000;
}

}  // namespace modsim
