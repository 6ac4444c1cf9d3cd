#!/usr/bin/env python3
"""sonvarro-convert.exe built for Windows, run under Wine from the
application folder (with evc.exe and Config/ beside it), its outputs checked
with Debian's ffprobe on the Linux side.

    convert_under_wine.py CONVERT_EXE WINE_SH

The tone is made here with Debian's ffmpeg tool.
"""

import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

CONVERT, WINE = sys.argv[1:3]

# Wine reads the Unix arguments in the locale's character set: without a
# UTF-8 locale every letter beyond ASCII would be lost on the way in.
WINE_ENV = dict(os.environ, LC_ALL="C.UTF-8")

ODD_NAME = "it's “Grüße” & 100% Ωmega 音"


def windows_path(path):
    """The path under Wine's drive Z:, which is the Unix root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def decoded(path):
    """The audio stream's codec and decoded length in s."""
    probe = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "a:0", "-show_streams", "-show_frames",
                            "-show_entries", "stream=codec_name,sample_rate:frame=nb_samples", "-of", "json", path],
                           check=True, capture_output=True)
    info = json.loads(probe.stdout)
    stream = info["streams"][0]
    samples = sum(int(frame["nb_samples"]) for frame in info["frames"])
    return stream["codec_name"], samples / int(stream["sample_rate"])


class ConvertUnderWine(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="convert under wine ")
        self.tone = os.path.join(self.folder, ODD_NAME + ".wav")
        subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                        "sine=frequency=440:duration=4:sample_rate=44100", "-ac", "2", self.tone], check=True)

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def run_convert(self, *args):
        return subprocess.run([WINE, CONVERT, *args], stdin=subprocess.DEVNULL, capture_output=True, env=WINE_ENV,
                              timeout=300)

    def test_an_odd_name_to_two_types(self):
        for type_name, codec in [("mp3", "mp3"), ("ogg", "vorbis")]:
            with self.subTest(type_name):
                out = os.path.join(self.folder, f"{ODD_NAME} {type_name}")
                os.mkdir(out)
                run = self.run_convert("-q", "-t", type_name, "-o", windows_path(out), windows_path(self.tone))
                self.assertEqual(run.returncode, 0, run.stderr.decode("utf-8", "replace"))
                outputs = glob.glob(os.path.join(glob.escape(out), "*." + type_name))
                self.assertEqual([os.path.basename(o) for o in outputs], [f"{ODD_NAME}.{type_name}"])
                found_codec, seconds = decoded(outputs[0])
                self.assertEqual(found_codec, codec)
                self.assertAlmostEqual(seconds, 4.0, delta=0.1)

    def test_a_missing_source_fails_and_writes_nothing(self):
        out = os.path.join(self.folder, "out")
        os.mkdir(out)
        run = self.run_convert("-q", "-t", "wav", "-o", windows_path(out),
                               windows_path(os.path.join(self.folder, ODD_NAME + " missing.wav")))
        self.assertNotEqual(run.returncode, 0)
        self.assertIn(ODD_NAME + " missing.wav", run.stderr.decode("utf-8", "replace"))
        self.assertEqual(os.listdir(out), [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
