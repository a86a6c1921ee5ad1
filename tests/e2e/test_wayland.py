"""The real program as a native Wayland client (weston's headless compositor): a reading, File > Exit and
the exit screen's Exit, all by AT-SPI actions, since every window there reports its position as (0,0)."""

import sys

import pyatspi
from harness import check, run, wait_for


def press(node):
    """Runs the accessible's default action, as a screen reader's activate command does."""
    what = f"{node.getRoleName()} {node.name!r}"  # the node may be gone once its action has run
    check(node.queryAction().doAction(0), f"{what} refused its action")


def a_reading_then_exit_on_wayland(s):
    proc = s.start()
    pid = proc.pid
    boxes = s.name_box_nodes(pid)
    with open(f"/proc/{pid}/maps") as f:
        check("libqwayland" in f.read(), "the program did not take Qt's Wayland plugin")
    for box, name in zip(boxes, ("john", "Mary")):
        box.queryEditableText().setTextContents(name)
    wait_for(lambda: s.name_boxes(pid) == ["john", "Mary"], 5, "the names set")
    press(s.wait_node(pid, pyatspi.ROLE_PUSH_BUTTON, "Get Our Name Compatibility Reading"))
    s.wait_label(pid, "Your Level of Compatibility: 8")
    check("Your Name: JOHN" in s.labels(pid), f"no 'Your Name: JOHN' among {s.labels(pid)}")

    press(s.wait_node(pid, pyatspi.ROLE_MENU_ITEM, "Exit"))
    exit_button = wait_for(lambda: [n for n in s.nodes(pid, pyatspi.ROLE_PUSH_BUTTON, "Exit")
                                    if n.getState().contains(pyatspi.STATE_SHOWING)], 10, "the exit screen")[0]
    press(exit_button)
    status = s.wait_exit(proc)
    check(status == 0, f"the program ended with status {status}")


if __name__ == "__main__":
    sys.exit(run([a_reading_then_exit_on_wayland], window_manager=False))
