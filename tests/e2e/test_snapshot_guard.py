"""A snapshot edited to get past what the record decides, by a second copy
of the service's key or by a value name holding a zero, brings back neither
another program nor the deletion mark: the service comes back as the
restore dialog showed it, and the edited file is set aside untouched."""

import os

import harness
from fixtures import remove_service
from harness import test, scm, Program
from test_complete_restore import SNAPSHOTS, clear_files, dumped, make_plain
from test_deletion import history_bytes
from test_restoration import open_dialog, choose
from test_undo_guarantees import (IDOK, KEPT, ask_about_the_row_alone, delete_in_program,
                                  expect_dialog_box, only_snapshot, wait_dialog_closed)

KEY_LINE = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\%s]\r\n"
ELSEWHERE = '"C:\\\\qtest\\\\scmfix.exe list 48"'
UNREADABLE = ("%s のレジストリ設定を保存したファイル (スナップショット) を今は読み込めません。"
              "ほかのプログラム (ウイルス対策ソフト、バックアップなど) が開いているか、"
              "フォルダーを読み取れない可能性があります。\r\n%s\r\n\r\n"
              "一覧の内容だけで復活しますか？ スナップショットにしかない設定 (サービス DLL など) は"
              "戻らず、スナップショットのファイルはそのまま残ります。\r\n"
              "「いいえ」を選ぶと何も変更しません。しばらくしてからやり直してください。")


def what_the_record_decides(name):
    """The service as the Service Control Manager reports it, and the values
    of its key that the record decides or the system marks."""
    return scm("config", name), sorted(record for record in dumped(name) if record[0] == b"" and
                                       record[1] in (b"ImagePath", b"DeleteFlag"))


def edit_the_snapshot(program, name, display, edit):
    """Deletes the service in the program and edits its snapshot; gives the
    file's path as the program names it, the kept name's and the edited text."""
    delete_in_program(program, name, display)
    snapshot = only_snapshot()
    path = os.path.join(SNAPSHOTS, snapshot)
    edited = edit(harness.read_snapshot(path))
    harness.write_snapshot(path, edited)
    kept = snapshot[:-len(".reg")] + ".kept.reg"
    return (harness.win_path("quorvel.snapshots\\" + snapshot),
            harness.win_path("quorvel.snapshots\\" + kept), edited)


def expect_restored_and_told(program, display, warning):
    expect_dialog_box(program, "復活", "サービス名 %s を復活しました" % display, "OK", False)
    program.press(IDOK)
    expect_dialog_box(program, "復活", warning, "OK", True)
    program.press(IDOK)
    wait_dialog_closed()


def expect_set_aside(kept, edited):
    assert only_snapshot() == kept.rsplit("\\", 1)[1]
    assert harness.read_snapshot(os.path.join(SNAPSHOTS, only_snapshot())) == edited
    assert history_bytes() == b""


@test
def a_second_copy_of_the_service_key_asks_and_restores_from_the_row():
    name, display = "qt_sg_twice", "二重キーテスト"
    make_plain(name, display)
    before = what_the_record_decides(name)
    second = (KEY_LINE % name + '"ImagePath"=' + ELSEWHERE + '\r\n'
              '"DeleteFlag"=dword:00000001\r\n\r\n')
    try:
        with Program() as program:
            path, kept, edited = edit_the_snapshot(program, name, display,
                                                   lambda text: text + second)
            history = history_bytes()
            question = UNREADABLE % (display, path)
            ask_about_the_row_alone(program, question, name, history)
            expect_restored_and_told(program, display, KEPT % kept)
        assert what_the_record_decides(name) == before, (what_the_record_decides(name), before)
        expect_set_aside(kept, edited)
    finally:
        remove_service(name)
        clear_files()


@test
def a_value_name_holding_a_zero_leaves_the_snapshot_unread():
    name, display = "qt_sg_zero", "ゼロ名テスト"
    make_plain(name, display)
    before = what_the_record_decides(name)
    # Right after the service's key line: the registry would end both names
    # at the zero.
    added = ('"ImagePath\0x"=' + ELSEWHERE + '\r\n"DeleteFlag\0"=dword:00000001\r\n')
    try:
        with Program() as program:
            key_line = KEY_LINE % name
            path, kept, edited = edit_the_snapshot(
                program, name, display, lambda text: text.replace(key_line, key_line + added, 1))
            assert added in edited
            open_dialog(program)
            choose(0)
            program.press(IDOK)
            expect_restored_and_told(program, display,
                                     "%s は復活しましたが、次の設定は元に戻せませんでした。\r\n"
                                     "%s (読み込めません)\r\n\r\n" % (display, path) + KEPT % kept)
        assert what_the_record_decides(name) == before, (what_the_record_decides(name), before)
        expect_set_aside(kept, edited)
    finally:
        remove_service(name)
        clear_files()
