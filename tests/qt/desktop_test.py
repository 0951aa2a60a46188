#!/usr/bin/python3
"""The real program on a virtual X server as a user's desktop runs it: under a real window
manager (openbox), read by a real screen-reader client (AT-SPI through Debian's pyatspi), and
under GNOME's compositor with its XWayland.

Usage: desktop_test.py VEXILO Placement|ScreenReader|Wayland
One group a process: the AT-SPI client binds to the first session bus it sees.
"""
import os
import select
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


def settle(probe, seconds=10):
    """Gives probe() the time to come true without failing: the asserts after it say what was."""
    try:
        wait_for("", probe, seconds)
    except AssertionError:
        pass


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
            self.start()
        except BaseException:
            self.__exit__()
            raise
        return self

    def start(self):
        read, write = os.pipe()
        # -noreset: else the server starts afresh, refusing clients, whenever its last client
        # leaves.
        self.spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp", "-noreset"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            number = display.readline().strip()
        if not number:
            raise AssertionError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        self.start_bus()
        if self.window_manager:
            self.spawn(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
            self.wait_for_window_manager("openbox")

    def start_bus(self):
        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()

    def wait_for_window_manager(self, name):
        wait_for(name, lambda: "window id" in self.run(
            "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))

    def spawn(self, command, **options):
        process = subprocess.Popen(command, env=self.env, **options)
        self.processes.append(process)
        return process

    def run(self, *command):
        """A client's output on this desktop, empty if it failed."""
        ran = subprocess.run(command, env=self.env, capture_output=True, text=True)
        return ran.stdout if ran.returncode == 0 else ""

    def client_geometry(self, window):
        """The window's client area: x, y on the screen, width, height."""
        info = self.run("xwininfo", "-id", window).splitlines()
        found = dict(line.strip().split(":", 1) for line in info if ":" in line)
        return tuple(int(found[key]) for key in (
            "Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def frame_extents(self, window):
        """The frame's width on the left, right, top and bottom, once the manager has framed it."""
        extents = wait_for("the frame", lambda: self.run(
            "xprop", "-id", window, "-notype", "_NET_FRAME_EXTENTS").partition("=")[2])
        return tuple(int(width) for width in extents.split(","))

    def __exit__(self, *_):
        for process in reversed(self.processes):
            self.stop(process)
            process.wait(10)
            if process.stdout is not None:
                process.stdout.close()
        shutil.rmtree(self.home, ignore_errors=True)

    def stop(self, process):
        process.terminate()


class Mutter(Desktop):
    """GNOME's compositor headless on a 1920 x 1080 monitor, with XWayland, as in a GNOME session.
    XWayland wants a /tmp/.X11-unix writable by all: mutter gets one in a mount namespace of its
    own (clients outside reach XWayland by its abstract socket). Once ready, mutter starts our
    command, which reports its clients' displays and reads a pipe we hold: when we let go, mutter
    quits with it and stops XWayland (terminated, it would leave XWayland behind)."""

    OWN_X11_FOLDER = ["unshare", "--user", "--map-root-user", "--mount", "--propagation",
                      "private", "sh", "-c", "mkdir -p -m 1777 /tmp/.X11-unix && "
                      'mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix && exec "$@"', "sh"]
    REPORT = 'printf "%s\\n" "$DISPLAY" "$WAYLAND_DISPLAY" "$XAUTHORITY"; exec cat "$1" >/dev/null'

    def start(self):
        self.start_bus()
        hold = os.path.join(self.home, "hold")
        os.mkfifo(hold)
        self.hold = os.open(hold, os.O_RDWR)  # a writer, so that the command's read waits
        log_name = os.path.join(self.home, "mutter.log")
        with open(log_name, "w") as log:
            self.compositor = self.spawn(
                [*self.OWN_X11_FOLDER, "mutter", "--wayland", "--headless", "--virtual-monitor",
                 "1920x1080", "--", "sh", "-c", self.REPORT, "sh", hold],
                stdout=subprocess.PIPE, stderr=log, text=True)
        ready, _, _ = select.select([self.compositor.stdout], [], [], 30)
        display, wayland, authority = (self.compositor.stdout.readline().strip() if ready else ""
                                       for _ in range(3))
        if not (display and wayland):
            # The board has not started yet: what stopped mutter lies outside the project.
            with open(log_name) as log:
                said = [line.strip() for line in log if line.strip()] or ["it said nothing"]
            raise unittest.SkipTest(f"mutter cannot start here: {said[-1]}")
        self.env.update(DISPLAY=display, WAYLAND_DISPLAY=wayland, XAUTHORITY=authority)
        wait_for("the Wayland socket", lambda: os.path.exists(os.path.join(self.home, wayland)))
        self.wait_for_window_manager("mutter on XWayland")

    def stop(self, process):
        if process is not self.compositor:
            return super().stop(process)
        os.close(self.hold)
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:  # it had not started our command yet
            process.terminate()


def board_window(desktop, what):
    """The id of the board's X11 window, once it shows."""
    return wait_for(what, lambda: desktop.run(
        "xdotool", "search", "--onlyvisible", "--class", "^vexilo$").split()[:1])[0]


class Placement(unittest.TestCase):
    # Qt's own options on the command line change nothing: the window keeps its title and opens
    # centred with its frame, which openbox draws 1 pixel wide with a 20-pixel title bar here:
    # frame 836 x 732 at ((1280 - 836) / 2, (1024 - 732) / 2) = (222, 146), client at (223, 166).
    def test_centred_with_its_frame_whatever_the_command_line_says(self):
        with Desktop(window_manager=True) as desktop:
            desktop.spawn([PROGRAM, "-qwindowgeometry", "600x400+10+10", "-qwindowtitle", "Other"])
            window = board_window(desktop, "the window")
            self.assertEqual(desktop.frame_extents(window), (1, 1, 20, 1),
                             "openbox's theme changed")
            # Placed again once the frame is known.
            settle(lambda: desktop.client_geometry(window)[:2] == (223, 166))
            self.assertEqual(desktop.client_geometry(window), (223, 166, 834, 711))
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


class Wayland(unittest.TestCase):
    # With Qt's Wayland platform there, the board still asks XWayland for an X11 window, and so
    # does what a Wayland client may not: it opens centred with its frame, and it stays above
    # other windows. Mutter draws the frame as a title bar of 37 pixels (Debian 12's mutter 43:
    # frame 834 x 748 at ((1920 - 834) / 2, (1080 - 748) / 2) = (543, 166), client at (543, 203))
    # or 39 (Debian 13's mutter 48: frame 834 x 750 at (543, 165), client at (543, 204)).
    CLIENT_AT_BY_TITLE_BAR = {37: (543, 203), 39: (543, 204)}

    def test_an_x11_window_centred_and_above_beside_wayland(self):
        plugins = subprocess.run([os.environ["VEXILO_QTPATHS"], "--plugin-dir"],
                                 capture_output=True, text=True).stdout.strip()
        self.assertTrue(os.path.exists(f"{plugins}/platforms/libqwayland-generic.so"),
                        "qt6-wayland is not installed: the check would prove nothing")
        for tool in ("mutter", "Xwayland", "unshare"):
            self.assertTrue(shutil.which(tool), f"{tool} is not installed (scripts/setup)")
        with Mutter() as desktop:
            desktop.spawn([PROGRAM])
            window = board_window(desktop, "an X11 window (a native Wayland window has none)")
            left, right, title_bar, bottom = desktop.frame_extents(window)
            self.assertEqual((left, right, bottom), (0, 0, 0), "mutter's theme changed")
            self.assertIn(title_bar, self.CLIENT_AT_BY_TITLE_BAR, "mutter's theme changed")
            client_at = self.CLIENT_AT_BY_TITLE_BAR[title_bar]
            settle(lambda: desktop.client_geometry(window)[:2] == client_at)
            self.assertEqual(desktop.client_geometry(window), (*client_at, 834, 711))
            self.assertIn("_NET_WM_STATE_ABOVE",
                          desktop.run("xprop", "-id", window, "_NET_WM_STATE"))


if __name__ == "__main__":
    PROGRAM = sys.argv[1]
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
