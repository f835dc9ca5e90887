#include "ChartPicture.h"

#include "records/DataFolder.h"

#include <QImageWriter>
#include <QSaveFile>

namespace ChartPicture {

QString path() {
    return DataFolder::filePath(QString::fromLatin1(kFileName));
}

bool save(const QImage& image, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    // The bitmap writer stores the pixels as they are: 24 bits each, no compression.
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace ChartPicture
