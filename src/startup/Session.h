#pragma once

#include "startup/SettingsStore.h"
#include "store/Register.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

// What one run of the program shares between its windows: the settings, the
// database in use and what announces its changes, the active sheet, the language
// choice and the display options.
// Start-up fills it and hands it by reference to the main window, which passes it
// on; tests and the benchmark build their own.
class Session
{
public:
    static inline const QString AppTitle = QStringLiteral("Orvel 2");

    // The options the list is shown with; the main window reads them from the
    // settings when it is created.
    struct DisplayOptions
    {
        bool saveLayout = true;         // restore the last view, layout, sort and size
        bool showGroupTotals = true;
        bool showGroupCounters = true;  // "Rent 3 of 12" on recurring deadlines
        int groupOption = 0;            // 0 plain, 1 by due period, 2 by month, 3 by counterparty
        static constexpr int NoWarning = 999;
        int warnDays = 2;               // NoWarning: only what is due today warns
        QString counterSeparator;       // " of " in English
    };

    explicit Session(SettingsStore settings = SettingsStore());

    SettingsStore &settings() { return m_settings; }
    const SettingsStore &settings() const { return m_settings; }

    // Where the program's own files (the template database, the help pages) lie:
    // unless set, beside the executable or in an installed copy's shared folder
    // (see programFilesFolder).
    QString programFolder() const;
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // The database in use: its folder and the connection string for the file in it,
    // or a register on a server (see setServerRegister).
    QString databaseFolder() const { return m_databaseFolder; }
    QString connectionString() const { return m_connectionString; }
    void setDatabaseFolder(const QString &folder);
    // A register on a PostgreSQL server: its name as stored (ServerAddress), which
    // never holds the password; the connection string carries the password to the
    // driver. Empty while the register is a file.
    QString serverRegister() const { return m_serverRegister; }
    bool onServer() const { return !m_serverRegister.isEmpty(); }
    void setServerRegister(const QString &name, const QString &password);
    // How messages and the status bar name the register in use: the file's path,
    // or host/database on a server.
    QString registerName() const;
    // `orvel2 --register`: the register of this run only, never stored; empty
    // when the settings say which.
    QString registerForThisRun() const { return m_registerForThisRun; }
    void setRegisterForThisRun(const QString &name) { m_registerForThisRun = name; }
    void setConnectionString(const QString &connectionString) { m_connectionString = connectionString; }
    // Where the writers announce what they changed and the main window listens.
    Register &deadlineRegister() { return m_register; }

    qint32 activeSheetId() const { return m_activeSheetId; }
    QString activeSheetName() const { return m_activeSheetName; }
    void setActiveSheet(qint32 id, const QString &name);
    // The sheet stored in appset_cursca, or sheet 1 when no Dbs row has that id,
    // with its name. The setting itself is left as it is. Throws DbError.
    void loadActiveSheet();

    // The language menu's entry (0 automatic); takes effect at the next start.
    qint32 languageChoice() const { return m_languageChoice; }
    void setLanguageChoice(qint32 choice) { m_languageChoice = choice; }
    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString &path) { m_helpFile = path; }

    DisplayOptions &display() { return m_display; }
    const DisplayOptions &display() const { return m_display; }
    // The display options as stored; a layout out of range reads as plain.
    void readDisplayOptions();
    // Today plus the warning days, or today alone when the warning is off.
    QDate warnLimitDate() const;

private:
    SettingsStore m_settings;
    QString m_programFolder;
    QString m_databaseFolder;
    QString m_connectionString;
    QString m_serverRegister;
    QString m_registerForThisRun;
    Register m_register;
    qint32 m_activeSheetId = 1;
    QString m_activeSheetName;
    qint32 m_languageChoice = 0;
    QString m_helpFile;
    DisplayOptions m_display;
};
