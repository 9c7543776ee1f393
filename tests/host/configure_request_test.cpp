// The configure flow's portable part: the row's MAC text, the dialog's
// opening values from a scan record, the host name rule and the request.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "configure_request.h"
#include "test_records.h"

namespace {

VORN_ModuleScanResponseType FullRecord() {
    VORN_ModuleScanResponseType record = MissingEverything();
    record.ip = 0xC0A8000A;
    record.ipValid = 1;
    record.sn = 0xFFFFFF00;
    record.snValid = 1;
    record.gw = 0xC0A80001;
    record.gwValid = 1;
    record.dns1 = 0x08080808;
    record.dns1Valid = 1;
    record.dns2 = 0x08080404;
    record.dns2Valid = 1;
    std::strcpy(record.hn, "module_1");
    record.hnValid = 1;
    record.dhcp = 1;
    record.dhcpValid = 1;
    record.pswd = 1;
    record.pswdValid = 1;
    return record;
}

ConfigureValues DialogResult(const char* hn, const char* pswd, const char* newPswd) {
    ConfigureValues values = {};
    StoreConfigureText(values.hn, hn);
    StoreConfigureText(values.pswd, pswd);
    StoreConfigureText(values.newPswd, newPswd);
    values.ip = 0x0A000001;
    values.sn = 0xFF000000;
    values.gw = 0x0A0000FE;
    values.dns1 = 0;
    values.dns2 = 0x01020304;
    return values;
}

const uint8_t kMac[VORN_MAC_SIZE] = {0x02, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

TEST(ParseMacText, ReadsTheListsFormat) {
    uint8_t mac[VORN_MAC_SIZE] = {};
    ASSERT_TRUE(ParseMacText("02-1A-2B-3C-4D-5E", mac));
    EXPECT_EQ(0, std::memcmp(mac, kMac, VORN_MAC_SIZE));
    ASSERT_TRUE(ParseMacText("ff-0-1-2-3-4", mac));
    EXPECT_EQ(mac[0], 0xFF);
    EXPECT_EQ(mac[1], 0x00);
}

TEST(ParseMacText, RefusesWhatNamesNoModule) {
    uint8_t mac[VORN_MAC_SIZE] = {9, 9, 9, 9, 9, 9};
    EXPECT_FALSE(ParseMacText("N/A", mac));
    EXPECT_FALSE(ParseMacText("", mac));
    EXPECT_FALSE(ParseMacText("02-1A-2B-3C-4D", mac));
    EXPECT_FALSE(ParseMacText("102-1A-2B-3C-4D-5E", mac));
    EXPECT_EQ(mac[0], 9);
}

TEST(DialogStart, TakesEveryReportedField) {
    const ConfigureDialogStart start = DialogStartFromRecord(FullRecord());
    EXPECT_EQ(start.values.ip, 0xC0A8000Au);
    EXPECT_EQ(start.values.ipValid, 1);
    EXPECT_EQ(start.values.sn, 0xFFFFFF00u);
    EXPECT_EQ(start.values.gw, 0xC0A80001u);
    EXPECT_EQ(start.values.dns1, 0x08080808u);
    EXPECT_EQ(start.values.dns2Valid, 1);
    EXPECT_EQ(start.values.hnValid, 1);
    EXPECT_STREQ(start.values.hn, "module_1");
    EXPECT_EQ(start.values.pswdEnabled, 1);
    EXPECT_EQ(start.dhcpIndex, kDhcpOnIndex);
}

TEST(DialogStart, MissingFieldsAreBlankAndDhcpOff) {
    const ConfigureDialogStart start = DialogStartFromRecord(MissingEverything());
    EXPECT_EQ(start.values.ipValid, 0);
    EXPECT_EQ(start.values.snValid, 0);
    EXPECT_EQ(start.values.gwValid, 0);
    EXPECT_EQ(start.values.dns1Valid, 0);
    EXPECT_EQ(start.values.dns2Valid, 0);
    EXPECT_EQ(start.values.hnValid, 0);
    EXPECT_EQ(start.values.pswdEnabled, 0);
    EXPECT_EQ(start.dhcpIndex, kDhcpOffIndex);
}

TEST(DialogStart, DhcpAndPasswordRules) {
    VORN_ModuleScanResponseType record = FullRecord();
    record.dhcp = 0;
    record.pswd = 0;
    ConfigureDialogStart start = DialogStartFromRecord(record);
    EXPECT_EQ(start.dhcpIndex, kDhcpOffIndex);
    EXPECT_EQ(start.values.pswdEnabled, 0);
    // A value that was neither on nor off counts as non-zero.
    record.dhcp = 0xFF;
    record.pswd = 0xFF;
    start = DialogStartFromRecord(record);
    EXPECT_EQ(start.dhcpIndex, kDhcpOnIndex);
    EXPECT_EQ(start.values.pswdEnabled, 1);
}

TEST(DialogStart, ALongReportedHostNameIsCutTo29) {
    VORN_ModuleScanResponseType record = FullRecord();
    const std::string name(127, 'h');
    std::memcpy(record.hn, name.c_str(), name.size() + 1);
    const ConfigureDialogStart start = DialogStartFromRecord(record);
    EXPECT_EQ(std::string(start.values.hn), std::string(29, 'h'));
}

TEST(StoreConfigureText, KeepsAtMost29AndZeroFills) {
    char field[kConfigureTextSize];
    std::memset(field, 'x', sizeof field);
    StoreConfigureText(field, "abc");
    EXPECT_STREQ(field, "abc");
    for (int i = 3; i < kConfigureTextSize; ++i) EXPECT_EQ(field[i], '\0');
    StoreConfigureText(field, std::string(40, 'n').c_str());
    EXPECT_EQ(std::string(field), std::string(29, 'n'));
    StoreConfigureText(field, "");
    EXPECT_EQ(field[0], '\0');
}

TEST(IsLegalHostname, LettersDigitsAndUnderscorePass) {
    EXPECT_TRUE(IsLegalHostname("module_1"));
    EXPECT_TRUE(IsLegalHostname("ABC123"));
    EXPECT_TRUE(IsLegalHostname("_"));
    EXPECT_TRUE(IsLegalHostname(""));
    EXPECT_TRUE(IsLegalHostname("azAZ09"));
}

TEST(IsLegalHostname, EverythingElseFails) {
    EXPECT_FALSE(IsLegalHostname("my-module"));
    EXPECT_FALSE(IsLegalHostname("a.b"));
    EXPECT_FALSE(IsLegalHostname("a b"));
    EXPECT_FALSE(IsLegalHostname("caf\xE9"));
    EXPECT_FALSE(IsLegalHostname("\x80"));
    EXPECT_FALSE(IsLegalHostname("a@"));
    EXPECT_FALSE(IsLegalHostname("`"));
    EXPECT_FALSE(IsLegalHostname("["));
    EXPECT_FALSE(IsLegalHostname("/"));
    EXPECT_FALSE(IsLegalHostname(":"));
}

TEST(IsCarriablePassword, OnlyTheFieldSeparatorIsRefused) {
    EXPECT_TRUE(IsCarriablePassword(""));
    EXPECT_TRUE(IsCarriablePassword("a=b :,\xE9"));
    EXPECT_FALSE(IsCarriablePassword(";"));
    EXPECT_FALSE(IsCarriablePassword("x;IP = 10.9.9.9"));
    EXPECT_FALSE(IsCarriablePassword("secret;"));
}

TEST(FillConfigureRequest, CopiesTheDialogsValues) {
    VORN_ConfigureRequestType request;
    std::memset(&request, 0xAB, sizeof request);
    const ConfigureValues values = DialogResult("ABC123", "secret", "newone");
    FillConfigureRequest(values, kDhcpOnIndex, 1, kMac, request);
    EXPECT_EQ(0, std::memcmp(request.macId, kMac, VORN_MAC_SIZE));
    EXPECT_STREQ(request.pswd, "secret");
    EXPECT_EQ(request.newPswdValid, 1);
    EXPECT_STREQ(request.newPswd, "newone");
    EXPECT_EQ(request.ip, 0x0A000001u);
    EXPECT_EQ(request.sn, 0xFF000000u);
    EXPECT_EQ(request.gw, 0x0A0000FEu);
    EXPECT_EQ(request.dhcp, 1);
    EXPECT_STREQ(request.hn, "ABC123");
    EXPECT_EQ(request.dns1, 0u);  // a blank control: sent as 0.0.0.0
    EXPECT_EQ(request.dns2, 0x01020304u);
}

TEST(FillConfigureRequest, UncheckedChangePasswordSendsNoNewPassword) {
    VORN_ConfigureRequestType request;
    std::memset(&request, 0xAB, sizeof request);
    FillConfigureRequest(DialogResult("", "", "typed"), kDhcpOffIndex, 0, kMac, request);
    EXPECT_EQ(request.newPswdValid, 0);
    EXPECT_EQ(static_cast<unsigned char>(request.newPswd[0]), 0xABu);  // left unset
    EXPECT_EQ(request.dhcp, 0);
    EXPECT_STREQ(request.hn, "");
    EXPECT_STREQ(request.pswd, "");
}

TEST(FillConfigureRequest, DhcpIsOnOnlyForTheOnIndex) {
    VORN_ConfigureRequestType request = {};
    FillConfigureRequest(DialogResult("", "", ""), -1, 0, kMac, request);
    EXPECT_EQ(request.dhcp, 0);
    FillConfigureRequest(DialogResult("", "", ""), kDhcpOffIndex, 2, kMac, request);
    EXPECT_EQ(request.dhcp, 0);
    EXPECT_EQ(request.newPswdValid, 0);
}

}  // namespace
