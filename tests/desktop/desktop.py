# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
"""A private X desktop for driving the real viewer as a person does.

Xvfb with a window manager (openbox, or mutter), a session bus with the accessibility bus, and
the viewer itself: every process is started here in a process group of its own and ended by its
id when the desktop closes, also after a failure. Input goes in only as X events (xdotool); what is shown is read
back through AT-SPI, as a screen reader reads it, and from screenshots.
"""

import os
import signal
import subprocess
import time

DEADLINE = 20.0  # seconds for any one thing to happen on a loaded machine
POLL = 0.05


# openbox is light; mutter, GNOME's own, gives focus back to a window by its own rules.
WINDOW_MANAGERS = {"openbox": ["openbox", "--sm-disable"],
                   "mutter": ["mutter", "--x11", "--sm-disable"]}


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, deadline=DEADLINE):
    """Polls `probe` until it returns something true; returns that, or fails naming `what`."""
    end = time.monotonic() + deadline
    while True:
        try:
            value = probe()
        except Exception:  # the accessible tree changes under our feet while windows come and go
            value = None
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(POLL)


class Desktop:
    def __init__(self, folder, window_manager="openbox"):
        """Everything on this desktop runs with a home and XDG folders of its own in `folder`."""
        self.window_manager = window_manager
        self.processes = []
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME", "GTK_THEME",
                     "SESSION_MANAGER", "XDG_SESSION_TYPE"):
            self.env.pop(name, None)
        self.folder = folder
        self.home = os.path.join(folder, "home")
        runtime = os.path.join(folder, "runtime")
        os.mkdir(self.home)
        os.mkdir(runtime, mode=0o700)
        self.env.update(XDG_RUNTIME_DIR=runtime, **_home_variables(self.home))

    def files_in_home(self):
        return sorted(os.path.join(folder, name) for folder, _, names in os.walk(self.home)
                      for name in names)

    # --- processes ---------------------------------------------------------------------------

    def spawn(self, argv, env=None, **options):
        process = subprocess.Popen(argv, env=env or self.env, start_new_session=True, **options)
        self.processes.append(process)
        return process

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        # Newest first: the viewer, then the buses, the window manager and last the X server.
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()
        self.processes = []

    def _start(self):
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                   stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display:
            number = display.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number

        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                          "--print-address=1"], stdout=subprocess.PIPE, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                   stderr=subprocess.DEVNULL)
        # The window manager keeps its caches in a home of its own, apart from the programs'.
        manager_home = os.path.join(self.folder, "window-manager")
        os.mkdir(manager_home)
        self.spawn(WINDOW_MANAGERS[self.window_manager], env=dict(
            self.env, **_home_variables(manager_home)), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
        wait_for("the window manager", lambda: "window id" in self.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False))

        # The accessibility library reads the bus address from our own environment.
        os.environ["DISPLAY"] = self.env["DISPLAY"]
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env["DBUS_SESSION_BUS_ADDRESS"]
        wait_for("the accessibility bus", lambda: "unix:" in self.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"], check=False))

    def run(self, argv, check=True, input=None):
        result = subprocess.run(argv, env=self.env, input=input, capture_output=True, text=True,
                                timeout=DEADLINE)
        if check and result.returncode != 0:
            raise Failure(" ".join(argv) + ": " + result.stderr.strip())
        return result.stdout

    # --- input ---------------------------------------------------------------------------------

    def keys(self, *names):
        self.run(["xdotool", "key", "--delay", "40"] + list(names))

    def type(self, text):
        self.run(["xdotool", "type", "--delay", "20", text])

    def click(self, x, y, button=1):
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button)])

    def double_click(self, x, y):
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "--repeat", "2",
                  "--delay", "80", "1"])

    # --- what is shown ---------------------------------------------------------------------------

    def clipboard(self):
        return self.run(["xclip", "-o", "-selection", "clipboard"], check=False)

    def window_icons(self, pid, title):
        """The icons in _NET_WM_ICON of the shown window of process `pid` titled `title`, by
        width, each as its ARGB pixels."""
        window = self.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name",
                           "^%s$" % title]).split()[0]
        listed = self.run(["xprop", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c",
                           " = $0+\n", "_NET_WM_ICON"])
        values = [int(v) for v in listed.partition("=")[2].replace(",", " ").split()]
        icons, position = {}, 0
        while position + 2 <= len(values):
            width, height = values[position:position + 2]
            icons[width] = values[position + 2:position + 2 + width * height]
            position += 2 + width * height
        return icons

    def screenshot(self, x, y, width, height):
        """The pixels of a screen rectangle as rows of (r, g, b)."""
        data = subprocess.run(
            ["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, x, y),
             "-depth", "8", "ppm:-"], env=self.env, capture_output=True, timeout=DEADLINE,
            check=True).stdout
        return _parse_ppm(data)


def _parse_ppm(data):
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        start = position
        while not data[position:position + 1].isspace():
            position += 1
        fields.append(data[start:position])
    position += 1
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position:]
    return [[tuple(pixels[(row * width + col) * 3:(row * width + col) * 3 + 3])
             for col in range(width)] for row in range(height)]


def _home_variables(home):
    """HOME and the XDG folders below it."""
    return dict(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                XDG_CACHE_HOME=os.path.join(home, ".cache"),
                XDG_STATE_HOME=os.path.join(home, ".local", "state"))
