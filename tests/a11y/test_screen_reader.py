"""What a blind user hears: the program driven by the keyboard under the Orca screen reader, with
Orca's speech read back as text from its debug output."""

import os
import pty
import re
import shutil
import subprocess
import sys
import threading
import time
import tty

import pyatspi
from harness import DIALOG_TITLE, CheckFailed, check, page_url, run, run_tool, wait_for, walk
from private_desktop import end_group

SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'(?:None)? ?(?:\{.*)?$")
# What Orca says of a button: Orca 43 calls the role "push button", Orca 48 "button".
BUTTON = "%s (push )?button"


class ScreenReader:
    """Orca in this desktop, speaking through a speech-dispatcher module that writes text only."""

    def __init__(self):
        for tool in ("orca", "speech-dispatcher", "unshare"):
            check(shutil.which(tool),
                  f"{tool} is not installed (Debian packages orca, speech-dispatcher, util-linux)")
        self.dir = os.path.join(os.environ["HOME"], "screen-reader")
        self.lines, self.lock, self.processes = [], threading.Lock(), []
        config = os.path.join(os.environ["XDG_CONFIG_HOME"], "speech-dispatcher")
        os.makedirs(os.path.join(config, "modules"), exist_ok=True)
        os.makedirs(os.path.join(self.dir, "prefs"), exist_ok=True)
        with open(os.path.join(config, "speechd.conf"), "w") as f:
            f.write('AddModule "textlog" "sd_generic" "textlog.conf"\nDefaultModule textlog\n'
                    'AudioOutputMethod "alsa"\n')
        with open(os.path.join(config, "modules", "textlog.conf"), "w") as f:
            f.write('GenericExecuteSynth "echo \'$DATA\' >> %s/speech.txt"\nAddVoice "en" "MALE1" "text"\n'
                    % self.dir)
        with open(os.path.join(os.environ["HOME"], ".asoundrc"), "w") as f:
            f.write("pcm.!default { type null }\n")  # no sound card needed

    def start(self):
        # Orca would spawn the speech server itself, racing its own start: half the runs then speak nothing.
        self._spawn(["speech-dispatcher", "-s", "-t", "0"], "speechd.log")
        socket = os.path.join(os.environ["XDG_RUNTIME_DIR"], "speech-dispatcher", "speechd.sock")
        try:
            wait_for(lambda: os.path.exists(socket), 10, "the speech server")
        except CheckFailed:
            raise CheckFailed(f"speech-dispatcher did not start: {self.log('speechd.log')}") from None
        # Orca will not start beside another Orca of the same user (it looks for one by process name), and
        # --replace would kill the other: it runs in a process namespace of its own, where it meets neither
        # another test's Orca nor the user's. Root may make the namespace; anyone else through a user
        # namespace that keeps their own user id.
        isolated = ["unshare", "--pid", "--fork", "--mount-proc", "--kill-child"]
        if os.geteuid() != 0:
            isolated.append("--map-current-user")
        for attempt in range(1, 4):
            # A terminal as debug file: Orca writes it line by line instead of in blocks.
            master, self.terminal = pty.openpty()
            tty.setraw(self.terminal)
            orca = self._spawn(isolated + ["/usr/bin/python3", "/usr/bin/orca", "-u",
                                           os.path.join(self.dir, "prefs"), "--debug-file",
                                           os.ttyname(self.terminal)], "orca.log")
            threading.Thread(target=self._read, args=(master,), daemon=True).start()
            try:
                wait_for(lambda: orca.poll() is not None or self.said("Screen reader on", 0), 20, "Orca to start")
            except CheckFailed:
                # Its start is the one place Orca races: say so, and try again.
                end_group(orca)
                print(f"Orca start {attempt} of 3 did not say it was on within 20 s: {self.log('orca.log')}",
                      flush=True)
                continue
            if orca.poll() is not None:
                end_group(orca)
                print(f"Orca start {attempt} of 3 ended with status {orca.returncode}: "
                      f"{self.log('orca.log')}", flush=True)
                continue
            return
        raise CheckFailed(f"Orca never said it was on: {self.log('orca.log')}")

    def _spawn(self, args, log):
        # A locale that is always there: speech-dispatcher does not start in one that is missing.
        env = {k: v for k, v in os.environ.items() if not k.startswith("LC_")}
        env["LANG"] = "C.UTF-8"
        with open(os.path.join(self.dir, log), "w") as out:
            proc = subprocess.Popen(args, env=env, stdout=out, stderr=out, stdin=subprocess.DEVNULL,
                                    start_new_session=True)
        self.processes.append(proc)
        return proc

    def _read(self, fd):
        with open(fd, "rb") as terminal:
            for line in terminal:
                spoken = SPOKEN.search(line.decode(errors="replace"))
                if spoken:
                    with self.lock:
                        self.lines.append(spoken.group(1))

    def log(self, name):
        with open(os.path.join(self.dir, name), errors="replace") as f:
            return f.read()[-2000:]

    def mark(self):
        with self.lock:
            return len(self.lines)

    def said(self, pattern, since):
        with self.lock:
            return any(re.search(pattern, line) for line in self.lines[since:])

    def hear(self, texts, since, what):
        """Waits until every pattern has been spoken since the mark; Orca speaks some seconds behind."""
        try:
            wait_for(lambda: all(self.said(t, since) for t in texts), 15, what)
        except CheckFailed:
            with self.lock:
                heard = self.lines[since:]
            raise CheckFailed(f"{what}: expected {texts}, Orca said {heard}") from None

    def stop(self):
        for proc in reversed(self.processes):
            end_group(proc)


