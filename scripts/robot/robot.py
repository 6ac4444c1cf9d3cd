"""A robot user: drives the real program's windows with random but repeatable
input and fails on a crash, a sanitizer report, a window that stops
answering or a child process left running.

    python3 robot.py APP_FOLDER ACTIONS SEED SCRATCH SUPPRESSIONS

The seed alone decides the plan: which action comes next and every choice in
it (where to click, which key, which files, which time). How a planned action
lands depends on what is on the screen then (a click on the main window while
the job runs meets a disabled window), so two runs of one seed give the same
input, not necessarily the same screens.
"""

import collections
import hashlib
import os
import random
import sys
import time

from trial import Desktop, Trial, become_subreaper, wait_until
from xwin import Screen, xdotool

HANG_SECONDS = 5
# The main window's design size (the program's minimum size).
MAIN_WIDTH, MAIN_HEIGHT = 686, 519
# Places on the main window, in its own pixels.
SHUTDOWN_BOX = (290, 222, 310, 24)  # chkShutdown: never clicked, so the job never asks to power off
CLOSE_BUTTON = (652, 40)
TIMELINE = (22, 234, 260, 19)
HANDLE_WIDTH = 19
GRID = (22, 292, 525, 138)
GRID_HEADER, GRID_ROW = 24, 19
# The grid's columns share its width in these proportions (check, name, size, duration, start, end, cut).
COLUMN_SHARES = [16, 68, 28, 28, 28, 28, 28]
BUTTONS = {"open": (610, 304), "remove": (610, 338), "clear": (610, 372), "convert": (610, 411),
           "options": (630, 170), "browse": (630, 198), "play": (48, 273), "pause": (80, 273), "stop": (111, 273),
           "filetype": (516, 143), "profile": (476, 170), "title": (300, 45)}
MAP_KEYS = ["ctrl+o", "ctrl+r", "ctrl+l", "ctrl+i", "ctrl+p", "ctrl+u", "ctrl+t", "ctrl+s", "ctrl+n", "ctrl+b", "F1",
            "shift+F1", "ctrl+F1", "ctrl+shift+o", "alt+p"]
OTHER_KEYS = ["Tab", "shift+Tab", "Up", "Down", "Home", "End", "Return", "Escape", "Delete", "Left", "Right"]
PLAN = [  # kind, weight
    ("click", 24), ("key", 16), ("drag", 9), ("type_time", 9), ("add_files", 8), ("remove_files", 5),
    ("choose_profile", 6), ("options", 5), ("convert", 5), ("stop_conversion", 4), ("preview", 7),
    ("output_folder", 2), ("wait", 3), ("close_program", 0.4),
]
# How long a window that wants an answer may outlast the answers given.
BOX_STUCK_SECONDS = 30

# Titles of the windows that stay open while the user goes on; any other
# window of the program (a message box, an about box, "Error Info", a name
# prompt) is answered.
OPTIONS, PROGRESS, OPEN_DIALOG, FOLDER_DIALOG = "Options", "Converting", "Open", "Please select output folder:"


class RobotFailure(Exception):
    pass


class Step:
    """One planned action: its kind and the random numbers that make up its choices, drawn up front."""

    def __init__(self, rng):
        kinds, weights = zip(*PLAN)
        self.kind = rng.choices(kinds, weights)[0]
        self.u = [rng.random() for _ in range(8)]

    def pick(self, index, options):
        return options[min(int(self.u[index] * len(options)), len(options) - 1)]

    def __str__(self):
        return self.kind + " " + " ".join(f"{x:.3f}" for x in self.u)


