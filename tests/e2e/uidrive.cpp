// Drives a running quorvel.exe from another process, as a user would, and
// reads what its window shows.
//   uidrive wait-window TIMEOUT_MS   waits until the main window is shown
//   uidrive rows                     the list's texts: fields 0x1F, rows 0x1E
//   uidrive send ID | post ID        a WM_COMMAND, waited for or not
//   uidrive click-header COLUMN      a left click on a column header
//   uidrive close                    asks the main window to close
//   uidrive toolbar                  each button: command, state, style, image
//   uidrive select ROW               selects a row (-1: none)
//   uidrive rclick ROW               a right press on a row of the list
//   uidrive popup-menu               1 while a popup menu is open, else 0
//   uidrive cancel-menu              closes an open popup menu
//   uidrive rects                    client size and scroll bar width, then the
//                                    toolbar, list and status bar rectangles in
//                                    client coordinates
//   uidrive window-rect | widths     the window rectangle | the column widths
//   uidrive status-length            the length of the status bar's text
//   uidrive set-size W H | minimize  resizes (from inside the program, see
//                                    uiprobe.cpp) | minimises the main window
//   uidrive set-width COLUMN W       sets a column's width
//   uidrive iconic                   1 when the main window is minimised
//   uidrive top-box CAPTION          the text of a top-level message box with
//                                    that caption, 0 when there is none
//   uidrive close-top-box CAPTION    clicks its OK button
//   uidrive dialog                   the open dialog's caption (message boxes
//                                    aside), 0 when none
//   uidrive dialog-text ID           the text of a control of that dialog
//   uidrive msgbox                   the open message box: caption, text,
//                                    buttons, icon or not, owner; 0 when none
//   uidrive press ID                 clicks a button of the message box (or
//                                    else of the dialog)
//   uidrive key VK                   a key press on the focused control
//   uidrive button-centre BUTTON     a toolbar button's centre on the screen
//   uidrive tooltip                  the toolbar tooltip's text while shown
//   uidrive time-send ID             milliseconds one WM_COMMAND takes
//   uidrive time-sort COLUMN         milliseconds from a header click until
//                                    the first or last row has changed
//   uidrive click-button BUTTON      a left click on a toolbar button
//   uidrive menu-char C              types C into the open popup menu (its
//                                    mnemonic chooses an item)
//   uidrive dialog-rows ID           the texts of a list view of the open
//                                    dialog, as rows prints them
//   uidrive dialog-count ID          the number of rows of that list view
//   uidrive dialog-select ID ROW     selects a row of that list (-1: none)
//   uidrive dialog-list ID           that list's client width and extended
//                                    style, then its column widths
//   uidrive dialog-enabled ID        1 when that control is enabled, else 0
//   uidrive dialog-rect              the open dialog's window rectangle
//   uidrive dialog-close             the open dialog's close box
//   uidrive focus                    the control id of the focused window
//   uidrive dialog-controls          each control of the open dialog: id,
//                                    class, visible or not, text
//   uidrive dialog-combo ID          the items of a combo box of that dialog
//                                    as code page 932 texts, each ended by 0x1E
//   uidrive dialog-set-text ID TEXT  puts TEXT into a control of that dialog
//   uidrive scale                    what the window draws at, one "name
//                                    value..." line each: from inside the
//                                    program (uiprobe.dll) its DPI, the
//                                    toolbar's image size and the fonts'
//                                    heights; from here the toolbar's button
//                                    size and padding, the list's row height,
//                                    the bars' heights, the window and the
//                                    screen
//   uidrive dpi-changed DPI L T R B  WM_DPICHANGED as Windows sends it when
//                                    the window moves to a monitor of that
//                                    DPI, with that suggested rectangle
// The list's texts are read through the program's own memory, each whole:
// the buffer grows until the text leaves room to spare.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

const int LIST_VIEW_ID = 100;
const int TEXT_BUFFER = 260;

int fail(const char* what) {
    std::fprintf(stderr, "uidrive: %s\n", what);
    return 1;
}

