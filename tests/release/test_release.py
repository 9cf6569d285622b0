"""Checks of the release packages that scripts/release.sh wrote:
    python3 tests/release/test_release.py DIST [SECOND_DIST]
SECOND_DIST is the same commit's release made elsewhere (see
reproducible.sh); without it the comparison is reported as skipped."""

import io
import os
import subprocess
import sys
import time
import traceback
import xml.etree.ElementTree as ElementTree
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import pe_file  # noqa: E402
import release  # noqa: E402

DIST = sys.argv[1]
SECOND_DIST = sys.argv[2] if len(sys.argv) > 2 else None
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll"}
# architecture: (PE machine, the manifest's processor)
EXPECTED = {"x64": (pe_file.MACHINE_AMD64, "amd64"), "x86": (pe_file.MACHINE_I386, "X86")}
MANIFEST_NAMESPACE = "{urn:schemas-microsoft-com:asm.v1}"


class Skipped(Exception):
    pass


def read(path):
    with open(path, "rb") as f:
        return f.read()


def zips():
    """{architecture: ZipFile} of the release in DIST."""
    return {architecture: zipfile.ZipFile(io.BytesIO(read(os.path.join(DIST, name))))
            for architecture in EXPECTED
            for name in os.listdir(DIST) if name.endswith("-%s.zip" % architecture)}


def version():
    """The version the x64 program of the release carries."""
    return pe_file.PeFile(zips()["x64"].read("quorvel.exe")).product_version()


def commit_time():
    result = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    if result.returncode != 0:
        raise Skipped("not a git checkout")
    return int(result.stdout)


def assert_windows_text(data, what):
    data.decode("cp932")  # raises on bytes outside code page 932
    lines = data.split(b"\r\n")
    assert lines[-1] == b"", what + " does not end in CR LF"
    assert not any(b"\r" in line or b"\n" in line for line in lines), \
        what + " has a line end other than CR LF"


def the_same_commit_released_elsewhere_has_the_same_sums():
    if SECOND_DIST is None:
        raise Skipped("no second release to compare")
    assert read(os.path.join(SECOND_DIST, release.SUMS)) == read(os.path.join(DIST, release.SUMS))
    assert sorted(os.listdir(SECOND_DIST)) == sorted(os.listdir(DIST))


def the_sums_name_both_zips_and_both_programs_and_match_them():
    prefix = "quorvel-%s-" % version()
    assert sorted(release.read_sums(DIST)) == sorted(
        prefix + suffix for suffix in ("x64.zip", "x64/quorvel.exe", "x86.zip", "x86/quorvel.exe"))
    assert sorted(os.listdir(DIST)) == sorted([release.SUMS, prefix + "x64.zip", prefix + "x86.zip"])
    for architecture in EXPECTED:
        release.shipped_program(DIST, architecture)  # raises on any difference


def each_zip_holds_the_program_and_the_texts_dated_at_the_commit():
    date = time.gmtime(commit_time())[:6]
    date = date[:5] + (date[5] // 2 * 2,)  # a zip keeps even seconds
    for architecture, archive in zips().items():
        entries = archive.infolist()
        assert [e.filename for e in entries] == ["LICENSE", "quorvel.exe", "readme.txt"], architecture
        for entry in entries:
            what = "%s: %s" % (architecture, entry.filename)
            assert entry.date_time == date, (what, entry.date_time, date)
            assert (entry.create_system, entry.external_attr) == (0, 0x20), what
            assert entry.compress_type == zipfile.ZIP_DEFLATED, what


def each_program_is_built_for_its_machine_and_imports_only_system_dlls():
    for architecture, archive in zips().items():
        program = pe_file.PeFile(archive.read("quorvel.exe"))
        machine, processor = EXPECTED[architecture]
        assert program.machine == machine, (architecture, hex(program.machine))
        manifest = ElementTree.fromstring(program.resource(pe_file.RT_MANIFEST))
        identities = manifest.iter(MANIFEST_NAMESPACE + "assemblyIdentity")
        # The program's own and the common controls' processor alike.
        assert [i.get("processorArchitecture") for i in identities] == [processor] * 2, architecture
        assert set(program.imports()) <= SYSTEM_DLLS, (architecture, program.imports())
        assert (program.timestamp, program.symbols) == (0, 0), architecture  # no link time, stripped
        assert program.product_version() == version()
        assert ROOT.encode() not in program.data, architecture + ": the build folder is in it"


def the_texts_are_code_page_932_with_cr_lf_lines():
    for architecture, archive in zips().items():
        readme = archive.read("readme.txt")
        assert_windows_text(readme, architecture + " readme.txt")
        text = readme.decode("cp932")
        for needed in ("quorvel-%s-x64.zip" % version(), "quorvel-%s-x86.zip" % version(),
                       "SHA256SUMS", "quorvel.ini", "quorvel.his", "quorvel.snapshots",
                       "regedit /s", "管理者"):
            assert needed in text, (architecture, needed)
        assert "@VERSION@" not in text, architecture
        licence = archive.read("LICENSE")
        assert_windows_text(licence, architecture + " LICENSE")
        assert licence.startswith(b"MIT License\r\n") and b"The quorvel authors" in licence


CHECKS = [the_same_commit_released_elsewhere_has_the_same_sums,
          the_sums_name_both_zips_and_both_programs_and_match_them,
          each_zip_holds_the_program_and_the_texts_dated_at_the_commit,
          each_program_is_built_for_its_machine_and_imports_only_system_dlls,
          the_texts_are_code_page_932_with_cr_lf_lines]


def main():
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    for check in CHECKS:
        try:
            check()
        except Skipped as why:
            counts["skipped"] += 1
            print("skip %s (%s)" % (check.__name__, why))
        except Exception:
            counts["failed"] += 1
            print("FAIL %s\n%s" % (check.__name__, traceback.format_exc()))
        else:
            counts["passed"] += 1
            print("ok   %s" % check.__name__)
    print("release: %(passed)d passed, %(failed)d failed, %(skipped)d skipped" % counts)
    sys.exit(1 if counts["failed"] else 0)


if __name__ == "__main__":
    main()
