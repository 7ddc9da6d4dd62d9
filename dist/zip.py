#!/usr/bin/python3
"""zip.py ARCHIVE DIR NAME...: packs the named files of DIR (NAME "." for every file beneath it)
into ARCHIVE, so that the same files give the same bytes on any machine: entries in the order
of their names, each dated SOURCE_DATE_EPOCH (as UTC; without it, the newest file's time), with
mode 644, no owner and no extra fields. A plain `zip` would take each file's own time in the
local time zone, the order of the folders on disk and the owner's ids."""
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01, the earliest time a zip entry can hold


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: zip.py ARCHIVE DIR NAME...")
    archive, top, names = sys.argv[1], sys.argv[2], set(sys.argv[3:])
    if "." in names:
        names.discard(".")
        names.update(os.path.relpath(os.path.join(folder, name), top)
                     for folder, _, files in os.walk(top) for name in files)
    names = sorted(names)
    for name in names:
        if not os.path.isfile(os.path.join(top, name)):
            sys.exit(f"zip.py: {os.path.join(top, name)} is not a file")
    epoch = os.environ.get("SOURCE_DATE_EPOCH", "")
    if epoch and not epoch.isdigit():
        sys.exit(f"zip.py: SOURCE_DATE_EPOCH is {epoch!r}, not a number of seconds since 1970")
    when = int(epoch) if epoch else max(int(os.stat(os.path.join(top, n)).st_mtime) for n in names)
    date = time.gmtime(max(when, ZIP_EPOCH))[:6]
    part = archive + ".part"
    with zipfile.ZipFile(part, "w") as out:
        for name in names:
            info = zipfile.ZipInfo(name, date)
            info.create_system = 3  # Unix, so that the mode below means what it says
            info.external_attr = 0o100644 << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(top, name), "rb") as f:
                out.writestr(info, f.read())
    os.replace(part, archive)


if __name__ == "__main__":
    main()
