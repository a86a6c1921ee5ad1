"""End-to-end harness shared by the scripts of e2e/, hostile/, a11y/ and soak/ and, through
wine_session.py, wine/: the real program on the private display of private_desktop.py, keys sent through
the X server (xdotool), texts read back through AT-SPI. run() adds openbox for the whole script; a
Session, one per check, adds private folders, a recording `xdg-open` first on PATH and the program's
processes, and ends them, also after a failure.
"""

import faulthandler
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

import pyatspi
from gi.repository import GLib

POLL = 0.02
CHECK_TIMEOUT = 60
MAIN_TITLE = "QZ Name Compatibility v1.15"
BOX_TITLE = "QZ Name Compatibility"
DIALOG_TITLE = "Select the source file"
SITE_HOST = os.environ.get("QZ_E2E_SITE_HOST", "www.qz-name-compatibility.example")
BASE_URL = "http://" + SITE_HOST + "/qz-free-name-compatibility/"


def page_url(key):
    return BASE_URL + "ssd.php?page=" + key


class CheckFailed(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def wait_for(predicate, timeout=10.0, what="condition"):
    """Polls predicate every 20 ms until it returns something truthy; returns that value."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Exception as exc:  # AT-SPI nodes vanish while windows change; retry
            last_error = exc
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error!r})" if last_error else ""
            raise CheckFailed(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(POLL)


def stays(predicate, duration=0.5):
    """True when predicate holds at every poll for the whole duration."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not predicate():
            return False
        time.sleep(POLL)
    return True


# --- the program's text shift codec, for the settings store and saved readings -----------------------

_HIGH = [0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
         0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
         0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178]


def cp1252_char(byte):
    return chr(_HIGH[byte - 0x80]) if 0x80 <= byte < 0xA0 else chr(byte)


def cp1252_byte(ch):
    code = ord(ch)
    if code < 0x80 or 0xA0 <= code <= 0xFF:
        return code
    return 0x80 + _HIGH.index(code)


def shift_encode_bytes(text):
    """The shifted text as Windows-1252 bytes, as a saved reading holds it."""
    return bytes(cp1252_byte(c) + 85 for c in text)


def shift_encode(text):
    return "".join(cp1252_char(b) for b in shift_encode_bytes(text))


def shift_decode(text):
    out = []
    for c in text:
        code = cp1252_byte(c) - 85
        if 0 <= code <= 255:
            out.append(cp1252_char(code))
    return "".join(out)


def us_date(date):
    """The date as the program writes it under en_US: M/d/yyyy."""
    return f"{date.month}/{date.day}/{date.year}"


# --- INI keys as QSettings writes them: %XX for Latin-1, %UXXXX beyond ---------------------------------

def ini_escape_key(key):
    out = []
    for c in key:
        if c.isascii() and (c.isalnum() or c in "_-."):
            out.append(c)
        elif ord(c) <= 0xFF:
            out.append("%%%02X" % ord(c))
        else:
            out.append("%%U%04X" % ord(c))
    return "".join(out)


def ini_unescape_key(key):
    return re.sub(r"%U([0-9A-Fa-f]{4})|%([0-9A-Fa-f]{2})",
                  lambda m: chr(int(m.group(1) or m.group(2), 16)), key)


def ini_unescape_value(value):
    value = value.strip()
    if len(value) >= 2 and value[0] == value[-1] == '"':
        value = value[1:-1]
    return re.sub(r"\\x([0-9A-Fa-f]{1,4})", lambda m: chr(int(m.group(1), 16)), value)


# --- X windows through xdotool / xprop ---------------------------------------------------------------

def run_tool(*args, check_rc=False):
    result = subprocess.run(list(args), capture_output=True, text=True)
    if check_rc and result.returncode != 0:
        raise CheckFailed(f"{' '.join(args)} failed: {result.stderr.strip()}")
    return result


def x_windows(title=None, pid=None):
    """Ids of the mapped windows whose title is exactly title (and that belong to pid, if given)."""
    args = ["xdotool", "search", "--all", "--onlyvisible"]
    if pid is not None:
        args += ["--pid", str(pid)]
    args += ["--name", "."]
    for attempt in range(3):
        result = run_tool(*args)
        # A window that goes while xdotool reads it (a closing message box's frame) ends the search.
        if "X Error" not in result.stderr or attempt == 2:
            break
        print(f"xdotool search failed ({result.stderr.strip().splitlines()[0]}), searching again", flush=True)
    wins = [int(w) for w in result.stdout.split()]
    if title is None:
        return wins
    # xdotool's own matching is a case-blind regular expression; compare the titles exactly here.
    return [w for w in wins if window_title(w) == title]


def pointer_position():
    out = run_tool("xdotool", "getmouselocation", "--shell").stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"])


def window_title(win):
    return run_tool("xdotool", "getwindowname", str(win)).stdout.rstrip("\n")


def main_windows(pid=None):
    return [w for w in x_windows(MAIN_TITLE, pid) if not is_exit_screen(w)]


def exit_screens(pid=None):
    return [w for w in x_windows(MAIN_TITLE, pid) if is_exit_screen(w)]


def window_size(win):
    out = run_tool("xdotool", "getwindowgeometry", "--shell", str(win)).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values.get("WIDTH", 0)), int(values.get("HEIGHT", 0))


