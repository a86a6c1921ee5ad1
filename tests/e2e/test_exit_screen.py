"""Closing the main window leads to the topmost exit screen; closing that ends the program."""

import sys

from harness import MAIN_TITLE, check, expect_centred, run, stays, wait_for, window_state, x_windows


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
                  file_exit_then_close_box_ends_the_program, exit_button_by_access_key_ends_the_program]))
