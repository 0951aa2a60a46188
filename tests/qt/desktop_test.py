#!/usr/bin/python3
"""The real program on a virtual X server as a user's desktop runs it: under a real window
manager (openbox), and read by a real screen-reader client (AT-SPI through pyatspi).

Usage: desktop_test.py VEXILO Placement|ScreenReader
Each group runs in a process of its own: the AT-SPI client binds to the first session bus it sees.
Debian's python3 is needed for pyatspi.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM = None
SCREEN = (1280, 1024)


def wait_for(what, probe, seconds=30):
    """probe() until it returns something true; fails after the given time."""
    deadline = time.monotonic() + seconds
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.1)


class Desktop:
    """Xvfb on a display of its own choosing, a private session bus and, if asked, openbox."""

    def __init__(self, window_manager=False):
        self.window_manager = window_manager
        self.processes = []

    def __enter__(self):
        self.home = tempfile.mkdtemp(prefix="vexilo-desktop-")
        os.chmod(self.home, 0o700)
        try:
            self._start()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _start(self):
        read, write = os.pipe()
        # -noreset: the server would start afresh, refusing clients, each time its last
        # client leaves.
        self._spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % SCREEN,
                     "-nolisten", "tcp", "-noreset"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise AssertionError("Xvfb did not start")
            number += chunk
        os.close(read)
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip(), HOME=self.home,
                        XDG_RUNTIME_DIR=self.home)
        self.env.pop("QT_QPA_PLATFORM", None)  # the program's platform is the display's
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        if self.window_manager:
            self._spawn(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL)
            wait_for("openbox", lambda: "window id" in self.run(
                "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))

    def _spawn(self, command, **options):
        process = subprocess.Popen(command, env=getattr(self, "env", None), **options)
        self.processes.append(process)
        return process

    def start(self, *arguments):
        return self._spawn([PROGRAM, *arguments])

    def run(self, *command):
        """A client's output on this desktop, empty if it failed."""
        ran = subprocess.run(command, env=self.env, capture_output=True, text=True)
        return ran.stdout if ran.returncode == 0 else ""

    def __exit__(self, *_):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
            if process.stdout is not None:
                process.stdout.close()
        shutil.rmtree(self.home, ignore_errors=True)


def window_of(desktop):
    found = desktop.run("xdotool", "search", "--onlyvisible", "--class", "^vexilo$")
    return found.split()[0] if found else None


def geometry(desktop, window):
    """The client area's absolute left, top, width and height."""
    info = dict(line.strip().split(":", 1) for line in desktop.run("xwininfo", "-id", window)
                .splitlines() if ":" in line)
    return tuple(int(info[key]) for key in ("Absolute upper-left X", "Absolute upper-left Y",
                                            "Width", "Height"))


def frame_extents(desktop, window):
    """The frame's left, right, top and bottom edges, as the window manager announces them."""
    text = desktop.run("xprop", "-id", window, "-notype", "_NET_FRAME_EXTENTS")
    return tuple(int(n) for n in text.split("=", 1)[1].split(",")) if "=" in text else None


class Placement(unittest.TestCase):
    # Qt's own options on the command line change nothing: the window keeps its title and
    # opens centred with its frame, which the window manager draws 1 pixel wide with a 20-pixel
    # title bar here: frame 836 x 732 at ((1280 - 836) / 2, (1024 - 732) / 2) = (222, 146).
    def test_centred_with_its_frame_whatever_the_command_line_says(self):
        with Desktop(window_manager=True) as desktop:
            desktop.start("-qwindowgeometry", "600x400+10+10", "-qwindowtitle", "Other")
            window = wait_for("the window", lambda: window_of(desktop))
            extents = wait_for("the frame", lambda: frame_extents(desktop, window))
            self.assertEqual(extents, (1, 1, 20, 1), "openbox's default theme has changed")
            # Placed once the frame is known: the client 1 pixel right and 20 below its corner.
            left, top, width, height = geometry(desktop, window)
            deadline = time.monotonic() + 10
            while (left, top) != (223, 166) and time.monotonic() < deadline:
                time.sleep(0.1)
                left, top, width, height = geometry(desktop, window)
            self.assertEqual((width, height), (834, 711))
            self.assertEqual((left - 1, top - 20), (222, 146))
            # Equal room on either side, frame included.
            self.assertEqual(left - 1, SCREEN[0] - (left + width + 1))
            self.assertEqual(top - 20, SCREEN[1] - (top + height + 1))
            self.assertIn('"Vexilo"', desktop.run("xprop", "-id", window, "_NET_WM_NAME"))


