"""tools/setup.sh against stand-ins for the package tools (apt-get, dpkg,
dpkg-query, locale, id) that record every call, and tools/test-arch.sh, which
picks the build the tests run, against stand-ins for what the set-up installs;
run by CTest on the build machine, not under Wine.

    setup_script_test.py SOURCE_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
SETUP = os.path.join(SOURCE, "tools", "setup.sh")
BASH = shutil.which("bash")

# Each stand-in appends its command line to calls.log. apt-get's update
# fails as on a mirror caught half synced; its install fails on request.
STANDINS = {
    "apt-get": r'''
echo "apt-get $*" >>"$FAKE/calls.log"
if [ "$1" = update ]; then
  echo "E: Failed to fetch ... File has unexpected size (1234 != 5678). Mirror sync in progress?" >&2
  exit 100
fi
# The package manager's chatter, as on a fresh machine.
for i in $(seq 1 200); do echo "Unpacking chatter-$i (1.0) ..."; done
[ -z "${FAKE_INSTALL_FAILS:-}" ] || { echo "E: Unable to locate package" >&2; exit 100; }
# An i386 index out of step: no 32-bit package can be resolved.
case " $* " in
  *:i386\ *) [ -z "${FAKE_NO_I386:-}" ] || { echo "E: Unable to locate package wine32:i386" >&2; exit 100; } ;;
esac
''',
    "dpkg": r'''
echo "dpkg $*" >>"$FAKE/calls.log"
case "$1" in
  --print-foreign-architectures) cat "$FAKE/arches" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$FAKE/arches" ;;
esac
''',
    # Nothing is installed yet.
    "dpkg-query": "exit 1\n",
    "locale": 'printf "C\\nC.utf8\\nja_JP.utf8\\n"\n',
    "id": 'echo "${FAKE_UID:-0}"\n',
}
SUDO = 'echo "sudo $*" >>"$FAKE/calls.log"\nexec "$@"\n'
# What the script needs besides the stand-ins, for a PATH that holds no sudo.
HOST_TOOLS = ("bash", "dirname", "basename", "mkdir", "date", "stat", "tail", "grep", "seq", "sleep", "env", "sed",
              "tee", "cat")


class SetupScriptTest(unittest.TestCase):
    def run_setup(self, runs_32bit, sudo=None, **env):
        """sudo: None leaves the machine's PATH; True adds a stand-in; False
        leaves only the stand-ins and the few tools the script needs."""
        fake = tempfile.mkdtemp(prefix="qv_setup_")
        self.addCleanup(shutil.rmtree, fake)
        bin_dir = os.path.join(fake, "bin")
        os.mkdir(bin_dir)
        standins = dict(STANDINS, sudo=SUDO) if sudo else STANDINS
        for name, body in standins.items():
            path = os.path.join(bin_dir, name)
            with open(path, "w") as f:
                f.write("#!/bin/bash\n" + body)
            os.chmod(path, 0o755)
        path = bin_dir + os.pathsep + os.environ["PATH"]
        if sudo is False:
            for tool in HOST_TOOLS:
                os.symlink(shutil.which(tool), os.path.join(bin_dir, tool))
            path = bin_dir
        self.log = os.path.join(fake, "logs", "setup.log")
        environment = dict(os.environ, PATH=path, FAKE=fake, QV_SETUP_LOG=self.log,
                           QV_RUNS_32BIT=runs_32bit, QV_SETUP_RETRY_SECONDS="0", **env)
        result = subprocess.run([BASH, SETUP], env=environment, capture_output=True, text=True, timeout=60)
        calls_path = os.path.join(fake, "calls.log")
        calls = []
        if os.path.exists(calls_path):
            with open(calls_path) as f:
                calls = f.read().splitlines()
        return result, calls

    def installs(self, calls):
        return [c for c in calls if c.startswith("apt-get install")]

    def test_a_failing_index_update_is_tried_again_then_the_install_goes_on(self):
        for runs_32bit, asks_i386 in (("0", False), ("1", True)):
            with self.subTest(runs_32bit=runs_32bit):
                result, calls = self.run_setup(runs_32bit)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                self.assertEqual(calls.count("apt-get update -qq"), 3)
                self.assertIn("installing from the indexes there are", result.stderr)
                installs = self.installs(calls)
                self.assertEqual(len(installs), 1, calls)
                self.assertIn(" wine64 ", installs[0])
                self.assertIn(" xdotool ", installs[0])
                if asks_i386:
                    self.assertIn("dpkg --add-architecture i386", calls)
                    self.assertLess(calls.index("dpkg --add-architecture i386"), calls.index("apt-get update -qq"))
                    for package in ("wine32:i386", "libgl1:i386", "libgl1-mesa-dri:i386", "libglx-mesa0:i386"):
                        self.assertIn(package, installs[0].split())
                else:
                    self.assertFalse([c for c in calls if ":i386" in c or "add-architecture" in c], calls)
                    self.assertIn("does not run 32-bit programs", result.stdout)
                self.assertIn("setup: ready", result.stdout)

    def test_the_package_managers_messages_go_to_the_log_and_the_terminal_gets_a_few_lines(self):
        for runs_32bit, fails in (("0", False), ("1", False), ("0", True)):
            with self.subTest(runs_32bit=runs_32bit, fails=fails):
                env = {"FAKE_INSTALL_FAILS": "1"} if fails else {}
                result, _ = self.run_setup(runs_32bit, QV_SETUP_UPDATE_TRIES="1", **env)
                shown = result.stdout + result.stderr
                with open(self.log) as f:
                    log = f.read()
                self.assertEqual(log.count("Unpacking chatter-"), 200)
                self.assertNotIn("chatter", shown)
                self.assertLess(len(shown.splitlines()), 10, shown)
                self.assertRegex(result.stdout, r"installing \d+ packages; this can take several minutes")
                self.assertIn(self.log, result.stdout)
                if fails:
                    # The reason and where the rest is.
                    self.assertIn("E: Unable to locate package", result.stderr)
                    self.assertIn(self.log, result.stderr)

    def test_a_failing_install_ends_with_a_clear_message(self):
        result, calls = self.run_setup("0", FAKE_INSTALL_FAILS="1", QV_SETUP_UPDATE_TRIES="1")
        self.assertNotEqual(result.returncode, 0)
        self.assertEqual(calls.count("apt-get update -qq"), 1)
        self.assertIn("setup: FAILED to install: ", result.stderr)
        self.assertIn(" wine64 ", result.stderr)
        self.assertNotIn("setup: ready", result.stdout)

    def test_unresolvable_32bit_packages_leave_the_rest_installed_and_the_x86_64_build_to_test(self):
        result, calls = self.run_setup("1", FAKE_NO_I386="1", QV_SETUP_UPDATE_TRIES="1")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        installs = self.installs(calls)
        self.assertEqual(len(installs), 2, calls)
        self.assertIn("wine32:i386", installs[0].split())
        self.assertIn(" wine64 ", installs[1])
        self.assertNotIn(":i386", installs[1])
        self.assertIn("could not be installed", result.stderr)
        self.assertIn("the tests run the x86-64 build", result.stderr)
        self.assertIn("setup: ready", result.stdout)

    def test_installing_needs_root_or_sudo(self):
        for uid, sudo, works, through_sudo in (("0", None, True, False), ("1000", True, True, True),
                                               ("1000", False, False, False)):
            with self.subTest(uid=uid, sudo=sudo):
                result, calls = self.run_setup("0", sudo=sudo, FAKE_UID=uid, QV_SETUP_UPDATE_TRIES="1")
                sudo_calls = [c for c in calls if c.startswith("sudo ")]
                if works:
                    self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                    self.assertEqual(len(self.installs(calls)), 1, calls)
                    self.assertEqual(bool(sudo_calls), through_sudo, calls)
                    if through_sudo:
                        self.assertTrue(any(" apt-get install " in c for c in sudo_calls), calls)
                else:
                    self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                    self.assertIn("needs root or sudo", result.stderr)
                    self.assertFalse([c for c in calls if c.startswith("apt-get")], calls)
                    self.assertNotIn("setup: ready", result.stdout)


class TestArchTest(unittest.TestCase):
    """tools/test-arch.sh picks the i686 build only where it can draw: 32-bit
    programs run, 32-bit Wine starts and its GL libraries are there."""

    GL32 = ("libGL.so.1", "libGLX_mesa.so.0", "dri/swrast_dri.so")

    def pick(self, runs_32bit, wine_runs, gl32):
        fake = tempfile.mkdtemp(prefix="qv_arch_")
        self.addCleanup(shutil.rmtree, fake)
        wine_lib, lib32 = os.path.join(fake, "wine"), os.path.join(fake, "lib32")
        os.makedirs(os.path.join(lib32, "dri"))
        os.mkdir(wine_lib)
        with open(os.path.join(wine_lib, "wine"), "w") as f:
            f.write("#!/bin/bash\nexit %d\n" % (0 if wine_runs else 1))
        os.chmod(os.path.join(wine_lib, "wine"), 0o755)
        for name in gl32:
            open(os.path.join(lib32, name), "w").close()
        result = subprocess.run([BASH, os.path.join(SOURCE, "tools", "test-arch.sh")], capture_output=True, text=True,
                                env=dict(os.environ, QV_RUNS_32BIT=runs_32bit, QV_WINE_LIB=wine_lib,
                                         QV_LIB32_DIR=lib32), timeout=30)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.strip(), result.stderr

    def test_the_build_the_tests_run(self):
        everything = self.GL32
        # 32-bit programs run, 32-bit Wine starts, GL libraries there -> build
        cases = (
            ("1", True, everything, "i686"),
            # 32-bit Wine from before the GL loader was asked for, its index now out of step
            ("1", True, everything[1:], "x86_64"),
            ("1", True, everything[:2], "x86_64"),
            ("1", False, everything, "x86_64"),
            ("0", True, everything, "x86_64"),
        )
        for runs_32bit, wine_runs, gl32, arch in cases:
            with self.subTest(runs_32bit=runs_32bit, wine_runs=wine_runs, gl32=gl32):
                picked, said = self.pick(runs_32bit, wine_runs, gl32)
                self.assertEqual(picked, arch)
                if wine_runs and runs_32bit == "1" and arch == "x86_64":
                    self.assertIn("32-bit GL libraries", said)


if __name__ == "__main__":
    unittest.main()
