#include "app/save_list_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstddef>
#include <string>

#include "app/service_list_win32.h"
#include "export/list_export.h"
#include "files/file_system_win32.h"
#include "platform/system_library_win32.h"
#include "text/user_texts.h"

namespace quorvel {
namespace {

// The record as the oldest platforms know it, without the trailing fields
// that later versions added (OPENFILENAME_SIZE_VERSION_400A).
constexpr DWORD DIALOG_RECORD_SIZE = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(sizeof(void*) != 4 || DIALOG_RECORD_SIZE == 76, "the 32-bit record has 76 bytes");

// The only call into comdlg32, taken from the system directory.
BOOL show_save_dialog(OPENFILENAMEA* record) {
    using SaveDialog = BOOL(WINAPI*)(LPOPENFILENAMEA);
    static const SaveDialog save_dialog =
        library_function<SaveDialog>(system_library("comdlg32.dll"), "GetSaveFileNameA");
    return save_dialog ? save_dialog(record) : FALSE;
}

// False when the user cancelled or the dialog failed.
bool choose_export_path(HWND owner, std::string& path) {
    char file[MAX_PATH] = "";
    OPENFILENAMEA record{};
    record.lStructSize = DIALOG_RECORD_SIZE;
    record.hwndOwner = owner;
    record.lpstrFilter = SAVE_LIST_FILE_TYPES;
    record.nFilterIndex = 1;
    record.lpstrFile = file;
    record.nMaxFile = MAX_PATH;
    record.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    record.lpstrDefExt = "csv";
    if (!show_save_dialog(&record)) return false;
    path = file;
    return true;
}

// The rows in the order the list shows them, each with its whole texts.
std::string list_bytes(const MainWindow& main, ExportMode mode) {
    std::string bytes = export_header(mode);
    const int count = static_cast<int>(SendMessageA(main.list_view, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        if (const ServiceRow* service = listed_service(main, row))
            bytes += export_row(service->texts, mode);
    return bytes;
}

}  // namespace

void save_list(const MainWindow& main) {
    std::string path;
    if (!choose_export_path(main.window, path)) return;
    // The dialog has asked before an existing file is replaced. A failure
    // is not reported: the file shows how far the writing got.
    (void)write_new_file(path, list_bytes(main, export_mode(path)));
}

}  // namespace quorvel
