"""A deleted service comes back whole: the snapshot of its registry key
taken at deletion, restored through the Service Control Manager's calls and
the registry, and importable by the registry editor on its own."""

import os
import shutil
import subprocess

import harness
from fixtures import TEST_BIN, remove_service
from harness import test, scm, ui, Program, wait_until, TEST_DIR, WIN_TEST_DIR, FIELD
from test_deletion import start_delete, confirm_and_expect_deleted, expect_box, history_bytes
from test_restoration import open_dialog, choose, focused, MAIN_LIST

IDOK, IDYES = 1, 6
HISTORY = os.path.join(TEST_DIR, "quorvel.his")
SNAPSHOTS = os.path.join(TEST_DIR, "quorvel.snapshots")
SERVICES = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\"
# Values the Service Control Manager of Wine writes by itself when it
# creates a service; the deleted key did not have them.
ADDED_BY_THE_MANAGER = {b"PreshutdownTimeout", b"WOW64"}


def cp932(text):
    return text.encode("cp932")


def reg_add(key, *args):
    harness.wine_reg("add", key, *args, "/f")


def dumped(name):
    """The service's key and every key below it: (subkey, value name, type, data)."""
    return set(tuple(record) for record in harness.split_records(scm("dump-key", name)))


def clear_files():
    if os.path.exists(HISTORY):
        os.remove(HISTORY)
    if os.path.isdir(SNAPSHOTS):
        shutil.rmtree(SNAPSHOTS)
    elif os.path.exists(SNAPSHOTS):
        os.remove(SNAPSHOTS)


def le32(*numbers):
    return "".join(number.to_bytes(4, "little").hex() for number in numbers)


def make_plain(name, display):
    clear_files()
    remove_service(name)
    scm("create", name, display, "0x10", 3, TEST_BIN + " quick", "-")


def make_whole_service(name, display):
    """A shared-process service with everything a service key can hold. What
    Wine's Service Control Manager does not store itself is written as
    Windows stores it; the dependencies come last, as any change of the
    configuration makes Wine drop them from the key."""
    remove_service(name)
    scm("create", name, display, "0x20", 3, TEST_BIN + " quick", "-")
    scm("set-group", name, "qt_rs_group")
    scm("set-error-control", name, 2)
    scm("describe2", name, "説明, カンマ入り")
    scm("set-failure-actions", name, 86400, "C:\\qtest\\notify.exe --fail", 1, 60000, 0, 0)
    key = SERVICES + name
    reg_add(key, "/v", "FailureActions", "/t", "REG_BINARY", "/d",
            le32(86400, 0, 0, 2, 0, 1, 60000, 3, 120000))
    reg_add(key, "/v", "FailureCommand", "/d", "C:\\qtest\\notify.exe --fail")
    reg_add(key, "/v", "DelayedAutostart", "/t", "REG_DWORD", "/d", "1")
    reg_add(key, "/v", "FailureActionsOnNonCrashFailures", "/t", "REG_DWORD", "/d", "1")
    reg_add(key, "/v", "ServiceSidType", "/t", "REG_DWORD", "/d", "1")
    reg_add(key, "/v", "RequiredPrivileges", "/t", "REG_MULTI_SZ", "/d",
            "SeChangeNotifyPrivilege\\0SeImpersonatePrivilege")
    reg_add(key + "\\Security", "/v", "Security", "/t", "REG_BINARY", "/d",
            "01000080" + le32(0, 0, 0, 0))
    reg_add(key + "\\Parameters", "/v", "ServiceDll", "/t", "REG_EXPAND_SZ", "/d",
            "%SystemRoot%\\system32\\qt_rs.dll")
    reg_add(key + "\\Parameters", "/v", "Threads", "/t", "REG_DWORD", "/d", "4")
    reg_add(key + "\\Parameters", "/v", "Limit", "/t", "REG_QWORD", "/d", "0x123456789")
    reg_add(key + "\\Parameters", "/v", "Names", "/t", "REG_MULTI_SZ", "/d", "一\\0two")
    reg_add(key + "\\Parameters", "/v", "Blob", "/t", "REG_BINARY", "/d", "00ff5c225b0d0a")
    reg_add(key + "\\Parameters", "/v", "Quoted", "/d", 'a "quoted" \\ text, ソ')
    reg_add(key + "\\Parameters", "/v", "Empty", "/d", "")
    reg_add(key + "\\Parameters\\Nested", "/v", "Level", "/t", "REG_DWORD", "/d", "2")
    reg_add(key + "\\Parameters\\Nested\\Deeper", "/ve", "/d", "既定値")
    reg_add(key + "\\Parameters\\Nested\\Empty")
    reg_add(key, "/v", "DependOnService", "/t", "REG_MULTI_SZ", "/d", "qt_own\\0qt_share")
    reg_add(key, "/v", "DependOnGroup", "/t", "REG_MULTI_SZ", "/d", "qt_rs_base")


def delete_in_program(name, display):
    with Program() as program:
        start_delete(program, name)
        # The group and the dependencies bring the load-order question first.
        program.message_box()
        program.press(IDYES)
        confirm_and_expect_deleted(program, display)
        program.press(IDOK)
        wait_until(program.no_message_box, 20, "the message to close")


