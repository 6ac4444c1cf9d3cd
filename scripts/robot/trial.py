"""The robot's trial set-up: its own X server and window manager, a copy of
the application folder with preseeded settings, generated media, harmless
stand-ins for the desktop's programs, and the checks on the program's
processes and sanitizer reports."""

import ctypes
import glob
import os
import shutil
import signal
import subprocess
import time

PR_SET_CHILD_SUBREAPER = 36

# Short media, named with blanks and non-ASCII letters; the last is no media
# at all, so adding it fills "Error Info".
MEDIA = [
    ("tone one.wav", ["-f", "lavfi", "-i", "sine=frequency=440:duration=4", "-ac", "2"]),
    ("café crème.mp3", ["-f", "lavfi", "-i", "sine=frequency=660:duration=6", "-c:a", "libmp3lame"]),
    ("vidéo kurz.mp4", ["-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=5", "-f", "lavfi", "-i",
                        "sine=frequency=330:duration=5", "-shortest", "-pix_fmt", "yuv420p"]),
    ("Grüße aus Köln.ogg", ["-f", "lavfi", "-i", "sine=frequency=550:duration=3", "-c:a", "libvorbis"]),
    ("chœur.m4a", ["-f", "lavfi", "-i", "sine=frequency=250:duration=8", "-c:a", "aac"]),
]
NOT_MEDIA = "pas un son.mp3"

# What the program may start on the desktop. Each stand-in notes its call and
# ends: no file manager, browser, mail program or power-off ever runs.
DESKTOP_PROGRAMS = ["xdg-open", "xdg-mime", "systemctl"]


