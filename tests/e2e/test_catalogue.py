"""The services table: rows as the Service Control Manager reports them,
drivers with Show all, and the order a header click gives."""

import harness
from harness import scm, test, ui, Program, wait_until

IDM_REFRESH = 40008
IDM_SHOW_ALL = 40011

# The label tables, written out again here so that the program is checked
# against an independent reading of them.
STATES = {2: "開始中", 4: "開始"}
START_TYPES = {0: "ブート", 1: "システム", 2: "自動", 3: "手動", 4: "無効"}


def type_label(t):
    if t & 0x10:
        label = "独自プロセス"
    elif t & 0x20:
        label = "共有プロセス"
    else:
        label = {1: "デバイスドライバ", 2: "ファイルシステムドライバ"}.get(t, "")
    return label + ("(対話許可)" if t & 0x100 else "")


def cp932(text):
    return text.encode("cp932")


def cut_description(data, limit=259):
    end = 0
    while end < len(data):
        width = 2 if (0x81 <= data[end] <= 0x9F or 0xE0 <= data[end] <= 0xFC) else 1
        if end + width > limit:
            break
        end += width
    return data[:end]


def expected_row(record, descriptions):
    name, display, service_type, state, start, account, path, description = record
    start_label = START_TYPES.get(int(start), "") if start != b"-" else ""
    return [display,
            cut_description(description) if descriptions and description != b"\x02" else b"",
            cp932(STATES.get(int(state), "")),
            cp932(start_label), account, path, name,
            cp932(type_label(int(service_type)))]


def scm_records(mask):
    return harness.split_records(scm("list", mask))


def rows_and_records(program, mask):
    """The program's rows after a refresh, with the records the Service
    Control Manager reported around it (retried while services settle)."""
    for _ in range(10):
        before = scm_records(mask)
        program.command(IDM_REFRESH)
        rows = program.rows()
        if scm_records(mask) == before:
            return rows, before
    raise AssertionError("the service list kept changing")


def check_rows_match(program, mask, descriptions):
    rows, records = rows_and_records(program, mask)
    expected = [expected_row(r, descriptions) for r in records]
    assert len(rows) == len(expected), (len(rows), len(expected))
    for row, want in zip(rows, expected):
        assert row == want, "row %r\n  expected %r" % (row, want)
    return rows


def row_of(rows, service_name):
    return next(row for row in rows if row[6] == service_name.encode())


@test
def table_lists_services_as_the_manager_reports_them():
    with Program() as program:
        rows = check_rows_match(program, 0x30, descriptions=False)
        assert row_of(rows, "qt_own")[2] == cp932("開始")
        assert row_of(rows, "qt_pending")[2] == cp932("開始中")
        assert row_of(rows, "qt_share")[2] == b""
        assert row_of(rows, "qt_interactive")[7] == cp932("独自プロセス(対話許可)")
        assert row_of(rows, "qt_own")[1] == b"", "descriptions are not read on NT 6"
        assert not any(row[6] == b"qt_kernel" for row in rows)
        # The whole list came: the status bar has nothing to say.
        assert ui("status-length").strip() == b"0", ui("status-length")


@test
def descriptions_are_read_on_nt5():
    harness.set_windows_version("winxp")
    try:
        with Program() as program:
            rows = check_rows_match(program, 0x30, descriptions=True)
            assert row_of(rows, "qt_own")[1] == cp932("説明, カンマ入り")
            long_text = row_of(rows, "qt_share")[1]
            assert long_text == cp932("x" * 258), long_text
    finally:
        harness.set_windows_version(None)


@test
def show_all_adds_drivers_and_toggles_back():
    with Program() as program:
        program.command(IDM_SHOW_ALL)
        rows = check_rows_match(program, 0x3B, descriptions=False)
        assert row_of(rows, "qt_kernel")[7] == cp932("デバイスドライバ")
        assert row_of(rows, "qt_kernel")[3] == cp932("システム")
        assert row_of(rows, "qt_filesystem")[7] == cp932("ファイルシステムドライバ")
        assert row_of(rows, "qt_filesystem")[3] == cp932("ブート")
        program.command(IDM_SHOW_ALL)
        rows = check_rows_match(program, 0x30, descriptions=False)
        assert not any(row[6] == b"qt_kernel" for row in rows)


def fold(text):
    return bytes(b + 32 if 0x41 <= b <= 0x5A else b for b in text)


def sorted_by(rows, column):
    # Whole texts; equal texts keep the order the list had after the refresh.
    return [row for _, row in sorted(enumerate(rows), key=lambda p: (fold(p[1][column]), p[0]))]


@test
def header_click_sorts_ascending_and_refresh_restores_order():
    with Program() as program:
        program.command(IDM_SHOW_ALL)
        rows, records = rows_and_records(program, 0x3B)
        for column in (2, 6, 0, 2):
            want = sorted_by(rows, column)
            harness.ui("click-header", column)
            wait_until(lambda: program.rows() == want, 20, "rows sorted by column %d" % column)
        states = [row[2] for row in program.rows()]
        first_running = states.index(cp932("開始"))
        assert all(s == b"" for s in states[:first_running])
        assert states[-1] == cp932("開始中")
        names = [row[6].lower() for row in sorted_by(rows, 6)]
        assert names.index(b"qt_beta") < names.index(b"qt_own")  # case does not count
        check_rows_match(program, 0x3B, descriptions=False)