// The visible main window; a closing one may linger hidden for a moment.
HWND main_window() {
    for (HWND window = FindWindowExA(nullptr, nullptr, "quorvel", nullptr); window;
         window = FindWindowExA(nullptr, window, "quorvel", nullptr))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

HWND list_view() { return GetDlgItem(main_window(), LIST_VIEW_ID); }

// A block of memory inside the program, for the records that messages to
// its controls point at.
class Remote {
public:
    Remote(HWND window, SIZE_T size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                   SYNCHRONIZE,
                               FALSE, pid);
        memory_ = static_cast<char*>(
            VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~Remote() {
        VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;

    bool ok() const { return memory_ != nullptr; }
    HANDLE process() const { return process_; }
    char* at(SIZE_T offset) const { return memory_ + offset; }
    LPARAM lparam() const { return reinterpret_cast<LPARAM>(memory_); }
    void write(const void* data, SIZE_T size, SIZE_T offset = 0) {
        WriteProcessMemory(process_, memory_ + offset, data, size, nullptr);
    }
    void read(void* data, SIZE_T size, SIZE_T offset = 0) {
        ReadProcessMemory(process_, memory_ + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    char* memory_ = nullptr;
};

// One item record and its text buffer inside the program. A text that does
// not fit comes back cut, and from Wine's list view without its terminating
// zero; the zero byte kept after the buffer ends such a copy, and the
// buffer is made larger until the text is shorter than it by two bytes at
// least, so that it cannot have been cut.
class RemoteItem {
public:
    explicit RemoteItem(HWND window) : window_(window) { allocate(); }
    bool ok() const { return memory_->ok(); }

    std::string text(HWND list, int row, int column) {
        for (;;) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = memory_->at(sizeof(LVITEMA));
            item.cchTextMax = room_;
            memory_->write(&item, sizeof item);
            const char zero = 0;
            memory_->write(&zero, 1, sizeof(LVITEMA) + room_);
            SendMessageA(list, LVM_GETITEMTEXTA, row, memory_->lparam());
            std::string buffer(room_ + 1, '\0');
            memory_->read(&buffer[0], buffer.size(), sizeof(LVITEMA));
            const std::size_t length = buffer.find('\0');
            if (length + 2 <= static_cast<std::size_t>(room_)) return buffer.substr(0, length);
            room_ *= 2;
            allocate();
        }
    }

private:
    void allocate() { memory_.reset(new Remote(window_, sizeof(LVITEMA) + room_ + 1)); }

    HWND window_;
    int room_ = TEXT_BUFFER;
    std::unique_ptr<Remote> memory_;
};

int wait_window(DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (!main_window()) {
        if (GetTickCount() - start > timeout_ms) return fail("no main window");
        Sleep(50);
    }
    return 0;
}

int rows(HWND list) {
    if (!list) return fail("no list view");
    RemoteItem item(list);
    if (!item.ok()) return fail("cannot reach the program's memory");
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::string out;
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < 8; ++column) {
            if (column) out += '\x1f';
            out += item.text(list, row, column);
        }
        out += '\x1e';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int click_header(int column) {
    HWND list = list_view();
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    if (!header) return fail("no header");
    int x = 0;
    for (int i = 0; i < column; ++i) x += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
    x += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)) / 2;
    const LPARAM at = MAKELPARAM(x, 5);
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(header, WM_LBUTTONUP, 0, at);
    return 0;
}

std::string window_text(HWND window) {
    char text[1024] = "";
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND toolbar() { return GetDlgItem(main_window(), 101); }
HWND status_bar() { return GetDlgItem(main_window(), 102); }

int print_toolbar() {
    HWND bar = toolbar();
    Remote memory(bar, sizeof(TBBUTTON));
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(bar, TB_GETBUTTON, i, memory.lparam());
        memory.read(&button, sizeof button);
        std::printf("%d %d %d %d\n", button.idCommand, button.fsState, button.fsStyle,
                    button.iBitmap);
    }
    return 0;
}

int select_row(HWND list, int row) {
    if (!list) return fail("no such list");
    Remote memory(list, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    memory.write(&item, sizeof item);
    SendMessageA(list, LVM_SETITEMSTATE, row, memory.lparam());
    return 0;
}

int right_press(int row) {
    HWND list = list_view();
    Remote memory(list, sizeof(RECT));
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    memory.write(&rect, sizeof rect);
    SendMessageA(list, LVM_GETITEMRECT, row, memory.lparam());
    memory.read(&rect, sizeof rect);
    const LPARAM at = MAKELPARAM(rect.left + 20, (rect.top + rect.bottom) / 2);
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(list, WM_RBUTTONUP, 0, at);
    return 0;
}

HWND open_popup_menu() {
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

void print_rect_in_client(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, main_window(), reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
}

int print_rects() {
    RECT client{};
    GetClientRect(main_window(), &client);
    std::printf("%ld %ld %d\n", client.right, client.bottom, GetSystemMetrics(SM_CXVSCROLL));
    print_rect_in_client(toolbar());
    print_rect_in_client(list_view());
    print_rect_in_client(status_bar());
    return 0;
}

// Message boxes are dialogs too; their text is the static with id 0xFFFF.
// A dialog's own unnamed static has that id as well (-1), so an icon
// static such as the About dialog's does not make a message box.
bool is_message_box(HWND dialog) {
    HWND text = GetDlgItem(dialog, 0xFFFF);
    return text != nullptr && (GetWindowLongA(text, GWL_STYLE) & SS_TYPEMASK) != SS_ICON;
}

struct DialogSearch {
    bool message_box;
    HWND found;
};

BOOL CALLBACK find_dialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window) ||
        is_message_box(window) != search->message_box)
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible dialog (or message box) of the program's user-interface thread.
HWND find_program_dialog(bool message_box) {
    DialogSearch search{message_box, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(main_window(), nullptr), find_dialog,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND program_dialog() { return find_program_dialog(false); }

// A visible icon static that holds an icon; the platform's box keeps its
// icon control even when the box has no icon.
BOOL CALLBACK find_icon(HWND child, LPARAM found) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (_stricmp(name, "Static") != 0 || (style & SS_TYPEMASK) != SS_ICON ||
        !IsWindowVisible(child) || SendMessageA(child, STM_GETICON, 0, 0) == 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// caption, text, buttons, whether an icon shows, and the owner ("main",
// "dialog" or "other"), separated by 0x1F; "0" when no box is open.
int print_message_box() {
    HWND box = find_program_dialog(true);
    if (!box) return std::printf("0") < 0;
    std::string buttons;
    const struct {
        int id;
        const char* name;
    } kinds[] = {{IDOK, "OK"}, {IDCANCEL, "CANCEL"}, {IDYES, "YES"}, {IDNO, "NO"}};
    for (const auto& kind : kinds) {
        HWND button = GetDlgItem(box, kind.id);
        if (!button || !IsWindowVisible(button)) continue;
        if (!buttons.empty()) buttons += ",";
        buttons += kind.name;
    }
    HWND icon = nullptr;
    EnumChildWindows(box, find_icon, reinterpret_cast<LPARAM>(&icon));
    HWND owner = GetWindow(box, GW_OWNER);
    char owner_class[16] = "";
    if (owner) GetClassNameA(owner, owner_class, sizeof owner_class);
    const char* owner_name = owner == main_window()                      ? "main"
                             : std::strcmp(owner_class, "#32770") == 0 ? "dialog"
                                                                       : "other";
    const std::string out = window_text(box) + '\x1f' + window_text(GetDlgItem(box, 0xFFFF)) +
                            '\x1f' + buttons + '\x1f' + (icon ? "icon" : "noicon") + '\x1f' +
                            owner_name;
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

// Clicks a button of the open message box, or else of the open dialog.
int press_button(int id) {
    HWND box = find_program_dialog(true);
    if (!box) box = program_dialog();
    if (!box) return fail("no dialog");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    return 0;
}

int press_key(WPARAM key) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main_window(), nullptr), &info);
    HWND target = info.hwndFocus ? info.hwndFocus : info.hwndActive;
    if (!target) return fail("no focused window");
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    return 0;
}

// Where a toolbar button's centre is on the screen: posted mouse messages
// do not move the pointer, which the tooltips check, so the tests move the
// real pointer there (xdotool).
int print_button_centre(int button) {
    HWND bar = toolbar();
    Remote memory(bar, sizeof(RECT));
    SendMessageA(bar, TB_GETITEMRECT, button, memory.lparam());
    RECT rect{};
    memory.read(&rect, sizeof rect);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(bar, &centre);
    std::printf("%ld %ld\n", centre.x, centre.y);
    return 0;
}

// The toolbar's tooltip text while it is shown; fails when none is shown.
int print_tooltip() {
    HWND tip = reinterpret_cast<HWND>(SendMessageA(toolbar(), TB_GETTOOLTIPS, 0, 0));
    if (!tip || !IsWindowVisible(tip)) return fail("no tooltip shown");
    const std::string text = window_text(tip);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

double now_ms() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

int time_send(WPARAM command) {
    const double start = now_ms();
    SendMessageA(main_window(), WM_COMMAND, command, 0);
    std::printf("%.1f\n", now_ms() - start);
    return 0;
}

int time_sort(int column) {
    HWND list = list_view();
    RemoteItem item(list);
    const int last = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) - 1;
    const std::string first_before = item.text(list, 0, column);
    const std::string last_before = item.text(list, last, column);
    const double start = now_ms();
    click_header(column);
    // A read waits while the program is busy sorting, so the first read
    // that sees a change comes right after the sort.
    while (item.text(list, 0, column) == first_before &&
           item.text(list, last, column) == last_before) {
        if (now_ms() - start > 60000) return fail("the rows did not change");
    }
    std::printf("%.1f\n", now_ms() - start);
    return 0;
}

// Runs `thread(argument)` inside the program and waits for it to end.
bool run_in_program(const Remote& memory, LPTHREAD_START_ROUTINE thread, void* argument) {
    HANDLE handle = CreateRemoteThread(memory.process(), nullptr, 0, thread, argument, 0, nullptr);
    if (!handle) return false;
    const bool ended = WaitForSingleObject(handle, 30000) == WAIT_OBJECT_0;
    CloseHandle(handle);
    return ended;
}

// Where uiprobe.dll lies in the program, loading it there first; null when
// it cannot be loaded.
BYTE* probe_in_program(const Remote& memory, const std::string& path) {
    // Kernel32 lies at the same address in every process of one width.
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    Remote name(main_window(), path.size() + 1);
    name.write(path.c_str(), path.size() + 1);
    if (!run_in_program(memory, load, name.at(0))) return nullptr;
    HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetProcessId(memory.process()));
    if (modules == INVALID_HANDLE_VALUE) return nullptr;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    BYTE* base = nullptr;
    for (BOOL more = Module32First(modules, &module); more && !base;
         more = Module32Next(modules, &module))
        if (_stricmp(module.szModule, "uiprobe.dll") == 0) base = module.modBaseAddr;
    CloseHandle(modules);
    return base;
}

// Runs a function of uiprobe.dll inside the program on the bytes of
// `data`, and gives back those bytes as it left them.
bool call_probe(const char* function, std::string& data) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string probe_path = path;
    probe_path = probe_path.substr(0, probe_path.find_last_of('\\') + 1) + "uiprobe.dll";
    // The same DLL here tells where the function lies within it.
    HMODULE here = LoadLibraryA(probe_path.c_str());
    const auto local = reinterpret_cast<BYTE*>(
        reinterpret_cast<void*>(GetProcAddress(here, function)));
    Remote memory(main_window(), data.size());
    // Only once the program has started up and waits for input: under Wine
    // a thread brought in while it was still starting once hung this call.
    if (memory.ok() && WaitForInputIdle(memory.process(), 30000) != 0) return false;
    BYTE* there = memory.ok() && local ? probe_in_program(memory, probe_path) : nullptr;
    if (!there) return false;
    memory.write(data.data(), data.size());
    const auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(there + (local - reinterpret_cast<BYTE*>(here))));
    if (!run_in_program(memory, start, memory.at(0))) return false;
    memory.read(&data[0], data.size());
    return true;
}

