"""What the history and the snapshots promise holds against the world
outside the program: records another writer saves meanwhile stay, also
while this copy reads the history, an edited snapshot cannot change what a
restored service runs and is kept for what it could not restore, a
snapshot held open elsewhere is not silently left out, snapshot numbers
never come round, and a service deleted behind the program's back is
reported as not deleted."""

import os
import re
import subprocess

import harness
from fixtures import TEST_BIN, remove_service
from harness import test, scm, ui, Program, wait_until, FIELD, states
from test_complete_restore import (HISTORY, SNAPSHOTS, SERVICES, clear_files, cp932, dumped,
                                   make_plain, reg_add)
from test_deletion import start_delete, confirm_and_expect_deleted, expect_box, history_bytes
from test_restoration import (open_dialog, choose, focused, dialog_rows, MAIN_LIST, HISTORY_LIST,
                              CAPTION)

IDOK, IDNO, IDYES, IDCANCEL = 1, 7, 6, 2
IDM_RESTORE = 40007
ENABLED = 4
KEPT = "スナップショットは削除せず、次のファイルとして残しました。\r\n%s"
LEFT = ("スナップショットのファイルを削除も名前の変更もできなかったため、元の名前のまま"
        "残っています。同じサービスを次に削除する前に、このファイルをフォルダーの外へ"
        "移してください。\r\n%s")


def delete_in_program(program, name, display):
    start_delete(program, name)
    confirm_and_expect_deleted(program, display)
    program.press(IDOK)
    wait_until(program.no_message_box, 20, "the message to close")


def expect_dialog_box(program, caption, text, buttons, icon):
    got = program.message_box()
    assert got == (cp932(caption), cp932(text), buttons, icon, "dialog"), got


def wait_dialog_closed():
    wait_until(lambda: ui("dialog") == b"0" and focused() == MAIN_LIST, 20, "the dialog to close")


def ask_about_the_row_alone(program, question, name, history):
    """Restores the dialog's first record, which asks `question` first: No
    leaves the dialog, the history and the service as they were; asked
    again, Yes goes on."""
    open_dialog(program)
    choose(0)
    program.press(IDOK)
    expect_dialog_box(program, "復活の確認", question, "YES,NO", True)
    program.press(IDNO)
    wait_until(program.no_message_box, 20, "the question to close")
    wait_until(lambda: focused() == HISTORY_LIST, 20, "the list focused")
    assert ui("dialog") == CAPTION
    assert history_bytes() == history
    assert scm("state", name).strip() == b"0"

    program.press(IDOK)
    expect_dialog_box(program, "復活の確認", question, "YES,NO", True)
    program.press(IDYES)


def restore_the_only_record_whole(program, display):
    """Restores the one record; nothing may follow the success message."""
    open_dialog(program)
    choose(0)
    program.press(IDOK)
    expect_dialog_box(program, "復活", "サービス名 %s を復活しました" % display, "OK", False)
    program.press(IDOK)
    wait_dialog_closed()
    assert program.no_message_box(), ui("msgbox").split(FIELD)[1].decode("cp932")


def only_snapshot():
    names = os.listdir(SNAPSHOTS)
    assert len(names) == 1, names
    return names[0]


@test
def records_another_writer_saves_meanwhile_stay():
    name, display = "qt_ug_shared", "共有履歴テスト"
    make_plain(name, display)
    first = cp932("以前の記録,,,手動,LocalSystem,C:\\qtest\\none.exe,qt_ug_earlier,独自プロセス")
    other = cp932("別の記録,,,手動,LocalSystem,C:\\qtest\\other.exe,qt_ug_other,独自プロセス")
    with open(HISTORY, "wb") as f:
        f.write(first + b"\r\n")
    try:
        with Program() as program:
            # Another copy of the program deletes a service while this one runs.
            with open(HISTORY, "ab") as f:
                f.write(other + b"\r\n")
            delete_in_program(program, name, display)
            ours = history_bytes()[len(first + other) + 4:]
            assert history_bytes() == first + b"\r\n" + other + b"\r\n" + ours, history_bytes()
            assert ours.startswith(cp932(display + ",")), ours

            open_dialog(program)
            assert [row[6] for row in dialog_rows()] == [b"qt_ug_earlier", b"qt_ug_other",
                                                          name.encode()], dialog_rows()
            choose(2)
            program.press(IDOK)
            expect_dialog_box(program, "復活", "サービス名 %s を復活しました" % display, "OK",
                              False)
            program.press(IDOK)
            wait_dialog_closed()
        assert history_bytes() == first + b"\r\n" + other + b"\r\n", history_bytes()
        assert scm("state", name).strip() == b"1"
        assert os.listdir(SNAPSHOTS) == []
    finally:
        remove_service(name)
        clear_files()


