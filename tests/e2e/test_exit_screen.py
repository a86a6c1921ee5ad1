"""Closing the main window leads to the topmost exit screen; closing that ends the program."""

import re
import sys

from harness import MAIN_TITLE, CheckFailed, check, run, run_tool, stays, wait_for, window_state, x_windows


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


def frame_offset_from_screen_centre(win):
    """How far the centre of the window's frame, title bar and borders included, lies from the screen's."""
    def out(*args):
        return run_tool(*args).stdout
    extents = re.findall(r"\d+", out("xprop", "-id", str(win), "_NET_FRAME_EXTENTS").partition("=")[2])
    if len(extents) != 4:
        return None  # the window manager has not framed the window yet
    left, right, top, bottom = map(int, extents)
    info = dict(re.findall(r"^\s*([A-Za-z -]+?):\s+(-?\d+)\s*$", out("xwininfo", "-id", str(win)), re.M))
    screen_width, screen_height = map(int, out("xdotool", "getdisplaygeometry").split())
    frame_x = int(info["Absolute upper-left X"]) - left
    frame_y = int(info["Absolute upper-left Y"]) - top
    frame_width = int(info["Width"]) + left + right
    frame_height = int(info["Height"]) + top + bottom
    return (2 * frame_x + frame_width - screen_width) / 2, (2 * frame_y + frame_height - screen_height) / 2


def expect_centred(win, what):
    def centred():
        offset = frame_offset_from_screen_centre(win)
        return offset is not None and abs(offset[0]) <= 1 and abs(offset[1]) <= 1
    # The window manager frames the window when it gets round to it; the program centres it again then.
    try:
        wait_for(centred, 20, f"{what}'s frame at the screen's centre")
    except CheckFailed:
        raise CheckFailed(f"{what}'s frame is off the screen's centre by {frame_offset_from_screen_centre(win)}")


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
