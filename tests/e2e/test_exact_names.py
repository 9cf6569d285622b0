"""Services whose names and texts code page 932 cannot hold: every
operation acts on the service the row stands for, by its exact name, and a
deleted service comes back with its exact texts. The program shows such
texts as the system converts them ("Café" as "Cafe", "™" as "?"), so two
services can look alike in the list; the registry, read as wide text
through `reg export`, tells them apart."""

import os
import re
import shutil

import harness
from fixtures import TEST_BIN, remove_service
from harness import test, scm, ui, Program, wait_until, TEST_DIR, WIN_TEST_DIR, states
from test_complete_restore import (ADDED_BY_THE_MANAGER, HISTORY, SNAPSHOTS, SERVICES,
                                   clear_files, cp932, reg_add, restore_chosen,
                                   restore_in_program)
from test_deletion import confirm_and_expect_deleted, expect_box, history_bytes, ENABLED
from test_restoration import open_dialog, choose, dialog_rows, wait_for_history

IDM_DELETE, IDM_START, IDM_STOP = 40005, 40009, 40010
IDOK = 1
GONE, STOPPED, RUNNING = 0, 1, 4
COL_NAME = 0
EXPORT = "qt_xn_export.reg"
UNICODE_HEADER = "Windows Registry Editor Version 5.00"
# What the system leaves in a service's key on its own, never compared.
VOLATILE = {"DeleteFlag"}

# Alike once converted: both reach an ANSI program as "qvtCafe".
TARGET = ("qvtCafé", "Target Café", "Target Cafe")
INNOCENT = ("qvtCafe", "Innocent Cafe", "Innocent Cafe")

WIDE_FOLDER = "Müller GmbH"
WIDE_DISPLAY = "Intel® Optane™ Müller Service"
WIDE_SHOWN = "IntelR Optane? Muller Service"
WIDE_PATH = '"%s\\%s\\testsvc.exe" quick' % (WIN_TEST_DIR, WIDE_FOLDER)
WIDE_DESCRIPTION = "Grüße – café"
WIDE_GREETING = "naïve ©"


# --- the registry as wide text ---------------------------------------------

def reg_lines(text):
    """The logical lines of a registry file: a hex list ending in '\\'
    goes on in the next line."""
    lines = []
    for line in text.split("\r\n"):
        if lines and lines[-1].endswith("\\") and not lines[-1].endswith('"'):
            lines[-1] = lines[-1][:-1] + line.lstrip(" ")
        else:
            lines.append(line)
    return lines


def unescape(text):
    return re.sub(r"\\(.)", r"\1", text)


def value_name(line):
    """The value name of a line `"name"=data` or `@=data`, and the data."""
    if line.startswith("@="):
        return "", line[2:]
    end = re.match(r'"((?:[^"\\]|\\.)*)"=', line)
    assert end, line
    return unescape(end.group(1)), line[end.end():]


def parse_unicode_reg(data, root):
    """A registry file in the editor's Unicode format: {(subkey, value
    name): data as written} below `root`, with (subkey, None) for every key
    so that empty keys count too."""
    assert data[:2] == b"\xff\xfe", data[:16]
    lines = reg_lines(data[2:].decode("utf-16-le"))
    assert lines[0] == UNICODE_HEADER, lines[:2]
    entries, subkey = {}, None
    for line in lines[1:]:
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            path = line[1:-1]
            assert path.lower() == root.lower() or path.lower().startswith(root.lower() + "\\"), \
                (path, root)
            subkey = path[len(root):]
            entries[(subkey, None)] = None
        else:
            name, value = value_name(line)
            entries[(subkey, name)] = value
    return entries


def exported_key(name):
    """The service's key as `reg export` writes it (see parse_unicode_reg),
    less what the system adds or changes by itself; None when there is no
    such key."""
    key = SERVICES + name
    path = os.path.join(TEST_DIR, EXPORT)
    if os.path.exists(path):
        os.remove(path)
    if harness.wine("reg", "export", key, harness.win_path(EXPORT), "/y").returncode != 0:
        return None
    with open(path, "rb") as f:
        entries = parse_unicode_reg(f.read(), "HKEY_LOCAL_MACHINE" + key[len("HKLM"):])
    os.remove(path)
    return {(subkey, value): data for (subkey, value), data in entries.items()
            if not (subkey == "" and value is not None and
                    (value.encode() in ADDED_BY_THE_MANAGER or value in VOLATILE)) and
            not (subkey == "\\Enum" or subkey.startswith("\\Enum\\"))}


