// Drives a running quorvel.exe from another process, as a user would, and
// reads what its window shows.
//   uidrive wait-window TIMEOUT_MS   waits until the main window is shown
//   uidrive rows                     the list's texts: fields 0x1F, rows 0x1E
//   uidrive send ID | post ID        a WM_COMMAND, waited for or not
//   uidrive click-header COLUMN      a left click on a column header
//   uidrive close                    asks the main window to close
//   uidrive time-send ID             milliseconds one WM_COMMAND takes
//   uidrive time-sort COLUMN         milliseconds from a header click until
//                                    the first or last row has changed
// The list's texts are read through the program's own memory, with the same
// 260-byte buffer the program itself uses.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int LIST_VIEW_ID = 100;
const int TEXT_BUFFER = 260;

int fail(const char* what) {
    std::fprintf(stderr, "uidrive: %s\n", what);
    return 1;
}

HWND main_window() {
    HWND window = FindWindowA("quorvel", nullptr);
    return window && IsWindowVisible(window) ? window : nullptr;
}

HWND list_view() { return GetDlgItem(main_window(), LIST_VIEW_ID); }

// Memory inside the program for one item record and its text.
class RemoteItem {
public:
    explicit RemoteItem(HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               pid);
        memory_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, sizeof(LVITEMA) + TEXT_BUFFER,
                                                    MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteItem() {
        VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    bool ok() const { return memory_ != nullptr; }

    std::string text(HWND list, int row, int column) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = memory_ + sizeof(LVITEMA);
        item.cchTextMax = TEXT_BUFFER;
        WriteProcessMemory(process_, memory_, &item, sizeof item, nullptr);
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(memory_));
        char buffer[TEXT_BUFFER + 1] = "";
        ReadProcessMemory(process_, memory_ + sizeof(LVITEMA), buffer, TEXT_BUFFER, nullptr);
        return buffer;
    }

private:
    HANDLE process_ = nullptr;
    char* memory_ = nullptr;
};

int wait_window(DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (!main_window()) {
        if (GetTickCount() - start > timeout_ms) return fail("no main window");
        Sleep(50);
    }
    return 0;
}

int rows() {
    HWND list = list_view();
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

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return fail("usage");
    const std::string verb = argv[1];
    if (verb == "wait-window" && argc == 3) return wait_window(std::strtoul(argv[2], nullptr, 0));
    if (!main_window()) return fail("no main window");
    if (verb == "rows") return rows();
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
    if (verb == "close") {
        PostMessageA(main_window(), WM_CLOSE, 0, 0);
        return 0;
    }
    return fail("usage");
}
