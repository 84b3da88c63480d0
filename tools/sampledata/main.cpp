// orvel2-sampledata: writes a realistic orvel2.mdb for trying and measuring the program.
#include "SampleData.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvel2-sampledata"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Creates DIR/orvel2.mdb from the template master.gen beside this program and fills it "
        "with sheets, clients/suppliers and N deadlines."));
    parser.addHelpOption();
    const QCommandLineOption rows(QStringLiteral("rows"), QStringLiteral("Number of deadlines."), QStringLiteral("N"),
                                  QStringLiteral("1000"));
    const QCommandLineOption folder(QStringLiteral("folder"), QStringLiteral("Database folder."), QStringLiteral("DIR"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed (same seed, same data)."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("Replace an existing orvel2.mdb."));
    const QCommandLineOption templ(QStringLiteral("template"), QStringLiteral("Template database (default: master.gen beside this program)."),
                                   QStringLiteral("FILE"));
    parser.addOptions({rows, folder, seed, force, templ});
    parser.process(app);

    QTextStream err(stderr);
    QTextStream out(stdout);
    bool rowsOk = false;
    bool seedOk = false;
    SampleData::Options options;
    options.rows = parser.value(rows).toInt(&rowsOk);
    options.seed = parser.value(seed).toUInt(&seedOk);
    if (!rowsOk || options.rows < 0 || !seedOk || !parser.isSet(folder)) {
        err << "usage: orvel2-sampledata --rows N --folder DIR [--seed S] [--force]\n";
        return 2;
    }

    const QString dir = parser.value(folder);
    if (!QDir().mkpath(dir)) {
        err << "Cannot create folder " << dir << '\n';
        return 1;
    }
    const QString templatePath = parser.isSet(templ)
        ? parser.value(templ)
        : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("master.gen"));
    const QString target = QDir(dir).filePath(QStringLiteral("orvel2.mdb"));

    QElapsedTimer timer;
    timer.start();
    try {
        const SampleData::Summary s = SampleData::createDatabase(templatePath, target, options, parser.isSet(force));
        out << QDir::toNativeSeparators(target) << ": " << s.sheets << " sheets, " << s.counterparties
            << " clients/suppliers, " << s.deadlines << " deadlines in " << s.groups << " recurrences + singles ("
            << timer.elapsed() << " ms)\n";
    } catch (const SampleData::Error &e) {
        err << e.what() << '\n';
        return 1;
    }
    return 0;
}
