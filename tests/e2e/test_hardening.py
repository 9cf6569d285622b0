"""What the program finds beside itself cannot hurt it: DLLs planted under
system names are never loaded, and hostile history and settings files
neither crash it nor cost a record."""

import os
import random
import shutil

import harness
import pe_file  # from scripts/, which harness puts on the path
from fixtures import TEST_BIN, remove_service
from harness import test, scm, select, ui, Program, wait_until, TEST_DIR

IDM_SAVE_LIST, IDM_ABOUT, IDM_DELETE, IDM_RESTORE, IDM_START = 40002, 40004, 40005, 40007, 40009
IDOK, IDCANCEL, IDYES = 1, 2, 6
FILE_NAME = 1148  # the save dialog's name box
HEADER_ROW = "名前,説明,状態,スタートアップの種類,ログオン,パス,内部名,種別\r\n".encode("cp932")
HISTORY_LIST = 1001
ABOUT_TEXT = 108
VK_RETURN = 0x0D
HISTORY = os.path.join(TEST_DIR, "quorvel.his")
SETTINGS = os.path.join(TEST_DIR, "quorvel.ini")
PLANTED = ("version.dll", "comdlg32.dll")
RESTORE_CAPTION = "サービスの復活".encode("cp932")


def mark(name):
    return os.path.join(TEST_DIR, name + ".loaded")


def plant_dlls():
    for name in PLANTED:
        shutil.copy(os.path.join(harness.BUILD, "tests", "e2e", name), TEST_DIR)


def remove_planted():
    for name in PLANTED:
        for path in (os.path.join(TEST_DIR, name), mark(name)):
            if os.path.exists(path):
                os.remove(path)


def history_lines(data):
    """The records a history file holds: lines split at any run of CR and LF."""
    return [line for line in data.replace(b"\r", b"\n").split(b"\n") if line]


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def open_restore_dialog(program):
    program.post(IDM_RESTORE)
    wait_until(lambda: ui("dialog") == RESTORE_CAPTION, 120, "the restore dialog")


def restore_dialog_count():
    return int(ui("dialog-count", HISTORY_LIST))


def close_restore_dialog():
    ui("press", IDCANCEL)
    wait_until(lambda: ui("dialog") == b"0", 60, "the restore dialog to close")


def native_first(names):
    """Wine prefers its own builtin DLLs; Windows takes a DLL found in the
    program's folder first. This makes Wine search as Windows does."""
    env = dict(os.environ)
    env["WINEDLLOVERRIDES"] += ";" + ",".join(n[:-4] for n in names) + "=n,b"
    return env


@test
def dlls_that_can_be_planted_are_loaded_from_the_system_directory_only():
    # What the loader resolves before the program's first instruction: only
    # DLLs the system always takes from its own directory.
    imports = pe_file.read(os.path.join(TEST_DIR, "quorvel.exe")).imports()
    assert set(imports) <= {"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll"}, imports
    saved = os.path.join(TEST_DIR, "planted.csv")
    plant_dlls()
    try:
        # The trap works: the default search takes them from here.
        for name in PLANTED:
            found = harness.run("dllprobe.exe", name, env=native_first([name]))
            assert found.strip().lower() == harness.win_path(name).lower().encode(), found
            assert os.path.exists(mark(name)), name
            os.remove(mark(name))
        # Wine's own user32 imports version.dll (the system's does not), so
        # only comdlg32 can be searched for as on Windows here.
        with Program(native_first(["comdlg32.dll"])) as program:
            program.post(IDM_ABOUT)  # reads the version through version.dll
            wait_until(lambda: ui("dialog") != b"0", 20, "the About dialog")
            text = ui("dialog-text", ABOUT_TEXT)
            assert text.startswith(b"quorvel Version 0.06"), text
            ui("key", VK_RETURN)
            wait_until(lambda: ui("dialog") == b"0", 20, "the About dialog to close")
            program.post(IDM_SAVE_LIST)  # the save dialog comes from comdlg32.dll
            wait_until(lambda: ui("dialog") != b"0", 30, "the save dialog")
            ui("dialog-set-text", FILE_NAME, harness.win_path("planted.csv"))
            program.press(IDOK)
            wait_until(lambda: os.path.exists(saved), 30, "the saved list")
            assert read(saved).startswith(HEADER_ROW)
        for name in PLANTED:
            assert not os.path.exists(mark(name)), name + " was loaded"
    finally:
        remove_planted()
        if os.path.exists(saved):
            os.remove(saved)