def text_of(data):
    """The text a REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ value holds, as
    exported."""
    if data.startswith('"'):
        assert data.endswith('"'), data
        return unescape(data[1:-1])
    kind, _, hex_bytes = data.partition(":")
    assert kind in ("hex(2)", "hex(7)"), data
    return bytes.fromhex(hex_bytes.replace(",", "")).decode("utf-16-le").rstrip("\0")


def assert_same_key(before, after):
    assert after is not None, "the key is missing"
    missing = {entry: before[entry] for entry in before.keys() - after.keys()}
    extra = {entry: after[entry] for entry in after.keys() - before.keys()}
    changed = {entry: (before[entry], after[entry]) for entry in before.keys() & after.keys()
               if before[entry] != after[entry]}
    assert not (missing or extra or changed), ("missing", missing, "extra", extra,
                                                "changed", changed)


def remove_key(name):
    remove_service(name)
    harness.wine("reg", "delete", SERVICES + name, "/f")


def service_state(name):
    """Asked by the exact (wide) name; 0 when there is no such service."""
    return int(scm("state", name).strip())


# --- services and the program ------------------------------------------------

def percent_record(record):
    """A history record as the snapshot's second line carries it: ASCII,
    '%', control bytes and every byte from 0x80 up written as %XX."""
    return "".join(chr(byte) if 0x20 <= byte < 0x7F and byte != 0x25 else "%%%02X" % byte
                   for byte in record)


def make_look_alikes():
    for name, display, _ in (TARGET, INNOCENT):
        remove_key(name)
        scm("create", name, display, "0x10", 3, TEST_BIN + " quick", "-")
    # The premise: an ANSI program sees one name twice.
    shown = sorted(record[:2] for record in harness.split_records(scm("list", 0x30))
                   if record[0].lower() == b"qvtcafe")
    assert shown == [[b"qvtCafe", cp932(INNOCENT[2])], [b"qvtCafe", cp932(TARGET[2])]], shown


def remove_look_alikes():
    for name, _, _ in (TARGET, INNOCENT):
        remove_key(name)


def both_states():
    return service_state(TARGET[0]), service_state(INNOCENT[0])


def select_shown(program, shown):
    """Selects the row whose name column is `shown` (the converted display
    name); the internal names of look-alikes are the same text."""
    names = [row[COL_NAME] for row in program.rows()]
    assert names.count(cp932(shown)) == 1, names
    ui("select", names.index(cp932(shown)))
    wait_until(lambda: states()[IDM_DELETE] == ENABLED, 20, "Delete enabled")


def delete_shown(program, shown):
    select_shown(program, shown)
    program.post(IDM_DELETE)
    confirm_and_expect_deleted(program, shown)
    program.press(IDOK)
    wait_until(program.no_message_box, 20, "the message to close")


def restore_shown(program, shown):
    open_dialog(program)
    names = [row[COL_NAME] for row in dialog_rows()]
    assert names.count(cp932(shown)) == 1, names
    choose(names.index(cp932(shown)))
    restore_chosen(program, shown)


def only_snapshot():
    names = os.listdir(SNAPSHOTS)
    assert len(names) == 1, names
    with open(os.path.join(SNAPSHOTS, names[0]), "rb") as f:
        return f.read()


def make_wide_service(name):
    """A service whose display name, program path, description and a value
    below it hold characters code page 932 has not. The program is a real
    copy of testsvc.exe in a folder of that name, so it runs only from the
    exact path."""
    remove_key(name)
    folder = os.path.join(TEST_DIR, WIDE_FOLDER)
    os.makedirs(folder, exist_ok=True)
    shutil.copy(os.path.join(TEST_DIR, "testsvc.exe"), folder)
    scm("create", name, WIDE_DISPLAY, "0x10", 3, WIDE_PATH, "-")
    scm("describe", name, WIDE_DESCRIPTION)
    reg_add(SERVICES + name + "\\Parameters", "/v", "Greeting", "/d", WIDE_GREETING)
    key = exported_key(name)
    assert text_of(key[("", "DisplayName")]) == WIDE_DISPLAY, key
    assert text_of(key[("", "ImagePath")]) == WIDE_PATH, key
    assert text_of(key[("", "Description")]) == WIDE_DESCRIPTION, key
    assert text_of(key[("\\Parameters", "Greeting")]) == WIDE_GREETING, key
    records = [r for r in harness.split_records(scm("list", 0x30)) if r[0] == cp932(name)]
    assert [r[1] for r in records] == [cp932(WIDE_SHOWN)], records  # as the program shows it
    return key


