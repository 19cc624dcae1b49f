#include "acquisition/Hlazeni.h"

#include <cmath>

namespace pxr3 {

namespace {

SmoothingState theSmoothing;

// Rounds to the float that is stored; false when that float is not finite, which is what a
// division by zero, an overflow or an invalid operation in a step comes to.
bool store(double value, float &into)
{
    const float rounded = static_cast<float>(value);
    if (!std::isfinite(rounded))
        return false;
    into = rounded;
    return true;
}

// previous + weight of the new value: the first-order step every stage takes.
double blend(double weight, double previous, double next)
{
    return (1.0 / (weight + 1.0)) * previous + (weight / (weight + 1.0)) * next;
}

} // namespace

SmoothingState &smoothing() { return theSmoothing; }

void ResetSmoothing() { theSmoothing = SmoothingState{}; }

bool SmoothRate(float p, int16_t k)
{
    if (!FilterStage::inRange(k))
        return false;
    SmoothingState &f = theSmoothing;
    FilterValues &stage1 = f.Filter1(k);
    FilterValues &stage2 = f.Filter2(k);
    FilterValues &stage3 = f.Filter3(k);
    const double x = f.FilterInput;

    float a = 0.0f;
    if (!store(1.0 / (double(p) + 0.0001), a))
        return false;
    if (!store(blend(a, stage1.previous, x), stage1.current))
        return false;
    if (!store(blend(a, stage2.previous, stage1.current), stage2.current))
        return false;
    float s = 1.0f; // an empty ROI still has a noise width of one count
    if (x > 0.0 && !store(std::sqrt(x), s))
        return false;
    // Without a positive parameter the third stage simply averages old and new.
    float d = 1.0f;
    if (p > 0.0f && !store((double(stage3.previous) - stage2.current) * (1.0 / (double(s) * p)), d))
        return false;
    float b = 0.0f;
    if (!store(double(d) * d, b))
        return false;
    return store(blend(b, stage3.previous, stage2.current), stage3.current);
}

SmoothedRateResult SmoothedRate(float input, int16_t param)
{
    constexpr int16_t kSlot = 1;
    SmoothingState &f = theSmoothing;
    for (FilterStage *stage : {&f.Filter1, &f.Filter2, &f.Filter3})
        (*stage)(kSlot).previous = (*stage)(kSlot).current;
    f.FilterParam = param;
    f.FilterInput = input;
    SmoothedRateResult result;
    result.ok = SmoothRate(f.FilterParam, kSlot);
    result.rate = f.Filter3(kSlot).current;
    return result;
}

} // namespace pxr3
