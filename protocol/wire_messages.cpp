#include "wire_messages.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace vorn {
namespace {

constexpr std::size_t npos = std::string_view::npos;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
    }
    return true;
}

std::string LowerCopy(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = LowerAscii(c);
    return lowered;
}

std::size_t SkipSpace(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    return pos;
}

// Reads a decimal number the way the platform's atoi does: blanks, a sign,
// digits; no digits give 0, and a number outside the int range saturates
// at INT_MAX or INT_MIN.
int ReadDecimal(std::string_view text, std::size_t pos) {
    pos = SkipSpace(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        value = std::min(value * 10 + (text[pos] - '0'), limit);
    }
    if (negative) return static_cast<int>(-value);
    return static_cast<int>(std::min(value, static_cast<long long>(INT_MAX)));
}

// The position right behind the first "." at or after from, or npos.
std::size_t BehindNextDot(std::string_view text, std::size_t from) {
    if (from == npos) return npos;
    const std::size_t dot = text.find('.', from);
    return dot == npos ? npos : dot + 1;
}

// A number whose "." is missing reads as 0, like a number without digits.
int ReadDecimalAt(std::string_view text, std::size_t pos) { return pos == npos ? 0 : ReadDecimal(text, pos); }

std::uint32_t ReadDottedAddress(std::string_view text, std::size_t pos) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) pos = BehindNextDot(text, pos);
        address = (address << 8) | (static_cast<std::uint32_t>(ReadDecimalAt(text, pos)) & 0xFFu);
    }
    return address;
}

// One "%x" conversion: blanks, a sign, an optional 0x prefix, hex digits.
// Returns false when no digit follows; the value wraps like an unsigned int.
bool ReadHexNumber(std::string_view text, std::size_t& pos, std::uint32_t& value) {
    std::size_t p = SkipSpace(text, pos);
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    // "0x" counts as a prefix only when a hex digit follows; else the 0 is the number.
    if (p + 2 < text.size() && text[p] == '0' && LowerAscii(text[p + 1]) == 'x' && HexDigitValue(text[p + 2]) >= 0) {
        p += 2;
    }
    std::uint32_t result = 0;
    const std::size_t digitsStart = p;
    for (; p < text.size() && HexDigitValue(text[p]) >= 0; ++p) {
        result = result * 16u + static_cast<std::uint32_t>(HexDigitValue(text[p]));
    }
    if (p == digitsStart) return false;
    value = negative ? 0u - result : result;
    pos = p;
    return true;
}

// Six hex numbers separated by "-"; reading stops at the first number
// without digits or the first missing "-", and unread bytes keep 0xFF.
void ReadMac(std::string_view text, std::size_t pos, std::uint8_t (&macId)[VORN_MAC_SIZE]) {
    for (int i = 0; i < VORN_MAC_SIZE; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '-') return;
            ++pos;
        }
        std::uint32_t value = 0;
        if (!ReadHexNumber(text, pos, value)) return;
        macId[i] = static_cast<std::uint8_t>(value & 0xFFu);
    }
}

// Up to the first ";" (at most 127 characters). Without a ";" the rest of
// the text is taken, and a rest longer than 127 characters ends the text
// there for every key read afterwards.
void ReadTextValue(std::string_view& text, std::string_view& lowered, std::size_t pos,
                   char (&out)[VORN_TEXT_SIZE]) {
    const std::size_t semicolon = text.find(';', pos);
    std::size_t length = (semicolon == npos ? text.size() : semicolon) - pos;
    if (semicolon == npos && length > kTextValueMax) {
        text = text.substr(0, pos + kTextValueMax);
        lowered = lowered.substr(0, pos + kTextValueMax);
    }
    length = std::min(length, kTextValueMax);
    std::memcpy(out, text.data() + pos, length);
    out[length] = '\0';
}

std::uint8_t ReadOnOff(std::string_view text, std::size_t pos) {
    const std::string_view value = text.substr(pos);
    if (StartsWithNoCase(value, "off")) return 0;
    if (StartsWithNoCase(value, "on")) return 1;
    return 0xFF;
}

