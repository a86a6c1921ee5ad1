"""The packaged Windows program under Wine, on the X display and in the Wine prefix of tests/wine/run.sh.

Unpacked from the zip with nothing else on the path (no WINEPATH, no Qt), it shows its window, keeps
"Duration" encoded in the per-user registry, refuses a second copy, asks the update reminder for a date
15 days old, shows the exit screen when its main window closes, and hands a page's address to the
browser: Wine's ShellExecute runs the first xdg-open on PATH, here one that records it.
Wine's windows give no AT-SPI tree to read (tests/uia/ reads them through UI Automation), so message
texts are read the way a user can copy them: Ctrl+C on a Qt message box puts its whole text on the clipboard.

With --code-page-932 it does the same in a Wine prefix of its own under a Japanese locale, where Wine's
ANSI code page is 932 as on Japanese Windows: bytes from 0x81 up are lead bytes there, with no character
of their own, and the scrambled "Duration" must still round-trip.
"""

import datetime
import faulthandler
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
from harness import (BOX_TITLE, MAIN_TITLE, WindowManager, check, is_exit_screen, page_url,  # noqa: E402
                     shift_decode, shift_encode, us_date, wait_for, x_windows)

KEY = r"HKEY_CURRENT_USER\Software\QZFreeNameCompatibility\QZFreeNameCompatibility\Settings"
CODE_PAGE_KEY = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Nls\CodePage"
QUESTION = "There maybe an update to this software available"
START_TIMEOUT = 60


def run(*args, **kwargs):
    return subprocess.run(list(args), capture_output=True, **kwargs)


class Wine:
    def __init__(self, package):
        self.dir = tempfile.mkdtemp(prefix="wine-program-", dir=os.path.dirname(package))
        with zipfile.ZipFile(package) as z:
            z.extractall(self.dir)
        folder = os.path.join(self.dir, os.path.basename(package)[:-len(".zip")])
        self.exe = os.path.join(folder, "QZFreeNameCompatibility.exe")
        self.url_log = os.path.join(self.dir, "opened-urls.txt")
        recorder = os.path.join(self.dir, "xdg-open")
        with open(recorder, "w") as f:
            f.write(f"#!/bin/sh\nprintf '%s\\n' \"$*\" >>'{self.url_log}'\n")
        os.chmod(recorder, 0o755)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("WINEPATH", "QT_QPA_PLATFORM", "QT_PLUGIN_PATH", "BROWSER")}
        self.env["PATH"] = self.dir + os.pathsep + os.environ["PATH"]
        self.processes = []
        self.own_prefix = False

    def use_japanese_locale(self):
        """A fresh Wine prefix under ja_JP.UTF-8, made with localedef where the system has no such locale."""
        locales = os.path.join(self.dir, "locales")
        os.mkdir(locales)
        run("localedef", "-i", "ja_JP", "-f", "UTF-8", os.path.join(locales, "ja_JP.UTF-8"), check=True)
        self.env.update(LOCPATH=locales, LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8",
                        WINEPREFIX=os.path.abspath(os.path.join(self.dir, "prefix")))
        self.own_prefix = True
        run("wineboot", "--init", env=self.env)
        run("wineserver", "--wait", env=self.env)
        acp = run("wine", "reg", "query", CODE_PAGE_KEY, "/v", "ACP", env=self.env, text=True).stdout.split()
        check(acp[-1:] == ["932"], f"the ANSI code page under ja_JP: {acp}")

    def start(self):
        log = open(os.path.join(self.dir, f"program-{len(self.processes)}.log"), "w")
        proc = subprocess.Popen(["wine", self.exe], env=self.env, stdout=log, stderr=log, cwd=self.dir)
        self.processes.append(proc)
        return proc

    def window(self, title, pid, pick=lambda w: True, what=None):
        return wait_for(lambda: next((w for w in x_windows(title, pid) if pick(w)), None), START_TIMEOUT,
                        what or f"window {title!r} of process {pid}")

    def key(self, win, *keys):
        def active():
            run("xdotool", "windowactivate", str(win))
            return run("xdotool", "getactivewindow", text=True).stdout.strip() == str(win)
        wait_for(active, 10, f"window {win} to become active")
        run("xdotool", "key", "--delay", "50", *keys, check=True)

    def box_text(self, box):
        """The message box's text, copied as a user copies it."""
        # xclip -i stays behind to serve the selection: it must not hold a pipe of ours.
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"", stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
        self.key(box, "ctrl+c")
        return wait_for(lambda: run("xclip", "-o", "-selection", "clipboard", text=True).stdout, 10,
                        "the message box's text on the clipboard")

    def settings(self):
        """The registry's Settings key as the program left it, names and values decoded."""
        exported = os.path.join(self.dir, "settings.reg")
        if run("wine", "reg", "export", KEY, exported, "/y", env=self.env).returncode != 0:
            return None
        # reg export writes UTF-16: the exact names, where reg query would print them mangled.
        with open(exported, encoding="utf-16") as f:
            lines = [line.rstrip("\r\n") for line in f]
        raw = dict(line[1:-1].split('"="', 1) for line in lines if line.startswith('"'))
        return {shift_decode(unescape(k)): shift_decode(unescape(v)) for k, v in raw.items()}, raw

    def write_duration(self, text):
        source = os.path.join(self.dir, "duration.reg")
        with open(source, "w", encoding="utf-16") as f:
            f.write(f'Windows Registry Editor Version 5.00\r\n\r\n[{KEY}]\r\n'
                    f'"{escape(shift_encode("Duration"))}"="{escape(shift_encode(text))}"\r\n')
        run("wine", "reg", "import", source, env=self.env, check=True)

    def urls(self):
        if not os.path.exists(self.url_log):
            return []
        with open(self.url_log) as f:
            return f.read().split()

    def close(self):
        for proc in self.processes:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        if self.own_prefix:
            run("wineserver", "--kill", env=self.env)


