#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Every file the program writes goes through here. A regular file (or a new name) is written
// aside and put in place only once every byte, the last one included, reached the disk: on
// any failure the earlier file stays as it was. A path that names something else (a
// character device, a FIFO) is written into directly; "-" (or /dev/stdout) is standard output,
// so that the output can be piped or appended to.
namespace AtomicFile {

struct Result {
    enum Status { Written, CannotOpen, WriteFailed };
    Status status = Written;
    QString reason; // the system's reason, for the user
    bool ok() const { return status == Written; }
};

// Writes what `produce` puts into the device it is given; `produce` returns false when it
// failed on its own (nothing is then committed).
Result write(const QString& path, const std::function<bool(QIODevice&)>& produce);
Result write(const QString& path, const QByteArray& bytes);

// "path: reason", for messages that name the file and why it could not be written.
QString describe(const QString& path, const Result& result);

} // namespace AtomicFile
