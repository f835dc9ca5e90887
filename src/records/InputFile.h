#pragma once

#include <QFile>
#include <QString>

// Opening a file the program reads. Only a regular file is opened: a FIFO or a device would
// block the program or feed it without end.
namespace InputFile {

// Opens `file` for reading; on failure false and the system's reason (or "not a regular
// file") in *reason.
bool open(QFile& file, QString* reason);

} // namespace InputFile
