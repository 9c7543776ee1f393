// CString: the framework's 8-bit string, a value type in the pattern of the
// classic application framework's string. Portable: no platform headers.
#ifndef KL_FRAMEWORK_CSTRING_H
#define KL_FRAMEWORK_CSTRING_H

#include <cstddef>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text) : text_(text ? text : "") {}
    CString(const char* text, int length);
    CString(const std::string& text) : text_(text) {}

    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    const char* GetString() const { return text_.c_str(); }
    operator const char*() const { return text_.c_str(); }
    char GetAt(int index) const { return text_.at(static_cast<std::size_t>(index)); }

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char c);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
    friend bool operator==(const CString& a, const char* b) { return a.text_ == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

    // Removes every occurrence of c; returns how many were removed.
    int Remove(char c);
    // Replaces every non-overlapping occurrence of from by to, left to right;
    // returns how many were replaced. An empty from replaces nothing.
    int Replace(const char* from, const char* to);
    int Replace(char from, char to);

    // Index of the first occurrence at or after start, or -1.
    int Find(char c, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Blanks are the C locale's white space.
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim();

    // printf-style formatting into the string, of any length.
    void Format(const char* format, ...);

    const std::string& Str() const { return text_; }

private:
    std::string text_;
};

#endif
