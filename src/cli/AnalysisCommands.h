#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class MainSession;
class QTextStream;

// tervix-cli stats and plot: the statistics and the interactive chart's full view of a data
// file. Each takes the command's own arguments and a way to open the data file, which gives
// the exit status of the opening and, on success, the session that holds the file.
namespace AnalysisCommands {

using OpenDataFile = std::function<int(const QString& path, MainSession** session)>;

// stats FILE [--lower X] [--upper Y] [--json]
int stats(const QStringList& arguments, const OpenDataFile& open, QTextStream& out);

// plot FILE -o OUT.svg|OUT.png [--measurement K] [--lower X] [--upper Y]
int plot(const QStringList& arguments, const OpenDataFile& open);

} // namespace AnalysisCommands
