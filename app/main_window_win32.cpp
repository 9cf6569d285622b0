#include "app/main_window_win32.h"

#include <commctrl.h>

#include "app/about_win32.h"
#include "app/common_controls_win32.h"
#include "app/app_state_win32.h"
#include "app/main_window_rules.h"
#include "app/save_list_win32.h"
#include "app/service_list_win32.h"
#include "app/toolbar_layout.h"
#include "app/toolbar_win32.h"
#include "operations/service_commands_win32.h"
#include "settings/profile_win32.h"
#include "settings/settings_win32.h"

namespace quorvel {

namespace {

// Toolbar first, then the menu bar, as both always show the same state.
void enable_command(int command, bool enabled) {
    SendMessageA(toolbar, TB_SETSTATE, command,
                 MAKELONG(enabled ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE, 0));
    EnableMenuItem(GetMenu(main_window), command, enabled ? MF_ENABLED : MF_GRAYED);
}

void update_show_all_check() {
    const int state = static_cast<int>(SendMessageA(toolbar, TB_GETSTATE, IDM_SHOW_ALL, 0));
    CheckMenuItem(GetMenu(main_window), IDM_SHOW_ALL, show_all ? MF_CHECKED : MF_UNCHECKED);
    SendMessageA(toolbar, TB_SETSTATE, IDM_SHOW_ALL,
                 MAKELONG(show_all_button_state(state, show_all != 0), 0));
}

void focus_list() { SetFocus(list_view); }

void on_create(HWND window) {
    init_common_controls();
    toolbar = create_toolbar(window, instance);
    status_bar = create_status_bar(window, instance);
    list_view = create_service_list(window);
    show_all = 0;
    fill_service_list(list_view, show_all);
    main_window = window;
    previous_list_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list_view, GWLP_WNDPROC));
    SetWindowLongPtrA(list_view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_view_proc));
    update_restore_command();
    update_selection_commands();
    update_show_all_check();
}

int outer_height(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    return rect.bottom - rect.top;
}

void on_size(WPARAM wparam, LPARAM lparam) {
    const int toolbar_height = outer_height(toolbar);
    const int status_height = outer_height(status_bar);
    SendMessageA(toolbar, WM_SIZE, wparam, lparam);
    SendMessageA(status_bar, WM_SIZE, wparam, lparam);
    const int width = LOWORD(lparam);
    const int height = HIWORD(lparam);
    MoveWindow(list_view, 0, toolbar_height, width, height - status_height - toolbar_height, TRUE);
}

void on_destroy() {
    history_clear(history);
    destroy_image_list(toolbar_images);
    Win32Profile profile(SETTINGS_SECTION, settings_file);
    save_settings(profile, read_window_settings(main_window, list_view));
    PostQuitMessage(0);
}

LRESULT on_notify(const NMHDR* header, LPARAM lparam) {
    switch (header->code) {
    case TTN_NEEDTEXTA:
        return fill_toolbar_tooltip(reinterpret_cast<TOOLTIPTEXTA*>(lparam), instance);
    case LVN_COLUMNCLICK:
        sort_service_list(header->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(lparam)->iSubItem);
        return 0;
    case LVN_ITEMCHANGED:
        update_selection_commands();
        return 0;
    default:
        return 0;
    }
}

void show_about() {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), main_window, about_dialog_proc, 0);
    focus_list();
}

// The restoration has saved the history itself; the dialog read it afresh,
// so the command follows it however the dialog ended.
void restore_from_history() {
    // The refill leaves the selection commands as they are.
    if (run_restore_dialog() == 1) fill_service_list(list_view, show_all);
    update_restore_command();
    focus_list();
}

// With no row selected nothing at all happens, not even a refresh.
void start_or_stop_selected(void (*operation)(const ServiceRow& service)) {
    const ServiceRow* service = selected_service();
    if (service == nullptr) return;
    operation(*service);
    refresh_table();
}

void on_command(HWND window, WORD command) {
    switch (command) {
    case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_SAVE_LIST:
        export_list(main_window, list_view);
        focus_list();
        break;
    case IDM_ABOUT: show_about(); break;
    case IDM_DELETE:
        delete_selected_service();
        focus_list();
        break;
    case IDM_RESTORE: restore_from_history(); break;
    case IDM_REFRESH: refresh_table(); break;
    case IDM_START: start_or_stop_selected(start_listed_service); break;
    case IDM_STOP: start_or_stop_selected(stop_listed_service); break;
    case IDM_SHOW_ALL:
        show_all = !show_all;
        update_show_all_check();
        refresh_table();
        break;
    default: break;
    }
}

// The menu acts on the row already selected; a right press never selects.
void show_context_menu() {
    const ServiceRow* service = selected_service();
    if (service == nullptr) return;
    HMENU menu = CreatePopupMenu();
    for (const ContextMenuItem& item : context_menu_items(service->texts[COL_STATE])) {
        if (item.text == nullptr)
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(menu, item.greyed ? MF_GRAYED : MF_ENABLED, item.command, item.text);
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(main_window);
    TrackPopupMenu(menu, 0, cursor.x, cursor.y, 0, main_window, nullptr);
    DestroyMenu(menu);
}

}  // namespace

int selected_row() {
    return static_cast<int>(SendMessageA(list_view, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void refresh_table() {
    fill_service_list(list_view, show_all);
    update_selection_commands();
}

const ServiceRow* selected_service() { return listed_service(list_view, selected_row()); }

void update_selection_commands() {
    const ServiceRow* service = selected_service();
    const SelectionCommands commands =
        selection_commands(service != nullptr, service ? service->texts[COL_STATE] : "");
    enable_command(IDM_DELETE, commands.delete_enabled);
    enable_command(IDM_START, commands.start_enabled);
    enable_command(IDM_STOP, commands.stop_enabled);
}

void update_restore_command() { enable_command(IDM_RESTORE, restore_enabled(history)); }

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: on_create(window); return 0;
    case WM_SIZE: on_size(wparam, lparam); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wparam) != 0) focus_list();
        return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: on_destroy(); return 0;
    case WM_NOTIFY: return on_notify(reinterpret_cast<NMHDR*>(lparam), lparam);
    case WM_COMMAND: on_command(window, LOWORD(wparam)); return 0;
    case WM_LIST_CONTEXTMENU: show_context_menu(); return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

}  // namespace quorvel
