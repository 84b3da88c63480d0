#include "export/SafeFileWriter.h"

#include "../support/ScopedFileSizeLimit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : mode_t(-1);
}

// Sets the umask for one test and puts the old one back.
class ScopedUmask
{
public:
    explicit ScopedUmask(mode_t mask) : m_saved(::umask(mask)) {}
    ~ScopedUmask() { ::umask(m_saved); }

private:
    mode_t m_saved;
};

} // namespace

class TestSafeFileWriter final : public QObject
{
    Q_OBJECT

private slots:
    void writesWithTheRightPermissions_data()
    {
        QTest::addColumn<uint>("mask");
        QTest::addColumn<int>("existing");   // the mode of a file already there; -1 for none
        QTest::addColumn<uint>("mode");
        QTest::newRow("new, umask 022") << 0022u << -1 << 0644u;
        QTest::newRow("new, umask 077") << 0077u << -1 << 0600u;
        QTest::newRow("replaced keeps its own") << 0022u << 0640 << 0640u;
    }

    // A new file gets what the user's umask allows; a replaced one keeps the
    // permissions its owner gave it. Either way no temporary stays beside it.
    void writesWithTheRightPermissions()
    {
        QFETCH(uint, mask);
        QFETCH(int, existing);
        QFETCH(uint, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("export.txt"));
        if (existing >= 0) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(10000, 'o'));
            old.close();
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(existing)), 0);
        }
        ScopedUmask umask(mask);
        SafeFileWriter writer(path);
        QVERIFY2(writer.write("Type\tDone\r\n"), qPrintable(writer.errorText()));
        QCOMPARE(contentsOf(path), QByteArray("Type\tDone\r\n"));
        QCOMPARE(uint(modeOf(path)), mode);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.txt"});
    }

    void unwritablePlaceLeavesNothingAndSaysWhere_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("read-only folder") << QStringLiteral("read-only");
        QTest::newRow("missing folder") << QStringLiteral("missing/deeper");
        QTest::newRow("folder is a file") << QStringLiteral("plain-file");
        QTest::newRow("kernel folder") << QStringLiteral("/proc");
    }

    void unwritablePlaceLeavesNothingAndSaysWhere()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QDir base(dir.path());
        QVERIFY(base.mkdir(QStringLiteral("read-only")));
        QFile plain(base.filePath(QStringLiteral("plain-file")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString readOnly = base.filePath(QStringLiteral("read-only"));
        QCOMPARE(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
        if (folder == u"read-only" && ::access(QFile::encodeName(readOnly).constData(), W_OK) == 0)
            QSKIP("this user writes into read-only folders (root); the kernel folder row covers it");

        const QString path = QDir(base.filePath(folder)).filePath(QStringLiteral("export.txt"));
        SafeFileWriter writer(path);
        QVERIFY(!writer.write("Type\tDone\r\n"));
        QVERIFY2(writer.errorText().startsWith(QDir::toNativeSeparators(path) + u':'), qPrintable(writer.errorText()));
        QVERIFY2(writer.errorText().size() > path.size() + 3, "the reason is missing");
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(QDir(readOnly).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        QCOMPARE(base.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{"plain-file", "read-only"}));
        ::chmod(QFile::encodeName(readOnly).constData(), 0755);
    }

    void fullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<bool>("streamed");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("room");
        QTest::newRow("bytes") << false << 1024 * 1024 << 64 * 1024;
        QTest::newRow("streamed") << true << 1024 * 1024 << 64 * 1024;
        // The disk fills up in the last bytes, still in the device's buffer when
        // the producer is done: only the flush before the rename finds out.
        QTest::newRow("last buffered bytes") << false << 27441 << 16 * 1024;
        QTest::newRow("last buffered bytes, streamed") << true << 27441 << 16 * 1024;
    }

    // A disk that fills up anywhere leaves the old file untouched and no
    // half-written temporary beside it, whether the contents came whole or were
    // made while being written.
    void fullDiskKeepsTheOldFile()
    {
        QFETCH(bool, streamed);
        QFETCH(int, size);
        QFETCH(int, room);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("export.txt"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous export\r\n");
        old.close();

        SafeFileWriter writer(path);
        bool written = true;
        {
            ScopedFileSizeLimit limit(room);
            const QByteArray contents(size, 'x');
            if (streamed) {
                written = writer.write([&contents](QIODevice &device) {
                    for (qsizetype at = 0; at < contents.size(); at += 1000) {
                        if (!SafeFileWriter::writeAll(device, QByteArrayView(contents).sliced(at).first(
                                                                  std::min<qsizetype>(1000, contents.size() - at))))
                            return false;
                    }
                    return true;
                });
            } else {
                written = writer.write(contents);
            }
        }
        QVERIFY(!written);
        QCOMPARE(writer.errorText(),
                 QDir::toNativeSeparators(path) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(EFBIG)));
        QCOMPARE(contentsOf(path), QByteArray("previous export\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.txt"});
    }

    // The rename that puts the new file in place can fail too (here something else
    // took the name meanwhile): said, and no temporary file stays behind.
    void failedRenameIsToldAndLeavesNoTemporary()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("export.txt"));
        SafeFileWriter writer(path);
        const bool written = writer.write([&path](QIODevice &device) {
            QDir().mkpath(QDir(path).filePath(QStringLiteral("taken")));
            return SafeFileWriter::writeAll(device, "Type\tDone\r\n");
        });
        QVERIFY(!written);
        QVERIFY2(writer.errorText().startsWith(QDir::toNativeSeparators(path) + QStringLiteral(": ")),
                 qPrintable(writer.errorText()));
        QVERIFY2(writer.errorText().size() > path.size() + 3, "the reason is missing");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"export.txt"});
        QVERIFY(QFileInfo(path).isDir());
    }
};

QTEST_GUILESS_MAIN(TestSafeFileWriter)
#include "tst_SafeFileWriter.moc"
