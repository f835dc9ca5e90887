// The desktop program: the main window over one session.
#include "app/BuildInfo.h"
#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "app/QtTimeBase.h"
#include "app/Regional.h"
#include "app/Texts.h"
#include "app/ToolkitTranslation.h"
#include "link/SerialTransport.h"
#include "link/TransportChoice.h"
#include "records/DataFolder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace {

void setUpParser(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Downloads, shows, charts and prints the records of a data logger "
                       "reached through the USB Bluetooth interface board.\n\n") +
        DataFolder::helpText().trimmed());
    parser.addHelpOption();
    TransportChoice::addOptions(parser);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A data file to open, as \"Abrir...\" does."),
                                 QStringLiteral("[file]"));
}

int usageError(const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::fprintf(stderr, "%s\n",
                 qPrintable(QStringLiteral("Try '%1 --help'.")
                                .arg(QCoreApplication::applicationFilePath().section(u'/', -1))));
    return 1;
}

void nameApplication() {
    // The title names the program in the task bar; the display name is left unset because
    // on some desktops it would be appended to every window caption.
    QCoreApplication::setApplicationName(Texts::design(Txt::ApplicationTitle));
    QCoreApplication::setApplicationVersion(BuildInfo::version());
}

bool asksForHelp(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--help" || a == "-h" || a == "-?" || a == "--help-all")
            return true;
        if (a == "--")
            break;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    if (BuildInfo::printVersionIfAsked(argc, argv, "tervix"))
        return 0;
    // Help is printed without a window system, so that it also works without a display.
    if (asksForHelp(argc, argv)) {
        QCoreApplication core(argc, argv);
        nameApplication();
        QCommandLineParser parser;
        setUpParser(parser);
        parser.process(core);
        parser.showHelp(0);
    }

    QApplication app(argc, argv);
    nameApplication();
    // Started from a menu the current folder may be "/"; the data-file dialogs open there, so
    // an installed copy starts them in the home folder instead (its own files do not move).
    if (DataFolder::isInstalled() && QDir::currentPath() == QDir::rootPath())
        QDir::setCurrent(QDir::homePath());

    QCommandLineParser parser;
    setUpParser(parser);
    if (!parser.parse(QApplication::arguments()))
        return usageError(parser.errorText());
    // One file at most: the desktop menu and file managers pass the data file to open.
    if (parser.positionalArguments().size() > 1)
        return usageError(
            QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().at(1)));

    TransportChoice choice;
    QString error;
    if (!TransportChoice::fromParser(parser, &choice, &error))
        return usageError(error);

    QtTimeBase time;
    SystemClock clock;
    MessageBoxPrompt prompt;
    std::unique_ptr<SerialTransport> transport = createTransport(choice, time, &error);
    if (!transport)
        return usageError(error);

    MainSession session({time, clock, prompt, std::move(transport), Regional::system()});
    MainWindow window(session);
    // The main window is the program: closing it ends the run even if another window is open.
    QObject::connect(&window, &MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    // The interface language is known once the window has been shown.
    ToolkitTranslation toolkitTexts;
    toolkitTexts.apply(session.controls().UiLanguage);
    if (const QString file = parser.positionalArguments().value(0); !file.isEmpty())
        session.guarded([&] { session.Abrir1Click([&] { return file; }); });
    return QApplication::exec();
}
