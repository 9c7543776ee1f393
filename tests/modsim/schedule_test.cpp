#include "schedule.h"

#include <gtest/gtest.h>

#include <set>

namespace modsim {
namespace {

using std::chrono::microseconds;

TEST(Schedule, ZeroSpreadIsOneBurstInModuleOrder) {
  std::mt19937 rng(1);
  for (bool jitter : {false, true}) {
    const auto slots = answerSchedule(4, 0, jitter, rng);
    ASSERT_EQ(slots.size(), 4u);
    for (std::size_t i = 0; i < slots.size(); ++i) {
      EXPECT_EQ(slots[i].module, i);
      EXPECT_EQ(slots[i].delay, microseconds(0));
    }
  }
}

TEST(Schedule, SpreadSpacesAnswersEvenly) {
  std::mt19937 rng(1);
  const auto slots = answerSchedule(4, 100, false, rng);
  ASSERT_EQ(slots.size(), 4u);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    EXPECT_EQ(slots[i].module, i);
    EXPECT_EQ(slots[i].delay, microseconds(25000 * i));
  }
}

TEST(Schedule, UnevenDivisionStaysInsideTheSpread) {
  std::mt19937 rng(1);
  const auto slots = answerSchedule(3, 1, false, rng);
  ASSERT_EQ(slots.size(), 3u);
  EXPECT_EQ(slots[1].delay, microseconds(333));
  EXPECT_EQ(slots[2].delay, microseconds(666));
}

TEST(Schedule, NoModulesNoAnswers) {
  std::mt19937 rng(1);
  EXPECT_TRUE(answerSchedule(0, 100, true, rng).empty());
}

TEST(Schedule, JitterStaysWithinSpreadAndSendsEveryModuleOnce) {
  std::mt19937 rng(7);
  const auto slots = answerSchedule(200, 50, true, rng);
  ASSERT_EQ(slots.size(), 200u);
  std::set<std::size_t> modules;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    EXPECT_GE(slots[i].delay, microseconds(0));
    EXPECT_LT(slots[i].delay, microseconds(50000));
    if (i > 0) {
      EXPECT_LE(slots[i - 1].delay, slots[i].delay) << "slots come in send order";
    }
    modules.insert(slots[i].module);
  }
  EXPECT_EQ(modules.size(), 200u);
}

TEST(Schedule, JitterRepeatsForTheSameSeedAndDiffersBetweenScans) {
  std::mt19937 first(42);
  std::mt19937 second(42);
  const auto a = answerSchedule(20, 1000, true, first);
  const auto b = answerSchedule(20, 1000, true, second);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].module, b[i].module);
    EXPECT_EQ(a[i].delay, b[i].delay);
  }
  const auto next = answerSchedule(20, 1000, true, first);
  bool changed = false;
  for (std::size_t i = 0; i < a.size(); ++i) changed |= a[i].delay != next[i].delay;
  EXPECT_TRUE(changed);
}

TEST(Schedule, JitterShufflesTheAnswerOrder) {
  std::mt19937 rng(3);
  const auto slots = answerSchedule(20, 1000, true, rng);
  bool inModuleOrder = true;
  for (std::size_t i = 0; i < slots.size(); ++i) inModuleOrder &= slots[i].module == i;
  EXPECT_FALSE(inModuleOrder);
}

}  // namespace
}  // namespace modsim