def focused(s, pid):
    return [(n.getRole(), n.name) for n in walk(s.app_node(pid))
            if n.getState().contains(pyatspi.STATE_FOCUSED)]


def a_reading_and_the_exit_screen_are_heard(s):
    reader = ScreenReader()
    try:
        reader.start()
        mark = reader.mark()
        proc, win = s.start_main()
        reader.hear(["QZ Name Compatibility v1.15", "Do you know how well", "Enter Your Name text"], mark,
                    "the main window, its opening sentence and the first name box")
        # The bridge replays each key after the screen reader has seen it, the first ones late: the replayed
        # Alt of an access key must neither close the menu it opened nor reach the menu bar as a lone Alt.
        for key, heard in (("alt+f", "Exit"), ("Escape", "File"), ("Escape", "Enter Your Name"), ("alt", "File"),
                           ("Escape", "Enter Your Name"), ("F10", "File"), ("Escape", "Enter Your Name")):
            mark = reader.mark()
            s.key(key)
            reader.hear([heard], mark, f"{heard} after {key}")
        s.key("alt+d")
        check(s.wait_urls(1) == [[page_url("donate")]], f"Alt+D opened {s.urls()}")
        time.sleep(1)  # the replay follows within Qt's 100 ms wait for the screen reader
        wait_for(lambda: focused(s, proc.pid) == [(pyatspi.ROLE_TEXT, "Your name")], 3,
                 "the focus to stay in the name box")
        mark = reader.mark()
        run_tool("xdotool", "key", "KP_Enter")  # where am I
        reader.hear(["Enter Your Name"], mark, "where am I after Alt+D")
        check(not reader.said("Donate", mark), f"where am I after Alt+D: {reader.lines[mark:]}")
        s.type("john")
        s.key("Tab")
        s.type("mary ann smith")
        wait_for(lambda: s.name_boxes(proc.pid) == ["john", "mary ann smith"], 10, "the letters typed")
        # Ctrl held through a run, as a hand holds it (Orca presents a move as one by letter once Ctrl is up).
        def word_walk():
            s.key("Home")
            for key, words in (("Right", ("mary", "ann", "smith")), ("Left", ("smith", "ann", "mary"))):
                run_tool("xdotool", "keydown", "ctrl", check_rc=True)
                try:
                    for word in words:
                        mark = reader.mark()
                        run_tool("xdotool", "key", key, check_rc=True)
                        reader.hear([f"^{word}$"], mark, f"{word} after Ctrl+{key}")
                finally:
                    run_tool("xdotool", "keyup", "ctrl", check_rc=True)
        # Orca far behind on a loaded machine (still echoing the typed letters) may take a move for one by
        # character, or drop it: once more from Home, saying why.
        try:
            word_walk()
        except CheckFailed as exc:
            print(f"the word walk again: {exc}", flush=True)
            word_walk()
        for key in ("ctrl+Right", "shift+ctrl+Right", "shift+ctrl+Right", "Delete"):
            s.key(key)
        wait_for(lambda: s.name_boxes(proc.pid) == ["john", "mary"], 10, "the box cut back to mary")
        mark = reader.mark()
        s.key("shift+Tab")
        reader.hear(["Enter Your Name text", "john selected"], mark,
                    "the first box read back with its name in full")
        mark = reader.mark()
        s.key("alt+g")  # Alt is released before G, as a quick hand does
        # Orca 48 reads the result lines without the page's name.
        reader.hear(["Your Name: JOHN", "Your Partner's Name: MARY", "Your Level of Compatibility: 8"], mark,
                    "the reading")
        check("".join(reader.lines[mark:]).count("Compatibility: 8") == 1, f"the reading: {reader.lines[mark:]}")
        # Orca's whole-window read (keypad plus twice) leaves out the names page beneath the result.
        mark = reader.mark()
        run_tool("xdotool", "key", "--delay", "100", "KP_Add", "KP_Add")
        reader.hear(["Back"], mark, "the whole window read")
        check(not reader.said("Enter Your Name", mark), f"the covered names page was read: {reader.lines[mark:]}")
        mark = reader.mark()
        s.key("Tab")
        reader.hear([BUTTON % "Back"], mark, "Tab from the result to Back")
        mark = reader.mark()
        s.key("alt+b")
        reader.hear(["Enter Your Name text"], mark, "Back to the first name box")

        mark = reader.mark()
        s.key("alt+F4")
        screen = s.exit_screen(proc.pid)
        # The appeal above the form is drawn at random: Orca must read the one shown.
        appeal = wait_for(lambda: [n.name for n in walk(s.app_node(proc.pid))
                                   if n.getRole() == pyatspi.ROLE_LABEL and "forum" in n.name],
                          10, "the appeal")[0]
        s.activate(screen)
        reader.hear(["QZ Name Compatibility v1.15", BUTTON % "Exit"], mark, "the exit screen")
        # Orca 48 names the screen only as the window of the focus, without its description: the appeal is
        # heard in the whole-window read.
        mark = reader.mark()
        run_tool("xdotool", "key", "--delay", "100", "KP_Add", "KP_Add")
        reader.hear([re.escape(appeal)], mark, "the exit screen read whole")
        # From Exit through the tab order: the forum link, then the fields with the form's button between (the
        # message field's role is left out: Orca 48, late on a loaded machine, may name it without one).
        for name in ("Click here to visit www.qz-friends-forum.example now link", "Your name text",
                     BUTTON % "Refer A Friend Now", "Your email address text", "Friend's email address text",
                     "Friend's name text", r"Your message\b"):
            mark = reader.mark()
            s.key("Tab")
            reader.hear([name], mark, f"Tab to {name!r}")
        # An error box and back: the appeal was read as the screen arrived, not again on each return.
        box = reader.mark()
        s.key("alt+n")
        reader.hear(["Please Enter", BUTTON % "OK"], box, "the form's error box")
        # "Where am I" reads a button's access key: the default button has none (Orca 48 read "r", from Enter).
        mark = reader.mark()
        run_tool("xdotool", "key", "KP_Enter")
        reader.hear([BUTTON % "OK"], mark, "where am I on the error box's button")
        mark = reader.mark()
        s.key("Return")
        reader.hear([r"\btext\b"], mark, "the field after the error box")
        check(not reader.said(r"\br\.?\s*$", box), f"the error box: {reader.lines[box:mark]}")
        check(not reader.said(re.escape(appeal), mark), f"the appeal read again: {reader.lines[mark:]}")
        # In a second run (a saved reading opened loads the exit screen early), the open dialog's list by ear:
        # each saved reading named as the arrows reach it, Enter opens it (with no names, the reading stops at
        # the first name box).
        s.key("alt+x")
        s.wait_exit(proc)
        mark = reader.mark()
        proc, _ = s.start_main()
        reader.hear(["QZ Name Compatibility v1.15"], mark, "the second start")
        folder = os.path.join(s.home, "readings")
        os.makedirs(folder)
        for name in ("alpha.num", "beta.num"):
            open(os.path.join(folder, name), "wb").close()
        s.key("alt+o")
        s.type("~/readings/", win=s.wait_window(DIALOG_TITLE, proc.pid))
        s.key("Return")
        wait_for(lambda: any(n.name == "beta.num" for n in walk(s.app_node(proc.pid))), 10, "the folder read")
        for key, heard in (("shift+Tab", "alpha.num"), ("Down", "beta.num"), ("Return", "Please Enter Your Name")):
            mark = reader.mark()
            s.key(key)
            reader.hear([heard], mark, f"{heard} after {key} from the open dialog")
    finally:
        reader.stop()
        with reader.lock:
            print("".join(f"Orca said: {line}\n" for line in reader.lines), end="", flush=True)


if __name__ == "__main__":
    sys.exit(run([a_reading_and_the_exit_screen_are_heard]))