int print_scale() {
    std::string inside(4096, '\0');
    if (!call_probe("probe", inside)) return fail("uiprobe.dll did not run in the program");
    std::fwrite(inside.c_str(), 1, std::strlen(inside.c_str()), stdout);
    HWND bar = toolbar();
    const LRESULT button = SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0);
    const LRESULT padding = SendMessageA(bar, TB_GETPADDING, 0, 0);
    std::printf("button %d %d\npadding %d %d\n", LOWORD(button), HIWORD(button), LOWORD(padding),
                HIWORD(padding));
    Remote memory(bar, sizeof(RECT));
    RECT rect{};
    SendMessageA(bar, TB_GETITEMRECT, 0, memory.lparam());  // the leading gap
    memory.read(&rect, sizeof rect);
    std::printf("separator %ld\n", rect.right - rect.left);
    HWND list = list_view();
    Remote row(list, sizeof(RECT));
    rect = RECT{LVIR_BOUNDS, 0, 0, 0};
    row.write(&rect, sizeof rect);
    SendMessageA(list, LVM_GETITEMRECT, 0, row.lparam());
    row.read(&rect, sizeof rect);
    std::printf("row %ld\n", rect.bottom - rect.top);
    GetWindowRect(bar, &rect);
    std::printf("toolbar %ld\n", rect.bottom - rect.top);
    GetWindowRect(status_bar(), &rect);
    std::printf("status-bar %ld\n", rect.bottom - rect.top);
    GetWindowRect(main_window(), &rect);
    std::printf("window %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    std::printf("screen %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
}

