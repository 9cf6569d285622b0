"""Display scaling: the manifest that keeps Windows from stretching the
window, what the window draws at 96 and at 144 DPI (150 %), the settings
file kept in 96-DPI units, and a move to a monitor of another scale.

Wine runs every program per-monitor aware and never stretches a window, so
what is checked is the manifest itself and the sizes the program chooses,
read inside the program where only it can tell (uidrive scale)."""

import os
import xml.etree.ElementTree as ElementTree

import harness
import pe_file  # from scripts/, which harness puts on the path
import release
from harness import test, ui, Program, TEST_DIR

SETTINGS = os.path.join(TEST_DIR, "quorvel.ini")
DESKTOP = "HKCU\\Control Panel\\Desktop"
KEYS = ["left", "top", "right", "bottom"] + ["itemwide%d" % i for i in range(8)]

ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # Windows 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # Windows 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # Windows 10 and 11
}


def at_dpi(dpi):
    """Programs started from now on run at `dpi`: each process reads the
    value when it starts. None goes back to the prefix's own 96."""
    if dpi is None:
        harness.wine("reg", "delete", DESKTOP, "/v", "LogPixels", "/f")
    else:
        harness.wine_reg("add", DESKTOP, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
                         "/f")


def scale():
    """What uidrive scale reports, by name: one number, or a tuple of them."""
    values = {}
    for line in ui("scale").decode().splitlines():
        name, *numbers = line.split()
        numbers = tuple(map(int, numbers))
        values[name] = numbers[0] if len(numbers) == 1 else numbers
    return values


def widths():
    return list(map(int, ui("widths").split()))


def write_settings(values):
    text = "[quorvel]\r\n" + "".join("%s=%s\r\n" % kv for kv in values.items())
    with open(SETTINGS, "wb") as f:
        f.write(text.encode("ascii"))


def read_settings():
    with open(SETTINGS, "rb") as f:
        lines = f.read().decode("ascii").split("\r\n")
    return {k: int(v) for k, v in (line.split("=", 1) for line in lines[1:] if line)}


def remove_settings():
    if os.path.exists(SETTINGS):
        os.remove(SETTINGS)


