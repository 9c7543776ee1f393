// A list or record written whole or not at all: "Save list..." and "Save
// record..." write through WriteFileWhole once the save dialog named a file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "csv_files.h"

namespace {

std::string TempFolder() {
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    return folder;
}

std::string Read(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[256];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(CsvFile, ReplacesTheFileWholeAndLeavesNothingElse) {
    const std::string path = TempFolder() + "kl_written.csv";
    std::string reason;
    ASSERT_TRUE(WriteFileWhole(path, "old,longer,text\n", reason)) << reason;
    ASSERT_TRUE(WriteFileWhole(path, "MAC,IP\n", reason)) << reason;
    EXPECT_EQ(Read(path), "MAC,IP\n");
    EXPECT_FALSE(Exists(path + ".partial"));
    DeleteFileA(path.c_str());
}

// A name the file cannot take (a folder of that name) and a folder that
// does not exist: refused with the system's reason, nothing left behind.
TEST(CsvFile, AFailedWriteSaysWhyAndLeavesNoPartialFile) {
    const std::string folder = TempFolder() + "kl_taken_name";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string reason;
    EXPECT_FALSE(WriteFileWhole(folder, "MAC,IP\n", reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(Exists(folder + ".partial"));
    EXPECT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    RemoveDirectoryA(folder.c_str());
    reason.clear();
    EXPECT_FALSE(WriteFileWhole(TempFolder() + "kl_no_such_folder\\list.csv", "MAC,IP\n", reason));
    EXPECT_FALSE(reason.empty());
}

}  // namespace
