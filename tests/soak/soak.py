"""Soak: the real program under Xvfb and openbox, given a long random sequence of real key presses and
clicks inside its windows (xdotool, many events per invocation), reproducible from a seed.

Message boxes, the About window and the open dialog are dismissed as they come up; closing the main
window is allowed (the exit screen then takes the events), ending the program is not: the soak never
presses the exit screen's Exit or its close box, so if the process ends it fails. At the end the process
must be alive, answer typing, and its VmRSS must not have grown since warm-up.

Usage: soak.py [--events N] [--seed S] [--max-seconds T] <path to QZFreeNameCompatibility>
"""

import argparse
import random
import sys
import time

import harness
import pyatspi
from harness import (CheckFailed, check, exit_screens, extents, is_modal, main_windows, run_tool, wait_for,
                     x_windows)

BATCH = 40
MENU_BAR_PX = 30
# Allowed growth of VmRSS from warm-up to the end: allocator noise and Qt's caches, not a leak.
RSS_SLACK_KB = 24 * 1024

options = None


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))


def sanitized(pid):
    # GCC links AddressSanitizer's runtime as a library, clang into the program: both name its entry.
    with open(f"/proc/{pid}/exe", "rb") as f:
        return b"__asan_init" in f.read()


def alive(proc):
    return proc.poll() is None


def usable_fields(s, pid):
    """The text fields on screen that take typing (the form has one that is never shown)."""
    def usable(node):
        state = node.getState()
        return state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_EDITABLE)
    return [n for n in s.nodes(pid, pyatspi.ROLE_TEXT) if usable(n)]


