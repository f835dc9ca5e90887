#include "BuildInfo.h"

#include "BuildVersion.h"

#include <cstdio>
#include <cstring>

namespace BuildInfo {

QString version() {
    return QStringLiteral(TERVIX_VERSION);
}

QString commit() {
    return QStringLiteral(TERVIX_COMMIT);
}

QString versionLine(const char* program) {
    QString line = QString::fromLatin1(program) + u' ' + version();
    if (!commit().isEmpty())
        line += QStringLiteral(" (commit %1)").arg(commit());
    return line;
}

bool printVersionIfAsked(int argc, char** argv, const char* program) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", qPrintable(versionLine(program)));
            return true;
        }
    }
    return false;
}

} // namespace BuildInfo
