#!/usr/bin/env python3
"""evc.exe built for Windows, run under Wine with the command lines the
program builds, its outputs checked with Debian's ffprobe on the Linux side.

    evc_under_wine.py EVC_EXE WINE_SH OBJDUMP

The test media is made here with Debian's ffmpeg tool.
"""

import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

EVC, WINE, OBJDUMP = sys.argv[1:4]

# Wine reads the Unix arguments in the locale's character set: without a
# UTF-8 locale every letter beyond ASCII would be lost on the way in.
WINE_ENV = dict(os.environ, LC_ALL="C.UTF-8")

# A name with blanks, quotes Windows allows in file names, "&", "%" and
# letters beyond ASCII.
ODD_NAME = "it's “Grüße” & 100% Ωmega 音"

# The options the program puts between "-i SOURCE" and the output for each
# type's default preset (as its log shows them), with the codec, channels
# and rate ffprobe must find (AC-3 has no 22050 Hz: the nearest it takes).
PROGRAM_LINES = [
    (".amr", "-acodec amr_nb -s 176x144 -b 128 -ab 128 -vol 200 -ac 1 -ar 8000", "amr_nb", 1, 8000),
    (".aac", "-acodec aac -vn -ab 128 -vol 200 -ac 1 -ar 22050", "aac", 1, 22050),
    (".mp3", "-acodec mp3 -vn -ab 128 -vol 200 -ac 2 -ar 44100", "mp3", 2, 44100),
    (".ac3", "-acodec ac3 -vn -ab 128 -vol 200 -ac 1 -ar 22050", "ac3", 1, 32000),
    (".m4a", "-acodec aac -vn -ab 128 -vol 200 -ac 2 -ar 44100", "aac", 2, 44100),
    (".ogg", "-acodec vorbis -vn -ab 128 -vol 200 -ac 1 -ar 22050", "vorbis", 1, 22050),
    (".wav", "-acodec pcm_s16le -vn -ab 128 -vol 200 -ac 2 -ar 44100", "pcm_s16le", 2, 44100),
]

# What evc.exe may import: Windows' own libraries, nothing shipped beside it.
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "bcrypt.dll", "user32.dll", "ole32.dll", "advapi32.dll",
               "shell32.dll", "ws2_32.dll"}


def windows_path(path):
    """The path under Wine's drive Z:, which is the Unix root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def make_media(path, seconds, *extra):
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                    f"sine=frequency=440:duration={seconds}:sample_rate=44100", *extra, path], check=True)


def decoded(path):
    """The audio stream's codec, channels, rate and decoded length in s."""
    probe = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "a:0", "-show_streams", "-show_frames",
                            "-show_entries", "stream=codec_name,channels,sample_rate:frame=nb_samples",
                            "-of", "json", path], check=True, capture_output=True)
    info = json.loads(probe.stdout)
    stream = info["streams"][0]
    samples = sum(int(frame["nb_samples"]) for frame in info["frames"])
    rate = int(stream["sample_rate"])
    return stream["codec_name"], int(stream["channels"]), rate, samples / rate


class Run:
    def __init__(self, code, out, err):
        self.code, self.out, self.err = code, out, err
        self.err_lines = err.decode("utf-8").splitlines()


def run_evc(args, timeout=120):
    done = subprocess.run([WINE, EVC, *args], stdin=subprocess.PIPE, capture_output=True, env=WINE_ENV,
                          timeout=timeout)
    return Run(done.returncode, done.stdout, done.stderr)


def run_and_stop(args, stop_on, timeout=60):
    """Starts evc.exe and, once its standard output holds `stop_on`, stops it
    as a console's Ctrl+C does (Wine turns SIGINT into that event)."""
    child = subprocess.Popen([WINE, EVC, *args], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, env=WINE_ENV)
    out = b""
    deadline = time.monotonic() + timeout
    while stop_on not in out and time.monotonic() < deadline:
        chunk = os.read(child.stdout.fileno(), 4096)
        if not chunk:
            break
        out += chunk
    stopped = stop_on in out and child.poll() is None
    if stopped:
        child.send_signal(signal.SIGINT)
    rest, err = child.communicate(timeout=timeout)
    return stopped, Run(child.returncode, out + rest, err)


