#!/usr/bin/python3
"""docs/performance.md is what tools/bench/report.py writes from the figures in docs/bench/: a
hand edit of the one or a figure changed in the other shows here. An engine that was not
measured keeps its column, with "-"; a line that is not PART COMMIT DATE LOAD KIND is refused by
its place."""
import os
import subprocess
import sys
import tempfile

TOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
REPORT = os.path.join(TOP, "tools", "bench", "report.py")


def report(docs):
    return subprocess.run([sys.executable, REPORT, docs], capture_output=True, text=True, timeout=60)


def main():
    failures = []
    docs = os.path.join(TOP, "docs")
    with open(os.path.join(docs, "performance.md")) as f:
        if report(docs).stdout != f.read():
            failures.append("docs/performance.md differs from tools/bench/report.py's (run it: "
                            "tools/bench/report.py > docs/performance.md)")
    with tempfile.TemporaryDirectory() as work:
        os.makedirs(os.path.join(work, "bench"))
        latest = os.path.join(work, "bench", "latest.txt")
        stamp = "web 0000000 2026-12-10T09:00Z -"
        with open(latest, "w") as f:
            f.write(f"{stamp} browser chromium 156\n{stamp} scene chromium 0 64 60.4 name banner\n"
                    f"{stamp} browser webkit 2.40.5\n{stamp} scene webkit 0 60 59.0 name banner\n"
                    f"{stamp} not-measured firefox it did not start\n")
        text = report(work).stdout
        if "| 0 name banner | 60.4 (64) | - | 59.0 (60) | **no** |" not in text:
            failures.append("no row of Chromium, Firefox not measured and WebKitGTK below the goal")
        if "not at all: Firefox, it did not start." not in text:
            failures.append("the engine not measured is not said why")
        with open(latest, "a") as f:
            f.write("web 0000000\n")
        refused = report(work)
        if refused.returncode == 0 or "latest.txt:" not in refused.stderr:
            failures.append(f"a short line passes: {refused.returncode} {refused.stderr!r}")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