class Soak:
    def __init__(self, s, proc, rng):
        self.s, self.proc, self.rng = s, proc, rng
        self.events = 0
        self.dismissed = 0
        self.restored = 0
        self.main_closed_at = None
        self.exit_fields = None
        self.exit_forbidden = None
        # The main window may be closed only late in the run, so that both windows get their share.
        self.close_after = int(options.events * 0.6)

    # -- the windows that take events --------------------------------------------------------------

    def windows(self):
        return x_windows(pid=self.proc.pid)

    def main(self):
        wins = [w for w in main_windows(self.proc.pid) if not is_modal(w)]
        return wins[0] if wins else None

    def restore_iconic(self):
        """Random keys can make the window manager iconify a window; bring it back as a user would."""
        wins = run_tool("xdotool", "search", "--all", "--pid", str(self.proc.pid), "--name", ".").stdout.split()
        iconic = [w for w in wins if "Iconic" in run_tool("xprop", "-id", w, "WM_STATE").stdout]
        for w in iconic:
            run_tool("xdotool", "windowactivate", w)
            self.restored += 1
        return False

    def modals(self):
        """Message boxes, the open dialog and the About window (titled as the main window is)."""
        return [w for w in self.windows() if is_modal(w)]

    def activate(self, win):
        """Gives win the keyboard, as a click on its title bar would. A modal window keeps it, also one that
        comes up only now (the program may still be working through the last events): such a one is
        dismissed, saying so. When win stays inactive, says which windows there are and returns false."""
        def active():
            if self.modals():
                print(f"a modal window came up late: {harness.describe_windows(self.proc.pid)}", flush=True)
                self.dismiss_modals()
            run_tool("xdotool", "windowactivate", str(win))
            return run_tool("xdotool", "getactivewindow").stdout.strip() == str(win) and not self.modals()
        try:
            wait_for(active, 10, f"window {win} to become active")
            return True
        except CheckFailed as exc:
            print(f"{exc}; windows: {harness.describe_windows(self.proc.pid)}", flush=True)
            return False

    def dismiss_modals(self):
        """Closes message boxes, the About window and the open dialog; true if one was there."""
        found = False
        for _ in range(10):
            modal = self.modals()
            if not modal:
                return found
            found = True
            self.dismissed += 1
            # The newest one: a modal window opened over another (type-ahead reaching the main window
            # before its message box is active) keeps the keyboard from the one below.
            win = max(modal)
            try:
                self.s.activate(win)
            except CheckFailed as exc:
                print(f"{exc}, Escape sent all the same: {harness.describe_windows(self.proc.pid)}", flush=True)
            # Escape closes all three; a message box with only OK answers it too.
            run_tool("xdotool", "key", "--clearmodifiers", "Escape")
            time.sleep(0.05)
        raise CheckFailed("a modal window would not close")

    # -- events ------------------------------------------------------------------------------------

    MAIN_KEYS = (["BackSpace", "Tab", "shift+Tab", "Left", "Right", "Home", "End", "Delete", "space",
                  "Return", "alt+g", "alt+b", "Escape", "ctrl+v", "shift+Insert", "ctrl+a", "Up", "Down"] +
                 ["1", "comma", "period", "minus", "at", "ampersand", "slash", "eacute", "Cyrillic_zhe"])
    MENU_KEYS = ["alt+f", "alt+h", "alt+o"]

    def main_batch(self, win, count):
        w, h = harness.window_size(win)
        args = []
        end_with_close = False
        for _ in range(count):
            r = self.rng.random()
            if r < 0.45:
                args += ["key", "--delay", "2", self.rng.choice("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")]
            elif r < 0.70:
                args += ["key", "--delay", "2", self.rng.choice(self.MAIN_KEYS)]
            elif r < 0.75:
                # The second Escape leaves the menu bar too; left there, Down and Return would choose
                # File > Exit.
                args += ["key", "--delay", "2", self.rng.choice(self.MENU_KEYS), "Escape", "Escape"]
            elif r < 0.9995 or self.events < self.close_after:
                # Until the main window may close, clicks stay below the menu bar (File > Exit would close
                # it); the menus still get their share through Alt+F and Alt+H.
                top = 0 if self.events >= self.close_after else min(MENU_BAR_PX, h - 1)
                args += ["mousemove", "--window", str(win), str(self.rng.randrange(w)),
                         str(self.rng.randrange(top, h)), "click", "1"]
            else:
                end_with_close = True  # closing the main window is a legitimate road to the exit screen
        if end_with_close:
            args += ["key", "alt+F4"]
        return args

    def learn_exit_screen(self):
        """Where the exit screen's text fields are, and the Exit button that must never be pressed."""
        fields = [extents(n) for n in usable_fields(self.s, self.proc.pid)]
        exits = [extents(n) for n in self.s.nodes(self.proc.pid, pyatspi.ROLE_PUSH_BUTTON, "Exit")]
        check(fields and exits, "exit screen controls not found")
        self.exit_fields = fields
        self.exit_forbidden = exits

    def exit_batch(self, count):
        args = []
        for _ in range(count):
            if self.rng.random() < 0.2:
                x, y, w, h = self.rng.choice(self.exit_fields)
                args += ["mousemove", "--sync", str(x + self.rng.randrange(max(w, 1))),
                         str(y + self.rng.randrange(max(h, 1))), "click", "1"]
            else:
                # Letters, digits, @ and dots only: no Return, space or Tab, which could press Exit.
                args += ["key", "--delay", "2", self.rng.choice("abcdefghijklmnopqrstuvwxyz0123456789@.")]
        return args

    def step(self, count):
        self.dismiss_modals()
        win = self.main()
        if win is not None:
            if not self.activate(win):
                return
            args = self.main_batch(win, count)
        else:
            if self.main_closed_at is None:
                # A window list read while windows change can miss the main window: look again before
                # taking it for closed.
                screen = wait_for(lambda: self.main() or exit_screens(self.proc.pid) or self.restore_iconic()
                                  or not alive(self.proc), 10, "the main window or the exit screen")
                if screen is True or self.main() is not None:
                    return
                self.main_closed_at = self.events
                self.learn_exit_screen()
            # Shown without being activated: give it the keyboard as a click on its title bar would.
            if not self.activate(self.s.exit_screen(self.proc.pid)):
                return
            args = self.exit_batch(count)
        run_tool("xdotool", *args)
        self.events += count

    # -- the end: responsive? ------------------------------------------------------------------------

    def responsive(self):
        s, pid = self.s, self.proc.pid
        if self.main() is not None:
            check(self.activate(self.main()), "the main window would not take the keyboard")
            s.key("Escape", "Escape")  # an open menu
        self.dismiss_modals()
        if self.main() is not None:
            check(self.activate(self.main()), "the main window would not take the keyboard")
            if not any(n.getState().contains(pyatspi.STATE_SHOWING)
                       for n in s.nodes(pid, pyatspi.ROLE_PANEL, "Personal Details")):
                s.click(*s.centre_of(s.wait_node(pid, pyatspi.ROLE_PUSH_BUTTON, "Back")))
            target = s.name_box_nodes(pid)[1]
        else:
            check(self.activate(s.exit_screen(pid)), "the exit screen would not take the keyboard")
            target = usable_fields(s, pid)[0]
        s.click(*s.centre_of(target))
        s.key("End")
        before = harness.text_of(target)
        s.type("zq")
        try:
            wait_for(lambda: harness.text_of(target) == before + "zq" or len(before) >= 16382, 10,
                     "typing to answer at the end")
        except CheckFailed:
            raise CheckFailed(f"typing got no answer: windows {harness.describe_windows(pid)}, box held "
                              f"{before!r}, now {harness.text_of(target)!r}, labels {s.labels(pid)}")


