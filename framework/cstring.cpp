#include "cstring.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::size_t Clamp(int value, std::size_t limit) {
    return value < 0 ? 0 : std::min(static_cast<std::size_t>(value), limit);
}

}  // namespace

CString::CString(const char* text, int length) {
    if (text && length > 0) text_.assign(text, static_cast<std::size_t>(length));
}

CString& CString::operator=(const char* text) {
    text_ = text ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& other) {
    text_ += other.text_;
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text) text_ += text;
    return *this;
}

CString& CString::operator+=(char c) {
    text_ += c;
    return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.text_ + b.text_); }
CString operator+(const CString& a, const char* b) { return CString(a.text_ + (b ? b : "")); }
CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.text_); }

int CString::Remove(char c) {
    const std::size_t before = text_.size();
    text_.erase(std::remove(text_.begin(), text_.end(), c), text_.end());
    return static_cast<int>(before - text_.size());
}

int CString::Replace(const char* from, const char* to) {
    const std::size_t fromLength = from ? std::strlen(from) : 0;
    if (fromLength == 0) return 0;
    const std::string replacement = to ? to : "";
    int count = 0;
    for (std::size_t at = text_.find(from); at != std::string::npos; at = text_.find(from, at + replacement.size())) {
        text_.replace(at, fromLength, replacement);
        ++count;
    }
    return count;
}

int CString::Replace(char from, char to) {
    int count = 0;
    for (char& c : text_) {
        if (c == from) {
            c = to;
            ++count;
        }
    }
    return count;
}

int CString::Find(char c, int start) const {
    if (start < 0 || static_cast<std::size_t>(start) > text_.size()) return -1;
    const std::size_t at = text_.find(c, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* text, int start) const {
    if (!text || start < 0 || static_cast<std::size_t>(start) > text_.size()) return -1;
    const std::size_t at = text_.find(text, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const { return CString(text_.substr(0, Clamp(count, text_.size()))); }

CString CString::Mid(int first) const { return CString(text_.substr(Clamp(first, text_.size()))); }

CString CString::Mid(int first, int count) const {
    const std::size_t start = Clamp(first, text_.size());
    return CString(text_.substr(start, Clamp(count, text_.size() - start)));
}

CString& CString::TrimLeft() {
    std::size_t first = 0;
    while (first < text_.size() && IsBlank(text_[first])) ++first;
    text_.erase(0, first);
    return *this;
}

CString& CString::TrimRight() {
    std::size_t end = text_.size();
    while (end > 0 && IsBlank(text_[end - 1])) --end;
    text_.erase(end);
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (needed < 0) {
        va_end(again);
        text_.clear();
        return;
    }
    std::string result(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(&result[0], result.size(), format, again);
    va_end(again);
    result.resize(static_cast<std::size_t>(needed));
    text_ = result;
}
