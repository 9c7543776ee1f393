#include "address.h"

#include <gtest/gtest.h>

namespace modsim {
namespace {

Mac mac(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d, std::uint8_t e,
        std::uint8_t f) {
  return Mac{a, b, c, d, e, f};
}

TEST(MacText, ReadsEitherCaseAndWritesUpperCase) {
  Mac parsed{};
  ASSERT_TRUE(parseMac("02-12-34-56-78-9a", parsed));
  EXPECT_EQ(parsed, mac(0x02, 0x12, 0x34, 0x56, 0x78, 0x9A));
  EXPECT_EQ(formatMac(parsed), "02-12-34-56-78-9A");
}

TEST(MacText, RefusesAnythingButSixPairs) {
  Mac parsed = mac(1, 2, 3, 4, 5, 6);
  for (const char* bad : {"", "02-12-34-56-78", "02-12-34-56-78-9A-00", "2-12-34-56-78-9A0",
                          "02:12:34:56:78:9A", "02-12-34-56-78-9G", "02-12-34-56-78-9A;"}) {
    EXPECT_FALSE(parseMac(bad, parsed)) << bad;
  }
  EXPECT_EQ(parsed, mac(1, 2, 3, 4, 5, 6)) << "a refused text must leave the MAC alone";
}

TEST(MacCounting, CarriesIntoHigherBytes) {
  EXPECT_EQ(macPlus(mac(0x02, 0, 0, 0, 0, 0x01), 2), mac(0x02, 0, 0, 0, 0, 0x03));
  EXPECT_EQ(macPlus(mac(0x02, 0, 0, 0, 0, 0xFF), 1), mac(0x02, 0, 0, 0, 1, 0x00));
  EXPECT_EQ(macPlus(mac(0x02, 0, 0xFF, 0xFF, 0xFF, 0xFE), 3), mac(0x02, 1, 0, 0, 0, 0x01));
  EXPECT_EQ(macPlus(mac(0x02, 0, 0, 0, 0, 0x01), 70000), mac(0x02, 0, 0, 0x01, 0x11, 0x71));
}

TEST(MacCounting, WrapsAtFortyEightBits) {
  EXPECT_EQ(macPlus(mac(0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF), 1), mac(0, 0, 0, 0, 0, 0));
}

TEST(Ipv4Text, FirstNumberIsMostSignificant) {
  Ipv4 address = 0;
  ASSERT_TRUE(parseIpv4("192.168.0.20", address));
  EXPECT_EQ(address, 0xC0A80014u);
  EXPECT_EQ(formatIpv4(address), "192.168.0.20");
  EXPECT_EQ(formatIpv4(0), "0.0.0.0");
  EXPECT_EQ(formatIpv4(0xFFFFFFFFu), "255.255.255.255");
}

TEST(Ipv4Text, RefusesMalformedAddresses) {
  Ipv4 address = 7;
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.", ".1.2.3",
                          "1..2.3", "1.2.3.4 ", "a.b.c.d", "-1.2.3.4", "1.2.3.99999999999999999999"}) {
    EXPECT_FALSE(parseIpv4(bad, address)) << bad;
  }
  EXPECT_EQ(address, 7u);
}

TEST(Ipv4Counting, CarriesAcrossOctets) {
  Ipv4 base = 0;
  ASSERT_TRUE(parseIpv4("198.18.0.250", base));
  EXPECT_EQ(formatIpv4(base + 10), "198.18.1.4");
}

TEST(UnsignedText, HonoursBoundsAndRefusesSignsAndBlanks) {
  std::uint64_t value = 0;
  EXPECT_TRUE(parseUnsigned("65535", 0, 65535, value));
  EXPECT_EQ(value, 65535u);
  EXPECT_FALSE(parseUnsigned("65536", 0, 65535, value));
  EXPECT_FALSE(parseUnsigned("0", 1, 10, value));
  EXPECT_FALSE(parseUnsigned("+5", 0, 10, value));
  EXPECT_FALSE(parseUnsigned(" 5", 0, 10, value));
  EXPECT_FALSE(parseUnsigned("99999999999999999999999", 0, UINT64_MAX, value));
}

}  // namespace
}  // namespace modsim
