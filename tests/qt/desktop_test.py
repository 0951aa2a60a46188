#!/usr/bin/python3
"""The real program on a virtual X server as a user's desktop runs it: under a real window
manager (openbox), and read by a real screen-reader client (AT-SPI through Debian's pyatspi).

Usage: desktop_test.py VEXILO Placement|ScreenReader
One group a process: the AT-SPI client binds to the first session bus it sees.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM = None


def wait_for(what, probe, seconds=30):
    """probe() until it returns something true; fails after the given time."""
    deadline = time.monotonic() + seconds
    while not (found := probe()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.1)
    return found


class Desktop:
    """Xvfb 1280 x 1024 on a display of its own choosing, a private session bus and, if asked,
    openbox; HOME and the runtime folder in a temporary folder."""

    def __init__(self, window_manager=False):
        self.window_manager = window_manager
        self.processes = []
        self.home = tempfile.mkdtemp(prefix="vexilo-desktop-")
        self.env = dict(os.environ, HOME=self.home, XDG_RUNTIME_DIR=self.home)
        self.env.pop("QT_QPA_PLATFORM", None)  # the program's platform is the display's

    def __enter__(self):
        try:
            read, write = os.pipe()
            # -noreset: else the server starts afresh, refusing clients, whenever its last
            # client leaves.
            self.spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                        "-nolisten", "tcp", "-noreset"], pass_fds=[write],
                       stderr=subprocess.DEVNULL)
            os.close(write)
            with os.fdopen(read) as display:
                number = display.readline().strip()
            if not number:
                raise AssertionError("Xvfb did not start")
            self.env["DISPLAY"] = ":" + number
            bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
            if self.window_manager:
                self.spawn(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
                wait_for("openbox", lambda: "window id" in self.run(
                    "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        except BaseException:
            self.__exit__()
            raise
        return self

    def spawn(self, command, **options):
        process = subprocess.Popen(command, env=self.env, **options)
        self.processes.append(process)
        return process

    def run(self, *command):
        """A client's output on this desktop, empty if it failed."""
        ran = subprocess.run(command, env=self.env, capture_output=True, text=True)
        return ran.stdout if ran.returncode == 0 else ""

    def __exit__(self, *_):
        for process in reversed(self.processes):
            process.terminate()
            process.wait(10)
            if process.stdout is not None:
                process.stdout.close()
        shutil.rmtree(self.home, ignore_errors=True)


class Placement(unittest.TestCase):
    # Qt's own options on the command line change nothing: the window keeps its title and opens
    # centred with its frame, which openbox draws 1 pixel wide with a 20-pixel title bar here:
    # frame 836 x 732 at ((1280 - 836) / 2, (1024 - 732) / 2) = (222, 146), client at (223, 166).
    def test_centred_with_its_frame_whatever_the_command_line_says(self):
        with Desktop(window_manager=True) as desktop:
            desktop.spawn([PROGRAM, "-qwindowgeometry", "600x400+10+10", "-qwindowtitle", "Other"])
            window = wait_for("the window", lambda: desktop.run(
                "xdotool", "search", "--onlyvisible", "--class", "^vexilo$").split()[:1])[0]
            extents = wait_for("the frame", lambda: desktop.run(
                "xprop", "-id", window, "-notype", "_NET_FRAME_EXTENTS").partition("=")[2])
            self.assertEqual(extents.split(), ["1,", "1,", "20,", "1"], "openbox's theme changed")

            def client():
                info = desktop.run("xwininfo", "-id", window).splitlines()
                found = dict(line.strip().split(":", 1) for line in info if ":" in line)
                return tuple(int(found[key]) for key in (
                    "Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

            try:  # placed again once the frame is known
                wait_for("the final place", lambda: client()[:2] == (223, 166), 10)
            except AssertionError:
                pass  # said below
            self.assertEqual(client(), (223, 166, 834, 711))
            self.assertIn('"Vexilo"', desktop.run("xprop", "-id", window, "_NET_WM_NAME"))


class ScreenReader(unittest.TestCase):
    # Through AT-SPI, as a screen reader such as Orca asks: the window is a frame named by its
    # title, each label a label with its name, whose text interface gives what it shows, so that
    # a display reads "count of 17, 3"; a change of its text is heard as it happens.
    def test_the_window_and_its_labels_read_as_shown(self):
        with Desktop() as desktop:
            os.environ.update(desktop.env)  # the client finds the accessibility bus from here
            from gi.repository import Gio, GLib
            # Turned on as a screen reader does when it starts.
            Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
                "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled",
                                       GLib.Variant("b", True))),
                None, Gio.DBusCallFlags.NONE, 10000, None)
            import pyatspi
            desktop.spawn([PROGRAM])

            def application():
                root = pyatspi.Registry.getDesktop(0)
                apps = (root.getChildAtIndex(i) for i in range(root.childCount))
                return next((a for a in apps if a and a.name == "vexilo" and a.childCount), None)

            app = wait_for("vexilo on the accessibility bus", application)
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
