"""Screen-reader view of every window: each control a user can reach has a name (and the ones whose
purpose is not in their name a description), the links are links, what is covered is not showing, and
every link is reached by Tab and followed by Enter."""

import sys

import pyatspi
from harness import check, page_url, run, text_of, wait_for, walk

# Roles of the controls a user operates; their accessible name is what a screen reader announces.
INTERACTIVE = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_CHECK_BOX,
               pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU, pyatspi.ROLE_LABEL, pyatspi.ROLE_LINK}


def showing_window(s, pid, contains):
    """The top-level accessible of the process that is on screen and holds a control named contains."""
    def find():
        app = s.app_node(pid)
        for win in (app or []):
            try:
                if not win.getState().contains(pyatspi.STATE_SHOWING):
                    continue
                if any(n.name == contains for n in walk(win)):
                    return win
            except Exception:
                continue
        return None
    return wait_for(find, 10, f"a window holding {contains!r}")


def controls(win):
    """Every control of a window a user can operate: focusable ones, and menu entries."""
    found = []
    for node in walk(win):
        role = node.getRole()
        if role not in INTERACTIVE:
            continue
        state = node.getState()
        if role in (pyatspi.ROLE_LABEL, pyatspi.ROLE_LINK) and not state.contains(pyatspi.STATE_FOCUSABLE):
            continue  # plain text, or a link covered by another
        found.append(node)
    return found


def describe(node):
    return f"{node.getRoleName()} {node.name!r} ({node.description!r})"


def check_named(win, expected_names, described):
    """Every control has a name; the expected ones are there; those listed also have a description."""
    found = controls(win)
    unnamed = [describe(n) for n in found if not n.name.strip()]
    check(not unnamed, f"controls without an accessible name: {unnamed}")
    names = {n.name for n in found}
    missing = [name for name in expected_names if name not in names]
    check(not missing, f"controls missing or misnamed: {missing}; found {sorted(names)}")
    for node in found:
        if node.name in described:
            check(node.description.strip(), f"{describe(node)} has no description")
    clickable = [describe(n) for n in found if n.getRole() == pyatspi.ROLE_LABEL]
    check(not clickable, f"clickable labels that are not links: {clickable}")
    return found


def focused_name(win):
    for node in walk(win):
        try:
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                return node.name
        except Exception:
            continue
    return None


def tab_to(s, win, name, limit=25):
    """Presses Tab until the control named name has the focus; fails when the chain never gets there."""
    seen = []
    for _ in range(limit):
        current = focused_name(win)
        if current == name:
            return
        seen.append(current)
        s.key("Tab")
        wait_for(lambda: focused_name(win) != current, 5, "the focus to move on Tab")
    raise AssertionError(f"Tab never reached {name!r}; the focus went through {seen}")


def expect_page(s, count, key):
    urls = wait_for(lambda: s.urls() if len(s.urls()) >= count else None, 10, f"page {key}")
    check(urls[count - 1] == [page_url(key)], f"expected {page_url(key)}, got {urls[count - 1]}")


BANNER = "Join our free discussion board: www.qz-friends-forum.example"


def every_window_is_named_and_its_links_work_by_keyboard(s):
    proc = s.start()
    pid = proc.pid
    s.activate(s.main_window(pid))

    main = showing_window(s, pid, "Your name")
    check_named(main,
                ["Your name", "Your partner's name", "Get Our Name Compatibility Reading", "Back",
                 "Open Previously Saved Reading", "Birth month", "Birth day of the month", "Birth year",
                 "File", "Exit", "Help", "Online Help", "Visit Us Online", "Check for Software Update",
                 "About Software", "Donate", BANNER],
                described={"Your name", "Your partner's name", "Get Our Name Compatibility Reading", "Back",
                           "Birth month", "Birth day of the month", "Birth year"})
    results = [n for n in walk(main) if n.getRole() == pyatspi.ROLE_LABEL and n.name == "compatibility"]
    check(len(results) == 3 and all(n.description.startswith("Result") for n in results),
          f"the three result lines are not described: {[describe(n) for n in results]}")
    # Of the two offers in one place only the one in front is reachable, and only it is showing, as the
    # names page is and the result page below it and the birth-date boxes off the window are not.
    offers = [n for n in controls(main) if n.name.startswith(("Co-brand", "Home Business"))]
    check(len(offers) == 1, f"expected one reachable offer, found {[describe(n) for n in offers]}")
    hidden = {n.name for n in walk(main) if n.getRole() in (pyatspi.ROLE_PANEL, pyatspi.ROLE_LINK)
              and not n.getState().contains(pyatspi.STATE_SHOWING)}
    behind = {n.name for n in walk(main) if n.name.startswith(("Co-brand", "Home Business"))} - {offers[0].name}
    check(hidden == {"* Birth Day", "QZ Name Compatibility Result"} | behind, f"not showing: {hidden}")

    # Text an assistive technology inserts (an on-screen keyboard, dictation) goes in as a paste there would.
    box = s.name_box_nodes(pid)[0]
    box.queryEditableText().setTextContents("john")
    box.queryEditableText().insertText(2, "X\nY", 3)
    wait_for(lambda: text_of(box) == "joXhn", 5, f"joXhn in the name box, not {text_of(box)!r}")

    tab_to(s, main, BANNER)
    s.key("Return")
    expect_page(s, 1, "home-page")

    s.key("alt+h")
    s.wait_showing(pid, pyatspi.ROLE_MENU_ITEM, "About Software")
    s.key("a")
    about = showing_window(s, pid, "Click here for more details")
    check_named(about, ["OK", "Click here for more details"], described={"OK"})
    tab_to(s, about, "Click here for more details")
    s.key("space")
    expect_page(s, 2, "fully-branded")
    s.key("Escape")
    wait_for(lambda: not about.getState().contains(pyatspi.STATE_SHOWING), 10, "the About window to close")

    s.activate(s.main_window(pid))
    s.key("alt+f")
    s.wait_showing(pid, pyatspi.ROLE_MENU_ITEM, "Exit")
    s.key("x")
    screen_win = s.exit_screen(pid)
    screen = showing_window(s, pid, "Refer A Friend Now")
    fields = ["Your name", "Your email address", "Friend's name", "Friend's email address", "Your message"]
    found = check_named(screen, fields + ["Exit", "Refer A Friend Now", "Click Here To Visit Kelpan Softwares"],
                        described=set(fields) | {"Exit", "Refer A Friend Now"})
    check(any(n.getRole() == pyatspi.ROLE_LINK and "forum" in n.name for n in found),
          "the forum check box is no link")

    s.activate(screen_win)
    tab_to(s, screen, "Click Here To Visit Kelpan Softwares")
    s.key("Return")
    expect_page(s, 3, "kelpansoftwares")
    check(proc.poll() is None, "the program ended")


if __name__ == "__main__":
    sys.exit(run([every_window_is_named_and_its_links_work_by_keyboard]))
