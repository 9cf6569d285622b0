"""Deleting services: the safeguards, the confirmation, the stop, the
history record written before the service goes."""

import os
import time

import harness
from fixtures import TEST_BIN, remove_service
from harness import (test, scm, ui, Program, wait_until, TEST_DIR, states, select, sync)

IDM_DELETE, IDM_RESTORE, IDM_SHOW_ALL = 40005, 40007, 40011
IDOK, IDYES, IDNO = 1, 6, 7
ENABLED, GREYED = 4, 16
HISTORY = os.path.join(TEST_DIR, "quorvel.his")
LOAD_ORDER_QUESTION = "%s にはロード順序または依存関係が設定されています。削除しますか？"


def cp932(text):
    return text.encode("cp932")


def make(name, display, path=TEST_BIN + " quick", *dependencies, start=False):
    remove_service(name)
    scm("create", name, display, "0x10", 3, path, "-", *dependencies)
    if start:
        scm("start", name)
        scm("wait-state", name, 4, 30000)


def history_bytes():
    if not os.path.exists(HISTORY):
        return b""
    with open(HISTORY, "rb") as f:
        return f.read()


def start_delete(program, name):
    select(program, name)
    wait_until(lambda: states()[IDM_DELETE] == ENABLED, 20, "Delete enabled")
    program.post(IDM_DELETE)


def expect_box(program, caption, text, buttons, icon):
    got = program.message_box()
    assert got == (cp932(caption), cp932(text), buttons, icon, "main"), \
        tuple(field.decode("cp932", "replace") for field in got[:2]) + got[2:]


def expect_no_further_box(program):
    sync(program)
    assert program.no_message_box(), harness.ui("msgbox")


def confirm_and_expect_deleted(program, display):
    expect_box(program, "削除の確認", "サービス名 %s を削除しますか？" % display, "YES,NO", False)
    program.press(IDYES)
    expect_box(program, "削除", "サービス名 %s を削除しました" % display, "OK", False)


@test
def deleting_a_stopped_service_keeps_its_row_in_the_history():
    make("qt_del_plain", "削除テスト, 一")
    if os.path.exists(HISTORY):
        os.remove(HISTORY)
    with Program() as program:
        assert states()[IDM_RESTORE] == GREYED
        start_delete(program, "qt_del_plain")
        confirm_and_expect_deleted(program, "削除テスト, 一")
        # The row leaves the list before the message.
        assert not any(row[6] == b"qt_del_plain" for row in program.rows())
        program.press(IDOK)
        wait_until(program.no_message_box, 20, "the message to close")
        assert states()[IDM_RESTORE] == ENABLED
        assert states()[IDM_DELETE] == GREYED  # refilled, nothing selected
    # A display name with a comma is kept in the escaped form.
    assert history_bytes() == cp932(
        "削除テスト%2C 一,,,手動,LocalSystem,C:\\qtest\\testsvc.exe quick,qt_del_plain,"
        "独自プロセス,%\r\n"), history_bytes()
    assert scm("state", "qt_del_plain").strip() == b"0"


@test
def a_running_service_is_stopped_deleted_and_saved_as_running():
    make("qt_del_run", "Qt Del Running", start=True)
    before = history_bytes()
    with Program() as program:
        start_delete(program, "qt_del_run")
        confirm_and_expect_deleted(program, "Qt Del Running")
        program.press(IDOK)
    added = history_bytes()[len(before):]
    assert added == cp932("Qt Del Running,,開始,手動,LocalSystem,C:\\qtest\\testsvc.exe quick,"
                          "qt_del_run,独自プロセス\r\n"), added
    wait_until(lambda: scm("state", "qt_del_run").strip() == b"0", 30, "the service gone")


@test
def a_service_that_never_stops_is_deleted_after_the_polls():
    make("qt_del_never", "Qt Del Never", TEST_BIN + " never", start=True)
    try:
        with Program() as program:
            start_delete(program, "qt_del_never")
            program.message_box()
            program.press(IDYES)
            asked = time.monotonic()
            expect_box(program, "削除", "サービス名 Qt Del Never を削除しました", "OK", False)
            waited = time.monotonic() - asked
            assert waited >= 4.5, waited  # ten polls, 500 ms apart
            program.press(IDOK)
    finally:
        scm("kill", "qt_del_never", check=False)
    wait_until(lambda: scm("state", "qt_del_never").strip() == b"0", 30, "the service gone")


