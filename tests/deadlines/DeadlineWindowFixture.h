#pragma once

#include "../registers/RegisterTestDb.h"
#include "../support/Announcements.h"

#include "deadlines/AddToGroupDialog.h"
#include "deadlines/DeadlineEditor.h"
#include "deadlines/DeleteFromGroupDialog.h"
#include "deadlines/NewDeadlineWindow.h"
#include "platform/Clock.h"
#include "platform/DateBox.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Texts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QScopeGuard>
#include <QTimer>
#include <QWindow>

#include <limits>

// What a screen reader misses in a window, read through the accessibility
// interfaces it uses, not through the window's own members: "name: unnamed" for
// a button or box without an accessible name, "name: unlabelled" for a box that
// no label names (no Label relation). The parts Qt builds inside a control are
// left out.
inline QStringList unspokenControls(QWidget *form)
{
    QStringList out;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        const bool box = qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QPlainTextEdit *>(w);
        if ((!box && !qobject_cast<QAbstractButton *>(w)) || w->objectName().isEmpty()
            || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            out << w->objectName() + QStringLiteral(": unnamed");
        if (box && (!iface || iface->relations(QAccessible::Label).isEmpty()))
            out << w->objectName() + QStringLiteral(": unlabelled");
    }
    return out;
}

// The new-deadline window and the editor of one deadline over a fresh copy of
// the template database: setUpCase() in initTestCase, setUp() in init and
// tearDown() in cleanup.
class DeadlineWindowFixture
{
protected:
    static void setUpCase()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        Clock::pin(QDate(2017, 4, 3));
    }

    void setUp()
    {
        m_db = std::make_unique<WindowTestDb>();
        QVERIFY(m_db->ok());
        m_announced = std::make_unique<Announcements>(m_db->session().deadlineRegister());
        m_form = std::make_unique<NewDeadlineWindow>(m_db->session());
        m_announced->follow(m_form.get());
        m_editor = std::make_unique<DeadlineEditor>(m_db->session());
        m_announced->follow(m_editor.get());
        m_rowIds.clear();
        QObject::connect(&m_db->session().deadlineRegister(), &Register::deadlinesChanged,
                         [this](qint32, const QList<qint32> &rowIds) { m_rowIds.append(rowIds); });
    }

    void tearDown()
    {
        m_editor.reset();
        m_form.reset();
        m_announced.reset();
        m_db.reset();
    }

    // Every stored deadline in date order: date, type, description, notes, value,
    // balance, group type, place, size and group.
    QStringList stored() const
    {
        return tableRows(m_db->connectionString(), QStringLiteral("TrDate, TrType, TrDescription, TrNotes, TrValue, TrBalance, "
                                                                 "TrGrpType, TrGrpRow, TrGrpMDay, TrGrpId"),
                         QStringLiteral("1"), QStringLiteral("TrDate, TrRowId"));
    }

    template<typename T> T *child(const char *name) const { return controlOf<T>(m_form.get(), name); }

    void open()
    {
        m_form->openBlank();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        child<QComboBox>("typeCombo")->setFocus();
    }

    template<typename T> T *inEditor(const char *name) const { return controlOf<T>(m_editor.get(), name); }

    // A monthly group of four debits of 100 (rows 1 to 4) and an appointment (row 5).
    void editorRows()
    {
        m_db->save(rent(QDate(2017, 1, 31), 4));
        DeadlineStore::NewDeadlines appointment = rent(QDate(2017, 1, 31), 0);
        appointment.type = -2;
        appointment.description = QStringLiteral("Dentist");
        m_db->save(appointment);
        m_rowIds.clear();
    }

    void openRow(int rowId)
    {
        m_editor->open(rowId);
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    }

    std::unique_ptr<WindowTestDb> m_db;
    std::unique_ptr<Announcements> m_announced;
    std::unique_ptr<NewDeadlineWindow> m_form;
    std::unique_ptr<DeadlineEditor> m_editor;
    QList<qint32> m_rowIds;   // the rows the saves announced
};
