"""Start-up: the stored date, the single-instance guard and the update reminder."""

import datetime
import os
import subprocess
import sys
import time

from harness import (BOX_TITLE, MAIN_TITLE, check, expect_centred, is_exit_screen, main_windows, page_url, run,
                     stays, us_date, wait_for, x_windows)

QUESTION = "There maybe an update to this software available"


def today():
    return datetime.date.today()


def settings_bytes(s):
    with open(s.settings_file, "rb") as f:
        return f.read()


def first_start_stores_today(s):
    check(not os.path.exists(s.settings_file), "settings exist before the first start")
    proc = s.start()
    s.main_window(proc.pid)
    check(not x_windows(BOX_TITLE, proc.pid), "a message box at the first start")
    settings = wait_for(lambda: s.read_settings(), 5, "the settings file")
    check(settings == {"Duration": us_date(today())}, f"settings after the first start: {settings}")
    # The name and the value are stored encoded, never in plain text.
    raw = settings_bytes(s)
    check(b"Duration" not in raw and us_date(today()).encode() not in raw, f"plain text in the store: {raw!r}")
    # Starting loads no image format plugin: every picture a start needs is a PNG read directly.
    with open(f"/proc/{proc.pid}/maps") as f:
        plugins = sorted({line.split()[-1] for line in f if "/imageformats/" in line})
    check(not plugins, f"image format plugins loaded at start: {plugins}")


def second_copy_says_already_running(s):
    first = s.start()
    first_window = s.main_window(first.pid)
    before = settings_bytes(s)

    second = s.start()
    box = s.message_box(second.pid)
    s.wait_label(second.pid, "Application is already running")
    check(not main_windows(second.pid), "the second copy showed a main window")
    s.key("Return", win=box)
    check(s.wait_exit(second) == 0, f"the second copy ended with status {second.returncode}")

    check(settings_bytes(s) == before, "the second copy changed the settings file")
    check(first.poll() is None, "the first copy ended")
    wait_for(lambda: main_windows(first.pid) == [first_window], 5, "the first copy's main window, unchanged")


def killed_copy_does_not_block_the_next_start(s):
    first = s.start()
    s.main_window(first.pid)
    s.kill(first)  # SIGKILL: the lock file stays behind, held by no one
    check(os.listdir(s.runtime), "no lock file left in the runtime folder to test against")
    second = s.start()
    s.main_window(second.pid)
    check(not x_windows(BOX_TITLE, second.pid), "the new copy was refused after the old one was killed")
    # A copy killed between creating its lock file and writing its process id leaves an empty file.
    s.kill(second)
    lock = os.path.join(s.runtime, "QZFreeNameCompatibility.lock")
    open(lock, "w").close()
    os.utime(lock, (time.time() - 60, time.time() - 60))
    third = s.start()
    s.main_window(third.pid)
    check(not x_windows(BOX_TITLE, third.pid), "an empty lock file left by a killed copy refused the next one")


def normal_exit_leaves_no_lock(s):
    proc = s.start()
    main = s.main_window(proc.pid)
    lock = os.path.join(s.runtime, "QZFreeNameCompatibility.lock")
    check(os.path.exists(lock), "no lock file while the program runs")
    s.close_window(main)
    s.key("Return", win=s.exit_screen(proc.pid))  # the focus starts on "Exit"
    check(s.wait_exit(proc) == 0, f"the program ended with status {proc.returncode}")
    check(not os.path.exists(lock), "the lock file outlived the program")


def about_window_opens_centred(s):
    proc = s.start()
    main = s.main_window(proc.pid)
    s.key("alt+h", "a", win=main)
    about = s.wait_window(MAIN_TITLE, proc.pid, pick=lambda w: w != main and not is_exit_screen(w))
    expect_centred(about, "the About window")


def two_copies_started_together_give_one_main_window(s):
    a = s.start()
    b = s.start()

    def settled():
        return len(main_windows()) == 1 and len(x_windows(BOX_TITLE)) == 1
    wait_for(settled, 15, "one main window and one 'already running' message")
    check(stays(lambda: len(main_windows()) == 1, 0.5), "a second main window appeared")
    loser = a if x_windows(BOX_TITLE, a.pid) else b
    winner = b if loser is a else a
    s.wait_label(loser.pid, "Application is already running")
    s.key("Return", win=x_windows(BOX_TITLE, loser.pid)[0])
    check(s.wait_exit(loser) == 0, f"the refused copy ended with status {loser.returncode}")
    check(winner.poll() is None, "the running copy ended")
    wait_for(lambda: len(main_windows(winner.pid)) == 1, 5, "the running copy's one main window")


def answer_reminder(s, stored, keys):
    s.write_duration(us_date(stored))
    proc = s.start()
    box = s.message_box(proc.pid)
    question = wait_for(lambda: [l for l in s.labels(proc.pid) if l.startswith(QUESTION)], 10, "the question")
    check(question[0] == QUESTION + "\nDo you want to check for an update?",
          f"question text: {question[0]!r}")
    check(not main_windows(proc.pid), "the main window was shown before the question was answered")
    s.key(*keys, win=box)
    s.main_window(proc.pid)
    settings = s.read_settings()
    check(settings == {"Duration": us_date(today())}, f"Duration after the answer: {settings}")
    return proc


def reminder_yes_opens_the_download_page(s):
    answer_reminder(s, today() - datetime.timedelta(days=20), ["Return"])  # Yes is the default button
    urls = s.wait_urls(1)
    check(urls == [[page_url("download-web-page")]], f"xdg-open received {urls}")
    check(stays(lambda: len(s.urls()) == 1, 0.3), f"more than one page opened: {s.urls()}")


def reminder_no_opens_nothing(s):
    answer_reminder(s, today() + datetime.timedelta(days=20), ["alt+n"])
    check(stays(lambda: not s.urls(), 0.5), f"a page was opened after No: {s.urls()}")


def a_display_that_does_not_answer_is_told_as_none(s):
    free = next(n for n in range(90, 300) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
    for display in ({}, {"DISPLAY": f":{free}"}, {"WAYLAND_DISPLAY": "no-compositor-here"}):
        env = {k: v for k, v in s.env.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        result = subprocess.run([s.binary], env=dict(env, **display), capture_output=True, text=True, timeout=30)
        check(result.returncode == 2 and "needs a graphical display" in result.stderr,
              f"with {display or 'no display'}: status {result.returncode}, {result.stderr!r}")



def a_relative_runtime_folder_is_ignored(s):
    here = os.getcwd()
    os.chdir(s.dir)
    try:
        s.env["XDG_RUNTIME_DIR"] = "relative-runtime"
        s.main_window(s.start().pid)  # the folder would be made before the window
        check(not os.path.exists("relative-runtime"), "a folder was made for a relative XDG_RUNTIME_DIR")
    finally:
        os.chdir(here)


if __name__ == "__main__":
    sys.exit(run([first_start_stores_today, second_copy_says_already_running,
                  killed_copy_does_not_block_the_next_start, normal_exit_leaves_no_lock, about_window_opens_centred,
                  two_copies_started_together_give_one_main_window, reminder_yes_opens_the_download_page,
                  reminder_no_opens_nothing, a_display_that_does_not_answer_is_told_as_none,
                  a_relative_runtime_folder_is_ignored]))