@test
def drivers_are_refused():
    with Program() as program:
        program.command(IDM_SHOW_ALL)
        for name, display in (("qt_kernel", "Qt Kernel Driver"),
                              ("qt_filesystem", "Qt File System Driver")):
            start_delete(program, name)
            expect_box(program, "エラー", "%s はデバイスドライバのため削除できません。" % display,
                       "OK", True)
            program.press(IDOK)
            expect_no_further_box(program)
            assert scm("state", name).strip() == b"1"


@test
def a_service_others_depend_on_is_refused():
    make("qt_del_base", "Qt Del Base")
    make("qt_del_dependent", "Qt Del Dependent", TEST_BIN + " quick", "QT_DEL_BASE")
    before = history_bytes()
    with Program() as program:
        start_delete(program, "qt_del_base")
        expect_box(program, "エラー", "Qt Del Base に依存するサービスがあるため削除できません。",
                   "OK", True)
        program.press(IDOK)
        expect_no_further_box(program)
        # The dependent itself has a dependency: it asks, and No keeps it.
        start_delete(program, "qt_del_dependent")
        expect_box(program, "削除", LOAD_ORDER_QUESTION % "Qt Del Dependent", "YES,NO", True)
        program.press(IDNO)
        expect_no_further_box(program)
    assert scm("state", "qt_del_base").strip() == b"1"
    assert scm("state", "qt_del_dependent").strip() == b"1"
    assert history_bytes() == before


@test
def a_load_order_group_asks_before_the_confirmation():
    make("qt_del_group", "Qt Del Group")
    scm("set-group", "qt_del_group", "QtGroup")
    with Program() as program:
        start_delete(program, "qt_del_group")
        expect_box(program, "削除", LOAD_ORDER_QUESTION % "Qt Del Group", "YES,NO", True)
        program.press(IDYES)
        expect_box(program, "削除の確認", "サービス名 Qt Del Group を削除しますか？", "YES,NO",
                   False)
        program.press(IDNO)
        expect_no_further_box(program)
    assert scm("state", "qt_del_group").strip() == b"1"


SYSTEM_QUESTION = ("%s はシステム関係のサービスと思われます。\r\n"
                   "システムが起動できなくなる等の不具合が発生する可能性があります。\r\n"
                   "削除してもよろしいですか？")


@test
def system_directory_paths_ask_in_any_letter_case_and_in_quotes():
    make("qt_del_sys", "Qt Del Sys", "c:\\WINDOWS\\SYSTEM32\\qt_none.exe")
    make("qt_del_quoted", "Qt Del Quoted", "\"C:\\windows\\system32\\qt none.exe\" -x")
    with Program() as program:
        start_delete(program, "qt_del_sys")
        expect_box(program, "削除", SYSTEM_QUESTION % "Qt Del Sys", "YES,NO", True)
        program.press(IDNO)
        expect_no_further_box(program)
        start_delete(program, "qt_del_quoted")
        expect_box(program, "削除", SYSTEM_QUESTION % "Qt Del Quoted", "YES,NO", True)
        program.press(IDYES)
        expect_box(program, "削除の確認", "サービス名 Qt Del Quoted を削除しますか？", "YES,NO",
                   False)
        program.press(IDNO)
        expect_no_further_box(program)
    assert scm("state", "qt_del_sys").strip() == b"1"
    assert scm("state", "qt_del_quoted").strip() == b"1"


@test
def no_deletion_when_the_record_cannot_be_saved():
    make("qt_del_unsaved", "Qt Del Unsaved")
    before = history_bytes()
    blocker = HISTORY + ".tmp"  # a folder where the new history would be written
    os.makedirs(blocker, exist_ok=True)
    try:
        with Program() as program:
            start_delete(program, "qt_del_unsaved")
            program.message_box()
            program.press(IDYES)
            caption, text, buttons, icon, owner = program.message_box()
            assert (caption, buttons, icon, owner) == (cp932("エラー"), "OK", True, "main")
            assert text.startswith(cp932("Qt Del Unsaved の削除履歴を保存できないため")), text
            program.press(IDOK)
            expect_no_further_box(program)
            assert any(row[6] == b"qt_del_unsaved" for row in program.rows())
    finally:
        os.rmdir(blocker)
    assert scm("state", "qt_del_unsaved").strip() == b"1"
    assert history_bytes() == before
