"""The packaged Windows program under Wine as a harness Session, on the X display and in the Wine prefix of
tests/wine/run.sh: unpacked from its zip with nothing else on the path (no WINEPATH, no Qt), started
through wine, with the harness's recording xdg-open (Wine's ShellExecute runs the first one on PATH), keys
and log dump. Wine's windows give no AT-SPI tree, so a message box's text is read as a user can copy it,
and the settings store is the per-user registry.
"""

import os
import subprocess
import zipfile

from harness import Session, shift_decode, shift_encode, wait_for

KEY = r"HKEY_CURRENT_USER\Software\QZFreeNameCompatibility\QZFreeNameCompatibility\Settings"
NEW_PREFIX = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine", "new-prefix.sh")


class WineSession(Session):
    LAUNCHER = ("wine",)
    KEY_DELAY = "50"

    def __init__(self, package):
        super().__init__(package)
        with zipfile.ZipFile(package) as z:
            z.extractall(self.dir)
        self.binary = os.path.join(self.dir, os.path.basename(package)[:-len(".zip")], "QZFreeNameCompatibility.exe")
        self.own_prefix = False

    def _connect_accessibility(self):
        pass

    def _environment(self):
        env = super()._environment()
        for name in ("WINEPATH", "QT_QPA_PLATFORM", "QT_PLUGIN_PATH"):
            env.pop(name, None)
        return env

    def call(self, *args, **kwargs):
        return subprocess.run(list(args), env=self.env, capture_output=True, **kwargs)

    def new_prefix(self, **env):
        """A Wine prefix of this session's own, made with these variables set; ended with the session."""
        self.env.update(env, WINEPREFIX=os.path.join(self.dir, "prefix"))
        self.own_prefix = True
        self.call("bash", NEW_PREFIX, check=True)

    def close(self):
        super().close()
        if self.own_prefix:
            self.call("wineserver", "--kill")

    def box_text(self, box):
        """The message box's text, copied as a user copies it: Ctrl+C puts a Qt message box's whole text
        on the clipboard."""
        # xclip -i stays behind to serve the selection: it must not hold a pipe of ours.
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"", stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
        self.key("ctrl+c", win=box)
        return wait_for(lambda: self.call("xclip", "-o", "-selection", "clipboard", text=True).stdout, 10,
                        "the message box's text on the clipboard")

    def raw_settings(self):
        """The registry's Settings values as stored, {} when there are none."""
        exported = os.path.join(self.dir, "settings.reg")
        if self.call("wine", "reg", "export", KEY, exported, "/y").returncode != 0:
            return {}
        # reg export writes UTF-16: the exact names, where reg query would print them mangled.
        with open(exported, encoding="utf-16") as f:
            lines = [line.rstrip("\r\n") for line in f]
        raw = dict(line[1:-1].split('"="', 1) for line in lines if line.startswith('"'))
        return {unescape(k): unescape(v) for k, v in raw.items()}

    def read_settings(self):
        return {shift_decode(k): shift_decode(v) for k, v in self.raw_settings().items()}

    def write_duration(self, text):
        source = os.path.join(self.dir, "duration.reg")
        with open(source, "w", encoding="utf-16") as f:
            f.write(f'Windows Registry Editor Version 5.00\r\n\r\n[{KEY}]\r\n'
                    f'"{escape(shift_encode("Duration"))}"="{escape(shift_encode(text))}"\r\n')
        self.call("wine", "reg", "import", source, check=True)


def escape(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def unescape(text):
    return text.replace('\\"', '"').replace("\\\\", "\\")
