"""Starting and stopping the selected service: the messages on success,
silence on failure, the stop poll's timing and the refill afterwards."""

import time

from fixtures import TEST_BIN
from harness import test, scm, ui, Program, wait_until, states, row_index, select

IDM_DELETE, IDM_REFRESH, IDM_START, IDM_STOP = 40005, 40008, 40009, 40010
GREYED = 16
IDOK = 1
START_BUTTON = 8  # position on the toolbar
RUNNING_LABEL = "開始".encode("cp932")
COL_STATE = 2

QUICK = ("qt_ss_quick", "開始停止テスト表示名", "quick")
SLOW = ("qt_ss_slow", "Qt SS Slow", "slow 3000")
NEVER = ("qt_ss_never", "Qt SS Never", "never")
REFUSE = ("qt_ss_refuse", "Qt SS Refuse", "refuse")


def remove(service):
    """Deletes a service made here. One that will not stop is ended instead:
    under Wine it then keeps its last state until it is deleted."""
    name, _, mode = service
    if service_state(name) not in (0, 1):
        if mode in ("never", "refuse"):
            scm("kill", name, check=False)
        else:
            scm("stop", name, check=False)
            scm("wait-state", name, 1, 30000)
    scm("delete", name, check=False)
    scm("wait-state", name, 0, 30000)


def fresh_service(service, running=False):
    """A demand-start own-process service made anew, stopped unless asked."""
    name, display, mode = service
    remove(service)
    scm("create", name, display, "0x10", 3, TEST_BIN + " " + mode)
    if running:
        scm("start", name)
        scm("wait-state", name, 4, 30000)


def state_text(program, name):
    return program.rows()[row_index(program, name)][COL_STATE]


def service_state(name):
    return int(scm("state", name).strip())


def expect_box(program, caption, text):
    """A plain OK box without an icon, owned by the main window."""
    box = program.message_box()
    assert box == (caption.encode("cp932"), text.encode("cp932"), "OK", False, "main"), box


def close_box(program):
    program.press(IDOK)
    wait_until(program.no_message_box, 20, "the message box to close")


def expect_refilled_without_selection(program, name, state):
    """The refill after the command shows the service's state and leaves
    no row selected, so Start, Stop and Delete are greyed."""
    wait_until(lambda: state_text(program, name) == state, 20, "%s shown as %r" % (name, state))
    wait_until(lambda: all(states()[c] == GREYED for c in (IDM_DELETE, IDM_START, IDM_STOP)),
               20, "Start, Stop and Delete greyed")


@test
def start_and_stop_report_success_with_the_display_name():
    name, display, _ = QUICK
    fresh_service(QUICK)
    try:
        with Program() as program:
            assert state_text(program, name) == b""
            select(program, name)
            ui("post", IDM_START)
            expect_box(program, "開始", display + " を開始しました")
            # The refill comes once the box is closed; by then the service runs.
            scm("wait-state", name, 4, 30000)
            close_box(program)
            expect_refilled_without_selection(program, name, RUNNING_LABEL)

            select(program, name)
            ui("post", IDM_STOP)
            expect_box(program, "停止", display + " を停止しました")
            assert service_state(name) == 1
            close_box(program)
            expect_refilled_without_selection(program, name, b"")
    finally:
        remove(QUICK)


@test
def toolbar_and_context_menu_start_and_stop():
    name, display, _ = QUICK
    fresh_service(QUICK)
    try:
        with Program() as program:
            select(program, name)
            wait_until(lambda: states()[IDM_START] != GREYED, 20, "Start enabled")
            ui("click-button", START_BUTTON)
            expect_box(program, "開始", display + " を開始しました")
            scm("wait-state", name, 4, 30000)
            close_box(program)
            expect_refilled_without_selection(program, name, RUNNING_LABEL)

            select(program, name)
            ui("rclick", row_index(program, name))
            wait_until(lambda: ui("popup-menu").strip() == b"1", 20, "the context menu")
            ui("menu-char", "o")  # 停止(&O)
            expect_box(program, "停止", display + " を停止しました")
            close_box(program)
            expect_refilled_without_selection(program, name, b"")
            assert service_state(name) == 1
    finally:
        remove(QUICK)


@test
def stop_that_takes_three_seconds_is_reported_when_seen():
    name, display, _ = SLOW
    fresh_service(SLOW, running=True)
    try:
        with Program() as program:
            select(program, name)
            started = time.monotonic()
            ui("post", IDM_STOP)
            expect_box(program, "停止", display + " を停止しました")
            elapsed = time.monotonic() - started
            # The service stops 3 s after the request; the poll that sees it
            # comes at most 0.5 s later. Early means no real wait for the stop.
            assert 3.0 <= elapsed < 6.0, elapsed
            close_box(program)
            expect_refilled_without_selection(program, name, b"")
    finally:
        remove(SLOW)


@test
def failed_stops_say_nothing_and_refill_the_row():
    cases = [
        # service, least and most milliseconds, state the refilled row shows
        (NEVER, 5000, 9000, b""),  # ten polls, each followed by 500 ms; stop pending is ""
        (REFUSE, 0, 4500, RUNNING_LABEL),  # refused at once: no polling at all
    ]
    for service, least, most, shown in cases:
        name = service[0]
        fresh_service(service, running=True)
        try:
            with Program() as program:
                select(program, name)
                # Sent: returns only when the command is over, refill included.
                elapsed = float(ui("time-send", IDM_STOP))
                assert least <= elapsed < most, (name, elapsed)
                assert program.no_message_box(), name
                assert state_text(program, name) == shown, (name, state_text(program, name))
                assert states()[IDM_STOP] == GREYED, name
        finally:
            remove(service)


@test
def starting_a_service_already_running_says_nothing():
    name = QUICK[0]
    fresh_service(QUICK)
    try:
        with Program() as program:
            select(program, name)
            assert state_text(program, name) == b""
            scm("start", name)  # the table is now older than the service's state
            scm("wait-state", name, 4, 30000)
            ui("send", IDM_START)
            assert program.no_message_box()
            assert state_text(program, name) == RUNNING_LABEL  # refilled
    finally:
        remove(QUICK)


@test
def without_a_selected_row_nothing_happens():
    name = QUICK[0]
    fresh_service(QUICK)
    try:
        with Program() as program:
            ui("select", -1)
            scm("start", name)  # a refill would now show it running
            scm("wait-state", name, 4, 30000)
            for command in (IDM_START, IDM_STOP):
                ui("send", command)  # a message box would hold this up
                assert program.no_message_box()
            assert state_text(program, name) == b"", "the list was refilled"
            assert service_state(name) == 4
            ui("send", IDM_REFRESH)
            assert state_text(program, name) == RUNNING_LABEL
    finally:
        remove(QUICK)
