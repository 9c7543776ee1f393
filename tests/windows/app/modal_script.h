// Drives a modal dialog from inside its own message loop: the script runs
// on a thread timer once the dialog's window exists, and may pump messages
// while it waits for something to happen.
#ifndef KL_TESTS_MODAL_SCRIPT_H
#define KL_TESTS_MODAL_SCRIPT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog.h"

namespace kltest {

// Runs dialog.DoModal(); script(hwnd) runs once the window exists. When the
// script returns with the dialog still open, the dialog is ended with
// IDABORT.
INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& script);

// Dispatches messages until done() holds or timeoutMs passed.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
void PumpFor(DWORD ms);

// Watches for a message box with this caption (also inside nested modal
// loops), records its text and presses OK.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(const char* caption);
    ~MessageBoxWatcher();
    int Count() const;
    std::string LastText() const;

private:
    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_;
};

// Answers the next popup menu this thread shows, from inside its loop:
// records the items' texts (a submenu's items follow its own, each as
// "item>subitem"; a separator reads "", the default item ends in
// " [default]", a greyed one in " [grayed]" and is never the default, a
// checked one in " [checked]"),
// runs whileOpen, and chooses the item at index choose with the arrow keys
// and Enter (or closes the menu with Escape when choose is -1); with
// subChoose, the item at that index of the submenu that choose opens.
// Separators are not counted in either index.
class PopupMenuAnswer {
public:
    explicit PopupMenuAnswer(int choose, std::function<void()> whileOpen = nullptr, int subChoose = -1);
    ~PopupMenuAnswer();
    bool Seen() const;
    std::vector<std::string> Items() const;

private:
    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_;
};

// The clipboard's CF_TEXT, or "(none)" when it holds no text.
std::string ClipboardText();
// Puts a marker text on the clipboard, to see whether it is replaced.
void SetClipboardMarker(const char* text);

}  // namespace kltest

#endif
