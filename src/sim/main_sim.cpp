// tervix-sim: the simulated interface board behind a pseudo-terminal, so that the real
// serial backend (and any serial terminal) can talk to it.

#include "app/BuildInfo.h"
#include "app/QtTimeBase.h"
#include "sim/SimulatedBoard.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Bytes of one write by the client may reach the master side in several reads; bytes less
// than this apart belong to the same block (a command is one block on the board).
constexpr int kBlockQuietMs = 5;

int signalSockets[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(signalSockets[1], &byte, 1);
}

QString programHelp() {
    return QStringLiteral(
               "Usage: tervix-sim [options]\n"
               "Serves a simulated interface board (Bluetooth module and logger) behind a\n"
               "pseudo-terminal. The first line written to standard output is the path of the\n"
               "terminal; open it as the serial port (tervix --port PATH). Bytes the client\n"
               "writes less than %1 ms apart form one block (one command). Replies are paced\n"
               "at 9600 baud. Ends on SIGINT or SIGTERM.\n"
               "\n"
               "Program options:\n"
               "  --help                 this text\n"
               "  --version              the version (and the commit when built from a\n"
               "                         checkout)\n"
               "  --exit-on-stdin-eof    also end when standard input is closed\n"
               "  --trace                every block received and every byte sent, in hex with\n"
               "                         a time stamp (ms), on standard error\n"
               "\n"
               "Board options (--name VALUE or --name=VALUE):\n")
               .arg(kBlockQuietMs) +
           SimOptions::helpText();
}

void trace(qint64 ms, const char* direction, const QByteArray& bytes) {
    std::fprintf(stderr, "%8lld.%03lld %s %s\n", ms / 1000, ms % 1000, direction,
                 bytes.toHex(' ').constData());
}

struct Pty {
    int master = -1;
    int slave = -1;
    QByteArray path;
};

std::optional<Pty> openPty() {
    Pty pty;
    pty.master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (pty.master < 0 || ::grantpt(pty.master) != 0 || ::unlockpt(pty.master) != 0) {
        std::perror("tervix-sim: pseudo-terminal");
        return std::nullopt;
    }
    const char* name = ::ptsname(pty.master);
    if (!name) {
        std::perror("tervix-sim: ptsname");
        return std::nullopt;
    }
    pty.path = name;
    // Held open for the whole run: without it the master reads EIO whenever no client has
    // the terminal open, and each client would find the line settings reset.
    pty.slave = ::open(name, O_RDWR | O_NOCTTY);
    termios tio{};
    if (pty.slave < 0 || ::tcgetattr(pty.slave, &tio) != 0) {
        std::perror("tervix-sim: pseudo-terminal slave");
        return std::nullopt;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(pty.slave, TCSANOW, &tio);
    ::fcntl(pty.master, F_SETFL, ::fcntl(pty.master, F_GETFL) | O_NONBLOCK);
    return pty;
}

} // namespace

