// Calls the fatal check with the code given in hexadecimal on the command line.
#include <cstdlib>

#include "diagnostics/Diagnostics.h"

int main(int argc, char** argv) {
  HRESULT code = argc > 1 ? static_cast<HRESULT>(strtoul(argv[1], nullptr, 16)) : 0;
  FatalCheck("probe.cpp", 42, "12:34:56", code);
  return 7;  // only reached for code 0
}
