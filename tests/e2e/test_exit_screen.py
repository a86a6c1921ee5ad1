"""Closing the main window leads to the topmost exit screen; closing that ends the program."""

import sys

from harness import (MAIN_TITLE, check, expect_centred, frame_geometry, run, run_tool, stays, wait_for, window_state,
                     x_windows)


def open_exit_screen(s, by_menu=False):
    proc = s.start()
    main = s.main_window(proc.pid)
    if by_menu:
        s.key("alt+f", "x", win=main)
    else:
        s.close_window(main)
    screen = s.exit_screen(proc.pid)
    wait_for(lambda: x_windows(MAIN_TITLE, proc.pid) == [screen], 10, "the main window to go")
    s.wait_label(proc.pid, MAIN_TITLE)  # the caption label, set at load
    return proc, screen


def expect_program_end(s, proc):
    status = s.wait_exit(proc)
    check(status == 0, f"the program ended with status {status}")
    check(not x_windows(pid=proc.pid), "a window of the program is still mapped")
    check(not s.urls(), f"closing opened a page: {s.urls()}")


def close_box_shows_topmost_exit_screen(s):
    proc, screen = open_exit_screen(s)
    state = window_state(screen)
    check("_NET_WM_STATE_ABOVE" in state, f"the exit screen is not kept above other windows: {state.strip()}")
    check(proc.poll() is None, "the program ended when the main window closed")
    check(stays(lambda: proc.poll() is None, 0.3), "the program ended without the exit screen being closed")


def windows_open_centred_by_their_frames(s):
    proc = s.start()
    main = s.main_window(proc.pid)
    expect_centred(main, "the main window")
    s.close_window(main)
    expect_centred(s.exit_screen(proc.pid), "the exit screen")


def oversized_exit_screen_keeps_its_corner_on_screen(s):
    # At 200 % the exit screen is wider than the 1280 x 1024 screen: at its left edge and centred in height, give
    # or take the pixel that rounding a one-pixel border at 200 % adds.
    s.env["QT_SCALE_FACTOR"] = "2"
    proc = s.start()
    main = s.wait_window(MAIN_TITLE, proc.pid)  # the only window yet: at this size both pass for the exit screen
    s.close_window(main)
    screen = s.wait_window(MAIN_TITLE, proc.pid, pick=lambda w: w != main)
    width, height = map(int, run_tool("xdotool", "getdisplaygeometry").stdout.split())

    def placed():
        x, y, w, h = frame_geometry(screen)  # None, and a retry, until the window is framed
        check(w > width and 0 <= x <= 1 and abs(y - max(0, (height - h) // 2)) <= 1, f"the frame at {x, y, w, h}")
        return True
    wait_for(placed, 20, "the exit screen's frame at the screen's left edge")


def file_exit_then_close_box_ends_the_program(s):
    proc, screen = open_exit_screen(s, by_menu=True)
    s.close_window(screen)
    expect_program_end(s, proc)


# Enter and Space on the first focus press Exit too: the window tests hold those.
def exit_button_by_access_key_ends_the_program(s):
    proc, screen = open_exit_screen(s)
    s.key("alt+x", win=screen)
    expect_program_end(s, proc)


if __name__ == "__main__":
    sys.exit(run([close_box_shows_topmost_exit_screen, windows_open_centred_by_their_frames,
                  oversized_exit_screen_keeps_its_corner_on_screen, file_exit_then_close_box_ends_the_program,
                  exit_button_by_access_key_ends_the_program]))
