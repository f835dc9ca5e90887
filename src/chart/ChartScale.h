#pragma once

// The value axis of the chart, kept between drawings. The fields are 32-bit on purpose: the
// mapping of values to pixels is defined on these rounded values.
struct ChartScale {
    float lowest = 0;    // lowest value of the measurement, or the widened lower bound
    float highest = 0;   // highest value, or the widened upper bound
    float span = 0;      // highest - lowest
    float scale = 0;     // 0.4 * span: the value change that moves a point by 100 pixels
    float labelStep = 0; // 0.1 * span: between two labels of the value axis
};
