"""Saving the list: the real save dialog driven from outside, the files it
leaves and what a CSV reader makes of them."""

import csv
import io
import os

import harness
from fixtures import TEST_BIN, remove_service
from harness import test, scm, ui, Program, wait_until, TEST_DIR, win_path, sync
from test_catalogue import cp932, sorted_by

IDM_SAVE_LIST = 40002
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
FILE_NAME, FILE_TYPE = 1148, 1136  # the dialog's name box and its type list
LIST_VIEW_ID = 100
FILE_TYPES = [cp932("テキスト (カンマで区切られたファイル)( *.csv)"),
              cp932("テキスト (タブで区切られたファイル) (*.txt)")]
HEADERS = [cp932(text) for text in
           ("名前", "説明", "状態", "スタートアップの種類", "ログオン", "パス", "内部名", "種別")]

DESCRIBED = [  # service name, display name, description
    ("qt_ex_quotes", "Qt Export Quotes", 'He said "x, y"\r\nsecond line'),
    ("qt_ex_leading", "qt export leading", '"quoted" start\n'),
    ("qt_ex_breaks", "エクスポート 改行", "\r\n一行目\r\n\r\n二行目"),
]


def exported(path):
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()


def expected_bytes(rows, tab):
    """The file for these list texts: CR and LF dropped; in comma mode a text
    with a comma or a double quote enclosed in quotes, its quotes doubled."""
    def field(text):
        text = text.replace(b"\r", b"").replace(b"\n", b"")
        if not tab and (b"," in text or b'"' in text):
            return b'"' + text.replace(b'"', b'""') + b'"'
        return text
    separator = b"\t" if tab else b","
    return b"".join(separator.join(map(field, row)) + b"\r\n" for row in [HEADERS] + rows)


def read_back(data):
    """The rows Python's csv module reads; no text may end in half a
    character."""
    return list(csv.reader(io.StringIO(data.decode("cp932"), newline="")))


def as_read(rows):
    return [[text.decode("cp932").replace("\r", "").replace("\n", "")
             for text in row] for row in [HEADERS] + rows]


def open_save_dialog(program):
    program.post(IDM_SAVE_LIST)
    wait_until(lambda: ui("dialog") != b"0", 30, "the save dialog")


def choose(program, path, button=IDOK):
    ui("dialog-set-text", FILE_NAME, path)
    program.press(button)


def dialog_closed():
    wait_until(lambda: ui("dialog") == b"0", 30, "the save dialog to close")
    wait_until(lambda: ui("focus").strip() == str(LIST_VIEW_ID).encode(), 30,
               "the focus back on the list")


def make_described_services():
    for name, display, description in DESCRIBED:
        remove_service(name)
        scm("create", name, display, hex(0x10), 3, TEST_BIN + " quick")
        scm("describe", name, description)


def remove_files(*names):
    for name in names:
        path = os.path.join(TEST_DIR, name)
        if os.path.exists(path):
            os.remove(path)


@test
def sorted_list_saved_as_csv_and_tsv_holds_the_list_texts():
    make_described_services()
    remove_files("sorted.csv", "LIST.TXT")
    harness.set_windows_version("winxp")  # NT 5: descriptions are read
    try:
        with Program() as program:
            before = program.rows()
            want = sorted_by(before, 0)
            assert want != before  # the order in the file proves the sort
            ui("click-header", 0)
            wait_until(lambda: program.rows() == want, 20, "rows sorted by name")
            descriptions = [row[1] for row in want]
            assert any(b'"' in d and b"," in d for d in descriptions), descriptions

            open_save_dialog(program)
            assert ui("dialog-combo", FILE_TYPE).split(b"\x1e")[:-1] == FILE_TYPES
            assert ui("dialog-text", FILE_TYPE) == FILE_TYPES[0]  # comma-separated first
            choose(program, win_path("sorted.csv"))
            dialog_closed()
            comma = expected_bytes(want, tab=False)
            wait_until(lambda: exported(os.path.join(TEST_DIR, "sorted.csv")) == comma, 30,
                       "sorted.csv to hold the list")

            open_save_dialog(program)
            choose(program, win_path("LIST.TXT"))  # the comma type is still chosen
            dialog_closed()
            tab = expected_bytes(want, tab=True)
            wait_until(lambda: exported(os.path.join(TEST_DIR, "LIST.TXT")) == tab, 30,
                       "LIST.TXT to hold the list, tab-separated")
            sync(program)
            assert program.no_message_box()
        assert read_back(comma) == as_read(want)
    finally:
        harness.set_windows_version(None)
        for name, _, _ in DESCRIBED:
            remove_service(name)
        remove_files("sorted.csv", "LIST.TXT")


@test
def cancel_in_the_save_dialog_creates_nothing():
    remove_files("cancelled.csv")
    with Program() as program:
        open_save_dialog(program)
        choose(program, win_path("cancelled.csv"), IDCANCEL)
        dialog_closed()
        sync(program)
        assert program.no_message_box()
    assert not os.path.exists(os.path.join(TEST_DIR, "cancelled.csv"))


@test
def an_existing_file_is_replaced_only_when_the_prompt_says_yes():
    path = os.path.join(TEST_DIR, "existing.csv")
    with open(path, "wb") as f:
        f.write(b"old content\r\n")
    try:
        with Program() as program:
            want = expected_bytes(program.rows(), tab=False)
            open_save_dialog(program)
            choose(program, win_path("existing.csv"))
            _, _, buttons, _, owner = program.message_box()
            assert (buttons, owner) == ("YES,NO", "dialog")
            program.press(IDNO)
            wait_until(program.no_message_box, 20, "the prompt to close")
            assert ui("dialog") != b"0"  # back in the save dialog
            assert exported(path) == b"old content\r\n"

            program.press(IDOK)
            program.message_box()
            program.press(IDYES)
            dialog_closed()
            wait_until(lambda: exported(path) == want, 30, "existing.csv to hold the list")
    finally:
        os.remove(path)