def soak(s):
    rng = random.Random(options.seed)
    proc = s.start()
    s.main_window(proc.pid)
    run = Soak(s, proc, rng)
    started = time.monotonic()
    warmup_at = max(options.events // 10, BATCH)
    warm_rss = None
    samples = []
    while run.events < options.events and time.monotonic() - started < options.max_seconds:
        run.step(min(BATCH, options.events - run.events))
        if not alive(proc):
            break
        if warm_rss is None and run.events >= warmup_at:
            run.dismiss_modals()
            warm_rss = rss_kb(proc.pid)
        if run.events % 1000 < BATCH:
            samples.append((run.events, rss_kb(proc.pid)))
            print(f"soak: {run.events} events, {time.monotonic() - started:.0f} s, VmRSS {samples[-1][1]} kB",
                  flush=True)
    elapsed = time.monotonic() - started
    check(alive(proc), f"the program ended (status {proc.returncode}) after {run.events} events, seed "
                       f"{options.seed}; no legitimate road to its end was taken")
    run.dismiss_modals()
    end_rss = rss_kb(proc.pid)
    run.responsive()
    print(f"soak: seed {options.seed}, {run.events} events in {elapsed:.0f} s, {run.dismissed} modal windows "
          f"dismissed, {run.restored} iconified windows restored, main window closed at event {run.main_closed_at}, VmRSS warm-up {warm_rss} kB, "
          f"end {end_rss} kB, browser hand-offs {len(s.urls())}")
    print("soak: VmRSS samples (events, kB): " + ", ".join(f"{e}:{r}" for e, r in samples))
    check(run.events >= options.events or elapsed < options.max_seconds,
          f"only {run.events} events within {options.max_seconds} s")
    if sanitized(proc.pid):
        # AddressSanitizer holds freed memory in quarantine (256 MB by default): RSS says nothing there.
        print("soak: AddressSanitizer build, VmRSS growth not judged")
        return
    check(warm_rss is not None and end_rss <= warm_rss + max(RSS_SLACK_KB, warm_rss // 5),
          f"VmRSS grew from {warm_rss} kB after warm-up to {end_rss} kB")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--events", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--max-seconds", type=float, default=900)
    options, rest = parser.parse_known_args()
    sys.argv = [sys.argv[0]] + rest
    # The harness stops a check that runs past its usual time; the soak is meant to run long.
    sys.exit(harness.run([soak], timeout=int(options.max_seconds) + 120))