class Robot:
    def __init__(self, app_folder, actions, seed, scratch, suppressions):
        self.actions, self.seed = actions, seed
        self.rng = random.Random(seed)
        self.answers = random.Random(seed + 1)
        self.trial = Trial(scratch, app_folder, suppressions)
        self.done = collections.Counter()
        self.events = collections.Counter()
        self.seconds = collections.Counter()
        self.handles = [0, TIMELINE[2] - HANDLE_WIDTH]  # where the robot last left each trim handle
        self.box_seen = {}
        self.history = collections.deque(maxlen=12)

    # --- the program -------------------------------------------------
    def start_program(self):
        process = self.trial.start(self.desktop.name)
        self.main = None

        def main_window():
            for window in self.screen.windows_of(process.pid):
                if window.width >= MAIN_WIDTH and window.height >= MAIN_HEIGHT and window.title not in (
                        OPEN_DIALOG, FOLDER_DIALOG):
                    self.main = window.id
                    return True
            return process.poll() is not None
        # A sanitized start on a busy machine takes its time.
        wait_until(main_window, 180, 0.2)
        self.check_alive()
        if self.main is None:
            raise RobotFailure("the main window did not show within 180 s")
        # The splash closes after start-up; until then the window takes no input.
        wait_until(lambda: len(self.screen.windows_of(process.pid)) == 1, 30, 0.2)
        self.xdo("windowmove", self.main, (self.screen.width - MAIN_WIDTH) // 2, 60)
        self.events["program started"] += 1

    def check_alive(self):
        process = self.trial.process
        status = process.poll()
        if status is None:
            return
        if status == 0 and self.trial.power_off_asked():
            # A job that ended with the shutdown choice on (a blank typed
            # while the check box had the focus sets it) asks to power off
            # and ends the program: the stand-in only noted the request.
            self.check_ended(process.pid, status)
            self.events["power-off asked, program ended"] += 1
            self.trial.shutdown_off()
            self.start_program()
            return
        raise RobotFailure(f"the program ended unasked (exit status {status})")

    def check_reports(self):
        reports = self.trial.sanitizer_reports()
        if reports:
            # A sanitizer writes its report before it ends the process: let it finish.
            wait_until(lambda: self.trial.process.poll() is not None, 60, 0.2)
            reports = self.trial.sanitizer_reports()
            text = "\n".join(f"--- {path}\n{body}" for path, body in reports)
            raise RobotFailure("a sanitizer report:\n" + text)

    def check_answers(self):
        if not self.screen.ping(self.main, HANG_SECONDS):
            # A program that ended meanwhile (a job's power-off ends it) has
            # no window left to answer: that end is judged on its own.
            if self.trial.process.poll() is not None:
                self.check_alive()
                return
            # A sanitizer takes a while to write its report, and the window
            # is silent meanwhile: the report says more than the silence.
            time.sleep(1)
            self.check_reports()
            raise RobotFailure(f"the program's windows did not answer a ping for {HANG_SECONDS} s")

    def check_no_encoder_after_job(self):
        """No evc.exe may run while no job shows its progress window."""
        converting = any(w.title == PROGRESS for w in self.windows())
        if converting != self.converting:
            # Counted here, so a job started by a stray click or key counts too.
            self.events["conversions started" if converting else "conversions ended"] += 1
            self.converting = converting
        if converting:
            self.idle_since = None
            return
        encoders = [p for p in self.trial.descendants(self.trial.process.pid) if p[1].startswith("evc")]
        if not encoders:
            self.idle_since = None
            return
        if self.idle_since is None:
            self.idle_since = time.monotonic()
        elif time.monotonic() - self.idle_since > 10:
            raise RobotFailure(f"an encoder runs 10 s after its job ended: {encoders}")

    def close_program(self):
        """Closes the main window as a user does and checks how the program ended."""
        process = self.trial.process
        pid = process.pid
        if any(w.title == PROGRESS for w in self.windows()):
            return False  # the main window waits for the job
        self.click_main(*CLOSE_BUTTON)
        if not wait_until(lambda: process.poll() is not None, 10):
            return False  # a modal window or the job held the close off; it stays open
        self.check_ended(pid, process.returncode)
        self.events["program closed"] += 1
        return True

    def check_ended(self, pid, status):
        self.check_reports()
        if status != 0:
            raise RobotFailure(f"the program ended with status {status}")
        left = self.leftovers()
        if left:
            raise RobotFailure(f"processes left running after the program ended: {left}")

    def leftovers(self):
        """Our children that are neither the desktop nor the program: whatever the program left (we reap orphans)."""
        def others():
            return [p for p in self.trial.descendants(os.getpid())
                    if p[0] not in self.desktop.pids() and p[1] != "xdotool" and p[1] != "ps"]
        wait_until(lambda: not others(), 5, 0.1)
        return others()

    # --- windows and input --------------------------------------------
    def windows(self):
        return self.screen.windows_of(self.trial.process.pid)

    def main_window(self):
        for window in self.windows():
            if window.id == self.main:
                return window
        # Minimised, or moved under another: bring it back.
        self.xdo("windowactivate", self.main)
        time.sleep(0.2)
        for window in self.windows():
            if window.id == self.main:
                return window
        return None

    def xdo(self, *args):
        return xdotool(self.desktop.name, *args)

    # No "mousemove --sync": it waits for the pointer to move, which it never
    # does when it is already there.
    def click_at(self, x, y, button=1, repeat=1):
        self.xdo("mousemove", int(x), int(y), "sleep", 0.03, "click", "--repeat", repeat, "--delay", 60, button)

    def click_main(self, x, y, repeat=1):
        main = self.main_window()
        if main:
            self.click_at(main.x + x, main.y + y, repeat=repeat)

    def drag(self, x0, y0, x1, y1):
        self.xdo("mousemove", int(x0), int(y0), "sleep", 0.03, "mousedown", 1)
        for i in range(1, 6):
            self.xdo("mousemove", int(x0 + (x1 - x0) * i / 5), int(y0 + (y1 - y0) * i / 5))
            time.sleep(0.02)
        self.xdo("mouseup", 1)

    def key_to(self, window_id, keys):
        self.xdo("windowactivate", window_id)
        time.sleep(0.05)
        self.xdo("key", "--clearmodifiers", keys)

    def close_window(self, window_id):
        """Alt+F4 to that window; False when it could not be made active.

        Alt+F4 is the window manager's: it closes whichever window is active.
        When the window cannot be activated (a box over it) that is the main
        window, and closing the program is an action of its own, which the
        robot counts."""
        self.xdo("windowactivate", window_id)
        time.sleep(0.05)
        if self.screen.active_window() != window_id:
            return False
        self.xdo("key", "--clearmodifiers", "alt+F4")
        return True

    def type_text(self, text):
        # xdotool types a letter that has no key of its own by remapping a
        # spare key for it; in a burst such a letter is sometimes lost (ß has
        # been), so those go one at a time, with time for the new key map.
        run = ""
        for letter in text:
            if ord(letter) < 128:
                run += letter
                continue
            if run:
                self.xdo("type", "--delay", 15, run)
                run = ""
            self.xdo("type", "--delay", 60, letter)
            time.sleep(0.05)
        if run:
            self.xdo("type", "--delay", 15, run)

    def keep_main_on_screen(self, main):
        if main.x < 0 or main.y < 0 or main.x + 200 > self.screen.width or main.y + 200 > self.screen.height:
            self.xdo("windowmove", self.main, (self.screen.width - MAIN_WIDTH) // 2, 60)

    # --- answering windows that want an answer -------------------------
    def answer_boxes(self):
        """Answers the windows that wait for the user; returns True when it answered one."""
        now = time.monotonic()
        shown = {}
        for window in self.windows():
            if window.id == self.main or window.title in (OPTIONS, PROGRESS):
                continue
            shown[window.id] = window
        self.box_seen = {wid: self.box_seen.get(wid, now) for wid in shown}
        for wid, window in shown.items():
            # The add-files popup closes itself; a window is answered once it stayed a while.
            if now - self.box_seen[wid] < 0.7:
                continue
            # Answered again and again and still there: the user is stuck
            # (a box that takes no input, under one that waits for it).
            if now - self.box_seen[wid] > BOX_STUCK_SECONDS:
                raise RobotFailure(f"the window {window.title!r} stays unanswered for {BOX_STUCK_SECONDS} s")
            choice = self.answers.random()
            if window.title == OPEN_DIALOG:
                self.answer_open_dialog(window, choice)
            elif window.title == FOLDER_DIALOG:
                if choice < 0.7:
                    self.key_to(wid, "Escape")
                else:
                    self.key_to(wid, "ctrl+a")
                    self.type_text(self.answers.choice(self.trial.outputs))
                    self.xdo("key", "Return")
            elif choice < 0.3:
                # A click somewhere on the box, as a user would try its buttons.
                self.click_at(window.x + self.answers.random() * window.width,
                              window.y + self.answers.random() * window.height)
            else:
                self.key_to(wid, "Return" if choice < 0.8 else "Escape")
            self.done["answer"] += 1
            self.history.append(f"answer {window.title!r}")
            return True
        return False

    def answer_open_dialog(self, window, choice):
        if choice < 0.15:
            self.key_to(window.id, "Escape")
            return
        files = self.trial.media_files()
        count = 1 + int(self.answers.random() * 3)
        chosen = [self.answers.choice(files) for _ in range(count)]
        # The dialog's name field takes several names in quotes, in the dialog's folder.
        self.xdo("windowactivate", window.id)
        time.sleep(0.1)
        # Into the name field first (its label's mnemonic): an earlier click may
        # have left the focus on the list or the sidebar, where Ctrl+A, the
        # typed names and Return do not choose the files.
        self.xdo("key", "--clearmodifiers", "alt+n")
        time.sleep(0.05)
        self.xdo("key", "--clearmodifiers", "ctrl+a")
        # Into the media folder first (a folder typed there is entered), wherever
        # an earlier answer left the dialog: quoted names are the folder's own.
        self.type_text(os.path.dirname(chosen[0]) + "/")
        self.xdo("key", "Return")
        time.sleep(0.2)
        self.xdo("key", "--clearmodifiers", "ctrl+a")
        if len(chosen) == 1:
            self.type_text(chosen[0])
        else:
            self.type_text(" ".join(f'"{os.path.basename(path)}"' for path in chosen))
        self.xdo("key", "Return")
        self.events["files chosen"] += len(chosen)

    # --- the actions ---------------------------------------------------
    def act(self, step):
        main = self.main_window()
        if main is None:
            return
        self.keep_main_on_screen(main)
        getattr(self, "do_" + step.kind)(step, main)

    def do_click(self, step, main):
        windows = [w for w in self.windows() if w.title not in (OPEN_DIALOG, FOLDER_DIALOG)]
        window = step.pick(0, windows) if windows else main
        x, y = step.u[1] * window.width, step.u[2] * window.height
        if window.id == self.main:
            bx, by, bw, bh = SHUTDOWN_BOX
            if bx <= x < bx + bw and by <= y < by + bh:
                y = by + bh + 2
            cx, cy = CLOSE_BUTTON
            if abs(x - cx) < 14 and abs(y - cy) < 14:
                x = cx - 40  # closing is an action of its own
        self.click_at(window.x + x, window.y + y, repeat=2 if step.u[3] > 0.85 else 1)

    def do_key(self, step, main):
        keys = step.pick(1, MAP_KEYS) if step.u[0] < 0.7 else step.pick(1, OTHER_KEYS)
        self.key_to(self.main, keys)

    def do_drag(self, step, main):
        tx, ty, tw, th = TIMELINE
        target = step.pick(0, ["start handle", "end handle", "strip", "title", "grid"])
        if target in ("start handle", "end handle"):
            which = 0 if target == "start handle" else 1
            x0 = tx + self.handles[which] + HANDLE_WIDTH // 2
            x1 = tx + step.u[1] * tw
            self.drag(main.x + x0, main.y + ty + th // 2, main.x + x1, main.y + ty + th // 2 + (step.u[2] - 0.5) * 10)
            self.handles[which] = int(min(max(x1 - tx - HANDLE_WIDTH // 2, 0), tw - HANDLE_WIDTH))
        elif target == "strip":
            self.drag(main.x + tx + step.u[1] * tw, main.y + ty + 9, main.x + tx + step.u[2] * tw, main.y + ty + 9)
        elif target == "title":
            x, y = BUTTONS["title"]
            self.drag(main.x + x, main.y + y, main.x + x + (step.u[1] - 0.5) * 200, main.y + y + (step.u[2] - 0.5) * 160)
        else:
            gx, gy, gw, gh = GRID
            self.drag(main.x + gx + step.u[1] * gw, main.y + gy + 30 + step.u[2] * (gh - 30),
                      main.x + gx + step.u[3] * gw, main.y + gy + 30 + step.u[4] * (gh - 30))

    def cell(self, row, column):
        gx, gy, gw, _ = GRID
        shares = COLUMN_SHARES
        left = sum(shares[:column]) / sum(shares) * gw
        width = shares[column] / sum(shares) * gw
        return gx + left + width / 2, gy + GRID_HEADER + row * GRID_ROW + GRID_ROW // 2

    def do_type_time(self, step, main):
        row = int(step.u[0] * 4)
        column = 4 if step.u[1] < 0.5 else 5
        x, y = self.cell(row, column)
        self.click_main(x, y)
        time.sleep(0.1)
        self.click_main(x, y)
        seconds = int(step.u[2] * 12) if step.u[3] < 0.8 else int(step.u[2] * 90000)
        text = f"{seconds // 3600:02d}:{seconds // 60 % 60:02d}:{seconds % 60:02d}"
        self.xdo("key", "--clearmodifiers", "ctrl+a")
        self.type_text(text)
        self.xdo("key", step.pick(4, ["Return", "Return", "Tab", "Escape", "Down"]))

    def do_add_files(self, step, main):
        if step.u[0] < 0.6:
            self.key_to(self.main, "ctrl+o")
        else:
            self.click_main(*BUTTONS["open"])

    def do_remove_files(self, step, main):
        row = int(step.u[0] * 4)
        x, y = self.cell(row, 1)
        self.click_main(x, y)
        how = step.pick(1, ["ctrl+r", "button", "ctrl+r", "button", "Delete", "ctrl+l", "clear button"])
        if how == "button":
            self.click_main(*BUTTONS["remove"])
        elif how == "clear button":
            self.click_main(*BUTTONS["clear"])
        else:
            self.key_to(self.main, how)

    def do_choose_profile(self, step, main):
        which = "profile" if step.u[0] < 0.6 else "filetype"
        self.click_main(*BUTTONS[which])
        time.sleep(0.2)
        self.xdo("key", *(["Down"] * int(step.u[1] * 8) + ["Up"] * int(step.u[2] * 3)))
        self.xdo("key", "Return" if step.u[3] < 0.85 else "Escape")

    def do_options(self, step, main):
        options = [w for w in self.windows() if w.title == OPTIONS]
        if not options:
            if step.u[0] < 0.5:
                self.key_to(self.main, "ctrl+i")
            else:
                self.click_main(*BUTTONS["options"])
            wait_until(lambda: any(w.title == OPTIONS for w in self.windows()), 3, 0.1)
            options = [w for w in self.windows() if w.title == OPTIONS]
            if not options:
                return
        window = options[0]
        for i in range(int(step.u[1] * 4)):
            self.click_at(window.x + step.u[2 + i] * window.width, window.y + step.u[(5 + i) % 8] * window.height)
            time.sleep(0.1)
        if step.u[7] < 0.5:
            self.key_to(window.id, "Escape")
        elif step.u[7] < 0.8:
            self.close_window(window.id)

    def do_convert(self, step, main):
        how = step.pick(0, ["ctrl+s", "ctrl+n", "button"])
        if how == "button":
            self.click_main(*BUTTONS["convert"])
        else:
            self.key_to(self.main, how)
        wait_until(lambda: any(w.title == PROGRESS for w in self.windows()), 1, 0.1)

    def do_stop_conversion(self, step, main):
        progress = [w for w in self.windows() if w.title == PROGRESS]
        if not progress:
            return
        window = progress[0]
        if step.u[0] < 0.5:
            self.close_window(window.id)
        elif step.u[0] < 0.75:
            self.key_to(window.id, "Escape")
        else:
            # The Stop button sits at the bottom right.
            self.click_at(window.x + window.width - 50, window.y + window.height - 37)
        self.events["conversions stopped"] += 1

    def do_preview(self, step, main):
        if step.u[0] < 0.5:
            x, y = self.cell(int(step.u[1] * 4), 1)
            self.click_main(x, y)
        control = step.pick(2, ["play", "pause", "stop"])
        if step.u[3] < 0.5:
            self.click_main(*BUTTONS[control])
        else:
            self.key_to(self.main, {"play": "ctrl+p", "pause": "ctrl+u", "stop": "ctrl+t"}[control])
        self.events["preview " + control] += 1

    def do_output_folder(self, step, main):
        if step.u[0] < 0.5:
            self.key_to(self.main, "ctrl+b")
        else:
            self.click_main(*BUTTONS["browse"])

    def do_wait(self, step, main):
        time.sleep(0.3 + step.u[0] * 1.5)

    def do_close_program(self, step, main):
        if self.close_program():
            self.start_program()

    # --- the run -------------------------------------------------------
    def run(self):
        become_subreaper()
        plan = [Step(self.rng) for _ in range(self.actions)]
        digest = hashlib.sha256("\n".join(map(str, plan)).encode()).hexdigest()[:16]
        print(f"robot: plan of {self.actions} actions, fingerprint {digest}", flush=True)
        started = time.monotonic()
        self.desktop = Desktop(self.trial.scratch)
        try:
            self.screen = Screen(self.desktop.name)
            self.start_program()
            self.idle_since = None
            self.converting = False
            for number, step in enumerate(plan, 1):
                while self.answer_boxes():
                    self.settle()
                self.history.append(f"{number}: {step}")
                began = time.monotonic()
                self.act(step)
                self.done[step.kind] += 1
                self.settle()
                self.seconds[step.kind] += time.monotonic() - began
                if number % 100 == 0:
                    print(f"robot: {number} actions, {time.monotonic() - started:.0f} s", flush=True)
            self.finish()
        except RobotFailure as failure:
            self.fail(failure)
            return 1
        finally:
            self.trial.stop()
            self.desktop.stop()
        self.summary(started)
        return 0

    def settle(self):
        time.sleep(0.05)
        self.check_alive()
        self.check_reports()
        self.check_answers()
        self.check_no_encoder_after_job()

    def finish(self):
        """Ends the last round: every box answered, a job stopped, the window closed."""
        for _ in range(60):
            progress = [w for w in self.windows() if w.title == PROGRESS]
            if progress:
                if not self.close_window(progress[0].id):
                    self.answer_boxes()
            elif not self.answer_boxes():
                if self.close_program():
                    return
            self.settle()
            time.sleep(0.5)
        raise RobotFailure("the program did not close in 60 tries")

    def fail(self, failure):
        print(f"robot: FAILED: {failure}", flush=True)
        print("robot: the last steps:\n  " + "\n  ".join(self.history), flush=True)
        try:
            shot = os.path.join(self.trial.scratch, "failure.png")
            os.system(f"DISPLAY={self.desktop.name} import -window root '{shot}' 2>/dev/null")
            print(f"robot: the screen: {shot}", flush=True)
        except Exception:
            pass

    def summary(self, started):
        minutes, seconds = divmod(int(time.monotonic() - started), 60)
        print(f"robot: PASSED: {self.actions} actions with seed {self.seed} in {minutes} min {seconds} s")
        print("robot: actions by kind (count, seconds): " + ", ".join(
            f"{k} {v} {self.seconds[k]:.0f}s" for k, v in sorted(self.done.items())))
        print("robot: events: " + ", ".join(f"{k} {v}" for k, v in sorted(self.events.items())))
        calls = collections.Counter()
        if os.path.exists(self.trial.desktop_log):
            with open(self.trial.desktop_log) as log:
                for line in log:
                    calls[line.split()[0]] += 1
        print("robot: desktop programs asked for: " + (", ".join(f"{k} {v}" for k, v in sorted(calls.items()))
                                                       or "none"))


def main():
    app_folder, actions, seed, scratch, suppressions = sys.argv[1:6]
    return Robot(app_folder, int(actions), int(seed), scratch, suppressions).run()


if __name__ == "__main__":
    sys.exit(main())