def remove_wide_service(name):
    remove_key(name)
    shutil.rmtree(os.path.join(TEST_DIR, WIDE_FOLDER), ignore_errors=True)


# --- the tests ---------------------------------------------------------------

@test
def look_alike_services_are_started_and_stopped_by_their_exact_names():
    make_look_alikes()
    try:
        with Program() as program:
            for (name, _, shown), other in ((TARGET, INNOCENT), (INNOCENT, TARGET)):
                for command, caption, text, state in ((IDM_START, "開始", "%s を開始しました",
                                                       RUNNING),
                                                      (IDM_STOP, "停止", "%s を停止しました",
                                                       STOPPED)):
                    select_shown(program, shown)
                    program.post(command)
                    expect_box(program, caption, text % shown, "OK", False)
                    program.press(IDOK)
                    wait_until(program.no_message_box, 20, "the message to close")
                    # Whichever service the command reached, it shows now.
                    wait_until(lambda: service_state(name) == state or
                               service_state(other[0]) != STOPPED, 30, "a state change")
                    assert (service_state(name), service_state(other[0])) == (state, STOPPED), \
                        (shown, caption, both_states())
    finally:
        remove_look_alikes()


@test
def look_alike_services_are_deleted_and_restored_by_their_exact_names():
    clear_files()
    make_look_alikes()
    target_key, innocent_key = exported_key(TARGET[0]), exported_key(INNOCENT[0])
    assert text_of(target_key[("", "DisplayName")]) == TARGET[1], target_key
    try:
        with Program() as program:
            delete_shown(program, TARGET[2])
            wait_until(lambda: GONE in both_states(), 30, "a service gone")
            assert both_states() == (GONE, STOPPED), both_states()
            wait_until(lambda: exported_key(TARGET[0]) is None, 30, "the key of qvtCafé gone")
            assert_same_key(innocent_key, exported_key(INNOCENT[0]))

            # A service of the converted name exists: it is not the one deleted.
            restore_shown(program, TARGET[2])
            wait_for_history(None)
            assert both_states() == (STOPPED, STOPPED), both_states()
            assert_same_key(target_key, exported_key(TARGET[0]))
            assert_same_key(innocent_key, exported_key(INNOCENT[0]))

            delete_shown(program, INNOCENT[2])
            wait_until(lambda: GONE in both_states(), 30, "a service gone")
            assert both_states() == (STOPPED, GONE), both_states()
            assert_same_key(target_key, exported_key(TARGET[0]))

            restore_shown(program, INNOCENT[2])
            wait_for_history(None)
            assert both_states() == (STOPPED, STOPPED), both_states()
            assert_same_key(innocent_key, exported_key(INNOCENT[0]))
            assert_same_key(target_key, exported_key(TARGET[0]))
        assert os.listdir(SNAPSHOTS) == []
    finally:
        remove_look_alikes()
        clear_files()


@test
def texts_beyond_the_code_page_come_back_exactly():
    name = "qt_xn_wide"
    clear_files()
    before = make_wide_service(name)
    scm("start", name)
    scm("wait-state", name, RUNNING, 30000)
    try:
        with Program() as program:
            delete_shown(program, WIDE_SHOWN)
        wait_until(lambda: exported_key(name) is None, 30, "the key gone")

        restore_in_program(WIDE_SHOWN)
        assert_same_key(before, exported_key(name))
        # Deleted while running, it is started again: from the exact path only.
        scm("wait-state", name, RUNNING, 30000)
        assert not os.path.exists(HISTORY) and os.listdir(SNAPSHOTS) == []
    finally:
        remove_wide_service(name)
        clear_files()


