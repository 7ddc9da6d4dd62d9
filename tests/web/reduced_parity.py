#!/usr/bin/python3
"""With reduced flashing too the browser's frames are the desktop's: index.html?at=MS&reduced-
flashing=1 against kelvorin-capture --reduced-flashing --at MS, within parity.py's limits, where
the mode changes the picture: the cube fan in the blank half of its blinking, with its
afterglow, and the shaking tunnel, whose afterglow the browser rebuilds from frames drawn at
full size after skimming the rest."""
import shutil
import tempfile

import browser
import parity


def test():
    out = tempfile.mkdtemp(prefix="kelvorin-reduced-parity-")
    try:
        parity.compare_frames(out, [27020, 66150], reduced=True)
    finally:
        shutil.rmtree(out, ignore_errors=True)


if __name__ == "__main__":
    browser.main(test)
