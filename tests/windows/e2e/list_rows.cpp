#include "list_rows.h"

#include <commctrl.h>

#include <cstring>

namespace kltest {

namespace {

// A list that does not answer within this time is taken as gone or hung.
constexpr UINT kAnswerTimeoutMs = 2000;
// Room for one cell's text; the program's longest texts (type names) are
// far shorter.
constexpr int kCellChars = 256;

struct DialogSearch {
    const char* caption;
    DWORD processId;
    HWND found;
};

bool HasText(HWND window, const char* wanted, bool className) {
    char text[256] = "";
    if (className) {
        GetClassNameA(window, text, sizeof text);
    } else {
        GetWindowTextA(window, text, sizeof text);
    }
    return std::strcmp(text, wanted) == 0;
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
    DialogSearch& search = *reinterpret_cast<DialogSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search.processId != 0 && owner != search.processId) return TRUE;
    if (!HasText(window, kDialogClass, true) || !HasText(window, search.caption, false)) return TRUE;
    search.found = window;
    return FALSE;
}

// Messages that carry pointers are not copied between processes, so the
// list must be handed an LVITEMA and a text buffer in its own address space.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, At(offset), data, size, &done) && done == size;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        SIZE_T done = 0;
        return ReadProcessMemory(process_, At(offset), data, size, &done) && done == size;
    }

private:
    HANDLE process_;
    void* address_;
};

class ProcessHandle {
public:
    explicit ProcessHandle(DWORD id)
        : handle_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                              FALSE, id)) {}
    ~ProcessHandle() {
        if (handle_) CloseHandle(handle_);
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// The buffer holds the LVITEMA first and the cell text right after it.
constexpr SIZE_T kTextOffset = sizeof(LVITEMA);

bool ReadCell(HWND list, const RemoteBuffer& buffer, int row, int column, std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.At(kTextOffset);
    item.cchTextMax = kCellChars;
    if (!buffer.Write(0, &item, sizeof item)) return false;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.At(0)),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length)) {
        return false;
    }
    char local[kCellChars] = "";
    if (!buffer.Read(kTextOffset, local, sizeof local)) return false;
    // The control reports the copied length; never trust it beyond the buffer.
    const std::size_t copied = length < sizeof local ? static_cast<std::size_t>(length) : sizeof local - 1;
    text.assign(local, strnlen(local, copied));
    return true;
}

bool ReadRow(HWND list, const RemoteBuffer& buffer, int row, int columns, Row& cells) {
    cells.assign(static_cast<std::size_t>(columns), std::string());
    for (int column = 0; column < columns; ++column) {
        if (!ReadCell(list, buffer, row, column, cells[static_cast<std::size_t>(column)])) return false;
    }
    return true;
}

// Sends LVM_SETITEMSTATE; false when the list did not answer, else done is
// its result (false when the change was refused).
bool SetRowState(HWND list, int row, UINT mask, UINT state, DWORD_PTR& done) {
    DWORD processId = 0;
    if (!list || !GetWindowThreadProcessId(list, &processId)) return false;
    const ProcessHandle process(processId);
    if (!process.Get()) return false;
    const RemoteBuffer buffer(process.Get(), sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    return buffer.Valid() && buffer.Write(0, &item, sizeof item) &&
           SendMessageTimeoutA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                               reinterpret_cast<LPARAM>(buffer.At(0)), SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &done);
}

}  // namespace

bool UseDesktop(const char* name) {
    // The thread keeps using the desktop, so its handle stays open.
    HDESK desktop = OpenDesktopA(name, 0, FALSE, GENERIC_ALL);
    if (!desktop) return false;
    if (SetThreadDesktop(desktop)) return true;
    CloseDesktop(desktop);
    return false;
}

HWND FindDialog(const char* caption, DWORD processId) {
    DialogSearch search = {caption, processId, nullptr};
    EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindModuleList(DWORD processId) {
    HWND dialog = FindDialog(kMainCaption, processId);
    return dialog ? GetDlgItem(dialog, kModuleListId) : nullptr;
}

int RowCount(HWND list) {
    DWORD_PTR count = 0;
    if (!list || !SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &count)) {
        return -1;
    }
    return static_cast<int>(count);
}

bool DoubleClickRow(HWND list, int row) {
    DWORD processId = 0;
    if (!list || !GetWindowThreadProcessId(list, &processId)) return false;
    const ProcessHandle process(processId);
    if (!process.Get()) return false;
    const RemoteBuffer buffer(process.Get(), sizeof(RECT));
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    DWORD_PTR found = 0;
    if (!buffer.Valid() || !buffer.Write(0, &rect, sizeof rect) ||
        !SendMessageTimeoutA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.At(0)),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &found) ||
        !found || !buffer.Read(0, &rect, sizeof rect)) {
        return false;
    }
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point) != FALSE;
}

bool ReadRows(HWND list, std::vector<Row>& rows, int columns) {
    rows.clear();
    DWORD processId = 0;
    if (!list || !GetWindowThreadProcessId(list, &processId)) return false;
    const ProcessHandle process(processId);
    if (!process.Get()) return false;
    const RemoteBuffer buffer(process.Get(), kTextOffset + kCellChars);
    if (!buffer.Valid()) return false;
    const int count = RowCount(list);
    if (count < 0) return false;
    rows.resize(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        if (!ReadRow(list, buffer, row, columns, rows[static_cast<std::size_t>(row)])) return false;
    }
    return true;
}

bool SelectRow(HWND list, int row) {
    DWORD_PTR done = 0;
    return SetRowState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED, done) && done;
}

std::string WindowText(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool SetIpField(HWND dialog, int id, DWORD address, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(GetDlgItem(dialog, id), IPM_SETADDRESS, 0, static_cast<LPARAM>(address),
                               SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

bool SetRowChecked(HWND list, int row, bool checked) {
    DWORD_PTR done = 0;
    return SetRowState(list, row, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), done);
}

}  // namespace kltest
