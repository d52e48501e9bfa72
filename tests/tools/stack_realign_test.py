"""The i686 build's compile options (passed as arguments) realign the stack
in a function that keeps an SSE value on it, as Windows calls window
procedures and plug-in entry points with a stack aligned to 4 bytes only.
The compiler's own default is turned off first, so the options must ask for
the realignment themselves. Run by CTest on the build machine, not under Wine.

    stack_realign_test.py OPTION...
"""
import os
import re
import subprocess
import sys
import tempfile
import unittest

OPTIONS = sys.argv[1:]
del sys.argv[1:]
CXX = "i686-w64-mingw32-g++-posix"
OBJDUMP = "i686-w64-mingw32-objdump"

# Called from Windows with a 4-byte-aligned stack; the vector local needs 16.
PROBE = r"""
typedef float v4 __attribute__((vector_size(16)));
extern void use(v4*);
extern "C" void __stdcall probe_entry(float x) { v4 a = {x, x, x, x}; use(&a); }
"""
REALIGN = re.compile(r"\band\s+\$0xfffffff0,%esp")


def realigns(options):
    with tempfile.TemporaryDirectory(prefix="qv_realign_") as work:
        source, obj = os.path.join(work, "probe.cpp"), os.path.join(work, "probe.o")
        with open(source, "w") as f:
            f.write(PROBE)
        subprocess.run([CXX, "-O2", *options, "-c", source, "-o", obj], check=True)
        listing = subprocess.run([OBJDUMP, "-d", obj], check=True, capture_output=True, text=True).stdout
    return bool(REALIGN.search(listing)), listing


class StackRealignTest(unittest.TestCase):
    def test_the_build_options_realign_whatever_the_compilers_default(self):
        self.assertTrue(OPTIONS, "no options given")
        # The probe tells the two apart: without realignment it has no masking of esp.
        self.assertFalse(realigns([*OPTIONS, "-mno-stackrealign"])[0])
        found, listing = realigns(["-mno-stackrealign", *OPTIONS])
        self.assertTrue(found, "the options %s leave the stack unaligned:\n%s" % (OPTIONS, listing))


if __name__ == "__main__":
    unittest.main()
