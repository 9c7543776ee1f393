#include "test_files.h"

std::string OwnPath() {
    char path[MAX_PATH + 1] = {0};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::string FixturePath(const char* name) {
    std::string path = OwnPath();
    path.erase(path.find_last_of('\\') + 1);
    return path + name;
}

std::vector<char> LoadVersionResource(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    std::vector<char> block(size);
    if (size == 0 || !::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) block.clear();
    return block;
}
