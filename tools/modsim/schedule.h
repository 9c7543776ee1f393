// When each module sends its answer to one scan.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace modsim {

struct AnswerSlot {
  std::size_t module;               // index into the population
  std::chrono::microseconds delay;  // from the arrival of the scan
};

// The answers of `count` modules in the order they are sent. A spread of 0
// is one burst (every delay 0). Otherwise the answers are spaced evenly over
// the spread, module i at spread * i / count; with jitter each module instead
// draws a random delay in [0, spread) from rng, so the order of the answers
// changes from scan to scan but repeats for the same seed.
std::vector<AnswerSlot> answerSchedule(std::size_t count, std::uint32_t spreadMs,
                                       bool jitter, std::mt19937& rng);

}  // namespace modsim
