#include "operations/deletion.h"

#include <windows.h>
#include <commctrl.h>

#include "app/app_state_win32.h"
#include "app/main_window_win32.h"
#include "app/service_list_win32.h"
#include "catalogue/service_manager_win32.h"
#include "catalogue/service_registry_win32.h"
#include "history/file_system_win32.h"
#include "operations/prompt_win32.h"
#include "operations/service_commands_win32.h"

namespace quorvel {

namespace {

class Win32SystemPaths : public SystemPaths {
public:
    std::string system_directory() override {
        char directory[MAX_PATH] = "";
        GetSystemDirectoryA(directory, MAX_PATH);
        return directory;
    }

    std::string expand_environment(const std::string& text) override {
        const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
        if (size == 0) return text;
        std::string expanded(size, '\0');
        if (ExpandEnvironmentStringsA(text.c_str(), &expanded[0], size) == 0) return text;
        return expanded.c_str();
    }
};

}  // namespace

void delete_selected_service() {
    const int row = selected_row();
    const ServiceRow* selected = listed_service(list_view, row);
    if (selected == nullptr) return;
    // A copy: the refill at the end replaces the table it lies in.
    const ServiceRow service = *selected;

    Win32ServiceManager scm;
    Win32ServiceRegistry registry;
    Win32SystemPaths paths;
    Win32Prompt prompt(main_window);
    Win32Pause pause;
    Win32FileSystem files;
    DeletionContext context{scm,   registry, paths, prompt, pause,
                            history, files, history_file, snapshot_folder};
    const DeletionOutcome outcome =
        run_deletion(service.texts, service.service_type, context,
                     [row] { SendMessageA(list_view, LVM_DELETEITEM, row, 0); });
    // Every save reads the history file afresh, so its records may have
    // changed whatever the outcome.
    update_restore_command();
    if (outcome == DeletionOutcome::refused || outcome == DeletionOutcome::not_saved) return;
    refresh_table();
}

}  // namespace quorvel