VORN_ModuleScanResponseType EmptyResponse() {
    VORN_ModuleScanResponseType response;
    std::memset(&response, 0xFF, sizeof response);
    response.protocolVersionValid = 0;
    response.fbTypeValid = 0;
    response.moduleVersionValid = 0;
    response.macIdValid = 0;
    response.ipValid = 0;
    response.snValid = 0;
    response.gwValid = 0;
    response.dhcpValid = 0;
    response.pswdValid = 0;
    response.hnValid = 0;
    response.dns1Valid = 0;
    response.dns2Valid = 0;
    return response;
}

// Reads a scan answer key by key. Keys are searched in a lower-cased copy
// of the text (A-Z only), values are read from the original.
class ScanAnswerReader {
public:
    explicit ScanAnswerReader(std::string_view text) : lowerStore_(LowerCopy(text)), text_(text), lowered_(lowerStore_) {}

    VORN_ModuleScanResponseType Read() {
        VORN_ModuleScanResponseType r = EmptyResponse();
        std::size_t v;
        if ((v = ValueOf("protocol version = ")) != npos) {
            r.protocolVersionMajor = static_cast<std::uint8_t>(ReadDecimal(text_, v));
            r.protocolVersionMinor = static_cast<std::uint8_t>(ReadDecimalAt(text_, BehindNextDot(text_, v)));
            r.protocolVersionValid = 1;
        }
        if ((v = ValueOf("fb type = ")) != npos) {
            ReadTextValue(text_, lowered_, v, r.fbType);
            r.fbTypeValid = 1;
        }
        if ((v = ValueOf("module version = ")) != npos) {
            const std::size_t minor = BehindNextDot(text_, v);
            const std::size_t build = BehindNextDot(text_, minor);
            r.moduleVersionMajor = static_cast<std::uint8_t>(ReadDecimal(text_, v));
            r.moduleVersionMinor = static_cast<std::uint8_t>(ReadDecimalAt(text_, minor));
            r.moduleVersionBuild = static_cast<std::uint16_t>(ReadDecimalAt(text_, build));
            r.moduleVersionValid = 1;
        }
        if ((v = ValueOf("mac = ")) != npos) {
            ReadMac(text_, v, r.macId);
            r.macIdValid = 1;
        }
        ReadAddress("ip = ", r.ip, r.ipValid);
        ReadAddress("sn = ", r.sn, r.snValid);
        ReadAddress("gw = ", r.gw, r.gwValid);
        ReadSwitch("dhcp = ", r.dhcp, r.dhcpValid);
        ReadSwitch("pswd = ", r.pswd, r.pswdValid);
        if ((v = ValueOf("hn = ")) != npos) {
            ReadTextValue(text_, lowered_, v, r.hn);
            r.hnValid = 1;
        }
        ReadAddress("dns1 = ", r.dns1, r.dns1Valid);
        ReadAddress("dns2 = ", r.dns2, r.dns2Valid);
        return r;
    }

private:
    // Where the key's value begins, or npos when the key is absent.
    std::size_t ValueOf(std::string_view lowerKey) const {
        const std::size_t at = lowered_.find(lowerKey);
        return at == npos ? npos : at + lowerKey.size();
    }

    void ReadAddress(std::string_view key, std::uint32_t& field, std::uint8_t& valid) const {
        const std::size_t v = ValueOf(key);
        if (v == npos) return;
        field = ReadDottedAddress(text_, v);
        valid = 1;
    }

    void ReadSwitch(std::string_view key, std::uint8_t& field, std::uint8_t& valid) const {
        const std::size_t v = ValueOf(key);
        if (v == npos) return;
        field = ReadOnOff(text_, v);
        valid = 1;
    }

    std::string lowerStore_;
    std::string_view text_;
    std::string_view lowered_;
};

// Appends whole fields to the request. A field that cannot be carried
// whole spoils the request: its result is then empty.
class RequestWriter {
public:
    RequestWriter() { Clear(); }

    void Append(const char* field, std::size_t length) {
        if (spoiled_ || request_.length + length > kRequestBufferSize - 1) {
            Spoil();
            return;
        }
        std::memcpy(request_.text + request_.length, field, length);
        request_.length += length;
        request_.text[request_.length] = '\0';
    }

