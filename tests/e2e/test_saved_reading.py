"""A saved reading chosen in the open dialog runs the reading again with the names in the window."""

import os
import sys

import pyatspi
from harness import BOX_TITLE, DIALOG_TITLE, check, run, shift_encode_bytes, stays, x_windows


def write_reading(s, name, month, day, year):
    path = os.path.join(s.home, name)
    lines = [b"QZ Free Numeris Pro", b"JANE DOE", b"\xe9t\xe9", shift_encode_bytes(month), shift_encode_bytes(day),
             shift_encode_bytes(year), b"line seven is never read"]
    with open(path, "wb") as f:
        f.write(b"\r\n".join(lines) + b"\r\n")
    return path


def birth_date_boxes(s, pid):
    frame = s.wait_node(pid, pyatspi.ROLE_PANEL, "* Birth Day")
    boxes = [c for c in frame if c.getRole() == pyatspi.ROLE_COMBO_BOX]
    return [next(t for t in box if t.getRole() == pyatspi.ROLE_TEXT).queryText().getText(0, -1) for box in boxes]


def open_dialog(s, pid):
    """Alt+O, the only way to the open button, which lies below the visible area of the window."""
    s.key("alt+o", win=s.main_window(pid))
    return s.wait_window(DIALOG_TITLE, pid)


def choose_file(s, pid, path):
    dialog = open_dialog(s, pid)
    s.type(path, win=dialog)  # the focus starts in the file name box
    s.key("Return")
    s.wait_no_window(DIALOG_TITLE, pid)


def open_dialog_by_access_key(s):
    proc = s.start()
    s.key("alt+o", win=s.main_window(proc.pid))
    s.wait_window(DIALOG_TITLE, proc.pid, timeout=5)


def saved_reading_runs_the_reading(s):
    path = write_reading(s, "reading.num", "12", "7", "1990")
    proc, main = s.start_with_names()
    choose_file(s, proc.pid, path)
    s.wait_label(proc.pid, "Your Level of Compatibility: 8")
    labels = s.labels(proc.pid)
    check("Your Name: JOHN" in labels and "Your Partner's Name: MARY" in labels, f"result captions: {labels}")
    check(birth_date_boxes(s, proc.pid) == ["12", "7", "1990"], f"birth date: {birth_date_boxes(s, proc.pid)}")
    check(not x_windows(BOX_TITLE, proc.pid), "a message box came up")
    # Opening a reading loads the exit screen hidden; closing the main window shows it.
    check(stays(lambda: len(x_windows(pid=proc.pid)) == 1, 0.3), "a second window stayed on screen")
    s.close_window(main)
    s.key("alt+x", win=s.exit_screen(proc.pid))
    s.wait_exit(proc)
    # The program keeps one value and writes no file: the dialog's history is gone with it.
    left = sorted(os.path.relpath(os.path.join(d, f), s.dir)
                  for top in (s.home, s.config) for d, _, files in os.walk(top) for f in files)
    check(left == ["config/QZFreeNameCompatibility/QZFreeNameCompatibility.ini", "home/reading.num"],
          f"files left after the session: {left}")


if __name__ == "__main__":
    sys.exit(run([open_dialog_by_access_key, saved_reading_runs_the_reading]))
