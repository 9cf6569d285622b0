"""The services every end-to-end test can rely on, made once per run."""

import harness
from harness import scm

TEST_BIN = harness.win_path("testsvc.exe")
DRIVER_BIN = "C:\\windows\\system32\\drivers\\qt_none.sys"
LONG_DESCRIPTION = "x" * 258 + "説明の続き"  # a double-byte character straddles byte 259


def remove_service(name):
    """Stops and deletes a service left by an earlier run, if there is one."""
    if scm("state", name).strip() == b"0":
        return
    scm("stop", name, check=False)
    scm("wait-state", name, 1, 10000, check=False)
    if scm("state", name).strip() not in (b"0", b"1"):
        # One that cannot be stopped. Killed, it keeps its last state until
        # the deletion removes it.
        scm("kill", name, check=False)
    scm("delete", name, check=False)
    scm("wait-state", name, 0, 30000)


def create_services():
    """Own-process, shared and interactive services in every start type a
    service can have, one running and one stuck in start pending, and two
    drivers that are never started."""
    services = [
        ("qt_own", "テスト独自サービス", 0x10, 2, TEST_BIN + " quick", None),
        ("qt_share", "Qt Share", 0x20, 3, TEST_BIN + " quick", None),
        ("qt_interactive", "qt interactive", 0x110, 4, TEST_BIN + " quick", None),
        ("qt_pending", "Qt Pending", 0x10, 3, TEST_BIN + " slowstart 600000", None),
        ("QT_Beta", "beta 二番目", 0x10, 3, TEST_BIN + " quick", ".\\LocalService"),
        ("qt_kernel", "Qt Kernel Driver", 0x1, 1, DRIVER_BIN, "-"),
        ("qt_filesystem", "Qt File System Driver", 0x2, 0, DRIVER_BIN, "-"),
    ]
    for name, display, service_type, start, path, account in services:
        remove_service(name)
        args = ["create", name, display, hex(service_type), start, path]
        if account:
            args.append(account)
        scm(*args)
    scm("describe", "qt_own", "説明, カンマ入り")
    scm("describe", "qt_share", LONG_DESCRIPTION)
    scm("start", "qt_own")
    scm("start", "qt_pending")
    scm("wait-state", "qt_own", 4, 30000)
    scm("wait-state", "qt_pending", 2, 30000)