def become_subreaper():
    """Orphans of the program (an encoder it left behind) become our children, so we can see them."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        raise OSError(ctypes.get_errno(), "prctl(PR_SET_CHILD_SUBREAPER)")


def wait_until(condition, seconds, step=0.05):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(step)
    return condition()


class Desktop:
    """An X server on a free display with openbox on it."""

    def __init__(self, scratch):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-nolisten", "tcp", "-screen", "0", "1024x768x24"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=open(os.path.join(scratch, "xvfb.log"), "w"))
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number
        self.openbox = subprocess.Popen(["openbox"], env={**os.environ, "DISPLAY": self.name},
                                        stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(scratch, "openbox.log"), "w"))
        # openbox has taken the screen when it names its check window on the root.
        wait_until(lambda: subprocess.run(["xprop", "-display", self.name, "-root", "_NET_SUPPORTING_WM_CHECK"],
                                          capture_output=True, text=True).stdout.count("window id") > 0, 20)

    def pids(self):
        return {self.xvfb.pid, self.openbox.pid}

    def stop(self):
        for process in (self.openbox, self.xvfb):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


class Trial:
    def __init__(self, scratch, app_folder, suppressions):
        self.scratch = scratch
        self.app = os.path.join(scratch, "app")
        self.media = os.path.join(scratch, "media")
        self.outputs = [os.path.join(scratch, "out"), os.path.join(scratch, "out zwei é")]
        self.sanitizer = os.path.join(scratch, "sanitizer")
        self.desktop_log = os.path.join(scratch, "desktop-calls.log")
        self.program_log = os.path.join(scratch, "program.log")
        self.suppressions = suppressions
        for folder in [self.media, self.sanitizer, *self.outputs, os.path.join(scratch, "bin"),
                       os.path.join(scratch, "home")]:
            os.makedirs(folder, exist_ok=True)
        os.makedirs(os.path.join(scratch, "runtime"), mode=0o700, exist_ok=True)
        shutil.copytree(app_folder, self.app, symlinks=True)
        self._preseed()
        self._stand_ins()
        self._make_media()
        self.process = None

    def _preseed(self):
        # The output folder is ours; the program never powers off. The open
        # dialog starts in the media folder.
        with open(os.path.join(self.app, "Config", "UserSettings.ini"), "w", encoding="utf-8") as ini:
            ini.write("[USRInfo]\nSHWDDir=1\nSHUTDOWN=0\n"
                      f"OutDir={self.outputs[0]}/\nInitDir={self.media}/\n")

    def _stand_ins(self):
        for name in DESKTOP_PROGRAMS:
            path = os.path.join(self.scratch, "bin", name)
            with open(path, "w") as script:
                script.write(f'#!/bin/sh\necho "{name} $*" >> "{self.desktop_log}"\nexit 0\n')
            os.chmod(path, 0o755)

    def _make_media(self):
        for name, source in MEDIA:
            subprocess.run(["ffmpeg", "-v", "error", "-nostdin", *source, "-y", os.path.join(self.media, name)],
                           check=True)
        with open(os.path.join(self.media, NOT_MEDIA), "w") as bad:
            bad.write("this is text, not sound\n" * 40)

    def power_off_asked(self):
        """Whether the program asked to power off since the last call."""
        if not os.path.exists(self.desktop_log):
            return False
        with open(self.desktop_log) as log:
            count = sum(1 for line in log if line.startswith("systemctl poweroff"))
        asked = count > getattr(self, "_power_offs", 0)
        self._power_offs = count
        return asked

    def shutdown_off(self):
        """The settings' shutdown choice off again, the rest as the program saved it."""
        path = os.path.join(self.app, "Config", "UserSettings.ini")
        with open(path, encoding="utf-8", errors="surrogateescape") as ini:
            lines = ini.read().splitlines()
        lines = ["SHUTDOWN=0" if line.startswith("SHUTDOWN=") else line for line in lines]
        with open(path, "w", encoding="utf-8", errors="surrogateescape") as ini:
            ini.write("\n".join(lines) + "\n")

    def media_files(self):
        return [os.path.join(self.media, name) for name, _ in MEDIA] + [os.path.join(self.media, NOT_MEDIA)]

    def environment(self, display_name):
        env = {k: v for k, v in os.environ.items()
               if k not in ("QT_QPA_PLATFORMTHEME", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "SESSION_MANAGER",
                            "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM")}
        home = os.path.join(self.scratch, "home")
        env.update({
            "DISPLAY": display_name,
            "QT_QPA_PLATFORM": "xcb",
            "PATH": os.path.join(self.scratch, "bin") + os.pathsep + env.get("PATH", "/usr/bin:/bin"),
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_RUNTIME_DIR": os.path.join(self.scratch, "runtime"),
            # Every report goes to a file of its own (the program's and each
            # evc.exe's), where the robot looks after every action. No
            # strict_string_checks: libxkbcommon-x11 hands strndup atom names
            # that end at their length, not at a zero, on the first connection.
            # A large quarantine: the preview's frames recycle freed memory
            # fast, and a use after free must still find it poisoned.
            "ASAN_OPTIONS": f"detect_leaks=1:abort_on_error=1:quarantine_size_mb=1024:log_path={self.sanitizer}/asan",
            "UBSAN_OPTIONS": f"print_stacktrace=1:halt_on_error=1:log_path={self.sanitizer}/ubsan",
            "LSAN_OPTIONS": f"suppressions={self.suppressions}:print_suppressions=0",
        })
        return env

    def start(self, display_name):
        log = open(self.program_log, "a")
        log.write(f"--- started {time.strftime('%H:%M:%S')}\n")
        log.flush()
        self.process = subprocess.Popen([os.path.join(self.app, "SonvarroConverter")], cwd=self.scratch,
                                        env=self.environment(display_name), stdin=subprocess.DEVNULL, stdout=log,
                                        stderr=subprocess.STDOUT)
        log.close()
        return self.process

    def sanitizer_reports(self):
        reports = []
        for path in sorted(glob.glob(os.path.join(self.sanitizer, "*"))):
            if os.path.getsize(path) > 0:
                with open(path, errors="replace") as report:
                    reports.append((path, report.read()))
        return reports

    def descendants(self, pid):
        """(pid, name) of every live process below pid."""
        children = {}
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    text = stat.read()
            except OSError:
                continue
            name = text[text.index("(") + 1:text.rindex(")")]
            fields = text[text.rindex(")") + 2:].split()
            if fields[0] == "Z":
                continue
            children.setdefault(int(fields[1]), []).append((int(entry), name))
        found, todo = [], [pid]
        while todo:
            for child in children.get(todo.pop(), []):
                found.append(child)
                todo.append(child[0])
        return found

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
