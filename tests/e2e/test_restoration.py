"""Restoring deleted services from the history: the restore dialog, the
re-created services, the history file afterwards and the messages."""

import os

import harness
from fixtures import TEST_BIN, remove_service
from harness import test, scm, ui, Program, wait_until, TEST_DIR, states

IDM_RESTORE = 40007
IDOK, IDCANCEL = 1, 2
MAIN_LIST, HISTORY_LIST = 100, 1001
ENABLED, GREYED = 4, 16
VK_ESCAPE = 0x1B
LVS_EX_GRIDLINES_FULLROWSELECT = 0x21
COLUMN_UNITS = [3, 1, 1, 1, 1, 2, 1, 1]
STOPPED, RUNNING = 1, 4
HISTORY = os.path.join(TEST_DIR, "quorvel.his")


def cp932(text):
    return text.encode("cp932")


CAPTION = cp932("サービスの復活")


def record_line(texts):
    """A row's history line as the program writes it: plain, or escaped
    when a text holds a comma or a line break."""
    if not any(byte in text for text in texts for byte in (b",", b"\r", b"\n")):
        return b",".join(texts)

    def escape(text):
        for byte, code in ((b"%", b"%25"), (b",", b"%2C"), (b"\r", b"%0D"), (b"\n", b"%0A")):
            text = text.replace(byte, code)
        return text
    return b",".join(escape(text) for text in texts) + b",%"


def write_history(content):
    with open(HISTORY, "wb") as f:
        f.write(content)


def history_bytes():
    if not os.path.exists(HISTORY):
        return None
    with open(HISTORY, "rb") as f:
        return f.read()


def lines(*records):
    return b"".join(record + b"\r\n" for record in records)


def make(name, display, service_type, start, account="-"):
    remove_service(name)
    scm("create", name, display, hex(service_type), start, TEST_BIN + " quick", account)


def manager_record(name):
    """name, display, type, state, start type, account, path, description."""
    for record in harness.split_records(scm("list", 0x30)):
        if record[0] == cp932(name):
            return record
    return None


def rows_of(program, names):
    rows = {row[6]: row for row in program.rows()}
    return [rows[cp932(name)] for name in names]


def focused():
    return int(ui("focus"))


def ok_enabled():
    return ui("dialog-enabled", IDOK).strip() == b"1"


def dialog_rows():
    return harness.split_records(ui("dialog-rows", HISTORY_LIST))


def open_dialog(program):
    program.post(IDM_RESTORE)
    wait_until(lambda: ui("dialog") == CAPTION, 20, "the restore dialog")
    wait_until(lambda: focused() == HISTORY_LIST, 20, "the history list focused")


def choose(row):
    ui("dialog-select", HISTORY_LIST, row)
    wait_until(lambda: ok_enabled() == (row >= 0), 20, "OK to follow the selection")


def expect_box(program, caption, text, buttons, icon):
    got = program.message_box()
    assert got == (cp932(caption), cp932(text), buttons, icon, "dialog"), got


def restore(program, row, display):
    choose(row)
    program.press(IDOK)
    expect_box(program, "復活", "サービス名 %s を復活しました" % display, "OK", False)
    program.press(IDOK)
    # The list can have the focus back as soon as the dialog ends, before the
    # refill and the save: callers wait for the history they expect.
    wait_until(lambda: ui("dialog") == b"0" and focused() == MAIN_LIST, 20, "the flow to end")


def wait_for_history(expected):
    wait_until(lambda: history_bytes() == expected, 20, "the history to be saved")


def check_layout(program):
    main = list(map(int, ui("window-rect").split()))
    box = list(map(int, ui("dialog-rect").split()))
    width, height = box[2] - box[0], box[3] - box[1]
    centred = [main[0] + int((main[2] - main[0] - width) / 2),
               main[1] + int((main[3] - main[1] - height) / 2)]
    assert box[:2] == centred, (main, box)
    listing = ui("dialog-list", HISTORY_LIST).split()
    client_width, style, widths = int(listing[0]), int(listing[1]), list(map(int, listing[2:]))
    assert style & LVS_EX_GRIDLINES_FULLROWSELECT == LVS_EX_GRIDLINES_FULLROWSELECT, style
    unit = (client_width + 1) // 11
    assert widths == [units * unit for units in COLUMN_UNITS], (client_width, widths)


