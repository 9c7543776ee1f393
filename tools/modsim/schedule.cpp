#include "schedule.h"

#include <algorithm>

namespace modsim {

std::vector<AnswerSlot> answerSchedule(std::size_t count, std::uint32_t spreadMs,
                                       bool jitter, std::mt19937& rng) {
  const std::uint64_t spreadUs = std::uint64_t{spreadMs} * 1000;
  std::vector<AnswerSlot> slots(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint64_t delayUs = 0;
    if (spreadUs > 0) {
      // The engine's raw output is fixed by the standard, unlike the
      // distributions, so a seed gives the same schedule on every build.
      delayUs = jitter ? rng() % spreadUs : spreadUs * i / count;
    }
    slots[i] = {i, std::chrono::microseconds(delayUs)};
  }
  std::stable_sort(slots.begin(), slots.end(), [](const AnswerSlot& a, const AnswerSlot& b) {
    return a.delay < b.delay;
  });
  return slots;
}

}  // namespace modsim