def restore_chosen(program, display):
    """Restores the row chosen in the open dialog; no message may follow
    the success."""
    program.press(IDOK)
    got = program.message_box()
    assert got[:2] == (cp932("復活"), cp932("サービス名 %s を復活しました" % display)), got
    program.press(IDOK)
    wait_until(lambda: ui("msgbox") != b"0" or (ui("dialog") == b"0" and
                                                  focused() == MAIN_LIST),
               20, "the flow to end")
    assert program.no_message_box(), ui("msgbox").split(FIELD)[1].decode("cp932")


def restore_in_program(display):
    """Restores the only record."""
    with Program() as program:
        open_dialog(program)
        choose(0)
        restore_chosen(program, display)


@test
def a_deleted_service_comes_back_whole():
    name, display = "qt_rs_whole", "完全復活テスト"
    clear_files()
    make_whole_service(name, display)
    before = dumped(name)
    config_before = scm("config", name)
    for subkey, value in [(b"", b"DependOnService"), (b"", b"FailureActions"), (b"", b"Group"),
                          (b"\\Parameters", b"ServiceDll"), (b"\\Security", b"Security"),
                          (b"\\Parameters\\Nested\\Deeper", b"")]:
        assert any(record[:2] == (subkey, value) for record in before), (subkey, value)
    try:
        delete_in_program(name, display)
        assert scm("state", name).strip() == b"0"
        snapshots = os.listdir(SNAPSHOTS)
        assert snapshots == ["000001-qt_rs_whole.reg"], snapshots
        with open(os.path.join(SNAPSHOTS, snapshots[0]), "rb") as f:
            snapshot = f.read()
        assert snapshot.startswith(b"REGEDIT4\r\n;record=" + history_bytes().rstrip(b"\r\n")), \
            snapshot[:200]

        restore_in_program(display)
        after = dumped(name)
        assert before - after == set(), sorted(before - after)
        extra = after - before
        assert {record[1] for record in extra} <= ADDED_BY_THE_MANAGER, sorted(extra)
        assert scm("config", name) == config_before, (scm("config", name), config_before)
        assert os.listdir(SNAPSHOTS) == [] and not os.path.exists(HISTORY)

        # The registry editor imports the snapshot by itself, the same key again.
        remove_service(name)
        with open(os.path.join(TEST_DIR, "qt_rs_import.reg"), "wb") as f:
            f.write(snapshot)
        assert harness.wine("regedit", "/s", WIN_TEST_DIR + "\\qt_rs_import.reg").returncode == 0
        imported = dumped(name)
        assert imported == before, (sorted(before - imported), sorted(imported - before))
    finally:
        remove_service(name)
        harness.wine("reg", "delete", SERVICES + name, "/f")
        clear_files()


@test
def a_snapshot_folder_that_cannot_be_written_stops_the_deletion():
    name, display = "qt_rs_nofolder", "保存先なし"
    make_plain(name, display)
    with open(SNAPSHOTS, "wb") as f:  # a file where the folder should be
        f.write(b"x")
    try:
        with Program() as program:
            start_delete(program, name)
            expect_box(program, "削除の確認", "サービス名 %s を削除しますか？" % display,
                       "YES,NO", False)
            program.press(IDYES)
            expect_box(program, "エラー",
                       "%s のレジストリ設定を保存できないため、削除を中止しました。\r\n"
                       "履歴ファイルのあるフォルダーに書き込めるか確かめてください。" % display,
                       "OK", True)
            program.press(IDOK)
            wait_until(program.no_message_box, 20, "the message to close")
        assert scm("state", name).strip() == b"1"
        assert not os.path.exists(HISTORY)
    finally:
        remove_service(name)
        clear_files()


@test
def a_name_still_marked_for_deletion_keeps_the_record_and_says_what_to_do():
    name, display = "qt_rs_marked", "削除待ちテスト"
    make_plain(name, display)
    holder = subprocess.Popen([harness.WINE, harness.win_path("scmfix.exe"), "hold", name],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    try:
        assert holder.stdout.readline().strip() == b"held"
        with Program() as program:
            start_delete(program, name)
            confirm_and_expect_deleted(program, display)
            program.press(IDOK)
            wait_until(program.no_message_box, 20, "the message to close")
            history = history_bytes()

            open_dialog(program)
            choose(0)
            program.press(IDOK)
            got = program.message_box()
            assert got[:2] == (cp932("エラー"), cp932(
                "%s の復活に失敗しました。\r\n"
                "同じ名前のサービスが削除待ちのまま残っているため、"
                "そのサービスを開いているプログラム (サービス管理ツールなど) を閉じるか、"
                "Windows を再起動してからやり直してください。" % display)), got
            program.press(IDOK)
            wait_until(program.no_message_box, 20, "the message to close")
            program.press(2)  # IDCANCEL
            wait_until(lambda: ui("dialog") == b"0", 20, "the dialog to close")
        assert history_bytes() == history
        assert len(os.listdir(SNAPSHOTS)) == 1
    finally:
        holder.stdin.close()
        holder.wait(timeout=60)
        remove_service(name)
        clear_files()
