"""Shared by the hostile-input scenarios: the end-to-end harness, the clipboard and the reading."""

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


def utf16_units(text):
    data = text.encode("utf-16-le")
    return [data[i] | (data[i + 1] << 8) for i in range(0, len(data), 2)]


def level(yours, partners):
    """The reading, step by step, on UTF-16 code units as the program sees them."""
    combined = utf16_units(yours) + [32] + utf16_units(partners)
    order, counts = [], {}
    for i, c in enumerate(combined):
        if i > 0 and c == 32:
            continue
        if c not in counts:
            order.append(c)
            counts[c] = 0
        counts[c] += 1
    marks = [counts[c] % 2 for c in order] + [0]
    pairs = [marks[i] + marks[i + 1] for i in range(0, len(order), 2)]
    m = len(pairs)
    pairs.append(0)
    fold = [pairs[i] + pairs[i + 1] + pairs[i + 2] for i in range(0, m - 1, 3)] + [pairs[m - 1], 0]
    u = len(fold) - 1
    number = fold[0] + fold[1] if u % 2 == 0 else (fold[0] + fold[1]) + ((fold[1] + fold[2]) if u > 1 else 0)
    return sum(int(d) for d in str(number))


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