def mul_div(value, numerator, denominator):
    """MulDiv's rounding: halves away from zero."""
    sign = -1 if value * numerator < 0 else 1
    return sign * ((abs(value * numerator) * 2 + denominator) // (2 * denominator))


def grown(small, large, factor=1.35):
    return large >= small * factor


@test
def the_manifest_declares_per_monitor_v2_awareness():
    for architecture, _, _ in release.ARCHITECTURES:
        program = pe_file.PeFile(release.shipped_program(os.path.join(harness.ROOT, "dist"),
                                                         architecture))
        manifest = ElementTree.fromstring(program.resource(pe_file.RT_MANIFEST))
        settings = manifest.find(ASM_V3 + "application/" + ASM_V3 + "windowsSettings")
        assert settings is not None, architecture
        awareness = settings.find(SETTINGS_2016 + "dpiAwareness")
        assert awareness is not None and awareness.text == "PerMonitorV2, PerMonitor", architecture
        aware = settings.find(SETTINGS_2005 + "dpiAware")
        assert aware is not None and aware.text == "true/pm", architecture
        systems = {element.get("Id") for element in manifest.iter(COMPATIBILITY + "supportedOS")}
        assert systems == SUPPORTED_OS, (architecture, systems)


@test
def at_150_percent_the_toolbar_list_and_bars_are_drawn_larger():
    sizes = {}
    try:
        for dpi in (96, 144):
            remove_settings()  # the default size and place, each time
            at_dpi(dpi)
            with Program():
                sizes[dpi] = scale()
    finally:
        at_dpi(None)
        remove_settings()
    small, large = sizes[96], sizes[144]
    # Asked inside the program: Wine gives each process the DPI it starts with.
    assert (small["dpi"], large["dpi"]) == (96, 144), (small, large)
    assert small["images"] == (16, 15), small  # the 100 % pictures, as before
    assert large["images"] == (24, 23), large  # drawn for 150 %, not stretched
    for name in ("button", "images"):
        assert grown(small[name][0], large[name][0]), (name, small[name], large[name])
        assert grown(small[name][1], large[name][1]), (name, small[name], large[name])
    assert (small["separator"], large["separator"]) == (8, 12), (small, large)
    for name in ("list-font", "status-font", "tooltip-font", "status-bar"):
        assert grown(small[name], large[name]), (name, small[name], large[name])
    for measured in (small, large):
        # Rows follow the list's font; the toolbar holds its buttons.
        assert measured["list-font"] <= measured["row"] <= measured["list-font"] + 8, measured
        assert measured["toolbar"] >= measured["button"][1], measured
        left, top, right, bottom = measured["window"]
        width, height = measured["screen"]
        assert 0 <= left < right <= width and 0 <= top < bottom <= height, measured


@test
def settings_keep_their_place_and_size_on_the_screen_at_any_scale():
    # Written by an earlier build, which saw every screen at 96 DPI.
    earlier = {"left": 100, "top": 50, "right": 701, "bottom": 451, "itemwide0": 150,
               "itemwide1": 77, "itemwide2": 0, "itemwide3": 33, "itemwide4": 1,
               "itemwide5": 251, "itemwide6": 90, "itemwide7": -5}
    write_settings(earlier)
    try:
        at_dpi(144)
        for start in range(2):
            with Program():
                rect = tuple(map(int, ui("window-rect").split()))
                shown = widths()
            # Edges and widths scaled by 1.5 with MulDiv's rounding.
            assert rect == (150, 75, 1052, 677), (start, rect)
            want = [mul_div(earlier["itemwide%d" % i], 144, 96) for i in range(8)]
            assert [w for i, w in enumerate(shown) if i != 2] == \
                [w for i, w in enumerate(want) if i != 2], (start, shown, want)
            # Unchanged, it is written back as it was read: nothing creeps.
            saved = read_settings()
            assert {k: saved[k] for k in KEYS if k != "itemwide2"} == \
                {k: earlier[k] for k in KEYS if k != "itemwide2"}, (start, saved)
            # The unset column took its default from the window, in pixels,
            # and is kept in units.
            assert saved["itemwide2"] == mul_div(shown[2], 96, 144), (saved, shown)
            earlier["itemwide2"] = saved["itemwide2"]

        # Sized at 150 %, opened at 100 %: the same size on the screen.
        with Program():
            ui("set-size", 903, 603)
            ui("set-width", 1, 151)
        saved = read_settings()
        assert (saved["right"] - saved["left"], saved["bottom"] - saved["top"]) == (602, 402), saved
        assert saved["itemwide1"] == 101, saved
        at_dpi(96)
        with Program():
            left, top, right, bottom = map(int, ui("window-rect").split())
            assert (right - left, bottom - top) == (602, 402)
            assert widths()[1] == 101
    finally:
        at_dpi(None)
        remove_settings()


@test
def a_move_to_a_monitor_of_another_scale_redraws_at_its_dpi():
    remove_settings()
    try:
        at_dpi(96)
        with Program():
            before = scale()
            before_widths = widths()
            ui("dpi-changed", 144, 20, 30, 1020, 730)
            moved = scale()
            assert moved["window"] == (20, 30, 1020, 730), moved  # the suggested rectangle
            assert moved["images"] == (24, 23), moved
            assert grown(before["button"][1], moved["button"][1]), (before, moved)
            assert grown(before["list-font"], moved["list-font"]), (before, moved)
            assert grown(before["tooltip-font"], moved["tooltip-font"]), (before, moved)
            assert widths() == [mul_div(w, 144, 96) for w in before_widths], widths()
            ui("dpi-changed", 96, 20, 30, 687, 497)
            back = scale()
            assert back["images"] == (16, 15) and back["button"] == before["button"], back
            assert back["list-font"] == before["list-font"], back
            assert widths() == before_widths, widths()  # no drift there and back
            ui("dpi-changed", 144, 20, 30, 1020, 730)
        # Saved in units from 150 %: what the widths were at 100 %.
        saved = read_settings()
        assert [saved["itemwide%d" % i] for i in range(8)] == before_widths, saved
        assert (saved["right"] - saved["left"], saved["bottom"] - saved["top"]) == (667, 467)
    finally:
        at_dpi(None)
        remove_settings()
