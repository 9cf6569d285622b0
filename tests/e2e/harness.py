"""The end-to-end harness: the real quorvel.exe under Wine, driven from a
second process (uidrive.exe), with services made by scmfix.exe and run by
testsvc.exe. The Wine session (prefix, locale, display) is set up by the
calling script; see scripts/wine_session.sh."""

import os
import shutil
import subprocess
import sys
import time
import traceback

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE = os.environ["WINE"]
BUILD = os.path.join(ROOT, "build", os.environ.get("WINE_BUILD", "win32"))
PREFIX = os.environ["WINEPREFIX"]
# Programs run from C:\qtest, so the files the program keeps beside itself
# land in TEST_DIR.
TEST_DIR = os.path.join(PREFIX, "drive_c", "qtest")
WIN_TEST_DIR = "C:\\qtest"
FIELD, RECORD = b"\x1f", b"\x1e"

sys.path.insert(0, os.path.join(ROOT, "scripts"))
import release  # noqa: E402  (the packages' layout, in one place)

ARCHITECTURE = {build: name for name, build, _ in release.ARCHITECTURES}


def install_shipped_program(build, folder):
    """Puts quorvel.exe into the folder as the build's zip in dist/ holds it,
    checked against SHA256SUMS and against the build: what is tested is what
    ships."""
    try:
        program = release.shipped_program(os.path.join(ROOT, "dist"), ARCHITECTURE[build])
        with open(os.path.join(ROOT, "build", build, "quorvel.exe"), "rb") as f:
            if f.read() != program:
                raise release.ReleaseError("dist/ holds another build than build/" + build)
    except (OSError, release.ReleaseError) as error:
        raise AssertionError("%s (run scripts/release.sh)" % error)
    with open(os.path.join(folder, "quorvel.exe"), "wb") as f:
        f.write(program)


def install_programs():
    os.makedirs(TEST_DIR, exist_ok=True)
    install_shipped_program(os.path.basename(BUILD), TEST_DIR)
    for name in ("testsvc.exe", "scmfix.exe", "uidrive.exe", "uiprobe.dll", "bench_probe.exe",
                 "dllprobe.exe"):
        shutil.copy(os.path.join(BUILD, "tests", "e2e", name), TEST_DIR)


def settle(timeout=120):
    """Waits until the prefix has finished starting its own services: two
    listings in a row alike and nothing start or stop pending."""
    previous = None
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        records = [r for r in split_records(scm("list", 0x3B))
                   if not r[0].lower().startswith(b"qt_")]  # ours may be pending on purpose
        busy = any(r[3] in (b"2", b"3") for r in records)
        if records == previous and not busy:
            return
        previous = records
        time.sleep(0.5)
    raise AssertionError("the prefix's services did not settle")


def win_path(name):
    return WIN_TEST_DIR + "\\" + name


def wine(*args, timeout=120, env=None):
    """Runs a Windows program under Wine; gives the completed process.
    Wine's tools and ours say why whenever they fail, so a failure with no
    output at all means Wine did not get the program going (seen rarely on
    a loaded machine); such a start is tried again, and said so on stderr."""
    command = [WINE, *map(str, args)]
    for attempt in range(3):
        result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=timeout, env=env)
        if result.returncode == 0 or result.stdout or result.stderr:
            break
        sys.stderr.write("(%s ended with %d and said nothing; attempt %d)\n" % (
            " ".join(command[1:]), result.returncode, attempt + 1))
    return result


def run(program, *args, check=True, timeout=120, env=None):
    """Runs one of our Windows programs; returns its standard output bytes."""
    result = wine(win_path(program), *args, timeout=timeout, env=env)
    if check and result.returncode != 0:
        raise AssertionError("%s %s failed (%d): %s" % (
            program, " ".join(map(str, args)), result.returncode,
            result.stderr.decode("utf-8", "replace").strip()))
    return result.stdout


def scm(*args, check=True):
    return run("scmfix.exe", *args, check=check)


def ui(*args, check=True):
    return run("uidrive.exe", *args, check=check)


def split_records(data):
    return [record.split(FIELD) for record in data.split(RECORD)[:-1]]


def wine_reg(*args):
    """Wine's reg.exe now and then fails a write to a service's key that the
    Service Control Manager is writing at that moment; it is asked again
    then, a few times, and the last failure is reported with its message."""
    for _ in range(3):
        result = wine("reg", *args)
        if result.returncode == 0:
            return
    raise AssertionError(("reg",) + args + (result.returncode, result.stderr))


