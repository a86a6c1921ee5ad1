"""A reading typed with real key presses, and the letters-only filter of the name boxes."""

import sys

import gi
from harness import check, frame_geometry, run, stays, wait_for, window_size, x_windows, BOX_TITLE

gi.require_version("PangoCairo", "1.0")
from gi.repository import Pango, PangoCairo  # noqa: E402


def expect_result(s, pid, you, partner, level, timeout=10.0):
    s.wait_label(pid, f"Your Level of Compatibility: {level}", timeout)
    labels = s.labels(pid)
    check(f"Your Name: {you}" in labels, f"no 'Your Name: {you}' among {labels}")
    check(f"Your Partner's Name: {partner}" in labels, f"no 'Your Partner's Name: {partner}' among {labels}")


def reading_by_access_key_and_back(s):
    proc, win = s.start_main()
    s.type("john")
    s.key("Tab")
    s.type("Mary")
    wait_for(lambda: s.name_boxes(proc.pid) == ["john", "Mary"], 5, "the names typed")
    s.key("alt+g")
    expect_result(s, proc.pid, "JOHN", "MARY", 8)

    # Back clears both boxes and puts the focus in the first one: typing goes there again.
    s.key("alt+b")
    wait_for(lambda: s.name_boxes(proc.pid) == ["", ""], 5, "the name boxes to be cleared")
    s.type("  mary ann ")
    s.key("Tab")
    s.type("john")
    s.key("alt+g")
    # Outer spaces are trimmed, inner ones kept, and the captions are those of the new reading.
    s.wait_label(proc.pid, "Your Name: MARY ANN")
    s.wait_label(proc.pid, "Your Partner's Name: JOHN")
    check(proc.poll() is None, "the program ended during the reading")


def reading_by_space_on_the_button(s):
    proc, win = s.start_main()
    s.type("john")
    s.key("Tab")
    s.type("mary")
    s.key("Tab", "space")  # the button follows the second name box in the tab order
    expect_result(s, proc.pid, "JOHN", "MARY", 8)


def reading_by_enter_on_the_button(s):
    proc, win = s.start_main()
    s.type("john")
    s.key("Tab")
    s.type("mary")
    s.key("Tab", "Return")
    expect_result(s, proc.pid, "JOHN", "MARY", 8)


def digit_is_refused_with_a_message(s):
    proc, win = s.start_main()
    s.type("jo")
    s.type("7")
    box = s.message_box(proc.pid)
    s.wait_label(proc.pid, "Please Enter Character Only")
    check(s.name_boxes(proc.pid) == ["jo", ""], f"name boxes after a digit: {s.name_boxes(proc.pid)}")
    check(len(x_windows(BOX_TITLE, proc.pid)) == 1, "more than one message box for one key")
    s.key("Return", win=box)
    s.wait_no_window(BOX_TITLE, proc.pid)
    # The focus is back in the same box: typing goes on where it stopped.
    s.type("hn")
    wait_for(lambda: s.name_boxes(proc.pid) == ["john", ""], 5, "typing to continue in the first box")
    check(stays(lambda: not x_windows(BOX_TITLE, proc.pid), 0.3), "a message box came back")


def empty_partner_name_is_reported(s):
    proc, win = s.start_main()
    s.type("john")
    s.key("alt+g")
    box = s.message_box(proc.pid)
    s.wait_label(proc.pid, "Please Enter Your Partner's Name")
    s.key("Return", win=box)
    s.wait_no_window(BOX_TITLE, proc.pid)
    # The focus went to the partner's box.
    s.type("mary")
    wait_for(lambda: s.name_boxes(proc.pid) == ["john", "mary"], 5, "the partner's name in the second box")


def message_box_title_fits(s):
    proc, win = s.start_main()
    s.key("alt+g")  # "Please Enter Your Name", the narrowest box
    box = s.message_box(proc.pid)
    x, y, width, height = wait_for(lambda: frame_geometry(box), 10, "the message box's frame")
    # The title in openbox's font (its default rc.xml) beside its icon and three buttons, each narrower than the
    # title bar (with the lower border) is high.
    layout = Pango.Layout.new(PangoCairo.FontMap.get_default().create_context())
    layout.set_font_description(Pango.FontDescription.from_string("sans Bold 8"))
    layout.set_text(BOX_TITLE, -1)
    needed = layout.get_pixel_size()[0] + 5 * (height - window_size(box)[1])
    check(width >= needed, f"the title needs a box {needed} px wide, it is {width}")


if __name__ == "__main__":
    sys.exit(run([reading_by_access_key_and_back, reading_by_space_on_the_button,
                  reading_by_enter_on_the_button, digit_is_refused_with_a_message,
                  empty_partner_name_is_reported, message_box_title_fits]))
