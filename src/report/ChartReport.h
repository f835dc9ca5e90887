#pragma once

class QImage;
class QPagedPaintDevice;

// The chart report: one A4 landscape page with the chart picture in a 229 x 145 mm frame
// at 19 mm / 14 mm inside 10 mm margins.
namespace ChartReport {

// A null picture leaves the frame empty (white, with its outline). False when the device
// cannot be painted on.
bool print(QPagedPaintDevice& device, const QImage& picture);

} // namespace ChartReport
