/* A library without the export. */
#include "TestModule.h"

int NotTheExport(void) { return 1; }
