"""Menu entries and clickable labels of the main window hand their page's address to the browser."""

import sys

import pyatspi
from harness import check, page_url, run, stays


def expect_urls(s, expected):
    urls = s.wait_urls(len(expected))
    check(urls == [[u] for u in expected], f"xdg-open received {urls}, expected {expected}")
    check(stays(lambda: len(s.urls()) == len(expected), 0.3), f"more addresses than expected: {s.urls()}")


def help_menu_entries_open_their_pages(s):
    proc, win = s.start_main()
    entries = (("v", "Visit Us Online"), ("o", "Online Help"), ("c", "Check for Software Update"),
               ("v", "Visit Us Online"))
    for opened, (access_key, caption) in enumerate(entries, start=1):
        s.key("alt+h")
        s.wait_showing(proc.pid, pyatspi.ROLE_MENU_ITEM, caption)
        s.key(access_key)
        s.wait_urls(opened)
    # The same entry chosen twice opens the same page twice.
    expect_urls(s, [page_url("home-page"), page_url("help-web-page"), page_url("download-web-page"),
                    page_url("home-page")])
    check(proc.poll() is None, "the program ended")


def donate_is_a_top_level_command(s):
    proc, win = s.start_main()
    s.key("alt+d")
    expect_urls(s, [page_url("donate")])


def banner_click_opens_the_home_page(s):
    proc, win = s.start_main()
    banner = s.wait_showing(proc.pid, pyatspi.ROLE_LINK,
                            "Join our free discussion board: www.qz-friends-forum.example")
    s.click(*s.centre_of(banner))
    expect_urls(s, [page_url("home-page")])
    # The menu entry that leads to the same page gives the same address, byte for byte.
    s.key("alt+h")
    s.wait_showing(proc.pid, pyatspi.ROLE_MENU_ITEM, "Visit Us Online")
    s.key("v")
    expect_urls(s, [page_url("home-page")] * 2)


def double_click_on_a_link_opens_its_page_once(s):
    proc, win = s.start_main()
    banner = s.wait_showing(proc.pid, pyatspi.ROLE_LINK,
                            "Join our free discussion board: www.qz-friends-forum.example")
    s.click(*s.centre_of(banner), repeat=2)
    expect_urls(s, [page_url("home-page")])


def promotional_strip_opens_the_offer_in_front(s):
    proc, win = s.start_main()
    s.wait_node(proc.pid, pyatspi.ROLE_LINK, "Join our free discussion board: www.qz-friends-forum.example")
    strip = [n for n in s.nodes(proc.pid, pyatspi.ROLE_LINK) if n.name.startswith(("Co-brand", "Home Business"))]
    check(len(strip) == 2, f"expected the two offers of the promotional strip, found {len(strip)}")
    s.click(*s.centre_of(strip[0]))  # both offers share one rectangle: the click hits the one in front
    urls = s.wait_urls(1)
    check(urls in ([[page_url("co-brand")]], [[page_url("fully-branded")]]),
          f"the promotional strip opened {urls}")


if __name__ == "__main__":
    sys.exit(run([help_menu_entries_open_their_pages, donate_is_a_top_level_command,
                  banner_click_opens_the_home_page, double_click_on_a_link_opens_its_page_once,
                  promotional_strip_opens_the_offer_in_front]))
