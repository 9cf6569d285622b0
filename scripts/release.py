"""The release packages: one zip per architecture holding quorvel.exe,
readme.txt and LICENSE, and SHA256SUMS for the zips and the executables.

    python3 scripts/release.py EPOCH DIST   (scripts/release.sh runs it)

The packages' bytes depend only on the executables, the texts and EPOCH:
entries in name order, all dated EPOCH (UTC), fixed attributes, one
compression level."""

import hashlib
import io
import os
import sys
import time
import zipfile

import pe_file

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# (name in the packages, build folder, PE machine)
ARCHITECTURES = (("x64", "win64", pe_file.MACHINE_AMD64),
                 ("x86", "win32", pe_file.MACHINE_I386))
SUMS = "SHA256SUMS"
PROGRAM = "quorvel.exe"
EARLIEST_ZIP_DATE = 315532800  # 1980-01-01: a zip cannot hold an earlier one
MSDOS, FILE_ATTRIBUTE_ARCHIVE = 0, 0x20


class ReleaseError(Exception):
    pass


def read(path):
    with open(path, "rb") as f:
        return f.read()


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def windows_text(text):
    """Code page 932 with CR LF line ends, whatever line ends the source has."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp932")


def zip_archive(files, epoch):
    date = time.gmtime(max(epoch, EARLIEST_ZIP_DATE))[:6]
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for name in sorted(files):
            entry = zipfile.ZipInfo(name, date)
            # Attributes as Windows' own zips carry them, not this
            # machine's user, group and umask.
            entry.create_system, entry.external_attr = MSDOS, FILE_ATTRIBUTE_ARCHIVE
            archive.writestr(entry, files[name], zipfile.ZIP_DEFLATED, 9)
    return buffer.getvalue()


def package_name(version, architecture):
    return "quorvel-%s-%s" % (version, architecture)


def built_programs():
    """Each architecture's built quorvel.exe, and the one version they share."""
    programs, versions = {}, set()
    for architecture, build, machine in ARCHITECTURES:
        path = os.path.join(ROOT, "build", build, PROGRAM)
        data = read(path)
        program = pe_file.PeFile(data)
        if program.machine != machine:
            raise ReleaseError("%s is not an %s program" % (path, architecture))
        programs[architecture] = data
        versions.add(program.product_version())
    if len(versions) != 1:
        raise ReleaseError("the builds carry different versions: %s" % sorted(versions))
    return programs, versions.pop()


def write_release(dist, epoch):
    programs, version = built_programs()
    readme = read(os.path.join(ROOT, "res", "readme.txt")).decode("utf-8")
    texts = {"readme.txt": windows_text(readme.replace("@VERSION@", version)),
             "LICENSE": windows_text(read(os.path.join(ROOT, "LICENSE")).decode("utf-8"))}
    os.makedirs(dist, exist_ok=True)
    sums = []
    for architecture, _, _ in ARCHITECTURES:
        name = package_name(version, architecture)
        archive = zip_archive(dict(texts, **{PROGRAM: programs[architecture]}), epoch)
        with open(os.path.join(dist, name + ".zip"), "wb") as f:
            f.write(archive)
        # The executable under the folder Windows unpacks the zip into.
        sums += [(sha256(archive), name + ".zip"),
                 (sha256(programs[architecture]), name + "/" + PROGRAM)]
    with open(os.path.join(dist, SUMS), "w", newline="\n") as f:
        f.writelines("%s  %s\n" % entry for entry in sums)
    return sums


def read_sums(dist):
    """SHA256SUMS as {name: digest}."""
    sums = {}
    for line in read(os.path.join(dist, SUMS)).decode("ascii").splitlines():
        digest, name = line.split("  ", 1)
        sums[name] = digest
    return sums


def shipped_program(dist, architecture):
    """quorvel.exe as the architecture's zip in dist holds it, after both
    the zip and the executable were found as SHA256SUMS gives them."""
    sums = read_sums(dist)
    names = [n for n in sums if n.endswith("-%s.zip" % architecture)]
    if len(names) != 1:
        raise ReleaseError("%s names no single %s zip: %s" % (SUMS, architecture, names))
    archive = read(os.path.join(dist, names[0]))
    if sha256(archive) != sums[names[0]]:
        raise ReleaseError("%s differs from %s" % (names[0], SUMS))
    with zipfile.ZipFile(io.BytesIO(archive)) as z:
        program = z.read(PROGRAM)
    if sha256(program) != sums[names[0][:-len(".zip")] + "/" + PROGRAM]:
        raise ReleaseError("the %s in %s differs from %s" % (PROGRAM, names[0], SUMS))
    return program


def main():
    epoch, dist = int(sys.argv[1]), sys.argv[2]
    try:
        for digest, name in write_release(dist, epoch):
            print("%s  %s" % (digest, name))
    except (ReleaseError, OSError, UnicodeError, ValueError) as error:
        sys.exit("release: %s" % error)


if __name__ == "__main__":
    main()
