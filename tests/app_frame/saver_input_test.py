"""The screen saver started with "/s" under Wine on the build's Xvfb display:
a real key press or mouse move (xdotool) ends it, and its window leaves the
screen at once, long before the program has finished cleaning up. Run by CTest
on the build machine; it drives the real program from outside.

    saver_input_test.py SOURCE_DIR BUILD_DIR ARCH
"""
import os
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
    def test_input_ends_the_saver_and_its_window_leaves_the_screen_at_once(self):
        subprocess.run([os.path.join(TOOLS, "wine-run.sh"), "--build", BUILD, "--arch", ARCH, "--prepare"], check=True)
        env = dict(os.environ, DISPLAY=display())
        for name, action in (("key press", ["key", "space"]), ("mouse move", ["mousemove_relative", "40", "40"])):
            with self.subTest(input=name):
                # Away from the screen's edges, so that the move is a whole one.
                subprocess.run(["xdotool", "mousemove", "400", "300"], env=env, check=True)
                program = subprocess.Popen(
                    [os.path.join(TOOLS, "wine-run.sh"), "--build", BUILD, "--arch", ARCH, "--timeout", "90",
                     os.path.join(BUILD, "dist", "Qelvar.scr"), "/s"],
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                try:
                    waited = subprocess.run([os.path.join(TOOLS, "wait-saver.sh"), env["DISPLAY"], "60"],
                                            capture_output=True, text=True)
                    self.assertEqual(waited.returncode, 0, waited.stderr)
                    window = waited.stdout.split()[0]
                    self.assertFalse(off_screen(window, env))
                    start = time.monotonic()
                    subprocess.run(["xdotool"] + action, env=env, check=True)
                    while not off_screen(window, env) and time.monotonic() - start < 30:
                        time.sleep(0.01)
                    gone = time.monotonic() - start
                    self.assertEqual(program.wait(30), 0)
                    ended = time.monotonic() - start
                finally:
                    # A saver left running would make the next program run a second instance.
                    if program.poll() is None:
                        end_savers(env)
                        program.wait(30)
                print("%s: window off the screen after %.2f s, program ended after %.2f s" % (name, gone, ended))
                self.assertLess(gone, OFF_SCREEN_WITHIN)


if __name__ == "__main__":
    unittest.main()
