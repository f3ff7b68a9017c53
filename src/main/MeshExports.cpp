// The mesh-file exports: pointer tests, then the worker.
#include "ExportGuard.h"
#include "leanOBJ/leanOBJ.h"
#include "pellando.h"

float SmoothtoGroupOBJ(const char* text, double, char* buffer) {
    if (!text || !buffer) return PELLANDO_NULL_POINTER;
    return Guarded([&] { return LeanSmoothtoGroupOBJ(text, buffer); });
}

float SwapVertices(const char* text, double, char* buffer) {
    if (!text || !buffer) return PELLANDO_NULL_POINTER;
    return Guarded([&] { return LeanSwapVerts(text, buffer) ? PELLANDO_OK : PELLANDO_FAILED; });
}
