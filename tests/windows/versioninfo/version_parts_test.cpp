// The reader's parts one by one: the buffer owner, the module path, the
// run-time classes, and the reader's single string query and resource calls.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "test_files.h"
#include "vfx_module.h"
#include "vfx_pointer.h"
#include "vfx_version_info.h"

namespace {

// Large enough to be a block of its own in the C runtime's heap, so that a
// freed one is not handed out again before it is looked at.
const size_t kBlockSize = 64 * 1024;

// Whether p is a block the C runtime's heap still has in use.
bool IsLiveBlock(void* p) {
    return ::HeapValidate(reinterpret_cast<HANDLE>(_get_heap_handle()), 0, p) != FALSE;
}

TEST(VersionPointer, OwnedBufferIsFreedAtTheEnd) {
    void* block = std::malloc(kBlockSize);
    ASSERT_TRUE(IsLiveBlock(block));
    { CVFXPointer pointer(block, true); }
    EXPECT_FALSE(IsLiveBlock(block));
}

TEST(VersionPointer, BorrowedBufferIsLeftAlone) {
    void* block = std::malloc(kBlockSize);
    {
        CVFXPointer pointer(block, false);
        pointer.Reset(nullptr);
        EXPECT_TRUE(pointer.IsNull());
    }
    EXPECT_TRUE(IsLiveBlock(block));
    std::free(block);
}

TEST(VersionPointer, ResetFreesTheOldBufferAndHoldsTheNew) {
    void* first = std::malloc(kBlockSize);
    void* second = std::malloc(kBlockSize);
    {
        CVFXPointer pointer(first, true);
        EXPECT_EQ(first, pointer.Get());
        pointer.Reset(second);
        EXPECT_FALSE(IsLiveBlock(first));
        EXPECT_EQ(second, pointer.Get());
        EXPECT_FALSE(pointer.IsNull());
        EXPECT_TRUE(IsLiveBlock(second));
    }
    EXPECT_FALSE(IsLiveBlock(second));
}

TEST(VersionPointer, HoldingNothing) {
    CVFXPointer pointer(nullptr, true);
    EXPECT_TRUE(pointer.IsNull());
    EXPECT_EQ(nullptr, pointer.Get());
    pointer.Reset(nullptr);
    EXPECT_TRUE(pointer.IsNull());
}

TEST(VersionModule, OwnFile) {
    CString path;
    ASSERT_TRUE(CVFXModule().GetModuleFileName(path));
    EXPECT_EQ(OwnPath(), path.GetString());
}

TEST(VersionModule, AnotherLoadedModule) {
    const std::string fixture = FixturePath("vi_full.dll");
    const HMODULE module = ::LoadLibraryA(fixture.c_str());
    ASSERT_NE(nullptr, module);
    CString path;
    const BOOL found = CVFXModule().GetModuleFileName(path, module);
    ::FreeLibrary(module);
    ASSERT_TRUE(found);
    EXPECT_EQ(0, _stricmp(fixture.c_str(), path));
}

TEST(VersionModule, FailureLeavesTheOutputEmpty) {
    CString path = "stale";
    // No module is loaded at this address: it is not even aligned.
    EXPECT_FALSE(CVFXModule().GetModuleFileName(path, reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x10001))));
    EXPECT_STREQ("", path);
}

// Deletes the long folder chain and the file in it however the test ends.
class LongFolder {
public:
    explicit LongFolder(const std::wstring& base) {
        std::wstring folder = base;
        for (int i = 0; i < 3; ++i) {
            folder += L"\\" + std::wstring(100, static_cast<wchar_t>(L'a' + i));
            ::CreateDirectoryW(folder.c_str(), nullptr);
            folders_.push_back(folder);
        }
    }
    ~LongFolder() {
        ::DeleteFileW(File().c_str());
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) ::RemoveDirectoryW(it->c_str());
    }
    std::wstring File() const { return folders_.back() + L"\\vi_full.dll"; }

private:
    std::vector<std::wstring> folders_;
};

// A module whose path does not fit the 260 characters gives no half path.
TEST(VersionModule, PathTooLongIsAFailure) {
    wchar_t temp[MAX_PATH + 1] = {0};
    ASSERT_NE(0u, ::GetTempPathW(MAX_PATH, temp));
    std::wstring base = L"\\\\?\\" + std::wstring(temp);
    base.erase(base.size() - 1);
    const LongFolder folder(base);
    const std::string fixture = FixturePath("vi_full.dll");
    const std::wstring source(fixture.begin(), fixture.end());
    ASSERT_TRUE(::CopyFileW(source.c_str(), folder.File().c_str(), FALSE));
    const HMODULE module = ::LoadLibraryW(folder.File().c_str());
    ASSERT_NE(nullptr, module);
    wchar_t wide[1024] = {0};
    const DWORD wideLength = ::GetModuleFileNameW(module, wide, 1024);
    CString path = "stale";
    const BOOL found = CVFXModule().GetModuleFileName(path, module);
    ::FreeLibrary(module);
    ASSERT_GT(wideLength, static_cast<DWORD>(MAX_PATH)) << "the module's path must really be long";
    EXPECT_FALSE(found);
    EXPECT_STREQ("", path);
}

