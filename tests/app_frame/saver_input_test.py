"""The screen saver of the distribution as built, started under Wine on the
build's Xvfb display and driven with real input (xdotool): with "/s" a key
press or mouse move ends it, and its window leaves the screen at once, long
before the program has finished cleaning up; with "/debug" the capture key
saves the frame into the distribution's capture folder. Run by CTest on the
build machine; it drives the real program from outside.

    saver_input_test.py SOURCE_DIR BUILD_DIR ARCH
"""
import contextlib
import glob
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

SOURCE, BUILD, ARCH = sys.argv[1:4]
del sys.argv[1:4]
TOOLS = os.path.join(SOURCE, "tools")
# The figure the user sees is well under half a second; the bound leaves room
# for a busy machine, and the clean-up alone keeps the window about two
# seconds longer.
OFF_SCREEN_WITHIN = 1.0


def display():
    with open(os.path.join(BUILD, "wine", "xvfb.display")) as f:
        return ":" + f.read().strip()


def off_screen(window, env):
    """Unmapped, destroyed, or drawn with an empty shape: nothing of it shows."""
    info = subprocess.run(["xwininfo", "-id", window, "-shape"], env=env, capture_output=True, text=True).stdout
    return "IsViewable" not in info or "Window shape extents:  0x0" in info


def end_savers(env):
    """Kills what is left of a failed run (Wine gives each window its process's id)."""
    found = subprocess.run(["xdotool", "search", "--name", "^Orvex Engine Reefmoor 2$"], env=env,
                           capture_output=True, text=True).stdout.split()
    for window in found:
        pid = subprocess.run(["xdotool", "getwindowpid", window], env=env, capture_output=True, text=True).stdout
        if pid.strip().isdigit():
            os.kill(int(pid), signal.SIGKILL)


class SaverInputTest(unittest.TestCase):
    def setUp(self):
        subprocess.run([os.path.join(TOOLS, "wine-run.sh"), "--build", BUILD, "--arch", ARCH, "--prepare"], check=True)
        self.env = dict(os.environ, DISPLAY=display())

    @contextlib.contextmanager
    def saver(self, mode, limit):
        """The distribution's program started with `mode`, once its frames show:
        (the runner, its window). A saver left running would make the next run
        a second instance: whatever is left of it is ended."""
        program = subprocess.Popen(
            [os.path.join(TOOLS, "wine-run.sh"), "--build", BUILD, "--arch", ARCH, "--timeout", str(limit),
             os.path.join(BUILD, "dist", "Qelvar.scr"), mode],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            waited = subprocess.run([os.path.join(TOOLS, "wait-saver.sh"), self.env["DISPLAY"], "60"],
                                    capture_output=True, text=True)
            self.assertEqual(waited.returncode, 0, waited.stderr)
            yield program, waited.stdout.split()[0]
        finally:
            if program.poll() is None:
                end_savers(self.env)
                program.wait(30)

    def test_input_ends_the_saver_and_its_window_leaves_the_screen_at_once(self):
        env = self.env
        for name, action in (("key press", ["key", "space"]), ("mouse move", ["mousemove_relative", "40", "40"])):
            with self.subTest(input=name):
                # Away from the screen's edges, so that the move is a whole one.
                subprocess.run(["xdotool", "mousemove", "400", "300"], env=env, check=True)
                with self.saver("/s", 90) as (program, window):
                    self.assertFalse(off_screen(window, env))
                    start = time.monotonic()
                    subprocess.run(["xdotool"] + action, env=env, check=True)
                    while not off_screen(window, env) and time.monotonic() - start < 30:
                        time.sleep(0.01)
                    gone = time.monotonic() - start
                    self.assertEqual(program.wait(30), 0)
                    ended = time.monotonic() - start
                print("%s: window off the screen after %.2f s, program ended after %.2f s" % (name, gone, ended))
                self.assertLess(gone, OFF_SCREEN_WITHIN)

    def test_the_capture_key_saves_the_frame_into_the_distributions_folder(self):
        env = self.env
        capture = os.path.join(BUILD, "dist", "capture")
        self.assertTrue(os.path.isdir(capture), "the distribution carries no capture folder")
        before = set(glob.glob(os.path.join(capture, "L*.bmp")))
        # The first free number: L0000.bmp in a fresh build.
        number = 0
        while os.path.join(capture, "L%04d.bmp" % number) in before:
            number += 1
        shot = os.path.join(capture, "L%04d.bmp" % number)
        try:
            with self.saver("/debug", 120) as (program, window):
                subprocess.run(["xdotool", "key", "--window", window, "c"], env=env, check=True)
                start = time.monotonic()
                while time.monotonic() - start < 60 and not (os.path.exists(shot) and os.path.getsize(shot) > 54):
                    time.sleep(0.2)
                time.sleep(1.0)  # the whole file
                self.assertTrue(os.path.exists(shot), "no %s" % shot)
                with open(shot, "rb") as f:
                    header = f.read(54)
                self.assertEqual(header[:2], b"BM")
                self.assertEqual(int.from_bytes(header[2:6], "little"), os.path.getsize(shot))
                artefacts = os.path.join(BUILD, "artefacts")
                os.makedirs(artefacts, exist_ok=True)
                shutil.copyfile(shot, os.path.join(artefacts, "dist_capture.bmp"))
                subprocess.run(["xdotool", "key", "--window", window, "Escape"], env=env, check=True)
                self.assertEqual(program.wait(60), 0)
        finally:
            # The distribution is left as it was built.
            for made in set(glob.glob(os.path.join(capture, "L*.bmp"))) - before:
                os.remove(made)

if __name__ == "__main__":
    unittest.main()