def window_state(win):
    return run_tool("xprop", "-id", str(win), "_NET_WM_STATE").stdout


def is_modal(win):
    return "_NET_WM_STATE_MODAL" in window_state(win)


def describe_windows(pid):
    """The process's mapped windows, popups included, with title, size and window-manager state, and the
    active window: what a failed activation prints."""
    active = run_tool("xdotool", "getactivewindow").stdout.strip()
    wins = run_tool("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid)).stdout.split()
    lines = []
    for w in wins + ([active] if active and active not in wins else []):
        popup = "Override Redirect State: yes" in run_tool("xwininfo", "-id", w).stdout
        state = window_state(w).partition("=")[2].replace("_NET_WM_STATE_", "").strip()
        width, height = window_size(w)
        lines.append(f"{w} {window_title(w)!r} {width}x{height}" + (" popup" if popup else "") +
                     (f" [{state}]" if state else "") + (" ACTIVE" if w == active else ""))
    return "; ".join(lines) + ("" if active else "; no active window")


class WindowManager:
    """openbox, shared by all checks of one script: focus, activation and _NET_WM_STATE need one."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="qz-e2e-wm-")
        self.proc = None

    def start(self):
        env = dict(os.environ, HOME=self.dir, XDG_CONFIG_HOME=self.dir)
        ready = os.path.join(self.dir, "ready")
        for attempt in range(3):
            log = open(os.path.join(self.dir, "openbox.log"), "w")
            # openbox runs its --startup command once it has grabbed its keys (Alt+F4) and manages windows.
            self.proc = subprocess.Popen(["openbox", "--replace", "--sm-disable", "--startup", "touch " + ready],
                                         env=env, stdout=log, stderr=log, start_new_session=True)
            log.close()
            try:
                wait_for(lambda: self._ready(ready), 10, "the window manager")
                return
            except CheckFailed as exc:
                self._end()
                with open(os.path.join(self.dir, "openbox.log"), errors="replace") as f:
                    log = f.read().strip()
                if attempt == 2:
                    print(log)
                    raise
                print(f"openbox did not start ({exc}), retrying; its log: {log or '(empty)'}", flush=True)

    def _ready(self, mark):
        if self.proc.poll() is not None:
            raise CheckFailed(f"openbox ended with status {self.proc.returncode}")
        return os.path.exists(mark)

    def stop(self):
        self._end()
        shutil.rmtree(self.dir, ignore_errors=True)

    def _end(self):
        if self.proc is not None and self.proc.poll() is None:
            try:
                os.killpg(self.proc.pid, signal.SIGTERM)
                self.proc.wait(timeout=5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait()


class Session:
    LAUNCHER = ()  # what the program is started through, before its path
    KEY_DELAY = "30"  # milliseconds between the keys of one xdotool call

    def __init__(self, binary):
        self.binary = os.path.abspath(binary)
        self.dir = tempfile.mkdtemp(prefix="qz-e2e-")
        self.home = os.path.join(self.dir, "home")
        self.config = os.path.join(self.dir, "config")
        self.runtime = os.path.join(self.dir, "runtime")
        self.bin = os.path.join(self.dir, "bin")
        self.url_log = os.path.join(self.dir, "opened-urls.jsonl")
        for d in (self.home, self.config, self.bin):
            os.makedirs(d)
        os.makedirs(self.runtime, mode=0o700)
        self._write_recorder()
        self.env = self._environment()
        self.processes = []
        self._logs = []
        try:
            self._connect_accessibility()
        except BaseException:
            self.dump_logs()
            self.close()
            raise

    def _connect_accessibility(self):
        # The accessibility bus is started on demand; asking for it now means the program finds it
        # already running and registers its windows at start-up.
        pyatspi.Registry.getDesktop(0)

    # -- set-up ------------------------------------------------------------------------------------

    def _write_recorder(self):
        # Qt hands a URL to the first xdg-open on PATH; this one only records what it was given.
        script = os.path.join(self.bin, "xdg-open")
        with open(script, "w") as f:
            f.write("#!/usr/bin/python3\n"
                    "import json, sys\n"
                    f"with open({self.url_log!r}, 'a') as log:\n"
                    "    log.write(json.dumps(sys.argv[1:]) + '\\n')\n")
        os.chmod(script, 0o755)

    def _environment(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("BROWSER", "DEFAULT_BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                            "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "LC_ALL", "LC_TIME")}
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config,
            "XDG_RUNTIME_DIR": self.runtime,
            "PATH": self.bin + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin"),
            "LANG": "en_US.UTF-8",
            "QT_ACCESSIBILITY": "1",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        })
        return env

    # -- the program -------------------------------------------------------------------------------

    def start(self, binary=None):
        log = open(os.path.join(self.dir, f"program-{len(self.processes)}.log"), "w")
        self._logs.append(log)
        proc = subprocess.Popen([*self.LAUNCHER, binary or self.binary], env=self.env, stdout=log, stderr=log,
                                start_new_session=True)
        self.processes.append(proc)
        return proc

    def start_main(self):
        """Starts the program and gives its main window the keyboard; returns the process and the window."""
        proc = self.start()
        win = self.main_window(proc.pid)
        self.activate(win)
        return proc, win

    def start_with_names(self):
        """Starts the program and types JOHN and MARY into the name boxes; returns the process and the window."""
        proc = self.start()
        main = self.main_window(proc.pid)
        self.type("john", win=main)
        self.key("Tab")
        self.type("mary")
        # Keys still on their way would land in a dialog opened next.
        wait_for(lambda: self.name_boxes(proc.pid) == ["john", "mary"], 20, "the names in their boxes")
        return proc, main

    def wait_exit(self, proc, timeout=10.0):
        try:
            return proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise CheckFailed(f"process {proc.pid} did not end within {timeout:.0f} s")

    def kill(self, proc, sig=signal.SIGKILL):
        if proc.poll() is None:
            try:
                os.killpg(proc.pid, sig)
            except ProcessLookupError:
                pass
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass

    def close(self):
        for proc in self.processes:
            self.kill(proc)
        for log in self._logs:
            log.close()

    def dump_logs(self):
        for name in sorted(os.listdir(self.dir)):
            if name.endswith(".log"):
                with open(os.path.join(self.dir, name), errors="replace") as f:
                    text = f.read().strip()
                if text:
                    print(f"--- {name} ---\n{text[-3000:]}")

    def remove(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    # -- windows and keys --------------------------------------------------------------------------

    def wait_window(self, title, pid=None, timeout=10.0, pick=None):
        """Waits for a mapped window with this exact title; pick filters among several."""
        def found():
            wins = x_windows(title, pid)
            if pick:
                wins = [w for w in wins if pick(w)]
            return wins[0] if wins else None
        return wait_for(found, timeout, f"window {title!r}" + (f" of process {pid}" if pid else ""))

    def wait_no_window(self, title, pid=None, timeout=10.0):
        wait_for(lambda: not x_windows(title, pid), timeout, f"window {title!r} to close")

    def main_window(self, pid, timeout=10.0):
        return self.wait_window(MAIN_TITLE, pid, timeout, pick=lambda w: not is_exit_screen(w))

    def exit_screen(self, pid, timeout=10.0):
        return self.wait_window(MAIN_TITLE, pid, timeout, pick=is_exit_screen)

    def message_box(self, pid, timeout=10.0):
        return self.wait_window(BOX_TITLE, pid, timeout)

    def activate(self, win):
        """Gives a window the keyboard focus, as a click on its title bar would."""
        def active():
            run_tool("xdotool", "windowactivate", str(win))
            return run_tool("xdotool", "getactivewindow").stdout.strip() == str(win)
        wait_for(active, 10, f"window {win} to become active")

    def close_window(self, win):
        """Closes a window by Alt+F4. openbox now and then drops the first one of a session (the window stays
        active and a second one works): it is sent again after a while, saying so."""
        for attempt in range(3):
            self.key("alt+F4", win=win)
            try:
                return wait_for(lambda: win not in x_windows(), 10, f"window {win} to close after Alt+F4")
            except CheckFailed as exc:
                if attempt == 2:
                    raise
                print(f"{exc}: sending Alt+F4 again", flush=True)

    def type(self, text, win=None):
        if win is not None:
            self.activate(win)
        run_tool("xdotool", "type", "--delay", "15", "--", text, check_rc=True)

    def key(self, *keys, win=None):
        if win is not None:
            self.activate(win)
        run_tool("xdotool", "key", "--delay", self.KEY_DELAY, *keys, check_rc=True)

    def click(self, x, y, repeat=1):
        # xdotool's own --sync waits for the pointer to move, which it never does when it already stands
        # there (it gives up after about 15 s): the pointer's position is asked for instead.
        x, y = int(x), int(y)
        run_tool("xdotool", "mousemove", str(x), str(y), check_rc=True)
        wait_for(lambda: pointer_position() == (x, y), 5, f"the pointer to reach {x},{y}")
        run_tool("xdotool", "click", "--repeat", str(repeat), "--delay", "80", "1", check_rc=True)

    # -- recorded browser hand-offs ------------------------------------------------------------------

    def urls(self):
        if not os.path.exists(self.url_log):
            return []
        with open(self.url_log) as f:
            return [json.loads(line) for line in f if line.strip()]

    def wait_urls(self, count, timeout=10.0):
        return wait_for(lambda: len(self.urls()) >= count and self.urls(), timeout,
                        f"{count} address(es) handed to xdg-open")

    # -- settings store ------------------------------------------------------------------------------

    @property
    def settings_file(self):
        return os.path.join(self.config, "QZFreeNameCompatibility", "QZFreeNameCompatibility.ini")

    def read_settings(self):
        """The [Settings] section, key names and values decoded."""
        if not os.path.exists(self.settings_file):
            return {}
        values, section = {}, None
        with open(self.settings_file, encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\r\n")
                if line.startswith("["):
                    section = line.strip("[]")
                elif "=" in line and section == "Settings":
                    key, value = line.split("=", 1)
                    values[shift_decode(ini_unescape_key(key.strip()))] = shift_decode(ini_unescape_value(value))
        return values

    def write_duration(self, text):
        os.makedirs(os.path.dirname(self.settings_file), exist_ok=True)
        with open(self.settings_file, "w", encoding="utf-8") as f:
            f.write("[Settings]\n%s=%s\n" % (ini_escape_key(shift_encode("Duration")), shift_encode(text)))

    # -- AT-SPI ----------------------------------------------------------------------------------------

    def app_node(self, pid):
        # libatspi updates its cached tree from signals handled in a GLib main loop, which this script
        # never runs: handle what is pending and drop the cache, so that new windows and programs are seen.
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clearCache()
        seen = []
        for i in range(desktop.childCount):
            try:
                app = desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == pid:
                    return app
                seen.append((app.name, app.get_process_id()) if app is not None else None)
            except Exception as exc:
                seen.append(repr(exc))
        raise CheckFailed(f"process {pid} is not on the accessibility bus, which holds {seen}")

    def nodes(self, pid, role=None, name=None):
        """Every accessible of the process, depth first, filtered by role (pyatspi.ROLE_*, compared by value:
        its name differs between AT-SPI releases) and exact name."""
        found = []
        for node in walk(self.app_node(pid)):
            try:
                if (role is None or node.getRole() == role) and (name is None or node.name == name):
                    found.append(node)
            except Exception:
                continue
        return found

    def wait_node(self, pid, role=None, name=None, timeout=10.0):
        return wait_for(lambda: (self.nodes(pid, role, name) or [None])[0], timeout,
                        f"accessible {role or ''} {name!r}")

    def wait_showing(self, pid, role, name, timeout=10.0):
        """Waits until an accessible of this role and name is on screen (an open menu's entry, say)."""
        def showing():
            for node in self.nodes(pid, role, name):
                if node.getState().contains(pyatspi.STATE_SHOWING):
                    return node
            return None
        return wait_for(showing, timeout, f"{role} {name!r} on screen")

    def labels(self, pid):
        return [n.name for n in self.nodes(pid, role=pyatspi.ROLE_LABEL)]

    def wait_label(self, pid, text, timeout=10.0):
        return wait_for(lambda: text in self.labels(pid), timeout, f"label {text!r}")

    def name_box_nodes(self, pid):
        """The two name boxes of the main window, in tab order."""
        page = self.wait_node(pid, pyatspi.ROLE_PANEL, "Personal Details")
        boxes = [c for c in page if c.getRole() == pyatspi.ROLE_TEXT]
        check(len(boxes) == 2, f"expected two name boxes, found {len(boxes)}")
        return boxes

    def name_boxes(self, pid):
        """Texts of the two name boxes of the main window, in tab order."""
        return [text_of(b) for b in self.name_box_nodes(pid)]

    def centre_of(self, node):
        x, y, w, h = extents(node)
        return x + w // 2, y + h // 2


def walk(node, depth=0):
    """The node and everything below it, depth first; a child that is going away (a window being
    destroyed) is left out without hiding its siblings."""
    if node is None or depth > 25:
        return
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def text_of(node):
    return node.queryText().getText(0, -1)


def is_exit_screen(win):
    # The exit screen and the main window share their title; the exit screen is much wider.
    return window_size(win)[0] > 600


def frame_geometry(win):
    """The window's frame, title bar and borders included, as x, y, width, height; None before it is framed."""
    extents = re.findall(r"\d+", run_tool("xprop", "-id", str(win), "_NET_FRAME_EXTENTS").stdout.partition("=")[2])
    if len(extents) != 4:
        return None
    left, right, top, bottom = map(int, extents)
    info = dict(re.findall(r"^\s*([A-Za-z -]+?):\s+(-?\d+)\s*$", run_tool("xwininfo", "-id", str(win)).stdout, re.M))
    return (int(info["Absolute upper-left X"]) - left, int(info["Absolute upper-left Y"]) - top,
            int(info["Width"]) + left + right, int(info["Height"]) + top + bottom)


def frame_offset_from_screen_centre(win):
    """How far the centre of the window's frame lies from the screen's."""
    frame = frame_geometry(win)
    if frame is None:
        return None
    screen_width, screen_height = map(int, run_tool("xdotool", "getdisplaygeometry").stdout.split())
    x, y, width, height = frame
    return (2 * x + width - screen_width) / 2, (2 * y + height - screen_height) / 2


def expect_centred(win, what):
    def centred():
        offset = frame_offset_from_screen_centre(win)
        return offset is not None and abs(offset[0]) <= 1 and abs(offset[1]) <= 1
    # The window manager frames the window when it gets round to it; the program centres it again then.
    try:
        wait_for(centred, 20, f"{what}'s frame at the screen's centre")
    except CheckFailed:
        raise CheckFailed(f"{what}'s frame is off the screen's centre by {frame_offset_from_screen_centre(win)}")


# --- a tiny runner: one fresh Session per check ------------------------------------------------------

def run(checks, window_manager=True, session=Session, timeout=CHECK_TIMEOUT):
    """Runs each check in a fresh session (a Session, or the given subclass, made from the first argument);
    window_manager=False leaves out openbox (an X program), for a Wayland compositor that manages the
    windows itself. A check that takes longer than timeout seconds ends the script, showing where."""
    if len(sys.argv) < 2:
        print(f"usage: {sys.argv[0]} <path to QZFreeNameCompatibility>")
        return 2
    binary = sys.argv[1]
    if not window_manager:
        return 1 if _run_checks(binary, checks, session, timeout) else 0
    wm = WindowManager()
    try:
        wm.start()
        failures = _run_checks(binary, checks, session, timeout)
    finally:
        wm.stop()
    return 1 if failures else 0


def _run_checks(binary, checks, session_type, timeout):
    failures = 0
    for fn in checks:
        started = time.monotonic()
        # A check that hangs (a blocked D-Bus call, say) shows where, instead of running into ctest's timeout.
        faulthandler.dump_traceback_later(timeout, exit=True)
        session = None
        outcome = "PASS"
        try:
            session = session_type(binary)
            fn(session)
        except Exception:
            outcome = "FAIL"
            failures += 1
            traceback.print_exc()
            if session is not None:
                session.dump_logs()
        finally:
            if session is not None:
                session.close()
                if outcome == "PASS":
                    session.remove()
        faulthandler.cancel_dump_traceback_later()
        print(f"{outcome}: {fn.__name__} ({time.monotonic() - started:.1f} s)", flush=True)
    return failures
