#include "startup/Setting.h"
#include "startup/SettingsStore.h"
#include "startup/Texts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The settings file: defaults for whatever is missing or unreadable, texts back
// exactly as written, and a write that cannot land is reported.
class tst_SettingsStore final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    void writeFile(const QByteArray &content)
    {
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private slots:
    void init()
    {
        m_file = m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction()));
        QFile::remove(m_file);
    }

    void defaultsHandEditsAndTheUsersFile()
    {
        const SettingsStore store(m_file);
        QCOMPARE(store.integer(Setting::WarnDays), 2);
        QCOMPARE(store.text(Setting::DatabaseFolder, QStringLiteral("/db")), QStringLiteral("/db"));
        QVERIFY(!QFile::exists(m_file));
        // A hand-edited list reads as one text.
        writeFile("[General]\nappset_curdb=/data/a,b\n");
        QCOMPARE(SettingsStore(m_file).text(Setting::DatabaseFolder), QStringLiteral("/data/a, b"));
        // The user's file keeps the name earlier releases gave it.
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        QCOMPARE(SettingsStore().fileName(), m_dir.filePath(QStringLiteral("Kestrum/Orvel 2.ini")));
    }

    void integersReadAsDefaultUnlessWholeNumbers_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("read");
        QTest::newRow("number") << QByteArray("7") << 7;
        QTest::newRow("negative") << QByteArray("-12345") << -12345;
        QTest::newRow("blanks around") << QByteArray("\" 3 \"") << 3;
        QTest::newRow("word") << QByteArray("many") << 2;
        QTest::newRow("fraction") << QByteArray("2.5") << 2;
        QTest::newRow("too large") << QByteArray("99999999999") << 2;
        QTest::newRow("list") << QByteArray("1, 2") << 2;
        QTest::newRow("empty") << QByteArray("") << 2;
    }

    void integersReadAsDefaultUnlessWholeNumbers()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, read);
        writeFile("[General]\nappset_warndays=" + stored + "\n");
        QCOMPARE(SettingsStore(m_file).integer(Setting::WarnDays), read);
    }

    void textsComeBackAsWritten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("folder with blanks") << QStringLiteral("/home/anna/My Documents/Orvel 2 DB");
        QTest::newRow("quotes and accents") << QStringLiteral("/srv/l'archivio \"già\" Größe");
        QTest::newRow("comma") << QStringLiteral("/data/a, b");
        QTest::newRow("percent signs stay") << QStringLiteral("%HOME%/db 50%");
        QTest::newRow("empty") << QString();
    }

    void textsComeBackAsWritten()
    {
        QFETCH(QString, text);
        SettingsStore(m_file).setText(Setting::DatabaseFolder, text);
        SettingsStore(m_file).setInteger(Setting::WindowWidth, 1200);
        QCOMPARE(SettingsStore(m_file).text(Setting::DatabaseFolder, QStringLiteral("unset")), text);
        QCOMPARE(SettingsStore(m_file).integer(Setting::WindowWidth), 1200);
    }

    void failedWriteNamesThePreferenceInTheUsersLanguage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("preference");
        QTest::newRow("layout choice, English") << "appset_saveintsettings" << int(Language::English) << 2706;
        QTest::newRow("warning days, Italian") << "appset_warndays" << int(Language::Italian) << 2705;
        QTest::newRow("database folder, German") << "appset_curdb" << int(Language::German) << 2702;
        QTest::newRow("window size, French") << "me_width" << int(Language::French) << 2709;
    }

    void failedWriteNamesThePreferenceInTheUsersLanguage()
    {
        QFETCH(QString, name);
        QFETCH(int, language);
        QFETCH(int, preference);
        Texts::setLanguage(Language(language));
        const QString file = QStringLiteral("/proc/orvel-no-such-dir/Orvel 2.ini");
        SettingsStore store(file);
        try {
            if (name == QStringLiteral("appset_curdb"))
                store.setText(name, QStringLiteral("x"));
            else
                store.setInteger(name, 3);
            QFAIL("the write was not reported");
        } catch (const SettingsStore::WriteError &error) {
            QCOMPARE(error.message(), Texts::text(2701).arg(Texts::text(preference), file));
            QVERIFY(!error.message().contains(name));
        }
        Texts::setLanguage(Language::English);
    }
};

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_SettingsStore.moc"