class EvcUnderWine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # Wine's server ends a few seconds after its last program and takes
        # seconds to start again: a command prompt waiting on its input keeps
        # it up between the runs, until the input is closed.
        cls.keep_wine_up = subprocess.Popen([WINE, "cmd.exe"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL, env=WINE_ENV)
        cls.folder = tempfile.mkdtemp(prefix="evc under wine ")
        cls.odd_wav = cls.path(ODD_NAME + ".wav")
        make_media(cls.odd_wav, 4, "-ac", "2")
        # A film: a video track the encoder never decodes, AAC audio.
        cls.film = cls.path("film clip.mp4")
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=4",
                        "-f", "lavfi", "-i", "sine=frequency=440:duration=4:sample_rate=48000", "-c:v", "mpeg4",
                        "-c:a", "aac", "-ac", "2", "-shortest", cls.film], check=True)
        cls.vorbis = cls.path(ODD_NAME + ".ogg")
        make_media(cls.vorbis, 4, "-c:a", "libvorbis")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)
        cls.keep_wine_up.stdin.close()
        cls.keep_wine_up.wait(timeout=30)

    @classmethod
    def path(cls, name):
        return os.path.join(cls.folder, name)

    def convert(self, source, extension, options, trim=("00:00:00", "4")):
        output = self.path(f"{os.path.basename(source)} out{extension}")
        args = ["-y", "-i", windows_path(source), *options.split(), "-ss", trim[0], "-t", trim[1],
                windows_path(output)]
        return output, run_evc(args)

    def expect_output(self, output, run, codec, channels, rate, seconds):
        self.assertEqual(run.code, 0, run.err.decode("utf-8"))
        self.assertEqual(decoded(output)[:3], (codec, channels, rate))
        self.assertAlmostEqual(decoded(output)[3], seconds, delta=0.1)
        # The status lines read as on Linux: "\r" between them, "\n" after
        # the last, never a "\r\n" of a text-mode stream. Their time is the
        # end of what was written, whole encoder frames.
        last = re.search(rb"size= *\d+kB time=(\d+\.\d\d) bitrate= *[\d.]+kbits/s\n$", run.out)
        self.assertIsNotNone(last, run.out)
        self.assertAlmostEqual(float(last.group(1)), seconds, delta=0.1)
        self.assertNotIn(b"\r\n", run.out)

    def test_every_output_type_from_an_odd_name(self):
        for extension, options, codec, channels, rate in PROGRAM_LINES:
            with self.subTest(extension):
                output, run = self.convert(self.odd_wav, extension, options)
                self.expect_output(output, run, codec, channels, rate, 4.0)
                self.assertIn(ODD_NAME, run.out.decode("utf-8"))

    def test_other_containers_and_a_trim(self):
        cases = [(self.film, 0), (self.film, 4), (self.vorbis, 6), (self.vorbis, 2)]
        for source, line in cases:
            extension, options, codec, channels, rate = PROGRAM_LINES[line]
            with self.subTest(os.path.basename(source) + extension):
                output, run = self.convert(source, extension, options, trim=("00:00:01", "2"))
                self.expect_output(output, run, codec, channels, rate, 2.0)

    def test_a_long_file_is_encoded_on_several_encoders_at_once(self):
        source = self.path(ODD_NAME + " long.wav")
        make_media(source, 60, "-ac", "2")
        extension, options, codec, channels, rate = PROGRAM_LINES[2]
        output, run = self.convert(source, extension, options, trim=("00:00:00", "60"))
        self.assertIn(b"Encoding in chunks of", run.out)  # one encoder thread per core
        self.expect_output(output, run, codec, channels, rate, 60.0)

    def expect_clean_failure(self, run, code, names, output):
        self.assertEqual(run.code, code, run.err)
        self.assertEqual(len(run.err_lines), 1, run.err)
        self.assertIn(names, run.err_lines[0])
        if output:
            self.assertFalse(os.path.exists(output), output)

    def test_failures_as_on_linux(self):
        damaged = self.path(ODD_NAME + " damaged.mp3")
        with open(damaged, "wb") as f:
            f.write(random.Random(12345).randbytes(100000))
        cut = self.path("cut.ogg")
        shutil.copy(self.vorbis, cut)
        os.truncate(cut, 200)
        a_file = self.path("a file")
        with open(a_file, "w") as f:
            f.write("not a folder")
        text = self.path("notes.avi")
        with open(text, "w") as f:
            f.write("This is not a video, just some text.\n")
        out = self.path("out.mp3")
        # Random bytes may pass for a container without audio or for none.
        cases = [
            ([damaged, out], 3, "", "damaged.mp3", out),
            ([text, out], 3, "is not a media file this program can read", "notes.avi", out),
            ([cut, out], 3, "ends early", "cut.ogg", out),
            ([self.path("missing.wav"), out], 3, "does not exist", "missing.wav", out),
            ([self.odd_wav, self.path("no folder/out.mp3")], 4, "its folder does not exist", "no folder", None),
            ([self.odd_wav, os.path.join(a_file, "out.mp3")], 4, "a file stands where its folder should be",
             "a file", None),
            ([self.odd_wav, "/proc/evc-test.mp3"], 4, "its folder takes no new files", "evc-test.mp3", None),
            ([self.odd_wav, self.odd_wav], 4, "is the input file itself", ODD_NAME, None),
        ]
        for (source, output), code, says, names, gone in cases:
            with self.subTest(names):
                run = run_evc(["-y", "-i", windows_path(source), "-acodec", "mp3", "-vn", windows_path(output)])
                self.expect_clean_failure(run, code, names, gone)
                self.assertIn(says, run.err_lines[0])
        self.assertEqual(decoded(self.odd_wav)[0], "pcm_s16le", "the source survives")

    def test_an_existing_output_is_overwritten_only_with_y(self):
        taken = self.path("taken.wav")
        with open(taken, "w") as f:
            f.write("keep me")
        refused = run_evc(["-i", windows_path(self.odd_wav), windows_path(taken)])
        self.expect_clean_failure(refused, 4, "taken.wav", None)
        with open(taken) as f:
            self.assertEqual(f.read(), "keep me")
        overwritten = run_evc(["-y", "-i", windows_path(self.odd_wav), windows_path(taken)])
        self.assertEqual(overwritten.code, 0, overwritten.err)
        self.assertEqual(decoded(taken)[0], "pcm_s16le")

    def test_a_stop_ends_the_run_and_removes_the_partial_output(self):
        long_source = self.path("long one.wav")
        make_media(long_source, 300, "-ac", "1")
        for stop_on, codec, extension in [(b"Input", "vorbis", ".ogg"), (b"size=", "vorbis", ".ogg"),
                                          (b"size=", "mp3", ".mp3")]:
            with self.subTest(f"{stop_on} {codec}"):
                output = self.path(ODD_NAME + " stopped" + extension)
                started = time.monotonic()
                stopped, run = run_and_stop(["-y", "-i", windows_path(long_source), "-acodec", codec,
                                             windows_path(output)], stop_on)
                self.assertTrue(stopped, run.out)
                self.assertLess(time.monotonic() - started, 30)
                self.expect_clean_failure(run, 5, ODD_NAME, output)
                self.assertIn("stopped", run.err_lines[0])

    def test_needs_no_dll_beyond_the_systems(self):
        headers = subprocess.run([OBJDUMP, "-p", EVC], check=True, capture_output=True, text=True).stdout
        imported = {line.split(":", 1)[1].strip().lower() for line in headers.splitlines() if "DLL Name:" in line}
        self.assertIn("kernel32.dll", imported)
        self.assertLessEqual(imported, SYSTEM_DLLS)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
