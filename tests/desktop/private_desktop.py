"""Runs one display test in a desktop nobody else shares.

Usage: private_desktop.py [--wayland] -- COMMAND [ARGS...]

The command gets a fresh HOME, XDG_RUNTIME_DIR and XDG config, cache and data folders, a display
(an Xvfb server, or with --wayland a headless weston compositor) and a session bus of its own. The
accessibility bus is started by the session bus on demand and keeps its socket and its folder under
that private HOME and runtime folder, so two test runs on one machine never meet there. Xvfb picks a
free display number itself (-displayfd), which closes the race two `xvfb-run -a` have between looking
for a free number and taking it. Everything started is ended and the folder removed afterwards; the
exit status is the command's.
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

START_TIMEOUT = 20
SCREEN = (1280, 1024)
# Variables that would lead the command to the desktop, bus or settings of whoever started the test.
INHERITED = ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
             "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP", "XDG_DATA_DIRS_OVERRIDE", "SESSION_MANAGER")


def read_line(fd, what):
    """One line written by a starting server to the pipe fd; fails after START_TIMEOUT seconds."""
    data = b""
    deadline = time.monotonic() + START_TIMEOUT
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise RuntimeError(f"{what} did not start within {START_TIMEOUT} s")
        chunk = os.read(fd, 256)
        if not chunk:
            raise RuntimeError(f"{what} ended while starting")
        data += chunk
    return data.decode().strip()


def end_group(proc):
    """Ends a process started in a session of its own, with everything it started: politely, then by force."""
    try:
        os.killpg(proc.pid, signal.SIGTERM)
        proc.wait(timeout=5)
    except ProcessLookupError:
        pass
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()


class Desktop:
    def __init__(self, wayland):
        self.wayland = wayland
        self.root = tempfile.mkdtemp(prefix="qz-desktop-")
        self.processes = []
        self.env = {k: v for k, v in os.environ.items() if k not in INHERITED}
        folders = {"HOME": "home", "XDG_RUNTIME_DIR": "runtime", "XDG_CONFIG_HOME": "config",
                   "XDG_CACHE_HOME": "cache", "XDG_DATA_HOME": "data"}
        for var, name in folders.items():
            path = os.path.join(self.root, name)
            os.mkdir(path, 0o700)
            self.env[var] = path
        # Every test script imports the harness that lives beside this file.
        here = os.path.dirname(os.path.abspath(__file__))
        self.env["PYTHONPATH"] = os.pathsep.join(p for p in (here, os.environ.get("PYTHONPATH")) if p)

    def _spawn(self, args, fd=None, log=None):
        out = open(os.path.join(self.root, log), "w") if log else subprocess.DEVNULL
        proc = subprocess.Popen(args, env=self.env, stdout=out, stderr=out, stdin=subprocess.DEVNULL,
                                pass_fds=(fd,) if fd is not None else (), start_new_session=True)
        if log:
            out.close()
        self.processes.append(proc)
        return proc

    def _from_pipe(self, args, what):
        """Starts a server that writes one line (its display or address) to the fd given as {fd}."""
        r, w = os.pipe()
        try:
            self._spawn([a.replace("{fd}", str(w)) for a in args], fd=w, log=what + ".log")
            os.close(w)
            w = None
            return read_line(r, what)
        finally:
            os.close(r)
            if w is not None:
                os.close(w)

    def start(self):
        if self.wayland:
            self._start_weston()
        else:
            number = self._from_pipe(["Xvfb", "-displayfd", "{fd}", "-screen", "0", "%dx%dx24" % SCREEN,
                                      "-nolisten", "tcp"], "Xvfb")
            self.env["DISPLAY"] = ":" + number
            self.env["QT_QPA_PLATFORM"] = "xcb"
        bus = os.path.join(self.env["XDG_RUNTIME_DIR"], "bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._from_pipe(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + bus,
             "--print-address={fd}"], "dbus-daemon")

    def _start_weston(self):
        # The compositor makes its socket in the private runtime folder, so a fixed name is safe.
        socket = os.path.join(self.env["XDG_RUNTIME_DIR"], "wayland-0")
        weston = self._spawn(["weston", "--backend=headless-backend.so", "--socket=wayland-0", "--idle-time=0",
                              "--width=%d" % SCREEN[0], "--height=%d" % SCREEN[1]], log="weston.log")
        deadline = time.monotonic() + START_TIMEOUT
        while not os.path.exists(socket):
            if weston.poll() is not None or time.monotonic() > deadline:
                with open(os.path.join(self.root, "weston.log"), errors="replace") as f:
                    print(f.read()[-3000:])
                raise RuntimeError("weston did not start")
            time.sleep(0.05)
        # A full path: the harness gives each program a runtime folder of its own, where a bare name would
        # be looked for.
        self.env["WAYLAND_DISPLAY"] = socket
        # Qt chooses its Wayland plugin by itself when WAYLAND_DISPLAY is set; the program must not be told.
        self.env.pop("QT_QPA_PLATFORM", None)

    def stop(self):
        # The session bus's children (the accessibility bus and its registry) share its process group.
        for proc in reversed(self.processes):
            end_group(proc)
        shutil.rmtree(self.root, ignore_errors=True)


def main(argv):
    split = argv.index("--") if "--" in argv else len(argv)
    options, command = argv[:split], argv[split + 1:]
    if not command or any(o != "--wayland" for o in options):
        print(__doc__.strip().splitlines()[2])
        return 2
    wayland = "--wayland" in options
    # ctest ends a test that runs too long with SIGTERM: clean up then too.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    desktop = Desktop(wayland)
    try:
        desktop.start()
        return subprocess.run(command, env=desktop.env).returncode
    finally:
        desktop.stop()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
