"""The program's windows on the X server, and whether its event loop answers.

Windows are found in the window tree by the process id Qt puts on each of
them (_NET_WM_PID). Input goes through
xdotool, as a user's would.

The liveness probe is the window manager's own: _NET_WM_PING. Qt announces it
in WM_PROTOCOLS and answers it from the GUI thread while it handles X events,
so an answer proves that the event loop (the main one or a modal dialog's
nested one) runs; a handler that blocks, spins or waits on a lock leaves the
ping unanswered however alive the process is.
"""

import os
import subprocess
import time

from Xlib import X, Xatom, display, error
from Xlib.protocol import event


class Window:
    def __init__(self, wid, title, x, y, width, height):
        self.id = wid
        self.title = title
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return f"<{self.title!r} {self.width}x{self.height}+{self.x}+{self.y}>"


class Screen:
    def __init__(self, display_name):
        self.display_name = display_name
        self.d = display.Display(display_name)
        self.root = self.d.screen().root
        self.width = self.d.screen().width_in_pixels
        self.height = self.d.screen().height_in_pixels
        self.atom = {name: self.d.intern_atom(name) for name in (
            "_NET_WM_PID", "_NET_WM_NAME", "UTF8_STRING", "WM_PROTOCOLS", "_NET_WM_PING",
            "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN", "_NET_ACTIVE_WINDOW")}
        # The answer to a ping goes to the root window, to whoever selects
        # structure (Qt 6) or substructure (others) notifications there.
        self.root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
        self.d.sync()
        self._stamp = 1

    def _property(self, window, name, kind):
        reply = window.get_full_property(self.atom[name], kind)
        return reply.value if reply else None

    def _title(self, window):
        name = self._property(window, "_NET_WM_NAME", self.atom["UTF8_STRING"])
        if name is None:
            name = window.get_wm_name()
        if isinstance(name, bytes):
            name = name.decode("utf-8", "replace")
        return name or ""

    def _clients(self):
        """The top-level windows of every client: the root's children, or the ones a window manager's frame holds."""
        found = []
        for child in self.root.query_tree().children:
            try:
                if self._property(child, "_NET_WM_PID", Xatom.CARDINAL):
                    found.append(child)
                else:
                    found.extend(c for c in child.query_tree().children
                                 if self._property(c, "_NET_WM_PID", Xatom.CARDINAL))
            except error.XError:
                continue  # closed while we looked
        return found

    def active_window(self):
        """The id of the window the window manager has made active; None when there is none."""
        try:
            active = self._property(self.root, "_NET_ACTIVE_WINDOW", Xatom.WINDOW)
        except error.XError:
            return None
        return int(active[0]) if active is not None and len(active) and active[0] else None

    def windows_of(self, pid):
        """The visible windows of process pid, bottom of the stack first.

        Read from the window tree rather than the window manager's client
        list, so a window manager that is slow to start (or absent) hides
        nothing."""
        found = []
        for window in self._clients():
            try:
                pids = self._property(window, "_NET_WM_PID", Xatom.CARDINAL)
                if not pids or pids[0] != pid:
                    continue
                if window.get_attributes().map_state != X.IsViewable:
                    continue
                geometry = window.get_geometry()
                origin = window.translate_coords(self.root, 0, 0)
                found.append(Window(window.id, self._title(window), -origin.x, -origin.y, geometry.width,
                                    geometry.height))
            except error.XError:
                continue  # closed while we looked
        return found

    def ping(self, wid, timeout):
        """True when the window's client answers _NET_WM_PING within timeout seconds."""
        stamp = self._stamp
        self._stamp += 1
        window = self.d.create_resource_object("window", wid)
        message = event.ClientMessage(window=window, client_type=self.atom["WM_PROTOCOLS"],
                                      data=(32, [self.atom["_NET_WM_PING"], stamp, wid, 0, 0]))
        try:
            window.send_event(message, event_mask=0)
            self.d.flush()
        except error.XError:
            return True  # the window went away: nothing to wait for
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self.d.pending_events():
                answer = self.d.next_event()
                if (answer.type == X.ClientMessage and answer.client_type == self.atom["WM_PROTOCOLS"]
                        and answer.data[1][0] == self.atom["_NET_WM_PING"] and answer.data[1][1] == stamp):
                    return True
            time.sleep(0.01)
        return False


def xdotool(display_name, *args, timeout=5):
    """Runs one xdotool command; False when it failed or took too long (a window that vanished)."""
    try:
        done = subprocess.run(["xdotool", *[str(a) for a in args]], env={**os.environ, "DISPLAY": display_name},
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)
        return done.returncode == 0
    except subprocess.TimeoutExpired:
        return False
