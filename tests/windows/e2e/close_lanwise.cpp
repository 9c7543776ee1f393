// close_lanwise.exe: closes the running "Kelvara Lanwise" the way its close
// box does (SC_CLOSE) and waits until its main dialog is gone.
//
//   close_lanwise [--desktop NAME]
//
// --desktop looks for the program on that desktop (a Wine virtual desktop)
// instead of this process's own. Exit status 0 when it closed, 1 when there
// was none or it stayed open, 2 on a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "list_rows.h"
#include "program_process.h"

namespace {

// Wine waits up to 2 s for a window manager when it hides a window.
constexpr DWORD kCloseTimeoutMs = 10000;

}  // namespace

int main(int argc, char** argv) {
    const bool hasDesktop = argc == 3 && std::strcmp(argv[1], "--desktop") == 0;
    if (argc != 1 && !hasDesktop) {
        std::fprintf(stderr, "usage: close_lanwise [--desktop NAME]\n");
        return 2;
    }
    if (hasDesktop && !kltest::UseDesktop(argv[2])) {
        std::fprintf(stderr, "close_lanwise: no desktop \"%s\"\n", argv[2]);
        return 1;
    }
    HWND dialog = kltest::FindDialog(kltest::kMainCaption);
    if (!dialog) {
        std::fprintf(stderr, "close_lanwise: no \"Kelvara Lanwise\" window found\n");
        return 1;
    }
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!kltest::WaitUntil([&] { return !IsWindow(dialog); }, kCloseTimeoutMs)) {
        std::fprintf(stderr, "close_lanwise: the window is still open\n");
        return 1;
    }
    return 0;
}
