#include "startup/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The template and the help pages lie beside the executable in the build tree and
// under <prefix>/share/orvel2 once installed; start-up must find them in both.
class tst_ProgramFiles final : public QObject
{
    Q_OBJECT

private:
    static void touch(const QString &path)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void findsTheTemplateWhereTheLayoutPutsIt()
    {
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        const QString shared = prefix.filePath(QStringLiteral("share/orvel2"));
        QVERIFY(QDir().mkpath(bin));

        // Nothing anywhere: the executable's folder, where the missing file is reported.
        QCOMPARE(programFilesFolder(bin), bin);
        // A shared folder without the template is not the program's.
        QVERIFY(QDir().mkpath(shared));
        QCOMPARE(programFilesFolder(bin), bin);

        // Installed: bin/orvel2 and share/orvel2/master.gen.
        touch(shared + QStringLiteral("/master.gen"));
        QCOMPARE(QDir::cleanPath(programFilesFolder(bin)), QDir::cleanPath(shared));

        // A build tree's own template beside the executable comes first.
        touch(bin + QStringLiteral("/master.gen"));
        QCOMPARE(programFilesFolder(bin), bin);
    }
};

QTEST_GUILESS_MAIN(tst_ProgramFiles)
#include "tst_ProgramFiles.moc"