def turn_on_accessibility():
    """As a screen reader does when it starts: the toolkits then join the accessibility bus."""
    from gi.repository import Gio, GLib
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
        None, Gio.DBusCallFlags.NONE, 10000, None)


def accessible_application(pyatspi, name):
    root = pyatspi.Registry.getDesktop(0)
    for app in (root.getChildAtIndex(i) for i in range(root.childCount)):
        if app is not None and app.name == name and app.childCount > 0:
            return app
    return None


class ScreenReader(unittest.TestCase):
    # Through AT-SPI, as a screen reader such as Orca asks: the window is a frame named by its
    # title, each label a label with its name, whose text interface gives what it shows, so that
    # a display reads "count of 17, 3"; a change of its text is heard as it happens.
    def test_the_window_and_its_labels_read_as_shown(self):
        with Desktop() as desktop:
            os.environ.update(desktop.env)  # the client finds the accessibility bus from here
            turn_on_accessibility()
            import pyatspi
            from gi.repository import GLib
            desktop.start()
            app = wait_for("vexilo on the accessibility bus",
                           lambda: accessible_application(pyatspi, "vexilo"))
            self.assertEqual(app.childCount, 1)
            frame = app.getChildAtIndex(0)
            self.assertEqual((frame.getRole(), frame.name), (pyatspi.ROLE_FRAME, "Vexilo"))
            controls = {}
            for child in (frame.getChildAtIndex(i) for i in range(frame.childCount)):
                controls.setdefault(child.name, child)

            def text(name):
                return controls[name].queryText().getText(0, -1)

            for name, shown in (("count of 17", "0"), ("share of black", "0%"),
                                ("spin count", "0"), ("last result 1", ""),
                                ("caption RED", "RED")):
                self.assertEqual(controls[name].getRole(), pyatspi.ROLE_LABEL, name)
                self.assertEqual(text(name), shown, name)

            heard = []
            pyatspi.Registry.registerEventListener(
                lambda event: heard.append((event.type, event.source.name, event.any_data)),
                "object:text-changed")
            for spins, number in enumerate(("17", "17", "17", "0"), start=1):
                controls[number].queryAction().doAction(0)
                wait_for(f"spin {spins}", lambda: text("spin count") == str(spins), 10)

            label = controls["count of 17"]
            self.assertEqual((label.name, text("count of 17")), ("count of 17", "3"))
            self.assertEqual(label.description, "")  # read once: nothing repeats it
            self.assertEqual(label.queryText().characterCount, 1)
            for name, shown in (("share of black", "75%"), ("share of 0", "25%"),
                                ("share of red", "0%"), ("last result 1", "0"),
                                ("last result 2", "17")):
                self.assertEqual(text(name), shown, name)

            def changes(name):
                return [(kind.rsplit(":", 1)[1], data) for kind, source, data in heard
                        if source == name]

            def heard_the_last_change():
                while GLib.MainContext.default().iteration(False):
                    pass
                return changes("last result 1")[-1:] == [("insert", "0")]

            wait_for("the last change heard", heard_the_last_change, 10)
            self.assertEqual(changes("count of 17"), [("delete", "0"), ("insert", "1"),
                                                      ("delete", "1"), ("insert", "2"),
                                                      ("delete", "2"), ("insert", "3")])
            self.assertEqual(changes("last result 1"),
                             [("insert", "17"), ("delete", "17"), ("insert", "0")])
            self.assertEqual(changes("caption RED"), [])


if __name__ == "__main__":
    PROGRAM = sys.argv[1]
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
