#include "ChartPicture.h"

#include "records/AtomicFile.h"
#include "records/DataFolder.h"

#include <QImageWriter>

namespace ChartPicture {

QString path() {
    return DataFolder::filePath(QString::fromLatin1(kFileName));
}

bool save(const QImage& image, const QString& path, QString* error) {
    QString writerError;
    const AtomicFile::Result written = AtomicFile::write(path, [&](QIODevice& device) {
        // The bitmap writer stores the pixels as they are: 24 bits each, no compression.
        QImageWriter writer(&device, "bmp");
        if (writer.write(image.convertToFormat(QImage::Format_RGB32)))
            return true;
        writerError = writer.errorString();
        return false;
    });
    if (written.ok())
        return true;
    // The device's reason (a full disk) says more than the image writer's.
    *error = written.reason.isEmpty() ? writerError : written.reason;
    return false;
}

} // namespace ChartPicture
