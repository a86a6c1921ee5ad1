"""The packaged Windows program under Wine, read through UI Automation as a screen reader on Windows
reads it: the names, control types and off-screen states the program reports, and where the keyboard
focus lands with the result of a reading.

qz_uia_probe (uia_probe.cpp) reads the element of each of the program's windows. The program is started
with one native window per widget (Wine hands WINEQT_USE_NATIVE_WINDOWS to it as QT_USE_NATIVE_WINDOWS),
so that every widget's element can be read without navigating, which deadlocks the program under Wine.
Keys are typed on the X display of tests/wine/run.sh, through the harness's Wine session.

Usage: test_uia.py PACKAGE.zip qz_uia_probe.exe
"""

import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
from harness import check, run  # noqa: E402
from wine_session import WineSession  # noqa: E402

PROGRAM = "QZFreeNameCompatibility.exe"
HYPERLINK = 50005
WINDOW = 50032
RESULT = ["Your Name: JOHN", "Your Partner's Name: MARY", "Your Level of Compatibility: 8"]


def probe(s, tool, seconds, *texts):
    """Every element of the program once an element has the keyboard focus and holds every text."""
    started = time.monotonic()
    done = subprocess.run(["wine", tool, PROGRAM, str(seconds), *texts], env=s.env, capture_output=True,
                          text=True, timeout=seconds + 60)
    elements = [json.loads(line) for line in done.stdout.splitlines() if line.strip()]
    print(f"qz_uia_probe read {len(elements)} elements in {time.monotonic() - started:.1f} s", flush=True)
    check(done.returncode == 0, f"qz_uia_probe ended with {done.returncode}: {done.stderr.strip()}\n"
          + "\n".join(map(str, elements)))
    return elements


def by_name(elements):
    """The elements of the main window by object name, the last part of Qt's automation id."""
    return {e["AutomationId"].rsplit(".", 1)[-1]: e for e in elements if e.get("AutomationId")}


def holds_result(element):
    """The three result lines in the element's description or name, as a screen reader reads it out."""
    return any(all(line in (element[key] or "") for line in RESULT) for key in ("FullDescription", "Name"))


def check_offscreen(elements, expected):
    """The controls named in expected report off-screen, or not, as it says."""
    controls = by_name(elements)
    offscreen = {name: controls[name]["IsOffscreen"] for name in expected}
    check(offscreen == expected, f"off-screen: {offscreen}, expected {expected}")


def scenario(s, tool):
    s.env["WINEQT_USE_NATIVE_WINDOWS"] = "1"
    program = s.start()
    main = s.main_window(program.pid, 60)
    before = probe(s, tool, 30, "Your name")
    check_offscreen(before, {"Frame1": False, "Frame2": True})
    print("PASS: the focus is in the first name box, the result page reports off-screen", flush=True)

    s.key(*"john", "Tab", *"mary", "alt+g", win=main)
    after = probe(s, tool, 30, *RESULT)
    # The active window reports the focus too; one control within it has it.
    focused = [e for e in after if e["HasKeyboardFocus"] and e["ControlType"] != WINDOW]
    check(len(focused) == 1 and not focused[0]["IsOffscreen"] and holds_result(focused[0]),
          f"the focused elements: {focused}")
    print(f"PASS: after a reading the focus is on {focused[0]['Name']!r}, which holds the result", flush=True)
    check_offscreen(after, {"Frame1": True, "Frame2": False, "fraBirthDay": True})
    # Of the two offers the draw brings one to the front; only that one takes the focus.
    offers = [e for e in after if e.get("AutomationId", "").endswith(("lblCobrand", "lblFullBrand"))]
    check(sorted(e["IsOffscreen"] for e in offers) == [False, True]
          and all(e["IsOffscreen"] != e["IsKeyboardFocusable"] for e in offers), f"the offers: {offers}")
    print("PASS: the names page, the offer behind and the birth-date frame report off-screen", flush=True)

    links = [e for e in after if e["ClassName"] == "LinkLabel"]
    check(len(links) == 3 and all(e["ControlType"] == HYPERLINK for e in links), f"the links: {links}")
    print("PASS: the three links are hyperlinks", flush=True)

    unnamed = [e for e in after if e["IsKeyboardFocusable"] and not e["Name"]]
    check(not unnamed, f"focusable elements without a name: {unnamed}")
    print("PASS: every control that takes the focus reports a name", flush=True)


def read_through_ui_automation(s):
    scenario(s, sys.argv[2])


if __name__ == "__main__":
    sys.exit(run([read_through_ui_automation], session=WineSession, timeout=150))
