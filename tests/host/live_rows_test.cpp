// The live list's portable rules: the bounded record store, when a row is
// missing or dropped, what a listed module's changed answer does to its
// row, and the caption's counts.
#include "live_caption.h"
#include "module_store.h"
#include "row_presence.h"
#include "test_records.h"

#include <gtest/gtest.h>

namespace {

VORN_ModuleScanResponseType Answer(std::uint32_t number, std::uint32_t ip) {
    VORN_ModuleScanResponseType record = MissingEverything();
    const std::uint8_t mac[VORN_MAC_SIZE] = {0x02, 0, 0, static_cast<std::uint8_t>(number >> 16),
                                             static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
    std::memcpy(record.macId, mac, sizeof mac);
    record.macIdValid = 1;
    record.ip = ip;
    record.ipValid = 1;
    return record;
}

TEST(ModuleStore, KeepsTheFirstMacsUpToItsCapacityAndCountsTheOthers) {
    ModuleStore store;
    for (std::uint32_t n = 0; n < ModuleStore::kCapacity + 10; ++n) store.Add(Answer(n, n));
    EXPECT_EQ(store.size(), ModuleStore::kCapacity);
    EXPECT_EQ(store.TurnedAway(), 10u);
    const VORN_ModuleScanResponseType first = Answer(0, 0);
    const VORN_ModuleScanResponseType last = Answer(ModuleStore::kCapacity - 1, 0);
    const VORN_ModuleScanResponseType beyond = Answer(ModuleStore::kCapacity, 0);
    ASSERT_NE(store.Find(first.macId), nullptr);
    ASSERT_NE(store.Find(last.macId), nullptr);
    EXPECT_EQ(store.Find(last.macId)->ip, ModuleStore::kCapacity - 1);
    EXPECT_EQ(store.Find(beyond.macId), nullptr);
    // A listed MAC is no further MAC: its answers are not counted.
    EXPECT_FALSE(store.Add(first));
    EXPECT_EQ(store.TurnedAway(), 10u);
    store.Clear();
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(store.TurnedAway(), 0u);
    EXPECT_TRUE(store.Add(beyond));
}

TEST(ModuleStore, TheLatestAnswerReplacesARecordAndRemovalKeepsTheArrivalOrder) {
    ModuleStore store;
    for (std::uint32_t n = 1; n <= 4; ++n) ASSERT_TRUE(store.Add(Answer(n, n)));
    EXPECT_FALSE(store.Add(Answer(2, 20)));  // a second answer of a kept MAC
    EXPECT_EQ(store.Find(Answer(2, 0).macId)->ip, 2u);
    EXPECT_TRUE(store.Replace(Answer(2, 20)));
    EXPECT_EQ(store.Find(Answer(2, 0).macId)->ip, 20u);
    EXPECT_FALSE(store.Replace(Answer(9, 9)));
    store.Remove(MacKey(Answer(2, 0).macId));
    ASSERT_EQ(store.size(), 3u);
    EXPECT_EQ(store[0].ip, 1u);
    EXPECT_EQ(store[1].ip, 3u);
    EXPECT_EQ(store[2].ip, 4u);
    // The records behind the removed one are still found by their MACs.
    EXPECT_EQ(store.Find(Answer(3, 0).macId)->ip, 3u);
    EXPECT_EQ(store.Find(Answer(4, 0).macId)->ip, 4u);
    EXPECT_EQ(store.Find(Answer(2, 0).macId), nullptr);
}

// The echo of this computer's own request carries no MAC; a module may
// answer with the all-ones one. Each keeps a record of its own.
TEST(ModuleStore, KeepsAModuleWithTheAllOnesMacApartFromTheEcho) {
    ModuleStore store;
    VORN_ModuleScanResponseType echo = MissingEverything();
    VORN_ModuleScanResponseType allOnes = Answer(0xFFFFFF, 7);
    std::memset(allOnes.macId, 0xFF, VORN_MAC_SIZE);
    ASSERT_TRUE(store.Add(echo));
    EXPECT_TRUE(store.Add(allOnes));
    ASSERT_NE(store.Find(allOnes.macId), nullptr);
    EXPECT_EQ(store.Find(allOnes.macId)->ip, 7u);
    EXPECT_NE(RecordKey(echo), RecordKey(allOnes));
    store.Remove(RecordKey(echo));
    EXPECT_EQ(store.size(), 1u);
    EXPECT_NE(store.Find(allOnes.macId), nullptr);
}

// Rounds closed one after another: 'a' for a round the module answered,
// '-' for one it did not; what the row shows after each.
struct PresenceCase {
    const char* rounds;
    bool hasMac;
    const char* expected;  // per round: '.' unchanged, 'M' now missing, 'D' dropped
    bool missingAtEnd;
};

const PresenceCase kPresenceCases[] = {
    {"aaaa", true, "....", false},
    {"-", true, ".", false},        // one missed round is not enough
    {"--", true, ".M", true},       // none of the last two
    {"----", true, ".M..", true},   // struck once, and stays so
    {"a-a-a-", true, "......", false},
    {"--a", true, ".M.", false},    // answered again: drawn normally
    {"--a--", true, ".M..M", true},
    {"a", false, ".", false},       // the echo row while the request is repeated
    {"-", false, "D", false},       // the echo row goes at its first miss
    {"a-", false, ".D", false},
};

TEST(RowPresence, AModuleIsMissingAfterTwoSilentRoundsAndARowWithoutMacIsDroppedAtOne) {
    for (const PresenceCase& c : kPresenceCases) {
        RowPresence presence;
        std::string seen;
        for (const char* round = c.rounds; *round; ++round) {
            if (*round == 'a') {
                NoteAnswer(presence);
                EXPECT_FALSE(IsMissing(presence)) << c.rounds << ": still missing once it answered";
            }
            const RoundEnd end = CloseRound(presence, c.hasMac);
            seen += end == RoundEnd::kNowMissing ? 'M' : end == RoundEnd::kDropped ? 'D' : '.';
        }
        EXPECT_EQ(seen, c.expected) << c.rounds << (c.hasMac ? "" : " without MAC");
        EXPECT_EQ(IsMissing(presence), c.missingAtEnd) << c.rounds;
    }
}

TEST(AnswerChange, OnlyAChangedSortTextMovesTheRowAndTheSameTextsChangeNothing) {
    const std::array<CString, kModuleColumnCount> shown = {"198.18.1.100", "255.255.255.0", "198.18.0.1", "Off",
                                                           "2.03.1",       "IO-GATEWAY",    "02-00-00-00-01-01"};
    const char* texts[kModuleColumnCount];
    for (int column = 0; column < kModuleColumnCount; ++column) texts[column] = shown[column];
    std::array<CString, kModuleColumnCount> answer = shown;
    EXPECT_EQ(ChangeOfAnswer(texts, answer, 0), AnswerChange::kNone);
    answer[0] = "198.18.1.150";  // a new address
    EXPECT_EQ(ChangeOfAnswer(texts, answer, 0), AnswerChange::kPlace);
    EXPECT_EQ(ChangeOfAnswer(texts, answer, 6), AnswerChange::kTexts);
    answer = shown;
    answer[3] = "On";
    EXPECT_EQ(ChangeOfAnswer(texts, answer, 3), AnswerChange::kPlace);
    EXPECT_EQ(ChangeOfAnswer(texts, answer, 5), AnswerChange::kTexts);
}

TEST(LiveCaption, CountsModulesInTheSingularOrPluralAndMissingOnesOnlyWhenThereAreAny) {
    EXPECT_EQ(LiveCaption("Kelvara Lanwise", 24, 0), "Kelvara Lanwise - 24 modules");
    EXPECT_EQ(LiveCaption("Kelvara Lanwise", 24, 1), "Kelvara Lanwise - 24 modules, 1 missing");
    EXPECT_EQ(LiveCaption("Kelvara Lanwise", 1, 0), "Kelvara Lanwise - 1 module");
    EXPECT_EQ(LiveCaption("Kelvara Lanwise", 1, 1), "Kelvara Lanwise - 1 module, 1 missing");
}

}  // namespace
