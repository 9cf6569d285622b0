"""The main window: command states, history at start-up, context menu,
layout, settings, the About dialog and the toolbar."""

import os
import subprocess

import harness
from harness import (test, ui, Program, wait_until, TEST_DIR, toolbar, states, row_index,
                     select, sync)

IDM_SAVE_LIST, IDM_ABOUT, IDM_DELETE, IDM_RESTORE = 40002, 40004, 40005, 40007
IDM_REFRESH, IDM_START, IDM_STOP, IDM_SHOW_ALL = 40008, 40009, 40010, 40011
ENABLED, GREYED, CHECKED = 4, 16, 1
VK_RETURN, VK_ESCAPE = 0x0D, 0x1B

SETTINGS = os.path.join(TEST_DIR, "quorvel.ini")
HISTORY = os.path.join(TEST_DIR, "quorvel.his")


def remove(path):
    if os.path.exists(path):
        os.remove(path)


@test
def toolbar_buttons_in_order():
    remove(HISTORY)
    with Program():
        buttons = toolbar()
    separator = (0, 1)
    want = [separator, (IDM_REFRESH, 0, 0), separator, (IDM_SAVE_LIST, 0, 1), separator,
            (IDM_DELETE, 0, 2), (IDM_RESTORE, 0, 3), separator, (IDM_START, 0, 4),
            (IDM_STOP, 0, 5), separator, (IDM_SHOW_ALL, 2, 6)]
    assert len(buttons) == 12, buttons
    for (command, _, style, image), expected in zip(buttons, want):
        assert (command, style) == expected[:2], (buttons, want)
        if command:
            assert image == expected[2], (buttons, want)


@test
def selection_decides_delete_start_and_stop():
    remove(HISTORY)
    with Program() as program:
        s = states()
        assert [s[c] for c in (IDM_DELETE, IDM_START, IDM_STOP, IDM_RESTORE)] == [GREYED] * 4, s
        assert s[IDM_REFRESH] == ENABLED and s[IDM_SAVE_LIST] == ENABLED
        cases = [("qt_own", GREYED, ENABLED), ("qt_pending", ENABLED, GREYED),
                 ("qt_share", ENABLED, GREYED)]
        for name, start, stop in cases:
            select(program, name)
            wait_until(lambda: (states()[IDM_START], states()[IDM_STOP]) == (start, stop), 20,
                       "Start/Stop for " + name)
            assert states()[IDM_DELETE] == ENABLED
        ui("send", IDM_REFRESH)  # a refresh leaves no row selected
        s = states()
        assert [s[c] for c in (IDM_DELETE, IDM_START, IDM_STOP)] == [GREYED] * 3, s


@test
def restore_follows_the_history_file_read_at_start_up():
    record = ("Gone Service,,開始,自動,LocalSystem,C:\\gone.exe,GoneSvc,独自プロセス\r\n"
              .encode("cp932"))
    cases = [(record, ENABLED), (b"\r\n\n\r", GREYED), (None, GREYED)]
    for content, expected in cases:
        remove(HISTORY)
        if content is not None:
            with open(HISTORY, "wb") as f:
                f.write(content)
        with Program():
            assert states()[IDM_RESTORE] == expected, (content, states())
        if content is not None:  # nothing deleted, nothing written
            with open(HISTORY, "rb") as f:
                assert f.read() == content
    remove(HISTORY)


@test
def show_all_check_follows_the_flag():
    with Program() as program:
        assert not states()[IDM_SHOW_ALL] & CHECKED
        count = len(program.rows())
        ui("send", IDM_SHOW_ALL)
        assert states()[IDM_SHOW_ALL] & CHECKED
        assert len(program.rows()) > count
        ui("send", IDM_SHOW_ALL)
        assert not states()[IDM_SHOW_ALL] & CHECKED
        assert len(program.rows()) == count


@test
def context_menu_only_for_a_selected_row():
    with Program() as program:
        ui("rclick", 0)
        sync(program)
        assert ui("popup-menu").strip() == b"0"
        select(program, "qt_share")
        ui("rclick", row_index(program, "qt_own"))  # another row: the menu is the selected one's
        wait_until(lambda: ui("popup-menu").strip() == b"1", 20, "the context menu")
        ui("cancel-menu")
        wait_until(lambda: ui("popup-menu").strip() == b"0", 20, "the menu to close")
        # The right press did not move the selection.
        wait_until(lambda: states()[IDM_DELETE] == ENABLED, 5, "selection kept")
        assert states()[IDM_START] == ENABLED  # qt_share is stopped


def rects():
    lines = ui("rects").decode().splitlines()
    client = tuple(map(int, lines[0].split()))
    return client, [tuple(map(int, line.split())) for line in lines[1:]]


@test
def list_fills_the_space_between_toolbar_and_status_bar():
    with Program():
        for width, height in ((700, 500), (420, 300), (1000, 650)):
            ui("set-size", width, height)
            (client_width, client_height, _), (bar, listing, status) = rects()
            assert listing == (0, bar[3], client_width, status[1]), (bar, listing, status)
            assert status[3] == client_height and bar[1] == 0, (bar, status, client_height)


