#include "ChartRange.h"

#include <algorithm>

ChartRange ChartRange::confirmed(int m, int measurements, int perMeasurement, int total) {
    ChartRange r;
    r.m = m;
    r.N = std::max(perMeasurement, 0);
    r.lastCount = total - (measurements - 1) * r.N;
    r.F = m * (r.N + 1) + 2;
    r.last = m + 1 == measurements;
    r.R = r.last ? std::max(r.lastCount, 0) : r.N;
    r.L = m * r.N + r.R;
    // Fewer than ten records: the window is the whole measurement and never reaches the
    // next separator row.
    r.w = std::min(10, r.R);
    r.S = r.F;
    return r;
}

ChartRange ChartRange::startingAt(int c) const {
    ChartRange r = *this;
    r.S = F + std::clamp(c, 0, std::max(startCount() - 1, 0));
    return r;
}
