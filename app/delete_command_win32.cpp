#include <windows.h>
#include <commctrl.h>

#include "app/service_commands_win32.h"
#include "app/service_list_win32.h"
#include "catalogue/service_manager_win32.h"
#include "catalogue/service_registry_win32.h"
#include "files/file_system_win32.h"
#include "operations/deletion.h"
#include "operations/prompt_win32.h"
#include "operations/system_paths_win32.h"
#include "text/code_page_win32.h"

namespace quorvel {

void delete_selected_service(MainWindow& main) {
    const int row = selected_row(main);
    const ServiceRow* selected = listed_service(main, row);
    if (selected == nullptr) return;
    // A copy: the refill at the end replaces the table it lies in.
    const ServiceRow service = *selected;

    Win32ServiceManager scm;
    Win32ServiceRegistry registry;
    Win32CodePage code_page;
    Win32SystemPaths paths;
    Win32Prompt prompt(main.window);
    Win32Pause pause;
    Win32FileSystem files;
    DeletionContext context{scm,   registry,     code_page, paths,
                            prompt, pause,       main.history, files,
                            main.history_file, main.snapshot_folder, main.skip_descriptions};
    HWND list = main.list_view;
    const DeletionOutcome outcome = run_deletion(
        service, context, [list, row] { SendMessageA(list, LVM_DELETEITEM, row, 0); });
    // Every save reads the history file afresh, so its records may have
    // changed whatever the outcome.
    update_restore_command(main);
    if (outcome == DeletionOutcome::refused || outcome == DeletionOutcome::not_saved) return;
    refresh_table(main);
}

}  // namespace quorvel
