#include "app/main_window_win32.h"

#include "app/about_win32.h"
#include "app/common_controls_win32.h"
#include "app/main_window_rules.h"
#include "app/save_list_win32.h"
#include "app/service_commands_win32.h"
#include "app/service_list_win32.h"
#include "app/toolbar_layout.h"
#include "app/toolbar_win32.h"
#include "res/resource.h"
#include "settings/profile_win32.h"
#include "settings/settings_win32.h"

namespace quorvel {

namespace {

// Toolbar first, then the menu bar, as both always show the same state.
void enable_command(const MainWindow& main, int command, bool enabled) {
    SendMessageA(main.toolbar, TB_SETSTATE, command,
                 MAKELONG(enabled ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE, 0));
    EnableMenuItem(GetMenu(main.window), command, enabled ? MF_ENABLED : MF_GRAYED);
}

void update_show_all_check(const MainWindow& main) {
    const int state = static_cast<int>(SendMessageA(main.toolbar, TB_GETSTATE, IDM_SHOW_ALL, 0));
    CheckMenuItem(GetMenu(main.window), IDM_SHOW_ALL, main.show_all ? MF_CHECKED : MF_UNCHECKED);
    SendMessageA(main.toolbar, TB_SETSTATE, IDM_SHOW_ALL,
                 MAKELONG(show_all_button_state(state, main.show_all), 0));
}

void focus_list(const MainWindow& main) { SetFocus(main.list_view); }

// The list's font, and the status bar's, which the toolbar's tooltips share,
// made for the window's DPI. The controls let go of the old fonts before
// they are deleted; one that cannot be made leaves the control its own.
void apply_fonts(MainWindow& main) {
    Font list = list_font(main.scale.window_dpi);
    Font status = status_font(main.scale.window_dpi);
    if (list) {
        SendMessageA(main.list_view, WM_SETFONT, reinterpret_cast<WPARAM>(list.get()), TRUE);
        main.list_font = std::move(list);
    }
    if (status) {
        const auto font = reinterpret_cast<WPARAM>(status.get());
        SendMessageA(main.status_bar, WM_SETFONT, font, TRUE);
        HWND tooltips = reinterpret_cast<HWND>(SendMessageA(main.toolbar, TB_GETTOOLTIPS, 0, 0));
        if (tooltips != nullptr) SendMessageA(tooltips, WM_SETFONT, font, TRUE);
        main.status_font = std::move(status);
    }
    // The status bar takes its height from its font when it is sized.
    SendMessageA(main.status_bar, WM_SIZE, 0, 0);
}

void on_create(MainWindow& main) {
    init_common_controls();
    main.scale.window_dpi = window_dpi(main.window);
    main.column_widths = settings_in_pixels(main.saved_settings, main.scale).column_widths;
    main.toolbar =
        create_toolbar(main.window, main.instance, main.toolbar_images, main.scale.window_dpi);
    main.status_bar = create_status_bar(main.window, main.instance);
    main.list_view = create_service_list(main);
    apply_fonts(main);
    main.show_all = false;
    fill_service_list(main);
    subclass_service_list(main);
    update_restore_command(main);
    update_selection_commands(main);
    update_show_all_check(main);
}

int outer_height(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    return rect.bottom - rect.top;
}

void on_size(const MainWindow& main, WPARAM wparam, LPARAM lparam) {
    const int toolbar_height = outer_height(main.toolbar);
    const int status_height = outer_height(main.status_bar);
    SendMessageA(main.toolbar, WM_SIZE, wparam, lparam);
    SendMessageA(main.status_bar, WM_SIZE, wparam, lparam);
    const int width = LOWORD(lparam);
    const int height = HIWORD(lparam);
    MoveWindow(main.list_view, 0, toolbar_height, width, height - status_height - toolbar_height,
               TRUE);
}

void lay_out(const MainWindow& main) {
    RECT client{};
    GetClientRect(main.window, &client);
    on_size(main, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// The window moved to a monitor of another scale (or the scale changed):
// everything it draws is made again for the new DPI, the columns keep
// their widths in units, and the window takes the rectangle Windows
// suggests, which keeps its size in units too.
void on_dpi_changed(MainWindow& main, WPARAM wparam, const RECT& suggested) {
    const int old_dpi = main.scale.window_dpi;
    const int dpi = HIWORD(wparam);  // the low word, the horizontal DPI, is the same
    if (dpi <= 0) return;
    main.scale.window_dpi = dpi;
    rescale_columns(main.list_view, old_dpi, dpi);
    scale_toolbar(main.toolbar, main.instance, main.toolbar_images, dpi);
    apply_fonts(main);
    SetWindowPos(main.window, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The bars' heights changed even where the window's size did not.
    lay_out(main);
}

void on_destroy(MainWindow& main) {
    history_clear(main.history);
    main.toolbar_images = ImageList();
    Win32Profile profile(SETTINGS_SECTION, main.settings_file);
    save_settings(profile, settings_in_units(read_window_settings(main.window, main.list_view),
                                             main.scale));
    PostQuitMessage(0);
}

LRESULT on_notify(MainWindow& main, const NMHDR* header, LPARAM lparam) {
    switch (header->code) {
    case TTN_NEEDTEXTA:
        return fill_toolbar_tooltip(reinterpret_cast<TOOLTIPTEXTA*>(lparam), main.instance);
    case LVN_COLUMNCLICK:
        sort_service_list(main, reinterpret_cast<const NMLISTVIEW*>(lparam)->iSubItem);
        return 0;
    case LVN_ITEMCHANGED:
        update_selection_commands(main);
        return 0;
    default:
        return 0;
    }
}

void show_about(const MainWindow& main) {
    run_about_dialog(main.window, main.instance);
    focus_list(main);
}

// The restoration has saved the history itself; the dialog read it afresh,
// so the command follows it however the dialog ended.
void restore_from_history(MainWindow& main) {
    // The refill leaves the selection commands as they are.
    if (run_restore_dialog(main)) fill_service_list(main);
    update_restore_command(main);
    focus_list(main);
}

// With no row selected nothing at all happens, not even a refresh.
void start_or_stop_selected(MainWindow& main,
                            void (*operation)(HWND owner, const ServiceRow& service)) {
    const ServiceRow* service = selected_service(main);
    if (service == nullptr) return;
    operation(main.window, *service);
    refresh_table(main);
}

void on_command(MainWindow& main, WORD command) {
    switch (command) {
    case IDM_EXIT: SendMessageA(main.window, WM_CLOSE, 0, 0); break;
    case IDM_SAVE_LIST:
        save_list(main);
        focus_list(main);
        break;
    case IDM_ABOUT: show_about(main); break;
    case IDM_DELETE:
        delete_selected_service(main);
        focus_list(main);
        break;
    case IDM_RESTORE: restore_from_history(main); break;
    case IDM_REFRESH: refresh_table(main); break;
    case IDM_START: start_or_stop_selected(main, start_listed_service); break;
    case IDM_STOP: start_or_stop_selected(main, stop_listed_service); break;
    case IDM_SHOW_ALL:
        main.show_all = !main.show_all;
        update_show_all_check(main);
        refresh_table(main);
        break;
    default: break;
    }
}

// The menu acts on the row already selected; a right press never selects.
void show_context_menu(const MainWindow& main) {
    const ServiceRow* service = selected_service(main);
    if (service == nullptr) return;
    const Menu menu(CreatePopupMenu());
    // The items read as the main menu's items of the same commands.
    const HMENU main_menu = GetMenu(main.window);
    for (const ContextMenuItem& item : context_menu_items(service->texts[COL_STATE])) {
        wchar_t text[64] = L"";
        if (item.command == 0)
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        else if (GetMenuStringW(main_menu, item.command, text, ARRAYSIZE(text), MF_BYCOMMAND) > 0)
            AppendMenuW(menu.get(), item.greyed ? MF_GRAYED : MF_ENABLED, item.command, text);
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(main.window);
    TrackPopupMenu(menu.get(), 0, cursor.x, cursor.y, 0, main.window, nullptr);
}

// WM_NCCREATE, the first message that carries the creation data: from
// here on the window holds its state.
void keep_state(HWND window, LPARAM lparam) {
    auto* main = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    main->window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(main));
}

}  // namespace

MainWindow* main_window_of(HWND window) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

int selected_row(const MainWindow& main) {
    return static_cast<int>(SendMessageA(main.list_view, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void refresh_table(MainWindow& main) {
    fill_service_list(main);
    update_selection_commands(main);
}

const ServiceRow* selected_service(const MainWindow& main) {
    return listed_service(main, selected_row(main));
}

void update_selection_commands(const MainWindow& main) {
    const ServiceRow* service = selected_service(main);
    const SelectionCommands commands =
        selection_commands(service != nullptr, service ? service->texts[COL_STATE] : "");
    enable_command(main, IDM_DELETE, commands.delete_enabled);
    enable_command(main, IDM_START, commands.start_enabled);
    enable_command(main, IDM_STOP, commands.stop_enabled);
}

void update_restore_command(const MainWindow& main) {
    enable_command(main, IDM_RESTORE, restore_enabled(main.history));
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) keep_state(window, lparam);
    MainWindow* main = main_window_of(window);
    // Only WM_GETMINMAXINFO comes before WM_NCCREATE.
    if (main == nullptr) return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
    case WM_CREATE: on_create(*main); return 0;
    case WM_SIZE: on_size(*main, wparam, lparam); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wparam) != 0) focus_list(*main);
        return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: on_destroy(*main); return 0;
    case WM_NOTIFY: return on_notify(*main, reinterpret_cast<NMHDR*>(lparam), lparam);
    case WM_COMMAND: on_command(*main, LOWORD(wparam)); return 0;
    case WM_LIST_CONTEXTMENU: show_context_menu(*main); return 0;
    case WM_DPICHANGED:
        on_dpi_changed(*main, wparam, *reinterpret_cast<const RECT*>(lparam));
        return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

}  // namespace quorvel
