#!/usr/bin/env python3
"""The announcement list and the network timer in the real program, under Wine.

Runs KelvoCalendar.exe beside the loopback test server, which answers as
the program's proxy (tests/support/with_http_server --proxy), so the
program asks for its own addresses. The face is read from the X display:
an announcement row shows white text on the blue date panel, an empty row
has no white pixel.

Usage: announcements_end_to_end.py WINE_RUNNER KelvoCalendar.exe
"""

import os
import subprocess
import sys
import time

LIST_PATH = "/myapp/KelvoCalendar/GGList.txt"
MANIFEST_PATH = "/myapp/KelvoCalendar/update.txt"
# "公告一$http://a/1#公告二$http://a/2" in code page 936.
LIST_BYTES = "公告一$http://a/1#公告二$http://a/2".encode("cp936")
# The running version, so the check never asks.
MANIFEST_BYTES = b"Version=1.0.0\r\n"

# Announcement row 0 and the next-month arrow, in window coordinates.
ROW0 = (410, 220, 128, 20)
NEXT_MONTH = (217, 25)
MONTH_TEXT = (150, 14, 50, 22)

ROOT = os.environ.get("KELVO_TEST_HTTP_ROOT", "")
LOG = os.environ.get("KELVO_TEST_HTTP_LOG", "")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def serve(relative, data):
    path = os.path.join(ROOT, relative.lstrip("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def unserve(relative):
    try:
        os.remove(os.path.join(ROOT, relative.lstrip("/")))
    except FileNotFoundError:
        pass


def requests():
    with open(LOG) as f:
        return [line.strip() for line in f if line.strip()]


def count(path):
    return requests().count("GET " + path)


def clear_log():
    open(LOG, "w").close()


def wait_for(condition, seconds, step=0.05):
    """Polls condition until it holds; returns the time it first held, or None."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return time.monotonic()
        time.sleep(step)
    return None


class Calendar:
    """One run of the program; its face read through the X display."""

    def __init__(self, runner, exe):
        self.process = subprocess.Popen([runner, exe], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.origin = None

    def find_window(self, seconds=30):
        def found():
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Kelvo"],
                                 capture_output=True, text=True).stdout.split()
            for window in out:
                geometry = subprocess.run(["xdotool", "getwindowgeometry", window],
                                          capture_output=True, text=True).stdout
                if "538x370" in geometry:
                    position = geometry.split("Position:")[1].split()[0]
                    x, y = position.split(",")
                    self.origin = (int(x), int(y))
                    return True
            return False
        check(wait_for(found, seconds, 0.2) is not None, "the calendar window did not appear")

    def grab(self, area, *convert_args):
        """A window area (x, y, w, h) of the screen, run through convert."""
        x, y, w, h = area
        crop = f"{w}x{h}+{self.origin[0] + x}+{self.origin[1] + y}"
        screen = subprocess.run(["import", "-window", "root", "miff:-"], capture_output=True).stdout
        return subprocess.run(["convert", "miff:-", "-crop", crop, "+repage", *convert_args],
                              input=screen, capture_output=True).stdout

    def face_painted(self):
        """The date panel's blue shows in row 0 (an unpainted window is white)."""
        return self.count_pixels(ROW0)[1] > 500

    def count_pixels(self, area):
        """(white, panel blue) pixel counts of a window area."""
        white = blue = 0
        for line in self.grab(area, "-depth", "8", "txt:-").decode().splitlines()[1:]:
            hexes = [field for field in line.split() if field.startswith("#")]
            if not hexes or len(hexes[0]) < 7:
                continue
            r, g, b = (int(hexes[0][i:i + 2], 16) for i in (1, 3, 5))
            if r > 230 and g > 230 and b > 230:
                white += 1
            elif b > 230 and r < 150:
                blue += 1
        return white, blue

    def area_pixels(self, area):
        return self.grab(area, "rgb:-")

    def links_shown(self):
        """Row 0 holds a link: white text on the painted panel."""
        white, blue = self.count_pixels(ROW0)
        return blue > 500 and white > 20

    def click(self, point):
        x, y = point
        # Wine has to see the pointer arrive before the press counts there.
        subprocess.run(["xdotool", "mousemove", str(self.origin[0] + x), str(self.origin[1] + y)],
                       check=True)
        time.sleep(0.3)
        subprocess.run(["xdotool", "click", "1"], check=True)
        time.sleep(0.3)
        # Park the mouse off the window so no hover changes the face.
        subprocess.run(["xdotool", "mousemove", "0", "799"], check=True)

    def running(self):
        return self.process.poll() is None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


def run(runner, exe, scenario):
    clear_log()
    calendar = Calendar(runner, exe)
    try:
        scenario(calendar)
    finally:
        calendar.stop()
        # Let Wine tear the window down before the next run.
        time.sleep(1.0)


def list_delivered_after_three_seconds(calendar):
    serve("list/GGList.txt", LIST_BYTES)
    serve("_routes", f"{LIST_PATH} /_/delay/3/list/GGList.txt\n".encode())
    serve(MANIFEST_PATH, MANIFEST_BYTES)
    asked = wait_for(lambda: count(LIST_PATH) >= 1, 60)
    check(asked is not None, "the program never asked for the list")
    calendar.find_window()
    check(wait_for(calendar.face_painted, 30, 0.1) is not None, "the face was never painted")
    empty_at_first = not calendar.links_shown()
    shown = wait_for(calendar.links_shown, 30, 0.1)
    check(shown is not None, "the links never appeared")
    if empty_at_first:
        print(f"[ figure ] links on the face {shown - asked:.2f} s after start-up "
              f"(the server answered after 3 s)")
        check(shown - asked >= 2.9, "links appeared before the server answered")
    else:
        print("[ figure ] the window showed up after the list had arrived; no delay measured")
    # Past the first network step: the timer stopped with the publication,
    # so neither a retry nor an update check follows.
    time.sleep(max(0.0, asked + 17.0 - time.monotonic()))
    check(calendar.running(), "the program ended")
    check(count(LIST_PATH) == 1, f"list fetched again: {requests()}")
    check(count(MANIFEST_PATH) == 0, f"an update check ran: {requests()}")
    check(calendar.links_shown(), "the links went away")


def missing_then_empty_list_is_retried_and_checked_for_updates(calendar):
    unserve("_routes")
    unserve("list/GGList.txt")
    unserve(LIST_PATH)
    serve(MANIFEST_PATH, MANIFEST_BYTES)
    asked = wait_for(lambda: count(LIST_PATH) >= 1, 60)
    check(asked is not None, "the program never asked for the list")
    # From now on the list is there but empty (Content-Length 0).
    serve(LIST_PATH, b"")
    calendar.find_window()
    checked = wait_for(lambda: count(MANIFEST_PATH) >= 1, 40)
    check(checked is not None, "no update check after the list failed")
    print(f"[ figure ] update check {checked - asked:.2f} s after start-up")
    check(checked - asked > 15.0, "the update check came before 15 s had passed")
    retried = wait_for(lambda: count(LIST_PATH) >= 2, 5)
    check(retried is not None, "the list was not fetched again with the update check")
    # The next step, 15 s later: the empty list again, no second check (the
    # first one received a manifest), and still no links.
    third = wait_for(lambda: count(LIST_PATH) >= 3, 25)
    check(third is not None, "no retry 15 s after the second attempt")
    print(f"[ figure ] list attempts at +0, +{retried - asked:.2f}, +{third - asked:.2f} s")
    time.sleep(1.0)
    check(count(MANIFEST_PATH) == 1, f"the update check was repeated: {requests()}")
    check(not calendar.links_shown(), "an empty list showed links")


def stalled_list_keeps_the_face_responsive_and_shows_nothing(calendar):
    serve("list/GGList.txt", LIST_BYTES)
    # The full Content-Length, the first 12 bytes ("公告一$http:/"), then
    # ten minutes of nothing.
    serve("_routes", f"{LIST_PATH} /_/fstall/12/600/list/GGList.txt\n".encode())
    serve(MANIFEST_PATH, MANIFEST_BYTES)
    asked = wait_for(lambda: count(LIST_PATH) >= 1, 60)
    check(asked is not None, "the program never asked for the list")
    calendar.find_window()
    time.sleep(2.0)
    before = calendar.area_pixels(MONTH_TEXT)
    calendar.click(NEXT_MONTH)
    changed = wait_for(lambda: calendar.area_pixels(MONTH_TEXT) != before, 5, 0.1)
    check(changed is not None, "the face did not answer a click while the list stalled")
    # Past the first network step: the retry stalls as well; nothing shows.
    retried = wait_for(lambda: count(LIST_PATH) >= 2, 20)
    check(retried is not None, "the stalled fetch was not retried")
    check(count(MANIFEST_PATH) == 1, f"expected one update check: {requests()}")
    time.sleep(1.0)
    check(calendar.running(), "the program ended")
    check(not calendar.links_shown(), "a partial list showed links")
    # Still answering clicks after the retry.
    before = calendar.area_pixels(MONTH_TEXT)
    calendar.click(NEXT_MONTH)
    changed = wait_for(lambda: calendar.area_pixels(MONTH_TEXT) != before, 5, 0.1)
    check(changed is not None, "the face did not answer a click after the retry")


# The first run also starts Wine's desktop process, which delays its window
# by seconds; the timing scenario comes second.
SCENARIOS = [
    missing_then_empty_list_is_retried_and_checked_for_updates,
    list_delivered_after_three_seconds,
    stalled_list_keeps_the_face_responsive_and_shows_nothing,
]


def main():
    if len(sys.argv) != 3 or not ROOT or not LOG or "http_proxy" not in os.environ:
        print(__doc__, file=sys.stderr)
        print("run through tests/support/with_http_server --proxy", file=sys.stderr)
        return 2
    runner, exe = sys.argv[1], sys.argv[2]
    only = os.environ.get("KELVO_E2E_ONLY")
    failed = 0
    for scenario in SCENARIOS:
        if only and only not in scenario.__name__:
            continue
        name = scenario.__name__
        started = time.monotonic()
        try:
            run(runner, exe, scenario)
            print(f"[       OK ] {name} ({time.monotonic() - started:.1f} s)", flush=True)
        except Failure as failure:
            failed += 1
            print(f"[  FAILED  ] {name}: {failure}", flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