def hold_file(windows_path):
    """Another Windows program holding the file open without sharing."""
    holder = subprocess.Popen([harness.WINE, harness.win_path("scmfix.exe"), "hold-file",
                               windows_path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    assert holder.stdout.readline().strip() == b"held"
    return holder


def release(holder):
    if holder is not None:
        holder.stdin.close()
        holder.wait(timeout=60)


@test
def a_copy_holding_the_history_lock_keeps_the_save_out_until_it_lets_go():
    name, display = "qt_ug_locked", "ロック待ちテスト"
    make_plain(name, display)
    lock = HISTORY + ".lock"
    open(lock, "wb").close()
    holder = hold_file(harness.win_path("quorvel.his.lock"))
    try:
        with Program() as program:
            start_delete(program, name)
            program.message_box()
            program.press(IDYES)
            caption, text, buttons, icon, owner = program.message_box()
            assert (caption, buttons, icon, owner) == (cp932("エラー"), "OK", True, "main")
            assert text.startswith(cp932("%s の削除履歴を保存できないため" % display)), text
            program.press(IDOK)
            wait_until(program.no_message_box, 20, "the message to close")
            assert scm("state", name).strip() == b"1"
            assert history_bytes() == b""

            release(holder)
            holder = None
            delete_in_program(program, name, display)
        assert history_bytes().startswith(cp932(display + ","))
        assert not os.path.exists(lock)  # gone with the program's handle
    finally:
        release(holder)
        remove_service(name)
        clear_files()
        if os.path.exists(lock):
            os.remove(lock)


@test
def a_long_double_byte_subkey_name_is_saved_and_restored():
    name, display = "qt_ug_longkey", "長いキー名テスト"
    subkey = "設定" * 100  # 200 characters, 400 bytes in code page 932
    make_plain(name, display)
    reg_add(SERVICES + name + "\\Parameters\\" + subkey, "/v", "値", "/d", "残る")
    before = dumped(name)
    assert any(record[0] == b"\\Parameters\\" + cp932(subkey) for record in before)
    try:
        with Program() as program:
            delete_in_program(program, name, display)
            snapshot = harness.read_snapshot(os.path.join(SNAPSHOTS, only_snapshot()))
            assert "\\Parameters\\" + subkey + "]" in snapshot
            restore_the_only_record_whole(program, display)
        after = dumped(name)
        assert before - after == set(), sorted(before - after)
    finally:
        remove_service(name)
        harness.wine("reg", "delete", SERVICES + name, "/f")
        clear_files()


@test
def an_edited_snapshot_restores_the_program_the_dialog_showed():
    name, display = "qt_ug_edited", "改ざんテスト"
    make_plain(name, display)
    config_before = scm("config", name)
    image_before = [record for record in dumped(name) if record[1] == b"ImagePath"]
    try:
        with Program() as program:
            delete_in_program(program, name, display)
            path = os.path.join(SNAPSHOTS, only_snapshot())
            snapshot = harness.read_snapshot(path)
            edited, count = re.subn(r'"ImagePath"=[^\r\n]*(?:\\\r\n[^\r\n]*)*\r\n',
                                    lambda _: '"ImagePath"="C:\\\\qtest\\\\scmfix.exe list 48"\r\n',
                                    snapshot)
            assert count == 1, snapshot
            harness.write_snapshot(path, edited)

            open_dialog(program)
            assert dialog_rows()[0][5] == cp932(TEST_BIN + " quick"), dialog_rows()
            choose(0)
            program.press(IDOK)
            expect_dialog_box(program, "復活", "サービス名 %s を復活しました" % display, "OK",
                              False)
            program.press(IDOK)
            kept = os.path.basename(path)[:-len(".reg")] + ".kept.reg"
            expect_dialog_box(program, "復活",
                              "%s は復活しましたが、次の設定は元に戻せませんでした。\r\n"
                              "ImagePath (記録と異なるため使いません)\r\n\r\n" % display +
                              KEPT % harness.win_path("quorvel.snapshots\\" + kept), "OK", True)
            program.press(IDOK)
            wait_dialog_closed()
        assert scm("config", name) == config_before, (scm("config", name), config_before)
        assert [record for record in dumped(name) if record[1] == b"ImagePath"] == image_before
        # The only copy of what was held back stays, set aside for good.
        assert only_snapshot() == kept, kept
        assert harness.read_snapshot(os.path.join(SNAPSHOTS, kept)) == edited
    finally:
        remove_service(name)
        clear_files()


@test
def a_snapshot_held_open_elsewhere_asks_before_restoring_from_the_row():
    name, display = "qt_ug_held", "保持テスト"
    make_plain(name, display)
    reg_add(SERVICES + name + "\\Parameters", "/v", "Setting", "/d", "only in the snapshot")
    holder = None
    try:
        with Program() as program:
            delete_in_program(program, name, display)
            history = history_bytes()
            snapshot = only_snapshot()
            windows_path = harness.win_path("quorvel.snapshots\\" + snapshot)
            holder = hold_file(windows_path)

            question = ("%s のレジストリ設定を保存したファイル (スナップショット) を今は"
                        "読み込めません。ほかのプログラム (ウイルス対策ソフト、バックアップなど) "
                        "が開いているか、フォルダーを読み取れない可能性があります。\r\n%s\r\n\r\n"
                        "一覧の内容だけで復活しますか？ スナップショットにしかない設定 "
                        "(サービス DLL など) は戻らず、スナップショットのファイルはそのまま"
                        "残ります。\r\n「いいえ」を選ぶと何も変更しません。しばらくしてから"
                        "やり直してください。") % (display, windows_path)
            ask_about_the_row_alone(program, question, name, history)
            expect_dialog_box(program, "復活", "サービス名 %s を復活しました" % display, "OK",
                              False)
            program.press(IDOK)
            # Still held: it can be neither deleted nor set aside, and still
            # names its record, which has gone.
            expect_dialog_box(program, "復活", LEFT % windows_path, "OK", True)
            program.press(IDOK)
            wait_dialog_closed()
            assert program.no_message_box(), ui("msgbox").split(FIELD)[1].decode("cp932")
        assert scm("state", name).strip() == b"1"
        assert not any(record[0] == b"\\Parameters" for record in dumped(name)), dumped(name)
        assert history_bytes() == b""
        assert os.listdir(SNAPSHOTS) == [snapshot]  # kept: it could not even be read
    finally:
        release(holder)
        remove_service(name)
        harness.wine("reg", "delete", SERVICES + name, "/f")
        clear_files()


@test
def a_service_deleted_behind_the_programs_back_is_reported_as_not_deleted():
    name, display = "qt_ug_gone", "消失テスト"
    make_plain(name, display)
    earlier = cp932("以前の記録,,,手動,LocalSystem,C:\\qtest\\none.exe,qt_ug_earlier,独自プロセス"
                    ",\r\n")
    with open(HISTORY, "wb") as f:
        f.write(earlier)
    try:
        with Program() as program:
            assert any(row[6] == name.encode() for row in program.rows())
            scm("delete", name)
            scm("wait-state", name, 0, 30000)
            start_delete(program, name)  # the list still shows it
            expect_box(program, "削除の確認", "サービス名 %s を削除しますか？" % display,
                       "YES,NO", False)
            program.press(IDYES)
            expect_box(program, "削除", "サービス名 %s を削除できませんでした" % display, "OK",
                       False)
            program.press(IDOK)
            wait_until(lambda: not any(row[6] == name.encode() for row in program.rows()), 20,
                       "the list refilled")
            assert program.no_message_box()
        assert history_bytes() == earlier
        assert not os.path.exists(SNAPSHOTS) or os.listdir(SNAPSHOTS) == []
    finally:
        remove_service(name)
        clear_files()


@test
def snapshot_numbers_beyond_32_bits_go_on_counting():
    name, display = "qt_ug_number", "番号テスト"
    make_plain(name, display)
    os.makedirs(SNAPSHOTS)
    odd = "99999999999-x.reg"  # more than 32 bits hold
    with open(os.path.join(SNAPSHOTS, odd), "wb") as f:
        f.write(b"REGEDIT4\r\n")
    try:
        with Program() as program:
            delete_in_program(program, name, display)
            ours = "100000000000-%s.reg" % name
            assert sorted(os.listdir(SNAPSHOTS)) == [ours, odd], os.listdir(SNAPSHOTS)
            restore_the_only_record_whole(program, display)
        assert os.listdir(SNAPSHOTS) == [odd]  # its snapshot found, applied and deleted
    finally:
        remove_service(name)
        clear_files()


def another_copy_saving(when, line):
    """Another copy of the program in the middle of a save: it holds the
    history's lock until `when` holds, then adds `line` as the program does
    and lets go."""
    holder = subprocess.Popen([harness.WINE, harness.win_path("scmfix.exe"), "hold-lock",
                               harness.win_path("quorvel.his"), when, line],
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE)
    assert holder.stdout.readline().strip() == b"held"
    return holder


def saved_by(holder):
    out, err = holder.communicate(timeout=90)
    assert holder.returncode == 0 and out.strip() == b"saved", (out, err)


OTHER = "別の記録,,,手動,LocalSystem,C:\\qtest\\other.exe,qt_ug_other,独自プロセス"


@test
def a_history_another_copy_is_saving_at_start_up_loses_no_record():
    # The other copy lets go as soon as the program runs, which may be
    # before the start-up reaches the history: this shows that the start-up
    # waits for the lock and then reads what was saved, not that it must.
    clear_files()
    holder = another_copy_saving("process:quorvel.exe", OTHER)
    try:
        with Program() as program:
            saved_by(holder)
            holder = None
            # The start-up read the file once the other copy had let go.
            assert states()[IDM_RESTORE] == ENABLED, states()
            open_dialog(program)
            assert [row[6] for row in dialog_rows()] == [b"qt_ug_other"], dialog_rows()
            program.press(IDCANCEL)
            wait_dialog_closed()
        assert history_bytes() == cp932(OTHER) + b"\r\n"
    finally:
        if holder is not None:
            holder.kill()
            holder.wait()
        clear_files()


@test
def a_history_another_copy_is_saving_as_the_restore_dialog_opens_loses_no_record():
    first = "以前の記録,,,手動,LocalSystem,C:\\qtest\\none.exe,qt_ug_earlier,独自プロセス"
    clear_files()
    with open(HISTORY, "wb") as f:
        f.write(cp932(first) + b"\r\n")
    holder = None
    try:
        with Program() as program:
            # The other copy saves once the dialog, being set up, waits for
            # the lock: a dialog that read the file without it would never
            # wait, and would not show the other copy's record.
            holder = another_copy_saving("hung:サービスの復活", OTHER)
            program.post(IDM_RESTORE)
            saved_by(holder)
            holder = None
            wait_until(lambda: ui("dialog") == CAPTION, 20, "the restore dialog")
            assert [row[6] for row in dialog_rows()] == [b"qt_ug_earlier", b"qt_ug_other"], \
                dialog_rows()
            program.press(IDCANCEL)
            wait_dialog_closed()
        assert history_bytes() == cp932(first) + b"\r\n" + cp932(OTHER) + b"\r\n"
    finally:
        if holder is not None:
            holder.kill()
            holder.wait()
        clear_files()