int resize(int width, int height) {
    const int size[2] = {width, height};
    std::string data(reinterpret_cast<const char*>(size), sizeof size);
    return call_probe("resize", data) ? 0 : fail("uiprobe.dll did not run in the program");
}

int change_dpi(char** values) {
    int numbers[5];
    for (int i = 0; i < 5; ++i) numbers[i] = std::atoi(values[i]);
    std::string data(reinterpret_cast<const char*>(numbers), sizeof numbers);
    return call_probe("change_dpi", data) ? 0 : fail("uiprobe.dll did not run in the program");
}

}  // namespace

// A posted press and release inside the button, as a click: the toolbar
// then sends the button's command to the main window.
int click_button(int button) {
    HWND bar = toolbar();
    Remote memory(bar, sizeof(RECT));
    if (!SendMessageA(bar, TB_GETITEMRECT, button, memory.lparam())) return fail("no button");
    RECT rect{};
    memory.read(&rect, sizeof rect);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(bar, WM_LBUTTONUP, 0, at);
    return 0;
}

// The menu's own loop reads every keyboard message of the thread, so the
// character can go to the menu window itself.
int menu_char(char key) {
    HWND menu = open_popup_menu();
    if (!menu) return fail("no popup menu");
    PostMessageA(menu, WM_CHAR, static_cast<unsigned char>(key), 1);
    return 0;
}

