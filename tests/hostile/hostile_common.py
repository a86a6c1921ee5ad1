"""Shared by the hostile-input scenarios: the end-to-end harness and the clipboard."""

import subprocess

import harness

MAX_NAME_LENGTH = (32766 - 1) // 2


class Clipboard:
    """Owns the X clipboard with a text until closed (xclip stays in the foreground to serve it)."""

    def __init__(self, text):
        self.proc = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"],
                                     stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.proc.stdin.write(text.encode("utf-8"))
        self.proc.stdin.close()
        harness.wait_for(lambda: subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                                                capture_output=True).stdout == text.encode("utf-8"),
                         10, "the clipboard to hold the text")

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(timeout=5)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False


def still_types(s, pid, text="Q"):
    """The window still answers: a letter typed into the partner's box shows up there."""
    main = s.main_window(pid)
    before = s.name_boxes(pid)[1]
    x, y = s.centre_of(s.name_box_nodes(pid)[1])
    s.activate(main)
    s.click(x, y)
    s.key("End")
    s.type(text)
    harness.wait_for(lambda: s.name_boxes(pid)[1] == before + text, 10, "typing to still work")