def read_settings():
    with open(SETTINGS, "rb") as f:
        lines = f.read().decode("ascii").split("\r\n")
    assert lines[0] == "[quorvel]", lines
    pairs = [line.split("=", 1) for line in lines[1:] if line]
    return [k for k, _ in pairs], {k: int(v) for k, v in pairs}


def write_settings(values):
    text = "[quorvel]\r\n" + "".join("%s=%s\r\n" % kv for kv in values.items())
    with open(SETTINGS, "wb") as f:
        f.write(text.encode("ascii"))


def window_rect():
    return tuple(map(int, ui("window-rect").split()))


def widths():
    return list(map(int, ui("widths").split()))


KEYS = ["left", "top", "right", "bottom"] + ["itemwide%d" % i for i in range(8)]


@test
def settings_are_saved_at_close_and_restored_at_start():
    remove(SETTINGS)
    with Program():
        ui("set-size", 760, 520)
        ui("set-width", 2, 77)
        rect, saved_widths = window_rect(), widths()
    keys, values = read_settings()
    assert keys == KEYS, keys
    assert tuple(values[k] for k in KEYS[:4]) == rect
    assert [values["itemwide%d" % i] for i in range(8)] == saved_widths
    assert saved_widths[2] == 77
    with Program():
        assert window_rect() == rect, (window_rect(), rect)
        assert widths() == saved_widths
    assert read_settings()[1] == values, "a second run without changes writes the same values"


@test
def prepared_settings_give_size_and_default_widths():
    write_settings({"left": 100, "top": 50, "right": 700, "bottom": 450,
                    "itemwide0": 150, "itemwide3": 0, "itemwide5": "abc", "itemwide6": "90px",
                    "itemwide7": -5})
    with Program():
        assert window_rect() == (100, 50, 700, 450), window_rect()
        (client_width, _, scroll_bar), _ = rects()
        unit = (client_width - 1 - scroll_bar - 0 + 1) // 13
        units = [3, 2, 1, 1, 1, 3, 1, 1]
        want = [150] + [units[i] * unit for i in range(1, 8)]
        want[6] = 90
        want[7] = -5  # handed to the list as it stands
        assert widths() == want, (widths(), want)
    remove(SETTINGS)


@test
def closing_while_minimised_keeps_the_normal_rectangle():
    write_settings({"left": 120, "top": 60, "right": 820, "bottom": 560})
    with Program():
        ui("minimize")
    _, values = read_settings()
    assert (values["left"], values["top"], values["right"], values["bottom"]) == \
        (120, 60, 820, 560), values
    remove(SETTINGS)


@test
def about_dialog_shows_the_version_and_closes_only_with_ok():
    with Program() as program:
        ui("post", IDM_ABOUT)
        wait_until(lambda: ui("dialog") != b"0", 20, "the About dialog")
        text = ui("dialog-text", 108)
        assert text.startswith(b"quorvel Version 0.06"), text
        ui("key", VK_ESCAPE)
        sync(program)
        assert ui("dialog") != b"0", "Esc closed the About dialog"
        ui("key", VK_RETURN)
        wait_until(lambda: ui("dialog") == b"0", 20, "the About dialog to close")


def hover(button):
    x, y = map(int, ui("button-centre", button).split())
    for dx in (0, 1):  # the tooltip starts on a move within the button
        subprocess.run(["xdotool", "mousemove", str(x + dx), str(y)], check=True)


@test
def toolbar_tooltips_name_the_commands():
    with Program():
        for button, text in ((1, "最新の情報に更新"), (5, "削除"), (11, "全て表示")):
            hover(button)
            wait_until(lambda: ui("tooltip", check=False) == text.encode("cp932"), 20,
                       "the tooltip " + text)
        subprocess.run(["xdotool", "mousemove", "0", "0"], check=True)


def main_window_exists():
    return subprocess.run([harness.WINE, harness.win_path("uidrive.exe"), "iconic"],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


@test
def outside_the_nt_family_only_an_error_box_shows():
    remove(SETTINGS)
    harness.set_windows_version("win98")
    try:
        process = subprocess.Popen([harness.WINE, harness.win_path("quorvel.exe")],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            text = wait_until(lambda: (lambda t: t != b"0" and t)(ui("top-box", "Error")), 60,
                              "the Error box")
            assert text == "Windows NT/2000/XP で起動してください。".encode("cp932"), text
            assert not main_window_exists()
            ui("close-top-box", "Error")
            process.wait(timeout=30)
        finally:
            if process.poll() is None:
                process.kill()
    finally:
        harness.set_windows_version(None)
    assert not os.path.exists(SETTINGS), "nothing is written on the wrong platform"


@test
def the_window_opens_normally_whatever_show_command_it_gets():
    subprocess.run([harness.WINE, "start", "/min", harness.win_path("quorvel.exe")],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    ui("wait-window", 60000)
    try:
        assert ui("iconic").strip() == b"0"
    finally:
        ui("close")
        wait_until(lambda: not main_window_exists(), 30, "the window to close")
