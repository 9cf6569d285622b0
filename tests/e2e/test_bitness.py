"""The x64 program on 64-bit Windows re-creates a 64-bit service as it was:
Wine's own still-image service, hosted by svchost.exe with its ServiceDll,
is deleted and restored and starts again, without the WOW64 mark that a
32-bit creator would leave."""

import subprocess

import harness
from harness import test, scm, ui, Program, wait_until, select

IDM_DELETE, IDM_RESTORE = 40005, 40007
IDOK, IDYES = 1, 6
HISTORY_LIST = 1001
SERVICE = "StiSvc"
KEY = "HKLM\\System\\CurrentControlSet\\Services\\" + SERVICE
RESTORE_CAPTION = "サービスの復活".encode("cp932")
DELETED_CAPTION = "削除".encode("cp932")
RESTORED_CAPTION = "復活".encode("cp932")
RUNNING = 4


def registry_value(name, subkey=""):
    """The value's line from reg query, or None when the value is absent."""
    result = harness.wine("reg", "query", KEY + subkey, "/v", name)
    return result.stdout if result.returncode == 0 else None


def delete_answering_yes(program):
    """Deletes the selected service: Yes to every question on the way, then
    the report that it is gone."""
    program.post(IDM_DELETE)
    while True:
        caption, _, buttons, _, _ = program.message_box()
        if buttons == "OK":
            assert caption == DELETED_CAPTION, caption
            program.press(IDOK)
            return
        program.press(IDYES)
        wait_until(lambda: ui("msgbox") != b"0" or scm("state", SERVICE).strip() == b"0",
                   30, "the next question or the deletion")


def restore_from_history(program):
    program.post(IDM_RESTORE)
    wait_until(lambda: ui("dialog") == RESTORE_CAPTION, 30, "the restore dialog")
    rows = harness.split_records(ui("dialog-rows", HISTORY_LIST))
    ui("dialog-select", HISTORY_LIST, [row[6] for row in rows].index(SERVICE.encode()))
    wait_until(lambda: ui("dialog-enabled", IDOK).strip() == b"1", 20, "OK enabled")
    ui("press", IDOK)
    caption = program.message_box()[0]
    assert caption == RESTORED_CAPTION, caption
    program.press(IDOK)


@test
def the_x64_build_brings_back_a_svchost_service_that_starts():
    if harness.os.environ.get("WINE_BUILD") != "win64":
        raise harness.Skipped("this check is for the x64 build")
    assert scm("state", SERVICE).strip() != b"0", "the prefix has no " + SERVICE
    service_dll = registry_value("ServiceDll", "\\Parameters")
    assert service_dll, "no ServiceDll"
    with Program() as program:
        select(program, SERVICE)
        delete_answering_yes(program)
        wait_until(lambda: scm("state", SERVICE).strip() == b"0", 30, SERVICE + " gone")
        restore_from_history(program)
    assert registry_value("WOW64") is None, registry_value("WOW64")
    assert registry_value("ServiceDll", "\\Parameters") == service_dll
    if scm("state", SERVICE).strip() != str(RUNNING).encode():
        scm("start", SERVICE)
    scm("wait-state", SERVICE, RUNNING, 30000)


X86_DIR = harness.os.path.join(harness.TEST_DIR, "x86")
WOW64_CAPTION = "復活の確認".encode("cp932")
IDNO = 7


def x86_ui(*args):
    """The 32-bit driver: list records in a 32-bit process have 32-bit fields."""
    result = harness.wine("C:\\qtest\\x86\\uidrive.exe", *args)
    assert result.returncode == 0, result.stderr
    return result.stdout


@test
def the_x86_build_under_wow64_asks_before_recreating():
    if harness.os.environ.get("WINE_BUILD") != "win64" or not harness.os.environ.get(
            "QUORVEL_WINE32"):
        raise harness.Skipped("needs a 64-bit prefix whose Wine also runs 32-bit programs")
    harness.os.makedirs(X86_DIR, exist_ok=True)
    harness.install_shipped_program("win32", X86_DIR)
    harness.shutil.copy(harness.os.path.join(harness.ROOT, "build", "win32", "tests", "e2e",
                                             "uidrive.exe"), X86_DIR)
    history = harness.os.path.join(X86_DIR, "quorvel.his")
    record = b"Qt Wow,,,\x8e\xe8\x93\xae,LocalSystem,C:\\qtest\\testsvc.exe quick,qt_wow,x\r\n"
    with open(history, "wb") as f:
        f.write(record)
    program = subprocess.Popen([harness.WINE, "C:\\qtest\\x86\\quorvel.exe"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        x86_ui("wait-window", 60000)
        x86_ui("post", IDM_RESTORE)
        wait_until(lambda: x86_ui("dialog") == RESTORE_CAPTION, 30, "the restore dialog")
        x86_ui("dialog-select", HISTORY_LIST, 0)
        wait_until(lambda: x86_ui("dialog-enabled", IDOK).strip() == b"1", 20, "OK enabled")
        x86_ui("press", IDOK)
        box = wait_until(lambda: (lambda out: out != b"0" and out)(x86_ui("msgbox")), 30,
                         "the question")
        caption, _, buttons, icon, owner = box.split(harness.FIELD)
        assert (caption, buttons, icon, owner) == (WOW64_CAPTION, b"YES,NO", b"icon",
                                                   b"dialog"), box
        x86_ui("press", IDNO)
        wait_until(lambda: x86_ui("msgbox") == b"0", 20, "the question to close")
        assert x86_ui("dialog") == RESTORE_CAPTION  # the dialog stays open
        assert scm("state", "qt_wow").strip() == b"0"  # nothing was created
        x86_ui("press", 2)
        wait_until(lambda: x86_ui("dialog") == b"0", 20, "the restore dialog to close")
        with open(history, "rb") as f:
            assert f.read() == record
    finally:
        harness.wine("C:\\qtest\\x86\\uidrive.exe", "close")
        program.wait(timeout=60)
