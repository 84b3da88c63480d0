#pragma once

#include "../support/ListedRows.h"
#include "../support/MainWindowSession.h"
#include "../support/TestRows.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListPanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/grid/DataGrid.h"

#include <QAction>
#include <QComboBox>
#include <QScopeGuard>
#include <QTest>

#include <memory>

// The main window over its own copy of the template database, for the tests
// that drive it: start() in init, stop() in cleanup, open() in the test.
class MainWindowFixture
{
protected:
    void start(const QDate &today, const QLocale &locale = QLocale(QLocale::English, QLocale::UnitedStates))
    {
        m_session = std::make_unique<MainWindowSession>(today);
        QVERIFY(m_session->ok());
        QLocale::setDefault(locale);
    }
    void stop()
    {
        m_window.reset();
        m_session.reset();
    }
    void open(const QSize &size = {})
    {
        m_window = std::make_unique<MainWindow>(m_session->session());
        if (size.isValid())
            m_window->resize(size);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QString cs() const { return m_session->connectionString(); }
    DataGrid *list() const { return m_window->listPanel()->list(); }
    template<typename T = QAction> T *child(const char *name) const { return m_window->findChild<T *>(QLatin1String(name)); }
    void trigger(const char *action) const { child<QAction>(action)->trigger(); }
    QComboBox *views() const { return child<QComboBox>("viewCombo"); }
    QStringList listedDescriptions() const { return listedTexts(list(), ListColumn::TrDescription); }

    // The data row of description (and place grpRow, when given); 0 for none.
    int rowOf(const QString &description, int grpRow = 0) const
    {
        for (int row = 1; row <= list()->rowCount(); ++row)
            if (!list()->isGroupRow(row) && list()->value(row, ListColumn::TrDescription).toString() == description
                && (grpRow == 0 || list()->value(row, ListColumn::TrGrpRow).toInt() == grpRow))
                return row;
        return 0;
    }
    int countRows(const QString &where) const
    {
        return firstValue(cs(), QStringLiteral("SELECT Count(TrRowId) FROM Transactions WHERE ") + where).toInt();
    }
    // A deadline of the sheet as the store writes one; amount in whole units.
    void insert(int sheet, int type, bool done, const QDate &date, const QString &description, int acId = 0,
                qint64 whole = 1, int grpId = 0, int grpRow = 0, int grpSize = 0, const QString &notes = {})
    {
        insertDeadline(cs(), sheet, type, done, date, description, acId, Currency::fromWhole(whole), notes, grpId,
                       grpRow, grpSize);
    }
    int addCounterparty(const QString &name, const QString &notes = {})
    {
        runSql(cs(), QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES (?, ?)"), {name, notes});
        return firstValue(cs(), QStringLiteral("SELECT Max(AcId) FROM Accounts")).toInt();
    }

    std::unique_ptr<MainWindowSession> m_session;
    std::unique_ptr<MainWindow> m_window;
};
