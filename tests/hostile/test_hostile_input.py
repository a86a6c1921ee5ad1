"""Hostile input through the real windows: huge and exotic pastes, damaged settings, a saved reading that
is a 2 GB sparse file. Each must meet its defined answer and leave the program responsive."""

import os
import sys

from hostile_common import MAX_NAME_LENGTH, Clipboard, still_types
from harness import BOX_TITLE, DIALOG_TITLE, check, run, stays, wait_for, x_windows
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"


def paste_into_first_box(s, pid, text):
    main = s.main_window(pid)
    with Clipboard(text):
        s.key("shift+Insert", win=main)
        return wait_for(lambda: s.name_boxes(pid)[0] or None, 20, "the pasted name")


def read_names(s, pid, partner, expected):
    s.key("Tab")
    s.type(partner)
    s.key("Tab", "space")
    s.wait_label(pid, f"Your Level of Compatibility: {expected}", timeout=20)
    check(not x_windows(BOX_TITLE, pid), "a message box came up")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rpartition(")")[2].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def paste_100000_characters(s):
    proc = s.start()
    text = (LETTERS * (100000 // len(LETTERS) + 1))[:100000]
    started = cpu_seconds(proc.pid)
    pasted = paste_into_first_box(s, proc.pid, text)
    check(pasted == text[:MAX_NAME_LENGTH], f"the box holds {len(pasted)} characters, not {MAX_NAME_LENGTH}")
    # The box keeps 16,382 letters: each letter 630 times, A and B once more. With MARY, the groups A to Z
    # are odd for B, M, R and Y only: pair sums 1 0 0 0 0 0 1 0 1 0 0 0 1, fold 1 0 2 0 1 0, number 3.
    read_names(s, proc.pid, "mary", 3)
    check(cpu_seconds(proc.pid) - started < 30, "the paste and reading took too long")


def names_from_every_plane(s):
    proc = s.start()
    # Characters without case from each of the 17 planes: assigned ones, unassigned code points,
    # a tag, private use; plus a combining mark and a right-to-left run.
    chars = ["\u03a9", "\u6f22", "\u0301", "\u05d0\u05d1", "\U0001F600", "\U00020000", "\U00030000"]
    chars += [chr(plane << 16 | 0x1234) for plane in range(4, 14)]
    chars += ["\U000E0041", "\U000F0000", "\U0010FFFD"]
    text = "".join(chars)
    pasted = paste_into_first_box(s, proc.pid, text)
    check(pasted == text, f"pasted {pasted!r}")
    # 37 UTF-16 code units, the high surrogates of planes 4 to 13 each once: level 2.
    read_names(s, proc.pid, "john", 2)
    s.key("alt+b")  # back to the names page, which clears the names
    wait_for(lambda: s.name_boxes(proc.pid) == ["", ""], 10, "Back to clear the names")
    still_types(s, proc.pid)


def start_on_damaged_settings(s, content):
    os.makedirs(os.path.dirname(s.settings_file), exist_ok=True)
    with open(s.settings_file, "wb") as f:
        f.write(content)
    proc = s.start()
    s.main_window(proc.pid)
    check(stays(lambda: not x_windows(BOX_TITLE, proc.pid), 1.0), "a message box came up")
    still_types(s, proc.pid)


def settings_damaged(s):
    start_on_damaged_settings(s, b"[Settings\n%99%CA=\"\\x\n=\n\xe2\x84[Settings]\n\xe2")


def choose(s, pid, path):
    """Types the path into the open dialog; returns the title of what answered."""
    main = s.main_window(pid)
    s.key("alt+o", win=main)  # focuses the open button, which lies below the visible area
    s.key("space")
    dialog = s.wait_window(DIALOG_TITLE, pid)
    s.type(path, win=dialog)
    s.key("Return")
    # The answer is the program's message box, the dialog closing, or the dialog's own warning (a second
    # window with the dialog's title).
    return wait_for(lambda: x_windows(BOX_TITLE, pid) or len(x_windows(DIALOG_TITLE, pid)) != 1,
                    15, "an answer to the chosen file")


def sparse_2gb_reading(s):
    path = os.path.join(s.home, "huge.num")
    with open(path, "wb") as f:
        f.truncate(2 << 30)
    proc, _ = s.start_with_names()
    # The program's own processor time, which a busy machine does not stretch as it does the clock's.
    started = cpu_seconds(proc.pid)
    choose(s, proc.pid, path)
    s.wait_label(proc.pid, "Your Level of Compatibility: 8", timeout=45)
    check(cpu_seconds(proc.pid) - started < 15, "a 2 GB file took too long")
    check(not x_windows(BOX_TITLE, proc.pid), "a message box came up")
    with open(f"/proc/{proc.pid}/status") as f:
        rss_kb = next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))
    check(rss_kb < 400 * 1024, f"VmRSS {rss_kb} kB after reading a 2 GB file")


if __name__ == "__main__":
    sys.exit(run([paste_100000_characters, names_from_every_plane, settings_damaged, sparse_2gb_reading]))
