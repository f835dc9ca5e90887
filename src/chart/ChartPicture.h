#pragma once

#include <QImage>
#include <QString>

// The chart picture as a file: an uncompressed Windows bitmap of the whole surface.
namespace ChartPicture {

// The picture the printed chart shows, kept with the program's other files.
inline constexpr const char* kFileName = "imagraf.bmp";
QString path();

// Writes the image to path, replacing any earlier file only once the new one is complete.
// On failure returns false and says why in *error.
bool save(const QImage& image, const QString& path, QString* error);

} // namespace ChartPicture