TEST(VersionRuntimeClass, NamesAndKinds) {
    CVFXVersionInfo reader(0x04B0, 0x0409);
    CVFXPointer pointer(nullptr, false);
    CVFXModule module;
    EXPECT_STREQ("CVFXVersionInfo", reader.GetRuntimeClass()->m_lpszClassName);
    EXPECT_STREQ("CVFXPointer", pointer.GetRuntimeClass()->m_lpszClassName);
    EXPECT_STREQ("CObject", module.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(reader.IsKindOf(&CObject::classCObject));
    EXPECT_TRUE(reader.IsKindOf(&CVFXVersionInfo::classCVFXVersionInfo));
    EXPECT_TRUE(pointer.IsKindOf(&CObject::classCObject));
    EXPECT_FALSE(pointer.IsKindOf(&CVFXVersionInfo::classCVFXVersionInfo));
    EXPECT_FALSE(module.IsKindOf(&CVFXPointer::classCVFXPointer));
    EXPECT_FALSE(reader.IsKindOf(nullptr));
}

class VersionQuery : public testing::Test {
protected:
    void SetUp() override {
        block = LoadVersionResource(FixturePath("vi_full.dll"));
        ASSERT_FALSE(block.empty());
        std::memset(out, 'x', sizeof out);
    }

    bool AllZeroFrom(size_t first) const {
        for (size_t i = first; i < sizeof out; ++i) {
            if (out[i] != '\0') return false;
        }
        return true;
    }

    ThreadLocaleGuard localeGuard;
    CVFXVersionInfo reader{0x04B0, 0x0409};
    std::vector<char> block;
    char out[32];
};

TEST_F(VersionQuery, ValueAndZerosAfterIt) {
    EXPECT_TRUE(reader.QueryString(block.data(), "CompanyName", out, sizeof out));
    EXPECT_STREQ("Full Company", out);
    EXPECT_TRUE(AllZeroFrom(std::strlen("Full Company")));
}

TEST_F(VersionQuery, ValueThatJustFits) {
    const UINT size = static_cast<UINT>(std::strlen("Full Company") + 1);
    EXPECT_TRUE(reader.QueryString(block.data(), "CompanyName", out, size));
    EXPECT_STREQ("Full Company", out);
    EXPECT_EQ('x', out[size]);
}

TEST_F(VersionQuery, ValueCutToTheOutput) {
    EXPECT_TRUE(reader.QueryString(block.data(), "CompanyName", out, 5));
    EXPECT_STREQ("Full", out);
    EXPECT_EQ('x', out[5]);
}

TEST_F(VersionQuery, AbsentKeyGivesZeros) {
    EXPECT_FALSE(reader.QueryString(block.data(), "NoSuchKey", out, sizeof out));
    EXPECT_TRUE(AllZeroFrom(0));
}

TEST_F(VersionQuery, KeyTooLongForThePathGivesZeros) {
    const std::string key(300, 'K');
    EXPECT_FALSE(reader.QueryString(block.data(), key.c_str(), out, sizeof out));
    EXPECT_TRUE(AllZeroFrom(0));
}

TEST_F(VersionQuery, NoRoomLeavesTheOutputAlone) {
    EXPECT_FALSE(reader.QueryString(block.data(), "CompanyName", out, 0));
    EXPECT_EQ('x', out[0]);
}

TEST_F(VersionQuery, NothingToQuery) {
    EXPECT_FALSE(reader.QueryString(nullptr, "CompanyName", out, sizeof out));
    EXPECT_TRUE(AllZeroFrom(0));
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(reader.QueryString(block.data(), nullptr, out, sizeof out));
    EXPECT_TRUE(AllZeroFrom(0));
    EXPECT_FALSE(reader.QueryString(block.data(), "CompanyName", nullptr, sizeof out));
}

TEST(VersionResourceCalls, SizeAndLoad) {
    ThreadLocaleGuard localeGuard;
    CVFXVersionInfo reader(0x04B0, 0x0409);
    const CString path = FixturePath("vi_full.dll").c_str();
    const DWORD size = reader.GetInfoSize(path);
    ASSERT_EQ(LoadVersionResource(path.GetString()).size(), size);
    ASSERT_GT(size, 0u);
    CVFXPointer buffer(reader.AllocBuffer(size), true);
    ASSERT_FALSE(buffer.IsNull());
    EXPECT_TRUE(IsLiveBlock(buffer.Get()));
    ASSERT_TRUE(reader.GetInfo(path, size, buffer.Get()));
    char out[32] = {0};
    EXPECT_TRUE(reader.QueryString(buffer.Get(), "ProductName", out, sizeof out));
    EXPECT_STREQ("Full Product", out);
}

TEST(VersionResourceCalls, FilesWithoutAResource) {
    ThreadLocaleGuard localeGuard;
    CVFXVersionInfo reader(0x04B0, 0x0409);
    EXPECT_EQ(0u, reader.GetInfoSize(FixturePath("vi_no_version.dll").c_str()));
    EXPECT_EQ(0u, reader.GetInfoSize(FixturePath("vi_does_not_exist.dll").c_str()));
    char buffer[64];
    EXPECT_FALSE(reader.GetInfo(FixturePath("vi_does_not_exist.dll").c_str(), sizeof buffer, buffer));
}

TEST(VersionResourceCalls, AllocBuffer) {
    ThreadLocaleGuard localeGuard;
    CVFXVersionInfo reader(0x04B0, 0x0409);
    EXPECT_EQ(nullptr, reader.AllocBuffer(0));
    void* block = reader.AllocBuffer(kBlockSize);
    ASSERT_NE(nullptr, block);
    EXPECT_TRUE(IsLiveBlock(block));
    std::memset(block, 0, kBlockSize);
    std::free(block);
}

}  // namespace
