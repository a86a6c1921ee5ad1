"""The packaged Windows program under Wine, on the X display and in the Wine prefix of tests/wine/run.sh.

Unpacked from the zip with nothing else on the path (no WINEPATH, no Qt), it shows its window, keeps
"Duration" encoded in the per-user registry, refuses a second copy, asks the update reminder for a date
15 days old, shows the exit screen when its main window closes, and hands a page's address to the
browser: Wine's ShellExecute runs the first xdg-open on PATH, here one that records it.
Wine's windows give no AT-SPI tree to read (test_uia.py reads them through UI Automation), so message
texts are read the way a user can copy them (tests/desktop/wine_session.py).

With --code-page-932 it does the same in a Wine prefix of its own under a Japanese locale, where Wine's
ANSI code page is 932 as on Japanese Windows: bytes from 0x81 up are lead bytes there, with no character
of their own, and the scrambled "Duration" must still round-trip.
"""

import datetime
import os
import subprocess
import sys
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
from harness import BASE_URL, MAIN_TITLE, check, page_url, run, us_date, wait_for, x_windows  # noqa: E402
from wine_session import WineSession  # noqa: E402

CODE_PAGE_KEY = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Nls\CodePage"
QUESTION = "There maybe an update to this software available"
START_TIMEOUT = 60


def use_japanese_locale(s):
    """A fresh Wine prefix under ja_JP.UTF-8, made with localedef where the system has no such locale."""
    locales = os.path.join(s.dir, "locales")
    os.mkdir(locales)
    s.call("localedef", "-i", "ja_JP", "-f", "UTF-8", os.path.join(locales, "ja_JP.UTF-8"), check=True)
    s.new_prefix(LOCPATH=locales, LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8")
    acp = s.call("wine", "reg", "query", CODE_PAGE_KEY, "/v", "ACP", text=True).stdout.split()
    check(acp[-1:] == ["932"], f"the ANSI code page under ja_JP: {acp}")


def scenario(s, date_text):
    today = datetime.date.today()

    first = s.start()
    main = s.main_window(first.pid, START_TIMEOUT)
    settings = wait_for(s.read_settings, 10, "Duration in the registry")
    check(settings == {"Duration": date_text(today)}, f"registry after the first start: {settings}")
    raw = s.raw_settings()
    check(all("Duration" not in k and "/" not in v for k, v in raw.items()), f"plain text stored: {raw}")
    print("PASS: first start shows the window and stores Duration, encoded", flush=True)

    second = s.start()
    box = s.message_box(second.pid, START_TIMEOUT)
    text = s.box_text(box)
    check("Application is already running" in text, f"the second copy said {text!r}")
    s.key("Return", win=box)
    check(s.wait_exit(second, 30) == 0, f"the refused copy ended with status {second.returncode}")
    check(first.poll() is None, "the first copy ended")
    print("PASS: a second copy says it is already running", flush=True)

    s.key("alt+h", "v", win=main)  # Help > Visit Us Online
    urls = s.wait_urls(1, 20)
    check(urls == [[page_url("home-page")]], f"xdg-open received {urls}")
    print("PASS: a page link hands its address to the browser", flush=True)

    s.key("alt+F4", win=main)
    screen = s.exit_screen(first.pid, START_TIMEOUT)
    wait_for(lambda: x_windows(MAIN_TITLE, first.pid) == [screen], 10, "the main window to go")
    s.key("alt+F4", win=screen)
    check(s.wait_exit(first, 30) == 0, f"the program ended with status {first.returncode}")
    print("PASS: closing the main window shows the exit screen, closing that ends the program", flush=True)

    s.write_duration(date_text(today - datetime.timedelta(days=15)))
    third = s.start()
    box = s.message_box(third.pid, START_TIMEOUT)
    text = s.box_text(box)
    check(QUESTION in text, f"the reminder said {text!r}")
    s.key("alt+n", win=box)
    s.main_window(third.pid, START_TIMEOUT)
    settings = s.read_settings()
    check(settings == {"Duration": date_text(today)}, f"registry after the reminder: {settings}")
    print("PASS: a date 15 days old asks the update reminder", flush=True)


def japanese_date(date):
    """The date as the program writes it under ja_JP: Wine's short date there is yyyy/M/d."""
    return f"{date.year}/{date.month}/{date.day}"


def refer_a_friend_address_lengths(s):
    """Wine 8 hands on only "http://" of an address from 985 characters and crashes from about 1,000: an
    address of 900 characters, the form's bound, arrives whole; one of 901 is refused."""
    address = page_url("qzkl-refer-a-friend") + "&taf1=Ann&taf2=a%40b.c&taf3={}&taf4=Bob&taf5=b%40c.d&taf6="
    address += urllib.parse.quote(BASE_URL, safe="")
    for length in (900, 901):
        message = "x" * (length - len(address.format("")))
        proc = s.start()
        s.key("alt+F4", win=s.main_window(proc.pid, START_TIMEOUT))
        # txtName, then the button, txtEmail, txtFriendEmail, txtFriendName and txtMessage
        s.key("Tab", "Tab", win=s.exit_screen(proc.pid, START_TIMEOUT))
        s.type("Ann\t\ta@b.c\tb@c.d\tBob\t")
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=message.encode(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        s.key("ctrl+a", "ctrl+v", "alt+n")
        if length == 900:
            check(s.wait_urls(1, 20) == [[address.format(message)]], f"xdg-open received {s.urls()}")
        else:
            text = s.box_text(s.message_box(proc.pid, START_TIMEOUT))
            check("Please Enter Shorter Details" in text and len(s.urls()) == 1, f"{text!r}, {s.urls()}")
        s.kill(proc)
    print("PASS: an address of 900 characters arrives whole, one of 901 is refused", flush=True)


def us_english(s):
    scenario(s, us_date)


def code_page_932(s):
    use_japanese_locale(s)
    scenario(s, japanese_date)


if __name__ == "__main__":
    checks = [code_page_932] if sys.argv[2:] == ["--code-page-932"] else [us_english, refer_a_friend_address_lengths]
    sys.exit(run(checks, session=WineSession, timeout=240))
