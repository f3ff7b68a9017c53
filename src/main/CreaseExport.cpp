// The crease-transfer export: pointer tests, the grouping mode, the worker.
#include <cmath>

#include "ExportGuard.h"
#include "leanOBJ/leanOBJ.h"
#include "pellando.h"

namespace {

// Smoothing groups when the number, truncated toward zero, is above 0; groups
// otherwise. NaN and values beyond the 32-bit range count as the most
// negative 32-bit number, so they choose groups whatever their sign.
char GroupingCharacter(double number) {
    double truncated = std::trunc(number);
    if (!(truncated >= -2147483648.0 && truncated <= 2147483647.0)) return 'g';
    return truncated > 0 ? 's' : 'g';
}

}  // namespace

float GetCreases(const char* text, double number, char* buffer) {
    if (!text || !buffer) return PELLANDO_CREASES_NULL_POINTER;
    return Guarded([&] { return GetCreasesOBJ(text, buffer, GroupingCharacter(number)); });
}
