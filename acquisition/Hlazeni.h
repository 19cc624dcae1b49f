#pragma once
// Smoothing of the count rate before it is plotted: two fixed first-order stages, then an
// adaptive stage whose weight grows with the change measured in counting-noise widths, so
// noise is damped strongly while a real jump is followed within a few frames.

#include "core/OneBased.h"

#include <cstdint>

namespace pxr3 {

constexpr int kFilterSlots = 32;

struct FilterValues {
    float previous = 0.0f;
    float current = 0.0f;
};

using FilterStage = OneBased<FilterValues, kFilterSlots>;

struct SmoothingState {
    // The stages' memory spans measurements: it is zero at start-up and never cleared.
    FilterStage Filter1;
    FilterStage Filter2;
    FilterStage Filter3;
    float FilterInput = 0.0f; // x of the next step
    float FilterParam = 0.0f; // p, the smoothing parameter
};

// The one instance for the whole run.
SmoothingState &smoothing();

// Back to the start-up state (tests use it between cases).
void ResetSmoothing();

// One step on slot k (1..32) with input FilterInput: writes the current values of the three
// stages from their previous values. Every stored value is a float, the arithmetic between
// them is double. False for a slot outside 1..32 (nothing changes) or when a value is not
// finite as a float; the stages then keep what was stored before that value.
bool SmoothRate(float p, int16_t k);

struct SmoothedRateResult {
    float rate = 0.0f; // stage 3's output; after a fault, the last output it could store
    bool ok = true;
};

// The acquisition's step on slot 1: the current values become the previous ones, the input
// goes through SmoothRate with the parameter from the window.
SmoothedRateResult SmoothedRate(float input, int16_t param);

} // namespace pxr3
