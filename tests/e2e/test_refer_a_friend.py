"""The refer-a-friend form of the exit screen, filled by typing, hands one address to the browser."""

import sys
import urllib.parse

import pyatspi
from harness import BASE_URL, BOX_TITLE, SITE_HOST, check, run, stays, wait_for, x_windows


def open_exit_screen(s):
    proc = s.start()
    main = s.main_window(proc.pid)
    s.close_window(main)
    screen = s.exit_screen(proc.pid)
    s.activate(screen)
    return proc, screen


def form_fields(s, pid):
    frame = s.wait_node(pid, pyatspi.ROLE_PANEL, "Refer A Friend")
    return [n for n in frame if n.getRole() == pyatspi.ROLE_TEXT]


def fill_form(s, name, email, friend_email, friend_name):
    # Tab order from "Exit": Check1, txtName, the button, txtEmail, txtFriendEmail, txtFriendName.
    s.key("Tab", "Tab")
    s.type(name)
    s.key("Tab", "Tab")
    s.type(email)
    s.key("Tab")
    s.type(friend_email)
    s.key("Tab")
    s.type(friend_name)


def typed_form_arrives_whole(s):
    proc, screen = open_exit_screen(s)
    fill_form(s, "Tom & Jerry", "tom@example.com", "jerry+mouse@example.org", "Anna Maria")
    # The unseen message box follows; Enter breaks its line (the window tests hold the other line-break keys).
    s.key("Tab", "ctrl+a")
    s.type("Hi")
    s.key("Return")
    s.type("there")
    s.key("alt+n")
    urls = s.wait_urls(1)
    check(len(urls) == 1 and len(urls[0]) == 1, f"xdg-open received {urls}")
    check(stays(lambda: len(s.urls()) == 1, 0.3), f"more than one address: {s.urls()}")

    parts = urllib.parse.urlsplit(urls[0][0])
    check((parts.scheme, parts.netloc, parts.path) == ("http", SITE_HOST, "/qz-free-name-compatibility/ssd.php"),
          f"address leads elsewhere: {urls[0][0]}")
    query = urllib.parse.parse_qsl(parts.query, keep_blank_values=True, strict_parsing=True)
    expected = [("page", "qzkl-refer-a-friend"), ("taf1", "Tom & Jerry"), ("taf2", "tom@example.com"),
                ("taf3", "Hi\r\nthere"), ("taf4", "Anna Maria"), ("taf5", "jerry+mouse@example.org"),
                ("taf6", BASE_URL)]
    check(query == expected, f"query decodes to {query}\n    expected {expected}")

    # The screen stays, with the fields as typed; a second press sends the same address again.
    check(proc.poll() is None, "the program ended")
    wait_for(lambda: x_windows(pid=proc.pid) == [screen], 5, "the exit screen, still alone on screen")
    s.key("alt+n")
    check(s.wait_urls(2)[1] == urls[0], "the second press sent another address")


def untouched_form_is_refused(s):
    proc, screen = open_exit_screen(s)
    s.key("alt+n")
    box = s.message_box(proc.pid)
    s.wait_label(proc.pid, "Please Enter Proper Email Address")
    s.key("Return", win=box)
    s.wait_no_window(BOX_TITLE, proc.pid)
    check(not s.urls(), f"an address was sent for an untouched form: {s.urls()}")
    texts = [f.queryText().getText(0, -1) for f in form_fields(s, proc.pid)]
    check(texts == ["Your Name", "Your Email Address", "Friend's Name", "Friend's Email Address", "Your Message\n"],
          f"the fields changed: {texts}")


def space_in_email_is_refused(s):
    proc, screen = open_exit_screen(s)
    s.key("Tab", "Tab", "Tab", "Tab")  # txtEmail
    s.type("tom ")
    box = s.message_box(proc.pid)
    s.wait_label(proc.pid, "Email Address Cannot Contain Space")
    s.key("Return", win=box)
    s.wait_no_window(BOX_TITLE, proc.pid)
    s.activate(screen)
    s.type("@example.com")
    wait_for(lambda: "tom@example.com" in [f.queryText().getText(0, -1) for f in form_fields(s, proc.pid)],
             5, "the address typed on without the space")


if __name__ == "__main__":
    sys.exit(run([typed_form_arrives_whole, untouched_form_is_refused, space_in_email_is_refused]))
