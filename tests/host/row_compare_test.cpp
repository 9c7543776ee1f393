// The module list's row order: dotted-address test, the numeric address
// comparison with its read order and oversized parts, and the row
// comparison with a plain text comparison standing in for the platform's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "row_compare.h"

namespace {

int PlainCompare(const char* first, const char* second) { return std::strcmp(first, second); }

int Sign(int value) { return (value > 0) - (value < 0); }

std::vector<std::string> Sorted(std::vector<std::string> texts, bool ascending) {
    std::stable_sort(texts.begin(), texts.end(), [ascending](const std::string& a, const std::string& b) {
        return CompareRowTexts(a.c_str(), b.c_str(), ascending, &PlainCompare) < 0;
    });
    return texts;
}

TEST(IsDottedQuad, AcceptsThreeDotsAmongDigits) {
    EXPECT_TRUE(IsDottedQuad("192.168.0.1"));
    EXPECT_TRUE(IsDottedQuad("0.0.0.0"));
    EXPECT_TRUE(IsDottedQuad("..."));
    EXPECT_TRUE(IsDottedQuad("1..2."));
    EXPECT_TRUE(IsDottedQuad("99999999999.1.1.1"));
}

TEST(IsDottedQuad, RejectsOtherTexts) {
    EXPECT_FALSE(IsDottedQuad(""));
    EXPECT_FALSE(IsDottedQuad("1.05.3"));
    EXPECT_FALSE(IsDottedQuad("N/A"));
    EXPECT_FALSE(IsDottedQuad("On"));
    EXPECT_FALSE(IsDottedQuad("Off"));
    EXPECT_FALSE(IsDottedQuad("02-1A-2B-3C-4D-5E"));
    EXPECT_FALSE(IsDottedQuad("1.2.3.4."));
    EXPECT_FALSE(IsDottedQuad(" 1.2.3.4"));
    EXPECT_FALSE(IsDottedQuad("1.2.3.4a"));
    EXPECT_FALSE(IsDottedQuad("-1.2.3.4"));
}

TEST(CompareDottedQuads, ComparesNumericallyFirstPartFirst) {
    EXPECT_EQ(CompareDottedQuads("9.1.1.1", "10.0.0.2"), -1);
    EXPECT_EQ(CompareDottedQuads("10.0.0.2", "9.1.1.1"), 1);
    EXPECT_EQ(CompareDottedQuads("192.168.0.9", "192.168.0.10"), -1);
    EXPECT_EQ(CompareDottedQuads("192.168.1.0", "192.168.0.255"), 1);
    EXPECT_EQ(CompareDottedQuads("192.168.0.1", "192.168.0.1"), 0);
    EXPECT_EQ(CompareDottedQuads("255.255.255.255", "0.0.0.0"), 1);
}

TEST(CompareDottedQuads, EmptyPartsAndLeadingZerosReadAsNumbers) {
    EXPECT_EQ(CompareDottedQuads("...", "0.0.0.0"), 0);
    EXPECT_EQ(CompareDottedQuads("1..2.", "1.0.2.0"), 0);
    EXPECT_EQ(CompareDottedQuads("010.0.0.1", "10.0.0.1"), 0);
}

TEST(CompareDottedQuads, PartAbove255DecidesInReadOrder) {
    // a's part is read before b's part of the same number.
    EXPECT_EQ(CompareDottedQuads("256.0.0.0", "1.1.1.1"), -1);
    EXPECT_EQ(CompareDottedQuads("1.1.1.1", "256.0.0.0"), 1);
    EXPECT_EQ(CompareDottedQuads("300.0.0.0", "300.0.0.0"), -1);
    // An earlier part of b beats a later part of a.
    EXPECT_EQ(CompareDottedQuads("1.1.999.1", "1.999.1.1"), 1);
    EXPECT_EQ(CompareDottedQuads("1.999.1.1", "1.1.999.1"), -1);
    // a's fourth number is read before b's; 255 itself is allowed.
    EXPECT_EQ(CompareDottedQuads("1.1.1.256", "1.1.1.256"), -1);
    EXPECT_EQ(CompareDottedQuads("255.255.255.255", "255.255.255.255"), 0);
    // The first differing part would say otherwise; the oversized part wins.
    EXPECT_EQ(CompareDottedQuads("9.9.9.9", "0.0.0.1000"), 1);
    EXPECT_EQ(CompareDottedQuads("99999999999999999999.0.0.0", "0.0.0.0"), -1);
}

TEST(CompareDottedQuads, NonAddressSortsAfterEveryAddress) {
    EXPECT_EQ(CompareDottedQuads("10.0.0.1", "N/A"), -1);
    EXPECT_EQ(CompareDottedQuads("N/A", "10.0.0.1"), 1);
    EXPECT_EQ(CompareDottedQuads("255.255.255.255", ""), -1);
    EXPECT_EQ(CompareDottedQuads("", "0.0.0.0"), 1);
    EXPECT_EQ(CompareDottedQuads("1.2.3.4", "1.2.3"), -1);
    EXPECT_EQ(CompareDottedQuads("1.2.3.4.5", "1.2.3.4"), 1);
    EXPECT_EQ(CompareDottedQuads("N/A", "1.05.3"), 0);
    // The shape decides before any part is read.
    EXPECT_EQ(CompareDottedQuads("300.0.0.0", "N/A"), -1);
}

TEST(CompareDottedQuads, NeverReadsPastTheEnd) {
    // Exactly sized heap copies, so that the sanitizer build catches any
    // read beyond a text's NUL. Short texts against 1.2.3.4, in both places.
    struct Case {
        const char* text;
        int againstAddress;
    };
    for (const Case& c : {Case{"", 1}, Case{"1", 1}, Case{"1.", 1}, Case{"1.2", 1}, Case{"1.2.3", 1},
                          Case{"...", -1}, Case{"1.2.3.", -1}, Case{"1.2.3.4", 0}}) {
        const std::string owned(c.text);
        std::vector<char> exact(owned.begin(), owned.end());
        exact.push_back('\0');
        EXPECT_EQ(CompareDottedQuads(exact.data(), "1.2.3.4"), c.againstAddress) << c.text;
        EXPECT_EQ(CompareDottedQuads("1.2.3.4", exact.data()), -c.againstAddress) << c.text;
    }
}

TEST(CompareRowTexts, AddressesSortNumerically) {
    const std::vector<std::string> texts = {"10.0.0.2", "9.1.1.1", "192.168.0.10", "192.168.0.9"};
    const std::vector<std::string> ascending = {"9.1.1.1", "10.0.0.2", "192.168.0.9", "192.168.0.10"};
    EXPECT_EQ(Sorted(texts, true), ascending);
    EXPECT_EQ(Sorted(texts, false), std::vector<std::string>(ascending.rbegin(), ascending.rend()));
}

TEST(CompareRowTexts, VersionsSortAsText) {
    EXPECT_LT(CompareRowTexts("1.10.2", "1.9.0", true, &PlainCompare), 0);
    EXPECT_GT(CompareRowTexts("1.10.2", "1.9.0", false, &PlainCompare), 0);
}

TEST(CompareRowTexts, DhcpTextsSortByTextComparison) {
    EXPECT_EQ(Sorted({"On", "N/A", "Off"}, true), (std::vector<std::string>{"N/A", "Off", "On"}));
    EXPECT_EQ(Sorted({"On", "N/A", "Off"}, false), (std::vector<std::string>{"On", "Off", "N/A"}));
}

TEST(CompareRowTexts, EqualTextsCompareAsZero) {
    for (bool ascending : {true, false}) {
        EXPECT_EQ(CompareRowTexts("10.0.0.1", "10.0.0.1", ascending, &PlainCompare), 0);
        EXPECT_EQ(CompareRowTexts("On", "On", ascending, &PlainCompare), 0);
        EXPECT_EQ(CompareRowTexts("N/A", "N/A", ascending, &PlainCompare), 0);
    }
}

TEST(CompareRowTexts, DescendingSwapsTheTextsInsteadOfNegating) {
    // Negating would turn the oversized tie's -1 into 1; swapping keeps -1.
    EXPECT_EQ(CompareRowTexts("300.0.0.0", "300.0.0.0", false, &PlainCompare), -1);
    EXPECT_EQ(CompareRowTexts("1.1.1.1", "256.0.0.0", false, &PlainCompare), -1);
}

TEST(CompareRowTexts, MissingAddressesGoAfterAddressesInEitherPosition) {
    EXPECT_LT(CompareRowTexts("10.0.0.1", "N/A", true, &PlainCompare), 0);
    EXPECT_GT(CompareRowTexts("N/A", "10.0.0.1", true, &PlainCompare), 0);
    EXPECT_GT(CompareRowTexts("10.0.0.1", "N/A", false, &PlainCompare), 0);
    EXPECT_LT(CompareRowTexts("N/A", "10.0.0.1", false, &PlainCompare), 0);
    // Even where the text comparison alone would put the other text first.
    EXPECT_GT(CompareRowTexts("", "10.0.0.1", true, &PlainCompare), 0);
    EXPECT_EQ(Sorted({"N/A", "192.168.0.10", "N/A", "9.1.1.1"}, true),
              (std::vector<std::string>{"9.1.1.1", "192.168.0.10", "N/A", "N/A"}));
}

// The list view's sort needs a consistent order: antisymmetric, transitive,
// and every text equal to itself. Oversized parts are left out: their
// fixed read order makes two such texts each claim to come first.
TEST(CompareRowTexts, IsATotalOrderOverMixedTexts) {
    const std::vector<std::string> texts = {"10.0.0.2", "9.1.1.1", "192.168.0.10", "192.168.0.9", "...",
                                            "0.0.0.0",  "010.0.0.2", "N/A", "", "On", "Off", "1.10.2",
                                            "1.9.0",    "1.2.3",  "1.2.3.4.5", "02-1A-2B-3C-4D-5E", "Type A"};
    for (bool ascending : {true, false}) {
        auto cmp = [ascending](const std::string& a, const std::string& b) {
            return Sign(CompareRowTexts(a.c_str(), b.c_str(), ascending, &PlainCompare));
        };
        for (const std::string& a : texts) {
            EXPECT_EQ(cmp(a, a), 0) << a;
            for (const std::string& b : texts) {
                EXPECT_EQ(cmp(a, b), -cmp(b, a)) << a << " / " << b;
                for (const std::string& c : texts) {
                    if (cmp(a, b) <= 0 && cmp(b, c) <= 0) {
                        EXPECT_LE(cmp(a, c), 0) << a << " / " << b << " / " << c;
                    }
                }
            }
        }
    }
}

}  // namespace
