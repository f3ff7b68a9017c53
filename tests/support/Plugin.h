// The library as the host sees it: loaded from the folder of the test
// program, exports bound by name.
#pragma once

#include <string>

#include "pellando.h"

// The export called `name`; the test fails at once when it is missing.
PellandoExport Export(const char* name);

// Calls an export with the plug-in call shape. `buffer` is copied to a
// writable area, as the host passes its own buffer.
float Call(const char* name, const char* text, double number, const char* buffer);
