// Stands in for the browser while the list's tests run: writes the address
// it was asked to open into opened_url.txt beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file = path;
    file = file.substr(0, file.find_last_of('\\') + 1) + "opened_url.txt";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return 1;
    std::fputs(argv[1], out);
    return std::fclose(out) == 0 ? 0 : 1;
}
