#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <optional>

namespace AtomicFile {

namespace {

// Stands between a producer and the file. Image and PDF writers ignore what write()
// returns, and a short write (the disk filled up within it) sets no error on the file: here
// every write is completed or counted as failed, with the system's reason.
class CheckedDevice : public QIODevice {
public:
    explicit CheckedDevice(QFileDevice& file) : file_(file) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }
    bool failed() const { return failed_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        qint64 done = 0;
        while (done < len && !failed_) {
            // A short write is retried: the retry fails with the reason (EFBIG, ENOSPC).
            const qint64 n = file_.write(data + done, len - done);
            if (n <= 0)
                failed_ = true;
            else
                done += n;
        }
        return failed_ ? -1 : done;
    }

private:
    QFileDevice& file_;
    bool failed_ = false;
};

// Runs the producer on the file; true when it and every one of its writes succeeded.
bool produced(QFileDevice& file, const std::function<bool(QIODevice&)>& produce) {
    CheckedDevice device(file);
    const bool ok = produce(device);
    return ok && !device.failed() && file.error() == QFileDevice::NoError;
}

// Empty when the device saw no failure (the producer failed on its own).
QString reasonOf(const QFileDevice& file) {
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

// Standard output, a character device or a FIFO: nothing can be put in place, so the bytes
// go straight in, unbuffered so that every short write shows.
Result writeInto(QFile& file, const std::function<bool(QIODevice&)>& produce, bool opened) {
    if (!opened)
        return {Result::CannotOpen, file.errorString()};
    if (!produced(file, produce) || !file.flush())
        return {Result::WriteFailed, reasonOf(file)};
    return {};
}

// Standard output and the other descriptors the program was given are written through the
// descriptor itself, so that the redirection behind it (">>" included) keeps its meaning;
// opening their names again would truncate or replace what they point to.
std::optional<int> givenDescriptor(const QString& path) {
    if (path == u"-" || path == u"/dev/stdout")
        return 1;
    if (path == u"/dev/stderr")
        return 2;
    if (path.startsWith(u"/dev/fd/")) {
        bool ok = false;
        const int fd = path.mid(8).toInt(&ok);
        if (ok)
            return fd;
    }
    return std::nullopt;
}

} // namespace

Result write(const QString& path, const std::function<bool(QIODevice&)>& produce) {
    constexpr auto mode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    if (const std::optional<int> fd = givenDescriptor(path)) {
        std::fflush(nullptr);
        QFile out;
        return writeInto(out, produce, out.open(*fd, mode, QFileDevice::DontCloseHandle));
    }
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        QFile special(path);
        return writeInto(special, produce, special.open(mode));
    }
    if (info.isDir())
        return {Result::CannotOpen, QStringLiteral("is a folder")};

    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows in the write that made it rather
    // than in a final flush that the commit would not notice.
    if (!file.open(mode))
        return {Result::CannotOpen, file.errorString()};
    if (!produced(file, produce)) {
        const QString reason = reasonOf(file);
        file.cancelWriting();
        return {Result::WriteFailed, reason};
    }
    if (!file.commit())
        return {Result::WriteFailed, reasonOf(file)};
    return {};
}

Result write(const QString& path, const QByteArray& bytes) {
    return write(path, [&](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

QString describe(const QString& path, const Result& result) {
    const QString name = QDir::toNativeSeparators(path);
    return result.reason.isEmpty() ? name : name + QStringLiteral(": ") + result.reason;
}

} // namespace AtomicFile