def hostile_history():
    random.seed(7)
    binary = bytes(random.randrange(0x80, 0x100) for _ in range(300))
    well_formed = b"qt_h_good,Desc,,Manual,LocalSystem,C:\\x.exe,qt_h_good,Own"
    return b"".join([
        well_formed + b"\r\n",
        b"zero\x00byte,in,the,middle,of,a,record,line\r\n",
        binary + b"\r\n",
        b"A" * (1 << 20) + b"\r\n",                       # a 1 MB line
        b"lone\rcarriage\rreturns\r",
        b"too,few\r\n",
        b"one,two,three,four,five,six,seven,eight,nine,ten\r\n",
        b",,,,,,,\r\n",
        b"%,%%,%2,%zz,,,,,%\r\n",                         # broken escapes
        well_formed + b"\n",
    ])


@test
def a_hostile_history_file_is_read_whole_and_kept_whole():
    content = hostile_history()
    expected = history_lines(content)
    write(HISTORY, content)
    try:
        with Program() as program:
            assert len(program.rows()) > 0
            open_restore_dialog(program)  # the history is rewritten here
            assert restore_dialog_count() == len(expected)
            rows = harness.split_records(ui("dialog-rows", HISTORY_LIST))
            assert rows[0][0] == b"qt_h_good" and rows[-1][0] == b"qt_h_good", rows[-1]
            assert rows[0][6] == b"qt_h_good", rows[0]
            close_restore_dialog()
        assert history_lines(read(HISTORY)) == expected
    finally:
        os.remove(HISTORY)


@test
def a_history_of_a_hundred_thousand_lines_is_offered_whole():
    line = b"qt_h_many,%s,,Manual,LocalSystem,C:\\many.exe,qt_h_many,Own\r\n"
    content = b"".join(line % str(i).encode() for i in range(100000))
    write(HISTORY, content)
    try:
        with Program() as program:
            open_restore_dialog(program)
            assert restore_dialog_count() == 100000
            close_restore_dialog()
        assert read(HISTORY) == content
    finally:
        os.remove(HISTORY)


@test
def hostile_settings_are_survived_and_rewritten_sane():
    write(SETTINGS, b"garbage before any section\r\n\x00\xff\xfe\r\n[quorvel]\r\n"
          b"right=99999999999999999999\r\nbottom=-2147483649\r\n"
          b"left=abc\r\ntop=\x81\x40\r\n"
          + b"".join(b"itemwide%d=-%d\r\n" % (c, 10 ** (c + 3)) for c in range(8))
          + b"[quorvel]\r\nnot a key\r\n=\r\n" + b"Z" * 100000 + b"\r\n")
    try:
        with Program() as program:
            assert len(program.rows()) > 0
        # The window's rectangle and widths went back as plain numbers.
        text = read(SETTINGS)
        section = text[text.index(b"[quorvel]\r\n"):].split(b"\r\n")[1:13]
        values = dict(line.split(b"=", 1) for line in section)
        assert set(values) == {b"left", b"top", b"right", b"bottom"} | {
            b"itemwide%d" % c for c in range(8)}, section
        for value in values.values():
            int(value)  # a plain decimal number, or this raises
    finally:
        os.remove(SETTINGS)


def answer(program, caption, text, button):
    box = program.message_box()
    assert box[:2] == (caption.encode("cp932"), text.encode("cp932")), box
    program.press(button)
    wait_until(program.no_message_box, 20, "the message box to close")


@test
def format_directives_in_names_are_shown_as_text():
    name, display = "qt_fmt_%s%n%x", "%s%n%x%p%d 書式"
    remove_service(name)
    scm("create", name, display, hex(0x10), 3, TEST_BIN + " quick")
    if os.path.exists(HISTORY):
        os.remove(HISTORY)
    try:
        with Program() as program:
            select(program, name)
            program.post(IDM_START)
            answer(program, "開始", display + " を開始しました", IDOK)
            select(program, name)
            program.post(IDM_DELETE)
            answer(program, "削除の確認", "サービス名 %s を削除しますか？" % display, IDYES)
            answer(program, "削除", "サービス名 %s を削除しました" % display, IDOK)
            open_restore_dialog(program)
            ui("dialog-select", HISTORY_LIST, 0)
            wait_until(lambda: ui("dialog-enabled", IDOK).strip() == b"1", 20, "OK enabled")
            ui("press", IDOK)
            answer(program, "復活", "サービス名 %s を復活しました" % display, IDOK)
        assert scm("state", name).strip() == b"4"  # running again, as it was
    finally:
        remove_service(name)
        if os.path.exists(HISTORY):
            os.remove(HISTORY)