int main(int argc, char* argv[]) {
    if (BuildInfo::printVersionIfAsked(argc, argv, "tervix-sim"))
        return 0;
    QCoreApplication app(argc, argv);

    bool exitOnStdinEof = false;
    bool tracing = false;
    QStringList boardArguments;
    for (const QString& argument : app.arguments().mid(1)) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            std::fputs(qPrintable(programHelp()), stdout);
            return 0;
        }
        if (argument == QLatin1String("--exit-on-stdin-eof"))
            exitOnStdinEof = true;
        else if (argument == QLatin1String("--trace"))
            tracing = true;
        else
            boardArguments << argument;
    }
    QString error;
    const std::optional<SimOptions> options = SimOptions::parse(boardArguments, &error);
    if (!options) {
        std::fprintf(stderr, "tervix-sim: %s\nTry tervix-sim --help.\n", qPrintable(error));
        return 1;
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) {
        std::perror("tervix-sim: socketpair");
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);

    const std::optional<Pty> pty = openPty();
    if (!pty)
        return 2;
    std::printf("%s\n", pty->path.constData());
    std::fflush(stdout);

    QtTimeBase time;
    SimulatedBoard board(time, *options);
    if (board.open(0) != SerialTransport::Ok) {
        std::fprintf(stderr, "tervix-sim: the simulated interface does not open; nothing "
                             "written to the terminal will be answered\n");
    } else {
        board.setDataCharacteristics(8, 0, 0);
        board.setBaudRate(9600);
    }

    QByteArray incoming;
    QByteArray outgoing;
    QTimer blockEnd;
    blockEnd.setSingleShot(true);
    blockEnd.setTimerType(Qt::PreciseTimer);
    QTimer pump;
    pump.setSingleShot(true);
    pump.setTimerType(Qt::PreciseTimer);
    QSocketNotifier masterReadable(pty->master, QSocketNotifier::Read);
    QSocketNotifier masterWritable(pty->master, QSocketNotifier::Write);
    masterWritable.setEnabled(false);

    // Writes what the board has sent; what the terminal cannot take now waits for it.
    auto flush = [&] {
        while (!outgoing.isEmpty()) {
            const ssize_t n = ::write(pty->master, outgoing.constData(), size_t(outgoing.size()));
            if (n > 0) {
                outgoing.remove(0, n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n < 0 && errno == EAGAIN) {
                break;
            } else {
                std::perror("tervix-sim: writing to the terminal");
                app.exit(2);
                return;
            }
        }
        masterWritable.setEnabled(!outgoing.isEmpty());
    };
    // Moves every byte that has become visible on the board to the terminal, then sleeps
    // until the next one is due. On real time more bytes can become visible between the
    // count and the read, so it reads until the board has nothing left.
    auto forward = [&] {
        QByteArray chunk;
        uint32_t waiting = 0;
        while (board.queueStatus(&waiting) == SerialTransport::Ok && waiting > 0) {
            const qsizetype at = chunk.size();
            chunk.resize(at + qsizetype(waiting));
            uint32_t got = 0;
            board.read(chunk.data() + at, waiting, &got);
            chunk.truncate(at + qsizetype(got));
        }
        if (!chunk.isEmpty()) {
            if (tracing)
                trace(time.nowMs(), ">", chunk);
            outgoing += chunk;
            flush();
        }
        if (const std::optional<qint64> next = board.nextActivityMs())
            pump.start(int(std::clamp<qint64>(*next - time.nowMs(), 0, 60000)));
        else
            pump.stop();
    };

    QObject::connect(&pump, &QTimer::timeout, forward);
    QObject::connect(&masterWritable, &QSocketNotifier::activated, flush);
    QObject::connect(&masterReadable, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t n = ::read(pty->master, buffer, sizeof buffer);
        if (n > 0) {
            incoming.append(buffer, n);
            blockEnd.start(kBlockQuietMs);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            std::perror("tervix-sim: reading the terminal");
            app.exit(2);
        }
    });
    QObject::connect(&blockEnd, &QTimer::timeout, [&] {
        const QByteArray block = std::exchange(incoming, {});
        if (tracing)
            trace(time.nowMs(), "<", block);
        uint32_t written = 0;
        const int32_t status = board.write(block, &written);
        if (status != SerialTransport::Ok)
            std::fprintf(stderr,
                         "tervix-sim: write failed on the board (status %d); block "
                         "lost\n",
                         int(status));
        forward();
    });

    QSocketNotifier signalled(signalSockets[0], QSocketNotifier::Read);
    QObject::connect(&signalled, &QSocketNotifier::activated, [&] { app.quit(); });

    std::optional<QSocketNotifier> stdinNotifier;
    if (exitOnStdinEof) {
        stdinNotifier.emplace(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&*stdinNotifier, &QSocketNotifier::activated, [&] {
            char buffer[256];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
                stdinNotifier->setEnabled(false);
                app.quit();
            }
        });
    }

    // A board linked at start may have something to say on its own (an early "OK+LOST").
    forward();
    const int status = app.exec();
    ::close(pty->slave);
    ::close(pty->master);
    return status;
}