HWND dialog_control(const char* id) {
    return GetDlgItem(program_dialog(), std::strtol(id, nullptr, 0));
}

int print_dialog_list(HWND list) {
    if (!list) return fail("no such list");
    RECT client{};
    GetClientRect(list, &client);
    std::printf("%ld %lu\n", client.right - client.left,
                static_cast<unsigned long>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column)
        std::printf("%d\n", static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)));
    return 0;
}

int print_focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main_window(), nullptr), &info);
    return std::printf("%d\n", info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0) < 0;
}

BOOL CALLBACK print_control(HWND control, LPARAM) {
    char name[64] = "";
    GetClassNameA(control, name, sizeof name);
    const std::string line = std::to_string(GetDlgCtrlID(control)) + '\x1f' + name + '\x1f' +
                             (IsWindowVisible(control) ? "1" : "0") + '\x1f' +
                             window_text(control) + '\x1e';
    std::fwrite(line.data(), 1, line.size(), stdout);
    return TRUE;
}

int print_dialog_controls() {
    HWND dialog = program_dialog();
    if (!dialog) return fail("no dialog");
    EnumChildWindows(dialog, print_control, 0);
    return 0;
}

// The items come back across processes as UTF-16, whatever the call's
// character set; they are turned into the program's code page here.
int print_combo_items(HWND combo) {
    if (!combo) return fail("no such combo box");
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t wide[512] = L"";
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[1024] = "";
        WideCharToMultiByte(932, 0, wide, -1, text, sizeof text - 1, nullptr, nullptr);
        std::printf("%s\x1e", text);
    }
    return 0;
}

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return fail("usage");
    const std::string verb = argv[1];
    if (verb == "wait-window" && argc == 3) return wait_window(std::strtoul(argv[2], nullptr, 0));
    if ((verb == "top-box" || verb == "close-top-box") && argc == 3) {
        HWND box = FindWindowA("#32770", argv[2]);
        if (!box || !IsWindowVisible(box)) return std::printf("0") < 0;
        if (verb == "close-top-box") {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return 0;
        }
        const std::string text = window_text(GetDlgItem(box, 0xFFFF));
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    if (!main_window()) return fail("no main window");
    if (verb == "rows") return rows(list_view());
    if (verb == "send" && argc == 3) {
        SendMessageA(main_window(), WM_COMMAND, std::strtoul(argv[2], nullptr, 0), 0);
        return 0;
    }
    if (verb == "post" && argc == 3) {
        PostMessageA(main_window(), WM_COMMAND, std::strtoul(argv[2], nullptr, 0), 0);
        return 0;
    }
    if (verb == "click-header" && argc == 3) return click_header(std::atoi(argv[2]));
    if (verb == "time-send" && argc == 3) return time_send(std::strtoul(argv[2], nullptr, 0));
    if (verb == "time-sort" && argc == 3) return time_sort(std::atoi(argv[2]));
    if (verb == "toolbar") return print_toolbar();
    if (verb == "select" && argc == 3) return select_row(list_view(), std::atoi(argv[2]));
    if (verb == "rclick" && argc == 3) return right_press(std::atoi(argv[2]));
    if (verb == "popup-menu") return std::printf("%d\n", open_popup_menu() ? 1 : 0) < 0;
    if (verb == "cancel-menu") {
        PostMessageA(main_window(), WM_CANCELMODE, 0, 0);
        return 0;
    }
    if (verb == "rects") return print_rects();
    if (verb == "status-length") {
        // Wine answers for the simple text as part 0 (SB_SIMPLEID, 255, gives 0).
        const LRESULT got = SendMessageA(status_bar(), SB_GETTEXTLENGTHA, 0, 0);
        return std::printf("%d\n", LOWORD(got)) < 0;
    }
    if (verb == "window-rect") {
        RECT rect{};
        GetWindowRect(main_window(), &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        return 0;
    }
    if (verb == "widths") {
        for (int column = 0; column < 8; ++column)
            std::printf("%d\n", static_cast<int>(SendMessageA(list_view(), LVM_GETCOLUMNWIDTH, column, 0)));
        return 0;
    }
    if (verb == "set-size" && argc == 4) return resize(std::atoi(argv[2]), std::atoi(argv[3]));
    if (verb == "set-width" && argc == 4) {
        SendMessageA(list_view(), LVM_SETCOLUMNWIDTH, std::atoi(argv[2]), std::atoi(argv[3]));
        return 0;
    }
    if (verb == "iconic") return std::printf("%d\n", IsIconic(main_window()) ? 1 : 0) < 0;
    if (verb == "minimize") {
        ShowWindow(main_window(), SW_MINIMIZE);
        return 0;
    }
    if (verb == "dialog") {
        HWND dialog = program_dialog();
        const std::string caption = dialog ? window_text(dialog) : "";
        if (dialog) std::fwrite(caption.data(), 1, caption.size(), stdout);
        else std::printf("0");
        return 0;
    }
    if (verb == "dialog-text" && argc == 3) {
        HWND dialog = program_dialog();
        if (!dialog) return fail("no dialog");
        const std::string text = window_text(GetDlgItem(dialog, std::strtol(argv[2], nullptr, 0)));
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    if (verb == "msgbox") return print_message_box();
    if (verb == "press" && argc == 3) return press_button(std::atoi(argv[2]));
    if (verb == "key" && argc == 3) return press_key(std::strtoul(argv[2], nullptr, 0));
    if (verb == "button-centre" && argc == 3) return print_button_centre(std::atoi(argv[2]));
    if (verb == "tooltip") return print_tooltip();
    if (verb == "click-button" && argc == 3) return click_button(std::atoi(argv[2]));
    if (verb == "menu-char" && argc == 3 && argv[2][0]) return menu_char(argv[2][0]);
    if (verb == "dialog-rows" && argc == 3) return rows(dialog_control(argv[2]));
    if (verb == "dialog-count" && argc == 3) {
        HWND list = dialog_control(argv[2]);
        if (!list) return fail("no such list");
        return std::printf("%ld\n", static_cast<long>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) < 0;
    }
    if (verb == "dialog-select" && argc == 4)
        return select_row(dialog_control(argv[2]), std::atoi(argv[3]));
    if (verb == "dialog-list" && argc == 3) return print_dialog_list(dialog_control(argv[2]));
    if (verb == "dialog-enabled" && argc == 3) {
        HWND control = dialog_control(argv[2]);
        if (!control) return fail("no such control");
        return std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0) < 0;
    }
    if (verb == "dialog-rect") {
        RECT rect{};
        if (!GetWindowRect(program_dialog(), &rect)) return fail("no dialog");
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        return 0;
    }
    if (verb == "dialog-close") {
        HWND dialog = program_dialog();
        if (!dialog) return fail("no dialog");
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (verb == "focus") return print_focus();
    if (verb == "dialog-controls") return print_dialog_controls();
    if (verb == "dialog-combo" && argc == 3) return print_combo_items(dialog_control(argv[2]));
    if (verb == "dialog-set-text" && argc == 4) {
        HWND control = dialog_control(argv[2]);
        if (!control) return fail("no such control");
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
        return 0;
    }
    if (verb == "scale") return print_scale();
    if (verb == "dpi-changed" && argc == 7) return change_dpi(argv + 2);
    if (verb == "close") {
        PostMessageA(main_window(), WM_CLOSE, 0, 0);
        return 0;
    }
    return fail("usage");
}
