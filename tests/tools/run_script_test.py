"""tools/run.sh and tools/test.sh (and wine-run.sh under them) in a copy of
tools/ where the set-up, the build, Wine's loader and server are stand-ins and
the screen saver is a fake (a shell script; ImageMagick's "display" shows its
blue "frames"). Each copy gets a real Xvfb of its own: the build's display
and Wine server, which other tests of the same ctest run use, are never
touched. Run by CTest on the build machine, not under Wine.

    run_script_test.py SOURCE_DIR
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

SOURCE = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
# Started in the background, this process would pass Ctrl-C on as ignored.
signal.signal(signal.SIGINT, signal.default_int_handler)


def interrupted(*_):
    raise KeyboardInterrupt


# A suite that is ended (tools/test.sh interrupted) ends this test with a TERM:
# the trees made so far are cleaned up all the same.
signal.signal(signal.SIGTERM, interrupted)
TREES = []

STANDINS = {
    "tools/setup.sh": 'echo "setup: ready"',
    "tools/build.sh": "exit 0",
    "tools/test-arch.sh": "echo i686",
    # The loader runs the "Windows program" as the script it is.
    "fake/wine/wine": 'if [ "$1" = wineboot ]; then mkdir -p "$WINEPREFIX"; touch "$WINEPREFIX/system.reg"\n'
                      'else exec "$@"; fi',
    "fake/bin/wineserver": 'echo "wineserver $* WINEPREFIX=$WINEPREFIX" >>"$FAKE/calls.log"',
    "fake/bin/Xvfb": 'echo $$ >>"$FAKE/xvfb.pids"; exec %s "$@"' % shutil.which("Xvfb"),
}
# A fake program says it started and ignores Ctrl-C, as a program under Wine may.
START = 'echo "fake saver: started"; trap "" INT\n'
FRAMES = 'display -title "Orvex Engine Reefmoor 2" -geometry +0+0 -size 320x240 xc:blue & shown=$!\n'
PROGRAMS = {
    # Ends on a mouse move, as a screen saver does.
    "ends_on_input": FRAMES + 'at() { xdotool getmouselocation --shell 2>/dev/null | head -n 2; }\n'
                              'start=; while [ -z "$start" ]; do start="$(at)"; done\n'
                              'while now="$(at)"; [ -z "$now" ] || [ "$now" = "$start" ]; do sleep 0.1; done\n'
                              'kill $shown; echo "fake saver: ended on input"',
    "never_shows_frames": "while :; do sleep 0.2; done",
    "dies_at_once": 'sleep 1; echo "fake saver: giving up"; exit 3',
    "ends_before_the_screenshot": FRAMES + 'sleep 1.5; kill $shown; echo "fake saver: ended early"',
}
# A test program of a suite: it notes its start and takes a while to end on a
# TERM, as a program under Wine does.
SLOW_TEST = ('echo "$1" >>"$FAKE/started"; trap \'sleep 1.5; echo "$1" >>"$FAKE/ended"; exit 143\' TERM\n'
             'sleep 60 & wait $!')


def write_script(path, body):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write("#!/bin/bash\n" + body + "\n")
    os.chmod(path, 0o755)


def running(marker, pids=None):
    """The processes (no zombies), all or those given by pid, that run and
    carry the marker in their environment (pids are taken again soon here)."""
    found = []
    for pid in (int(p) for p in os.listdir("/proc") if p.isdigit()):
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            if fields[0] != "Z" and (pids is None or pid in pids):
                with open("/proc/%d/environ" % pid, "rb") as f:
                    if marker in f.read().split(b"\0"):
                        found.append(pid)
        except OSError:
            continue
    return found


def finish(process, limit, start=None):
    """(code, stdout + stderr, stderr, seconds since start); past the limit it is killed (code None)."""
    start = start or time.monotonic()
    try:
        out, err = process.communicate(timeout=max(1, limit - (time.monotonic() - start)))
        code = process.returncode
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        out, err = process.communicate()
        code = None
    return code, out + err, err, time.monotonic() - start


def wait_for(condition, limit=20):
    end = time.monotonic() + limit
    while not condition():
        if time.monotonic() > end:
            raise AssertionError("not within %d s" % limit)
        time.sleep(0.05)


class Tree:
    """A copy of tools/ with the stand-ins, a build tree and a fake program."""

    def __init__(self, test, program):
        self.root = tempfile.mkdtemp(prefix="qv_run_")
        test.addCleanup(self.clean_up)
        self.build = os.path.join(self.root, "build")
        self.fake = os.path.join(self.root, "fake")
        os.makedirs(self.tool(""))
        for name in ("run.sh", "test.sh", "wine-run.sh", "wait-saver.sh"):
            shutil.copy(os.path.join(SOURCE, "tools", name), self.tool(name))
        for name, body in STANDINS.items():
            write_script(os.path.join(self.root, name), body)
        write_script(os.path.join(self.build, "dist", "Qelvar.scr"), START + PROGRAMS[program])
        self.env = {k: v for k, v in os.environ.items() if not k.startswith("QV_") and k != "DISPLAY"}
        self.env.update(PATH=os.path.join(self.fake, "bin") + os.pathsep + os.environ["PATH"], FAKE=self.fake,
                        QV_WINE_LIB=os.path.join(self.fake, "wine"))
        self.marker = ("FAKE=" + self.fake).encode()
        TREES.append(self)

    def tool(self, name):
        return os.path.join(self.root, "tools", name)

    def read(self, path):
        try:
            with open(os.path.join(self.fake, path)) as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def start(self, *command, **env):
        # Ctrl-C at its default, as under a terminal: bash cannot trap a signal it was started ignoring.
        process = subprocess.Popen(command, cwd=self.root, env=dict(self.env, **env), start_new_session=True,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                   preexec_fn=lambda: signal.signal(signal.SIGINT, signal.SIG_DFL))
        return process

    def wine_run(self, *args, **env):
        return self.start(self.tool("wine-run.sh"), "--build", self.build, *args, **env)

    def stop(self):
        subprocess.run([self.tool("wine-run.sh"), "--build", self.build, "--stop"], env=self.env, check=True)

    def processes(self):
        """The scripts' and the programs' processes, whatever their session."""
        displays = self.displays()
        return [pid for pid in running(self.marker) if pid not in displays]

    def displays(self):
        return running(self.marker, pids=[int(p) for p in self.read("xvfb.pids").split()])

    def write_suite(self, tests):
        """A CTest suite in the build tree: (name, program body, properties) each."""
        with open(os.path.join(self.build, "CTestTestfile.cmake"), "w") as f:
            for name, body, properties in tests:
                program = os.path.join(self.build, name + ".exe")
                write_script(program, body)
                f.write('add_test(%s "%s" --build "%s" "%s" %s)\n' % (name, self.tool("wine-run.sh"), self.build,
                                                                     program, name))
                if properties:
                    f.write("set_tests_properties(%s PROPERTIES %s)\n" % (name, properties))

    def left_running(self):
        return self.processes() + self.displays()

    def clean_up(self):
        for pid in self.left_running():
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.root, ignore_errors=True)


class RunScriptTest(unittest.TestCase):
    def assert_nothing_left(self, tree):
        self.assertEqual(tree.left_running(), [])
        prefix = os.path.join(tree.build, "wine", "prefix")
        self.assertIn("wineserver -k WINEPREFIX=" + prefix, tree.read("calls.log").splitlines())

    def test_the_run_ends_soon_names_a_log_holding_the_output_and_leaves_nothing_running(self):
        # program, environment, Ctrl-C, code, message, output in the log, seconds allowed
        cases = (
            ("ends_on_input", {"QV_RUN_SECONDS": "1"}, False, 0, "ended on Esc", "ended on input", 20),
            ("never_shows_frames", {"QV_RUN_WAIT": "3"}, False, 1, "showed no frames within 3s", "started", 12),
            ("dies_at_once", {"QV_RUN_WAIT": "60"}, False, 1, "ended before it showed frames", "giving up", 10),
            ("ends_before_the_screenshot", {"QV_RUN_SECONDS": "6"}, False, 1,
             "ended by itself before the screenshot", "ended early", 10),
            ("never_shows_frames", {"QV_RUN_WAIT": "60"}, True, 130, "interrupted", "started", 8),
        )
        # Independent runs (a tree and a display each), all at once; a thread
        # each notes when its run ends.
        runs = []
        for case in cases:
            tree = Tree(self, case[0])
            run = tree.start(tree.tool("run.sh"), **case[1])
            waiter = threading.Thread(target=lambda r=run: setattr(r, "result", finish(r, 60) + (time.monotonic(),)))
            waiter.start()
            runs.append((tree, run, waiter, time.monotonic()))
        for (program, _, interrupt, code, message, output, seconds), (tree, run, waiter, start) in zip(cases, runs):
            with self.subTest(program=program, interrupt=interrupt):
                log = lambda: tree.read(os.path.join(tree.build, "run.log"))
                if interrupt:
                    # As a terminal's Ctrl-C: to the script's process group, not the program's.
                    wait_for(lambda: "started" in log())
                    os.killpg(run.pid, signal.SIGINT)
                    start = time.monotonic()
                waiter.join()
                rc, out, err, _, ended = run.result
                out += "\n--- run.log:\n" + log()
                self.assertEqual(rc, code, out)
                self.assertLess(ended - start, seconds, out)
                self.assertIn(message, out)
                self.assertIn("fake saver: " + output, log())
                if code:
                    self.assertIn("build/run.log", err)
                else:
                    self.assertTrue(os.path.getsize(os.path.join(tree.build, "screenshot.png")))
                self.assert_nothing_left(tree)

    def test_a_display_in_use_by_another_program_is_left_to_it_and_stopped_after(self):
        tree = Tree(self, "dies_at_once")
        other = os.path.join(tree.build, "other.exe")
        write_script(other, START + PROGRAMS["never_shows_frames"])
        # Another user of the build's display, as a test of a suite would be.
        suite = tree.wine_run("--timeout", "60", "--log", os.path.join(tree.fake, "other.log"), other)
        wait_for(lambda: tree.read("other.log"))
        rc, out, _, _ = finish(tree.start(tree.tool("run.sh")), 40)
        self.assertEqual(rc, 1, out)
        self.assertIn("left running", out)
        self.assertEqual(len(tree.displays()), 1)
        self.assertNotIn("wineserver -k", tree.read("calls.log"))
        # A TERM ends that program at once; then the display can go.
        suite.terminate()
        self.assertEqual(finish(suite, 10)[0], 143)
        self.assertEqual(tree.processes(), [])
        tree.stop()
        self.assert_nothing_left(tree)

    def test_build_trees_started_at_the_same_moment_get_a_display_each(self):
        trees = [Tree(self, "dies_at_once") for _ in range(6)]
        for _ in range(2):
            for prepare in [tree.wine_run("--prepare") for tree in trees]:
                self.assertEqual(finish(prepare, 30)[0], 0)
            displays = {tree.read(os.path.join(tree.build, "wine", "xvfb.display")) for tree in trees}
            self.assertEqual(len(displays), len(trees), displays)
            for tree in trees:
                tree.stop()
                self.assertEqual(tree.left_running(), [])

    def test_the_test_command_fails_when_no_test_ran_and_leaves_no_display(self):
        tree = Tree(self, "dies_at_once")
        # The program's output still reaches ctest.
        tree.write_suite([(name, 'echo fine; echo "$DISPLAY" >>"$FAKE/displays"', 'PASS_REGULAR_EXPRESSION "fine"')
                          for name in ("first", "second")])
        for args, passes in (([], True), (["-R", "no_such_test"], False)):
            with self.subTest(args=args):
                rc, out, _, _ = finish(tree.start(tree.tool("test.sh"), *args), 60)
                if passes:
                    self.assertEqual(rc, 0, out)
                    self.assertIn("100% tests passed, 0 tests failed out of 2", out)
                    # One display for the whole suite, gone when it ends.
                    displays = tree.read("displays").split()
                    self.assertEqual((len(displays), len(set(displays))), (2, 1), displays)
                    self.assert_nothing_left(tree)
                else:
                    self.assertNotEqual(rc, 0, out)
                    self.assertIn("No tests were found", out)
                    self.assertEqual(tree.left_running(), [])

    def test_the_test_command_interrupted_ends_the_suite_and_then_its_display_and_server(self):
        # How the signal comes, code, another program of the tree on the display (as tools/run.sh)
        cases = (
            ("Ctrl-C", signal.SIGINT, True, 130, False),
            ("TERM to the group", signal.SIGTERM, True, 143, False),
            ("TERM to the script", signal.SIGTERM, False, 143, False),
            ("hang-up", signal.SIGHUP, True, 129, False),
            ("Ctrl-C beside a run", signal.SIGINT, True, 130, True),
        )
        runs = []
        for _, _, _, _, beside in cases:
            tree = Tree(self, "never_shows_frames")
            # Two tests at once, a third only after them: it must never start.
            tree.write_suite([("first", SLOW_TEST, None), ("second", SLOW_TEST, None),
                              ("third", SLOW_TEST, 'DEPENDS "first;second"')])
            other = None
            if beside:
                other = tree.wine_run("--timeout", "60", "--log", os.path.join(tree.fake, "other.log"),
                                      os.path.join(tree.build, "dist", "Qelvar.scr"))
                wait_for(lambda: tree.read("other.log"))
            runs.append((tree, tree.start(tree.tool("test.sh")), other))
        for (how, sig, group, code, beside), (tree, suite, other) in zip(cases, runs):
            with self.subTest(how=how):
                wait_for(lambda: len(tree.read("started").split()) == 2)
                (os.killpg if group else os.kill)(suite.pid, sig)
                rc, out, _, seconds = finish(suite, 30)
                self.assertEqual(rc, code, out)
                self.assertLess(seconds, 10, out)
                self.assertIn("interrupted", out)
                self.assertEqual(sorted(tree.read("started").split()), ["first", "second"], out)
                self.assertEqual(sorted(tree.read("ended").split()), ["first", "second"], out)
                if beside:
                    self.assertIn("left running", out)
                    self.assertEqual(len(tree.displays()), 1)
                    self.assertNotIn("wineserver -k", tree.read("calls.log"))
                    other.terminate()
                    self.assertEqual(finish(other, 10)[0], 143)
                    tree.stop()
                else:
                    self.assertNotIn("left running", out)
                self.assert_nothing_left(tree)


if __name__ == "__main__":
    try:
        unittest.main()
    finally:
        for tree in TREES:
            tree.clean_up()
