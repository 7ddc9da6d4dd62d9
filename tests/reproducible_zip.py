#!/usr/bin/python3
"""dist/zip.py gives the same bytes for the same files whatever their times, the order they were
written in, the umask and the time zone: entries in name order, each dated SOURCE_DATE_EPOCH as
UTC, mode 644, no extra fields. Another date gives another zip; a missing file is refused."""
import io
import os
import subprocess
import sys
import tempfile
import time
import zipfile

ZIP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dist", "zip.py")
FILES = {"README.txt": b"read me\r\n", "Data/b.bmp": b"BM" + bytes(300),
         "Data/a.wav": bytes(range(256)) * 9}
EPOCH = 1796784852  # an even second: a zip entry's time has two-second steps


def pack(order, mtime, umask, tz, epoch=EPOCH, names=tuple(FILES)):
    """Writes FILES in this order, then packs them; returns (exit code, stderr, zip bytes)."""
    with tempfile.TemporaryDirectory() as top:
        old = os.umask(umask)
        try:
            for name in order:
                path = os.path.join(top, "in", name)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "wb") as f:
                    f.write(FILES[name])
                os.utime(path, (mtime, mtime))
        finally:
            os.umask(old)
        out = os.path.join(top, "out.zip")
        env = dict(os.environ, TZ=tz, SOURCE_DATE_EPOCH=str(epoch))
        run = subprocess.run([sys.executable, ZIP, out, os.path.join(top, "in"), *names], env=env,
                             capture_output=True, text=True)
        data = open(out, "rb").read() if run.returncode == 0 else b""
        return run.returncode, run.stderr, data


def main():
    _, _, first = pack(list(FILES), 1e9, 0o022, "UTC")
    _, _, second = pack(list(reversed(FILES)), 1.7e9, 0o077, "KVN-14")
    if first != second:
        sys.exit("FAIL: the same files gave two different zips")
    with zipfile.ZipFile(io.BytesIO(first)) as z:
        infos = z.infolist()
        if [i.filename for i in infos] != sorted(FILES):
            sys.exit(f"FAIL: entries in the order {[i.filename for i in infos]}")
        for i in infos:
            mode = i.external_attr >> 16
            if (i.date_time != time.gmtime(EPOCH)[:6] or mode != 0o100644 or i.extra
                    or z.read(i) != FILES[i.filename]):
                sys.exit(f"FAIL: {i.filename}: {i.date_time}, mode {mode:o}, extra {i.extra}")
    if pack(list(FILES), 1e9, 0o022, "UTC", epoch=EPOCH + 86400)[2] == first:
        sys.exit("FAIL: another SOURCE_DATE_EPOCH gave the same zip")
    code, stderr, _ = pack(list(FILES), 1e9, 0o022, "UTC", names=("README.txt", "Data/missing.bmp"))
    if code == 0 or "Data/missing.bmp is not a file" not in stderr:
        sys.exit(f"FAIL: a missing file gave exit code {code} and {stderr!r}")
    print("PASS")


if __name__ == "__main__":
    main()
