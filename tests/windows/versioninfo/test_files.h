// What the version reader's tests share: where the test's files are, a
// version resource loaded without the reader, and a guard that gives the test
// thread its locale back.
#ifndef KL_TESTS_VERSIONINFO_TEST_FILES_H
#define KL_TESTS_VERSIONINFO_TEST_FILES_H

#include <windows.h>

#include <string>
#include <vector>

// The test program's own full path, as the system reports it.
std::string OwnPath();
// The full path of a file beside the test program.
std::string FixturePath(const char* name);
// The version resource of path, read with the platform calls alone.
std::vector<char> LoadVersionResource(const std::string& path);

class ThreadLocaleGuard {
public:
    ThreadLocaleGuard() : saved_(::GetThreadLocale()) {}
    ~ThreadLocaleGuard() { ::SetThreadLocale(saved_); }
    ThreadLocaleGuard(const ThreadLocaleGuard&) = delete;
    ThreadLocaleGuard& operator=(const ThreadLocaleGuard&) = delete;

private:
    LCID saved_;
};

#endif
