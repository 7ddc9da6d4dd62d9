#!/usr/bin/python3
"""With reduced flashing too the browser's frames are the desktop's: index.html?at=MS&reduced-
flashing=1 against kelvorin-capture --reduced-flashing --at MS, within parity.py's limits, where
the mode changes the picture: the cube fan in the blank half of its blinking, with its
afterglow, and the shaking tunnel, whose afterglow the browser rebuilds from frames drawn at
full size after skimming the rest."""
import browser
import parity


def test():
    parity.in_scratch(lambda out: parity.compare_frames(out, [27020, 66150], reduced=True))


if __name__ == "__main__":
    browser.main(test)