def set_windows_version(version):
    """'winxp' makes the program read descriptions (NT 5); None restores Wine's default."""
    if version:
        wine_reg("add", "HKCU\\Software\\Wine", "/v", "Version", "/d", version, "/f")
    else:
        wine("reg", "delete", "HKCU\\Software\\Wine", "/v", "Version", "/f")


def wait_until(condition, timeout=30.0, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.1)


class Program:
    """One run of quorvel.exe; use as a context manager."""

    def __init__(self, env=None):
        self.env = env

    def __enter__(self):
        self.process = subprocess.Popen([WINE, win_path("quorvel.exe")], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        ui("wait-window", 60000)
        return self

    def rows(self):
        return split_records(ui("rows"))

    def command(self, identifier):
        ui("send", identifier)

    def post(self, identifier):
        """A command whose handling opens a modal box: sent, it would block."""
        ui("post", identifier)

    def message_box(self, timeout=30):
        """Waits for a message box; gives (caption, text, buttons, icon, owner)
        with the texts as code page 932 bytes."""
        fields = wait_until(lambda: (lambda out: out != b"0" and out)(ui("msgbox")), timeout,
                            "a message box")
        caption, text, buttons, icon, owner = fields.split(FIELD)
        return caption, text, buttons.decode(), icon == b"icon", owner.decode()

    def no_message_box(self):
        return ui("msgbox") == b"0"

    def press(self, button_id):
        ui("press", button_id)

    def close(self):
        if self.process.poll() is None:
            ui("close", check=False)
            try:
                self.process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        return self.process.returncode

    def __exit__(self, *exc):
        self.close()


def screenshot(name):
    """Saves the screen as build/e2e/NAME.png, for a look at what went wrong."""
    folder = os.path.join(ROOT, "build", "e2e")
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["import", "-window", "root", os.path.join(folder, name + ".png")],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


IDM_SHOW_ALL = 40011
TBSTATE_CHECKED = 1


def toolbar():
    """Each toolbar button as (command, state, style, image)."""
    return [tuple(map(int, line.split())) for line in ui("toolbar").decode().splitlines()]


def states():
    """The toolbar state of each command."""
    return {command: state for command, state, _, _ in toolbar() if command}


def row_index(program, service_name):
    names = [row[6] for row in program.rows()]
    return names.index(service_name.encode())


def select(program, service_name):
    ui("select", row_index(program, service_name))


def sync(program):
    """Returns once the program has handled every message posted to it so
    far: Show all toggled twice, each toggle waited for. A message box that
    a flow opens meanwhile stays open through this (its loop handles the
    toggles), so a test can tell that none came."""
    for _ in range(2):
        before = states()[IDM_SHOW_ALL] & TBSTATE_CHECKED
        ui("post", IDM_SHOW_ALL)
        wait_until(lambda: states()[IDM_SHOW_ALL] & TBSTATE_CHECKED != before, 20,
                   "Show all toggled")


_tests = []


class Skipped(Exception):
    """Raised by a test that cannot run here; it counts as neither passed nor failed."""


def test(function):
    _tests.append(function)
    return function


def run_tests(selected=None):
    passed = failed = skipped = 0
    # A misspelt name would otherwise run nothing and pass.
    for name in sorted(set(selected or ()) - {function.__name__ for function in _tests}):
        failed += 1
        print("FAIL %s (no such test)" % name, flush=True)
    for function in _tests:
        if selected and function.__name__ not in selected:
            continue
        started = time.monotonic()
        try:
            function()
        except Skipped as why:
            skipped += 1
            print("skip %s (%s)" % (function.__name__, why), flush=True)
        except Exception:  # one failing test must not stop the others
            failed += 1
            screenshot("FAIL-" + function.__name__)
            print("FAIL %s\n%s" % (function.__name__, traceback.format_exc()), flush=True)
        else:
            passed += 1
            print("ok   %s (%.1f s)" % (function.__name__, time.monotonic() - started), flush=True)
    print("e2e: %d passed, %d failed, %d skipped" % (passed, failed, skipped), flush=True)
    return failed == 0


def percent_record(record):
    """A history record as a snapshot's second line carries it: ASCII,
    '%', control bytes and every byte from 0x80 up written as %XX."""
    return "".join(chr(byte) if 0x20 <= byte < 0x7F and byte != 0x25 else "%%%02X" % byte
                   for byte in record)


def record_comment(record):
    return ";record=" + percent_record(record)


def read_snapshot(path):
    """A snapshot's text: a Unicode registry file, UTF-16LE after its byte-order mark."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:2] == b"\xff\xfe", data[:40]
    return data[2:].decode("utf-16-le")


def write_snapshot(path, text):
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))