@test
def deleted_services_come_back_one_by_one():
    names = ["qt_rs_first", "qt_rs_second", "qt_rs_third"]
    make(names[0], "復活テスト 一", 0x10, 3)
    make(names[1], "復活テスト 二", 0x10, 2)
    make(names[2], "復活テスト 三", 0x110, 4)
    scm("start", names[1])
    scm("wait-state", names[1], RUNNING, 30000)
    before = {name: manager_record(name) for name in names}
    try:
        with Program() as program:
            rows = rows_of(program, names)
        assert rows[1][2] == cp932("開始") and rows[0][2] == rows[2][2] == b"", rows
        rows[2][2] = cp932("開始中")  # deleted while starting: not started again
        for name in names:
            remove_service(name)
        records = [record_line(row) for row in rows]
        write_history(lines(*records))

        with Program() as program:
            open_dialog(program)
            check_layout(program)
            assert dialog_rows() == rows, dialog_rows()
            assert not ok_enabled()
            choose(1)
            choose(-1)
            restore(program, 1, "復活テスト 二")
            wait_for_history(lines(records[0], records[2]))
            assert states()[IDM_RESTORE] == ENABLED
            scm("wait-state", names[1], RUNNING, 30000)
            restored = manager_record(names[1])
            assert restored[:3] + restored[4:7] == before[names[1]][:3] + before[names[1]][4:7], \
                (restored, before[names[1]])
            assert rows_of(program, [names[1]])[0][3:] == rows[1][3:]

            open_dialog(program)
            assert dialog_rows() == [rows[0], rows[2]], dialog_rows()
            restore(program, 1, "復活テスト 三")
            # Had it been started, it would be starting by the time OK returned.
            assert manager_record(names[2])[3] == str(STOPPED).encode()
            assert manager_record(names[2])[2] == b"272"  # 0x110
            wait_for_history(lines(records[0]))

            open_dialog(program)
            restore(program, 0, "復活テスト 一")
            assert manager_record(names[0])[3] == str(STOPPED).encode()
            wait_for_history(None)
            wait_until(lambda: states()[IDM_RESTORE] == GREYED, 20, "restore greyed")

            # Even forced open, an empty history gives nothing to choose.
            open_dialog(program)
            assert dialog_rows() == [] and not ok_enabled()
            program.press(IDCANCEL)
            wait_until(lambda: ui("dialog") == b"0", 20, "the dialog to close")
    finally:
        for name in names:
            remove_service(name)
        if os.path.exists(HISTORY):
            os.remove(HISTORY)


@test
def a_failed_restoration_keeps_the_dialog_and_the_record():
    make("qt_rs_taken", "既存のサービス", 0x10, 3)
    taken = cp932("復活テスト 重複,,,手動,LocalSystem,%s,qt_rs_taken,独自プロセス" % (
        TEST_BIN + " quick"))
    short = cp932("途中まで,説明,,自動,LocalSystem")
    # Hand-edited line ends: any rewrite would show as CR LF.
    content = taken + b"\n\n" + short + b"\n"
    write_history(content)
    try:
        with Program() as program:
            open_dialog(program)
            assert dialog_rows() == [taken.split(b","),
                                     short.split(b",") + [b""] * 3], dialog_rows()
            choose(0)
            program.press(IDOK)
            expect_box(program, "エラー", "復活テスト 重複 の復活に失敗しました。", "OK", True)
            program.press(IDOK)
            wait_until(lambda: harness.ui("msgbox") == b"0", 20, "the message box to close")
            wait_until(lambda: focused() == HISTORY_LIST, 20, "the history list focused")
            assert ui("dialog") == CAPTION
            assert len(dialog_rows()) == 2
            assert manager_record("qt_rs_taken")[1] == cp932("既存のサービス")

            # Esc, the close box and the cancel button all leave without a save.
            for leave in (lambda: ui("key", VK_ESCAPE), lambda: ui("dialog-close"),
                          lambda: program.press(IDCANCEL)):
                leave()
                wait_until(lambda: ui("dialog") == b"0" and focused() == MAIN_LIST, 20,
                           "the dialog to close")
                assert history_bytes() == content
                assert states()[IDM_RESTORE] == ENABLED
                open_dialog(program)
            program.press(IDCANCEL)
            wait_until(lambda: ui("dialog") == b"0", 20, "the dialog to close")
    finally:
        remove_service("qt_rs_taken")
        os.remove(HISTORY)


@test
def a_description_with_comma_and_line_break_keeps_name_and_path_in_place():
    name, display = "qt_rs_described", "復活テスト 説明"
    description = cp932("一行目, カンマ入り\r\n二行目,")
    make(name, display, 0x10, 3)
    scm("describe", name, description.decode("cp932"))
    harness.set_windows_version("winxp")  # NT 5: descriptions are read
    try:
        with Program() as program:
            row = rows_of(program, [name])[0]
        assert row[1] == description, row
        remove_service(name)
        write_history(lines(record_line(row)))
        with Program() as program:
            open_dialog(program)
            assert dialog_rows() == [row], dialog_rows()
            restore(program, 0, display)
        restored = manager_record(name)
        assert restored is not None
        assert (restored[1], restored[6]) == (cp932(display), cp932(TEST_BIN + " quick")), restored
        assert history_bytes() is None
    finally:
        harness.set_windows_version(None)
        remove_service(name)
        if os.path.exists(HISTORY):
            os.remove(HISTORY)
