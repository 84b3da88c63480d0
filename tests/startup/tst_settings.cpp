#include "startup/Settings.h"
#include "startup/mainmod.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The settings store keeps the two kinds apart and answers every missing or
// unreadable value with the caller's default.
class tst_Settings final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_ini;
    const QString m_path = SettingsKeyPathFor(QStringLiteral("Orvel 2"));

    QVariant read(int type, const QString &name, const QVariant &def = {})
    {
        return SettingsRead(HKEY_CURRENT_USER, m_path, type, name, def);
    }
    void write(int type, const QString &name, const QVariant &value)
    {
        SettingsWrite(HKEY_CURRENT_USER, m_path, type, name, value);
    }

private slots:
    void init()
    {
        m_ini = m_dir.filePath(QStringLiteral("registry-%1.ini").arg(QTest::currentTestFunction()));
        QFile::remove(m_ini);
        comRegistry::setStorePath(m_ini);
        mainmod::resetShared();
    }

    void firstRunReadsDefaultsAndCreatesNothing()
    {
        QCOMPARE(SettingInt(SettingsKey::WarnDays, SettingsDefault::WarnDays), 2);
        QCOMPARE(SettingInt(SettingsKey::SortKeyIdx, SettingsDefault::SortKeyIdx), 5);
        QCOMPARE(SettingText(SettingsKey::FirstRunMarker), QString());
        QCOMPARE(read(REG_SZ, SettingsKey::CurDb, QStringLiteral("/db")).toString(), QStringLiteral("/db"));
        QVERIFY(!read(REG_DWORD, QStringLiteral("never_written")).isValid());
        QVERIFY(!QFile::exists(m_ini));
    }

    void kindsStayApart()
    {
        write(REG_DWORD, SettingsKey::WarnDays, 7);
        QCOMPARE(read(REG_DWORD, SettingsKey::WarnDays).metaType().id(), int(QMetaType::Int));
        QCOMPARE(SettingInt(SettingsKey::WarnDays, 2), 7);

        // A text where an integer belongs comes back as text; the shorthand
        // converts a number in it and falls back to the default otherwise.
        write(REG_SZ, SettingsKey::GroupOpt, QStringLiteral("3"));
        QCOMPARE(read(REG_DWORD, SettingsKey::GroupOpt).metaType().id(), int(QMetaType::QString));
        QCOMPARE(SettingInt(SettingsKey::GroupOpt, 0), 3);
        write(REG_SZ, SettingsKey::GroupOpt, QStringLiteral("three"));
        QCOMPARE(SettingInt(SettingsKey::GroupOpt, 0), 0);

        write(REG_DWORD, SettingsKey::Width, -12345);
        QCOMPARE(SettingInt(SettingsKey::Width, 0), -12345);
    }

    void onlyIntegerKindsReachAnIntegerValue_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("int") << QVariant(41) << 41;
        QTest::newRow("short") << QVariant::fromValue<short>(-3) << -3;
        QTest::newRow("float rounds") << QVariant::fromValue<float>(2.6f) << 3;
        QTest::newRow("boolean ignored") << QVariant(true) << 10;
        QTest::newRow("double ignored") << QVariant(5.0) << 10;
        QTest::newRow("text ignored") << QVariant(QStringLiteral("12")) << 10;
    }
    void onlyIntegerKindsReachAnIntegerValue()
    {
        QFETCH(QVariant, value);
        QFETCH(int, stored);
        write(REG_DWORD, SettingsKey::ShowGroupTotals, 10);
        write(REG_DWORD, SettingsKey::ShowGroupTotals, value);
        QCOMPARE(read(REG_DWORD, SettingsKey::ShowGroupTotals).toInt(), stored);
    }

    void percentTextsExpandOnlyWhenTheyNameAVariable_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("readBack");
        QTest::addColumn<int>("kind");
        qputenv("ORVEL_TEST_VAR", "/srv/data");
        QTest::newRow("variable") << "%ORVEL_TEST_VAR%/db" << "/srv/data/db" << int(REG_EXPAND_SZ);
        QTest::newRow("single percent") << "50% off" << "50% off" << int(REG_SZ);
        QTest::newRow("adjacent percents") << "a%%b" << "a%%b" << int(REG_SZ);
        QTest::newRow("unknown variable kept") << "%NO_SUCH_VAR_X%" << "%NO_SUCH_VAR_X%" << int(REG_EXPAND_SZ);
        QTest::newRow("quotes and accents") << "C:\\Dati 'Società'\\db" << "C:\\Dati 'Società'\\db" << int(REG_SZ);
    }
    void percentTextsExpandOnlyWhenTheyNameAVariable()
    {
        QFETCH(QString, written);
        QFETCH(QString, readBack);
        QFETCH(int, kind);
        write(REG_SZ, SettingsKey::CurDb, written);
        comRegistry reg;
        reg.setSectionKey(m_path);
        reg.setValueKey(SettingsKey::CurDb);
        QCOMPARE(reg.Value().toString(), readBack);
        QCOMPARE(reg.ValueType(), kind);
    }

    void garbageReadsAsDefault()
    {
        QFile file(m_ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[80000001]\nSoftware\\Kestrum\\Orvel%202\\Settings\\appset_warndays=dword:many\n"
                   "Software\\Kestrum\\Orvel%202\\Settings\\appset_curdb=/plain/text\n");
        file.close();
        QCOMPARE(SettingInt(SettingsKey::WarnDays, 2), 2);
        QCOMPARE(SettingText(SettingsKey::CurDb), QStringLiteral("/plain/text"));
    }

    void failedWritesRaiseNumberedErrors()
    {
        try {
            write(REG_BINARY, QStringLiteral("blob"), QStringLiteral("not bytes"));
            QFAIL("binary write of a text must fail");
        } catch (const RegistryError &e) {
            QCOMPARE(e.number(), comRegistry::ErrorCreateKey);
            QVERIFY(e.source().endsWith(QStringLiteral(".comRegistry")));
            QCOMPARE(e.description(),
                     QStringLiteral("Failed to set registry value Key: '-2147483647',Section: '%1',Key: 'blob' to value: 'not bytes'")
                         .arg(m_path));
        }
        try {
            write(11, QStringLiteral("odd"), 1);
            QFAIL("an unknown kind must fail");
        } catch (const RegistryError &e) {
            QCOMPARE(e.number(), comRegistry::ErrorSetValue);
        }
        comRegistry::setStorePath(QStringLiteral("/proc/orvel-no-such-dir/registry.ini"));
        QVERIFY_THROWS_EXCEPTION(RegistryError, SetSettingInt(SettingsKey::WarnDays, 3));
    }

    void olderReleaseKeyIsSeparate()
    {
        SettingsWrite(HKEY_CURRENT_USER, QStringLiteral("Software\\Kestrum\\Orvel\\Settings"), REG_SZ,
                      SettingsKey::CurDb, QStringLiteral("/old"));
        QCOMPARE(SettingText(SettingsKey::CurDb, QStringLiteral("new")), QStringLiteral("new"));
        QCOMPARE(SettingsRead(HKEY_CURRENT_USER, QStringLiteral("Software\\Kestrum\\Orvel\\Settings"), REG_SZ,
                              SettingsKey::CurDb).toString(),
                 QStringLiteral("/old"));
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
