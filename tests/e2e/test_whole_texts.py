"""Texts longer than a 260-byte buffer: long command lines, display names
and service names reach the operations, the messages, the history, the
snapshots, the export and the sort whole."""

import csv
import io
import os
import shutil

import harness

from fixtures import TEST_BIN, remove_service
from harness import test, scm, ui, Program, wait_until, TEST_DIR, win_path, FIELD, states
from test_catalogue import cp932, sorted_by
from test_deletion import confirm_and_expect_deleted, history_bytes, ENABLED
from test_export import open_save_dialog, choose as choose_file, dialog_closed, expected_bytes
from test_restoration import open_dialog, restore, record_line

IDM_DELETE, IDM_START, IDM_STOP = 40005, 40009, 40010
IDOK = 1
COL_NAME, COL_PATH, COL_SERVICE_NAME = 0, 5, 6
SNAPSHOTS = os.path.join(TEST_DIR, "quorvel.snapshots")
EXPORT = "whole.csv"

# A command line as agents and Java services carry them, over 300 bytes, a
# double-byte text near its end; the two services differ only after it.
COMMAND_LINE = (TEST_BIN + " quick " +
                " ".join("-Dqt.option%02d=value%02d" % (i, i) for i in range(14)) +
                " -Dqt.label=長いパスの終わり")
PATH_Z = ("qt_wt_path_a", "Qt Whole Path A", COMMAND_LINE + " -Dqt.last=z")
PATH_A = ("qt_wt_path_b", "Qt Whole Path B", COMMAND_LINE + " -Dqt.last=a")
# 140 double-byte characters: 280 bytes.
DISPLAY = ("qt_wt_display", "長い表示名" * 28, TEST_BIN + " quick")
# Over 259 bytes in code page 932 (286).
LONG_NAME = ("qt_wt_" + "名" * 140, "Qt Whole Name", TEST_BIN + " quick")


def make(service):
    name, display, path = service
    remove_service(name)
    scm("create", name, display, "0x10", 3, path, "-")


def row_of(program, name):
    return next(row for row in program.rows() if row[COL_SERVICE_NAME] == cp932(name))


def select_by_name(program, name):
    names = [row[COL_SERVICE_NAME] for row in program.rows()]
    ui("select", names.index(cp932(name)))


def clear_history():
    for path in (os.path.join(TEST_DIR, "quorvel.his"), os.path.join(TEST_DIR, EXPORT)):
        if os.path.exists(path):
            os.remove(path)
    if os.path.isdir(SNAPSHOTS):
        shutil.rmtree(SNAPSHOTS)


def snapshot_records():
    """The ;record= line of every snapshot, oldest first."""
    lines = []
    for name in sorted(os.listdir(SNAPSHOTS)):
        lines.append(harness.read_snapshot(os.path.join(SNAPSHOTS, name)).split("\r\n")[1])
    return lines


def delete_in_program(program, service):
    name, display, _ = service
    select_by_name(program, name)
    wait_until(lambda: states()[IDM_DELETE] == ENABLED, 20, "Delete enabled")
    program.post(IDM_DELETE)
    confirm_and_expect_deleted(program, display)
    program.press(IDOK)
    wait_until(program.no_message_box, 20, "the message to close")


@test
def long_paths_and_display_names_stay_whole_from_the_list_to_the_restoration():
    services = (PATH_Z, PATH_A, DISPLAY)
    assert len(cp932(COMMAND_LINE)) >= 300 and len(cp932(DISPLAY[1])) == 280
    clear_history()
    for service in services:
        make(service)
    try:
        with Program() as program:
            rows = program.rows()
            shown = {row[COL_SERVICE_NAME]: row for row in rows}
            for name, display, path in services:
                assert shown[cp932(name)][COL_NAME] == cp932(display)
                assert shown[cp932(name)][COL_PATH] == cp932(path)

            # Alike in their first 259 bytes, the two paths sort by what follows.
            names = [row[COL_SERVICE_NAME] for row in rows]
            assert names.index(cp932(PATH_Z[0])) < names.index(cp932(PATH_A[0]))
            want = sorted_by(rows, COL_PATH)
            wanted_names = [row[COL_SERVICE_NAME] for row in want]
            assert wanted_names.index(cp932(PATH_A[0])) < wanted_names.index(cp932(PATH_Z[0]))
            ui("click-header", COL_PATH)
            wait_until(lambda: program.rows() == want, 20, "rows sorted by the whole paths")

            # The export holds the rows as sorted, whole.
            open_save_dialog(program)
            choose_file(program, win_path(EXPORT))
            dialog_closed()
            exported = os.path.join(TEST_DIR, EXPORT)
            wait_until(lambda: os.path.exists(exported) and
                       open(exported, "rb").read() == expected_bytes(want, tab=False),
                       30, "the export to hold the sorted rows whole")
            with open(exported, "rb") as f:
                read = list(csv.reader(io.StringIO(f.read().decode("cp932"), newline="")))
            by_name = {r[COL_SERVICE_NAME]: r for r in read}
            assert by_name[PATH_Z[0]][COL_PATH] == PATH_Z[2]
            assert by_name[DISPLAY[0]][COL_NAME] == DISPLAY[1]

            # The messages, the history and the snapshots name them whole.
            deleted = [PATH_Z, DISPLAY]
            records = [record_line(row_of(program, service[0])) for service in deleted]
            for service in deleted:
                delete_in_program(program, service)
        assert history_bytes() == b"".join(record + b"\r\n" for record in records)
        assert snapshot_records() == [harness.record_comment(record) for record in records]

        # Without its snapshot, the record alone brings the whole path back.
        os.remove(os.path.join(SNAPSHOTS, sorted(os.listdir(SNAPSHOTS))[0]))
        with Program() as program:
            open_dialog(program)
            restore(program, 0, PATH_Z[1])
        config = scm("config", PATH_Z[0]).split(FIELD)
        assert config[3] == cp932(PATH_Z[2]), config[3]
    finally:
        for service in services:
            remove_service(service[0])
        clear_history()


@test
def a_service_name_over_259_bytes_is_started_stopped_and_deleted_by_its_whole_name():
    name, display, _ = LONG_NAME
    assert len(cp932(name)) > 259
    make(LONG_NAME)
    clear_history()
    try:
        with Program() as program:
            row = row_of(program, name)
            for command, caption, text, state in ((IDM_START, "開始", "%s を開始しました", 4),
                                                  (IDM_STOP, "停止", "%s を停止しました", 1)):
                select_by_name(program, name)
                program.post(command)
                box = program.message_box()
                assert box[:2] == (cp932(caption), cp932(text % display)), box
                program.press(IDOK)
                wait_until(lambda: scm("state", name).strip() == str(state).encode(), 30,
                           "the service in state %d" % state)
            delete_in_program(program, LONG_NAME)
        assert scm("state", name).strip() == b"0"
        assert history_bytes() == record_line(row) + b"\r\n"
        assert snapshot_records() == [harness.record_comment(record_line(row))]
    finally:
        remove_service(name)
        clear_history()