    void AppendFormatted(const char* format, unsigned a, unsigned b, unsigned c, unsigned d) {
        char field[kFieldBufferSize];
        const int n = std::snprintf(field, sizeof field, format, a, b, c, d);
        if (n > 0) Append(field, std::min(static_cast<std::size_t>(n), sizeof field - 1));
    }

    void AppendAddress(const char* key, std::uint32_t address) {
        if (address == 0xFFFFFFFFu) return;
        char format[32];
        std::snprintf(format, sizeof format, "%s = %%u.%%u.%%u.%%u;", key);
        AppendFormatted(format, address >> 24, (address >> 16) & 0xFFu, (address >> 8) & 0xFFu, address & 0xFFu);
    }

    // prefix + text + ";", within 99 characters and with no ";" in the text.
    void AppendText(std::string_view prefix, const char (&value)[VORN_TEXT_SIZE]) {
        char field[kFieldBufferSize];
        const std::size_t length = TextLength(value);
        if (prefix.size() + length + 1 > sizeof field - 1 || std::memchr(value, ';', length)) {
            Spoil();
            return;
        }
        std::memcpy(field, prefix.data(), prefix.size());
        std::memcpy(field + prefix.size(), value, length);
        field[prefix.size() + length] = ';';
        Append(field, prefix.size() + length + 1);
    }

    static std::size_t TextLength(const char (&value)[VORN_TEXT_SIZE]) {
        const void* nul = std::memchr(value, '\0', VORN_TEXT_SIZE);
        return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - value) : VORN_TEXT_SIZE;
    }

    const ConfigureRequestText& Result() const { return request_; }

private:
    void Clear() {
        request_.text[0] = '\0';
        request_.length = 0;
    }
    void Spoil() {
        spoiled_ = true;
        Clear();
    }

    ConfigureRequestText request_;
    bool spoiled_ = false;
};

}  // namespace

ConfigureRequestText BuildConfigureRequest(const VORN_ConfigureRequestType& request) {
    RequestWriter writer;
    char field[kFieldBufferSize];
    const std::uint8_t* m = request.macId;
    const int n = std::snprintf(field, sizeof field, "Configure: %02X-%02X-%02X-%02X-%02X-%02X;", m[0], m[1], m[2], m[3],
                                m[4], m[5]);
    writer.Append(field, static_cast<std::size_t>(n));
    if (request.pswd[0] != '\0') writer.AppendText("Password: ", request.pswd);
    if (request.newPswdValid == 1) writer.AppendText("New Password = ", request.newPswd);
    writer.AppendAddress("IP", request.ip);
    writer.AppendAddress("SN", request.sn);
    writer.AppendAddress("GW", request.gw);
    if (request.dhcp == 0) writer.Append("DHCP = OFF;", 11);
    if (request.dhcp == 1) writer.Append("DHCP = ON;", 10);
    writer.AppendText("HN = ", request.hn);
    writer.AppendAddress("DNS1", request.dns1);
    writer.AppendAddress("DNS2", request.dns2);
    return writer.Result();
}

std::string_view ReceivedText(const char* data, std::size_t length) {
    const void* nul = std::memchr(data, '\0', length);
    return std::string_view(data, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : length);
}

DatagramKind ClassifyDatagram(std::string_view text) {
    if (StartsWithNoCase(text, "Reconfigured:")) return DatagramKind::Reconfigured;
    if (StartsWithNoCase(text, "Invalid Password:")) return DatagramKind::InvalidPassword;
    if (StartsWithNoCase(text, "Module Scan")) return DatagramKind::ScanRequest;
    return DatagramKind::ScanAnswer;
}

std::size_t FindKey(std::string_view text, std::string_view key) {
    return LowerCopy(text).find(LowerCopy(key));
}

void ReadInvalidPasswordReply(std::string_view text, std::uint8_t (&macId)[VORN_MAC_SIZE]) {
    static constexpr std::string_view kKey = "Invalid Password: ";
    std::memset(macId, 0xFF, sizeof macId);
    const std::size_t at = FindKey(text, kKey);
    if (at != npos) ReadMac(text, at + kKey.size(), macId);
}

VORN_ModuleScanResponseType ReadScanAnswer(std::string_view text) { return ScanAnswerReader(text).Read(); }

}  // namespace vorn