@test
def the_snapshot_is_a_unicode_registry_file_the_editor_imports():
    name = "qt_xn_import"
    clear_files()
    before = make_wide_service(name)
    imported = os.path.join(TEST_DIR, "qt_xn_import.reg")
    try:
        with Program() as program:
            delete_shown(program, WIDE_SHOWN)
        record = history_bytes().rstrip(b"\r\n")
        snapshot = only_snapshot()
        assert snapshot.startswith(b"\xff\xfe"), snapshot[:64]
        lines = snapshot[2:].decode("utf-16-le").split("\r\n")
        assert lines[0] == UNICODE_HEADER, lines[:2]
        assert lines[1] == ";record=" + percent_record(record), (lines[1], record)
        parse_unicode_reg(snapshot, "HKEY_LOCAL_MACHINE" + (SERVICES + name)[len("HKLM"):])

        wait_until(lambda: exported_key(name) is None, 30, "the key gone")
        with open(imported, "wb") as f:
            f.write(snapshot)
        assert harness.wine("regedit", "/s", harness.win_path("qt_xn_import.reg")).returncode == 0
        assert_same_key(before, exported_key(name))
    finally:
        remove_wide_service(name)
        clear_files()
        if os.path.exists(imported):
            os.remove(imported)


@test
def a_subkey_named_beyond_the_code_page_is_kept_and_restored():
    name, display = "qt_xn_subkey", "サブキー名テスト"
    clear_files()
    remove_key(name)
    scm("create", name, display, "0x10", 3, TEST_BIN + " quick", "-")
    reg_add(SERVICES + name + "\\Café", "/v", "Größe", "/t", "REG_DWORD", "/d", "3")
    reg_add(SERVICES + name + "\\Café", "/v", "Wert", "/d", "naïve ©")
    reg_add(SERVICES + name + "\\Café\\Leer™")
    before = exported_key(name)
    assert before[("\\Café", "Größe")] == "dword:00000003", before
    assert ("\\Café\\Leer™", None) in before, before
    try:
        with Program() as program:
            delete_shown(program, display)
        wait_until(lambda: exported_key(name) is None, 30, "the key gone")
        snapshot = only_snapshot().decode("utf-16-le", "replace")
        assert "\\%s\\Café]" % name in snapshot, snapshot

        restore_in_program(display)
        assert_same_key(before, exported_key(name))
    finally:
        remove_key(name)
        clear_files()


@test
def a_snapshot_written_by_an_earlier_build_still_restores():
    """Such a snapshot is REGEDIT4, its texts and its record line in code
    page 932 bytes as they are (only '%' and control bytes coded)."""
    name, display = "qt_xn_legacy", "旧形式テスト 100%"
    clear_files()
    remove_key(name)
    scm("create", name, display, "0x10", 3, TEST_BIN + " quick", "-")
    reg_add(SERVICES + name, "/v", "Description", "/d", "旧形式の説明 100%")
    reg_add(SERVICES + name + "\\Parameters", "/v", "Greeting", "/d", "こんにちは")
    reg_add(SERVICES + name + "\\Parameters", "/v", "Names", "/t", "REG_MULTI_SZ", "/d",
            "一\\0two")
    before = exported_key(name)
    remove_key(name)

    record = cp932("%s,,,手動,LocalSystem,%s,%s,独自プロセス" % (display, TEST_BIN + " quick",
                                                              name))
    key = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\%s" % name
    names = ",".join("%02x" % byte for byte in cp932("一") + b"\0two\0\0")
    snapshot = b"\r\n".join([
        b"REGEDIT4",
        b";record=" + record.replace(b"%", b"%25"),
        b"",
        cp932(key + "]"),
        cp932('"Description"="旧形式の説明 100%"'),
        cp932('"DisplayName"="%s"' % display),
        b'"ErrorControl"=dword:00000001',
        b'"ImagePath"="C:\\\\qtest\\\\testsvc.exe quick"',
        b'"ObjectName"="LocalSystem"',
        b'"Start"=dword:00000003',
        b'"Type"=dword:00000010',
        b"",
        cp932(key + "\\Parameters]"),
        cp932('"Greeting"="こんにちは"'),
        b'"Names"=hex(7):' + names.encode(),
        b"", b""])
    os.makedirs(SNAPSHOTS, exist_ok=True)
    with open(os.path.join(SNAPSHOTS, "000001-%s.reg" % name), "wb") as f:
        f.write(snapshot)
    with open(HISTORY, "wb") as f:
        f.write(record + b"\r\n")
    try:
        restore_in_program(display)
        assert_same_key(before, exported_key(name))
        assert not os.path.exists(HISTORY) and os.listdir(SNAPSHOTS) == []
    finally:
        remove_key(name)
        clear_files()