def escape(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def unescape(text):
    return text.replace('\\"', '"').replace("\\\\", "\\")


def main_window(win):
    return not is_exit_screen(win)


def scenario(wine, date_text):
    today = datetime.date.today()

    first = wine.start()
    main = wine.window(MAIN_TITLE, first.pid, main_window, "the main window")
    settings, raw = wait_for(wine.settings, 10, "Duration in the registry")
    check(settings == {"Duration": date_text(today)}, f"registry after the first start: {settings}")
    check(all("Duration" not in k and "/" not in v for k, v in raw.items()), f"plain text stored: {raw}")
    print("PASS: first start shows the window and stores Duration, encoded", flush=True)

    second = wine.start()
    box = wine.window(BOX_TITLE, second.pid)
    text = wine.box_text(box)
    check("Application is already running" in text, f"the second copy said {text!r}")
    wine.key(box, "Return")
    check(second.wait(timeout=30) == 0, f"the refused copy ended with status {second.returncode}")
    check(first.poll() is None, "the first copy ended")
    print("PASS: a second copy says it is already running", flush=True)

    wine.key(main, "alt+h", "v")  # Help > Visit Us Online
    urls = wait_for(wine.urls, 20, "an address handed to xdg-open")
    check(urls == [page_url("home-page")], f"xdg-open received {urls}")
    print("PASS: a page link hands its address to the browser", flush=True)

    wine.key(main, "alt+F4")
    screen = wine.window(MAIN_TITLE, first.pid, is_exit_screen, "the exit screen")
    wait_for(lambda: x_windows(MAIN_TITLE, first.pid) == [screen], 10, "the main window to go")
    wine.key(screen, "alt+F4")
    check(first.wait(timeout=30) == 0, f"the program ended with status {first.returncode}")
    print("PASS: closing the main window shows the exit screen, closing that ends the program", flush=True)

    wine.write_duration(date_text(today - datetime.timedelta(days=15)))
    third = wine.start()
    box = wine.window(BOX_TITLE, third.pid)
    text = wine.box_text(box)
    check(QUESTION in text, f"the reminder said {text!r}")
    wine.key(box, "alt+n")
    wine.window(MAIN_TITLE, third.pid, main_window, "the main window after the reminder")
    settings, _ = wine.settings()
    check(settings == {"Duration": date_text(today)}, f"registry after the reminder: {settings}")
    print("PASS: a date 15 days old asks the update reminder", flush=True)


def japanese_date(date):
    """The date as the program writes it under ja_JP: Wine's short date there is yyyy/M/d."""
    return f"{date.year}/{date.month}/{date.day}"


def run_scenario(package, body):
    """Runs body(wine) for the unpacked package on a desktop with a window manager; logs are printed on failure."""
    wm = WindowManager()
    wine = Wine(package)
    try:
        wm.start()
        body(wine)
    except Exception:
        for name in sorted(os.listdir(wine.dir)):
            if name.endswith(".log"):
                with open(os.path.join(wine.dir, name), errors="replace") as f:
                    print(f"--- {name} ---\n{f.read()[-3000:]}")
        raise
    finally:
        wine.close()
        wm.stop()
    return 0


def main():
    faulthandler.dump_traceback_later(240, exit=True)  # where it hangs, before CTest's timeout
    package, *options = sys.argv[1:]

    def body(wine):
        if options == ["--code-page-932"]:
            wine.use_japanese_locale()
            scenario(wine, japanese_date)
        else:
            scenario(wine, us_date)

    return run_scenario(package, body)


if __name__ == "__main__":
    sys.exit(main())
