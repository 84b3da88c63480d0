#include "startup/CommandLine.h"

#include "store/Database.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace {

// Options QGuiApplication and QApplication take out of argv themselves; they are
// accepted here so that "orvel2 -platform offscreen" still starts.
const char *const qtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                          "qwindowgeometry", "geometry", "qwindowtitle", "title", "qwindowicon",
                                          "icon", "display", "name", "visual", "session", "style", "stylesheet",
                                          "qmljsdebugger"};
const char *const qtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

QString programName(const QStringList &arguments)
{
    const QString name = QFileInfo(arguments.value(0)).fileName();
    return name.isEmpty() ? QStringLiteral("orvel2") : name;
}

}

CommandLine::Outcome CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's options are single-dash words ("-platform"); "-h" and "-v" still work.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption checkDue(QStringLiteral("check-due"));
    const QCommandLineOption registerOption(QStringLiteral("register"), QString(), QStringLiteral("register"));
    parser.addOption(help);
    parser.addOption(registerOption);
    parser.addOption(version);
    parser.addOption(checkDue);
    for (const char *name : qtOptionsWithValue)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char *name : qtFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
    const QString program = programName(arguments);
    Outcome outcome;
    const auto fail = [&](const QString &why) {
        outcome.start = false;
        outcome.exitCode = 2;
        outcome.error = QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n").arg(program, why);
        return outcome;
    };
    // The texts are our own, not QCommandLineParser's, which follow whatever
    // translator is installed: the answer is the same in every process.
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            return fail(QStringLiteral("unknown option '%1'.").arg(parser.unknownOptionNames().first()));
        // Otherwise a value is missing, which only the last argument can lack.
        return fail(QStringLiteral("option '%1' needs a value.").arg(arguments.last()));
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    if (parser.isSet(help)) {
        outcome.start = false;
        outcome.output = QStringLiteral(
                             "Usage: %1 [options]\n"
                             "Orvel 2 keeps a register of deadlines: money to collect, money to pay and\n"
                             "appointments. Started without options it opens its window over the database\n"
                             "named in its settings (by default ~/Documents/Orvel2DB/orvel2.mdb).\n"
                             "\n"
                             "Options:\n"
                             "  -h, --help     Show this help and exit.\n"
                             "  -v, --version  Show the version and exit.\n"
                             "  --check-due    Open no window: send a desktop notification for the open\n"
                             "                 deadlines due today and within the warning days, and exit.\n"
                             "  --register R   Open the register R for this run only, without storing it:\n"
                             "                 a shared register on a server, as a postgresql:// URI or\n"
                             "                 service=NAME from pg_service.conf, or a folder (or the\n"
                             "                 orvel2.mdb file in it). A server's password comes from the\n"
                             "                 desktop's keyring or ~/.pgpass.\n"
                             "\n"
                             "Qt's own options (-platform, -style, -reverse, ...) are passed on to Qt.\n")
                             .arg(program);
    } else if (parser.isSet(version)) {
        outcome.start = false;
        outcome.output = QStringLiteral("Orvel 2 %1\n").arg(QStringLiteral(ORVEL_VERSION));
    }
    outcome.checkDue = parser.isSet(checkDue);
    if (parser.isSet(registerOption)) {
        const QString value = parser.value(registerOption).trimmed();
        if (value.isEmpty())
            return fail(QStringLiteral("--register names no register."));
        if (Database::isServerRegister(value)) {
            if (Database::serverParameters(value).isEmpty())
                return fail(QStringLiteral("'%1' is no valid server register.").arg(value));
            outcome.registerName = value;
        } else {
            const QFileInfo path(value);
            outcome.registerName = path.fileName().compare(Database::FileName, Qt::CaseInsensitive) == 0
                                       ? path.absolutePath()
                                       : path.absoluteFilePath();
        }
    }
    return outcome;
}

std::optional<int> CommandLine::answer(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const Outcome outcome = parse(arguments);
    std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
    if (outcome.start)
        return std::nullopt;
    return outcome.exitCode;
}

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

bool CommandLine::asksDueCheck(int argc, char *argv[])
{
    return parse(argumentsOf(argc, argv)).checkDue;
}

QString CommandLine::registerOf(int argc, char *argv[])
{
    return parse(argumentsOf(argc, argv)).registerName;
}
