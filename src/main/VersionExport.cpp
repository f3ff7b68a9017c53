#include "pellando.h"

float Version(const char*, double, char*) { return PELLANDO_VERSION; }
