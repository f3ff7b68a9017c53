// The one place where failures stop on their way to the host.
#pragma once

#include "pellando.h"

// Runs an export's work and answers its result. Nothing thrown inside (out of
// memory included) may cross into the host's code: it answers PELLANDO_FAILED,
// and the files the work had open are closed and its temporary files removed
// on the way out.
template <class Work>
float Guarded(Work&& work) noexcept {
    try {
        return work();
    } catch (...) {
        return PELLANDO_FAILED;
    }
}
