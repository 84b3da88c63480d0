#pragma once

#include "store/Currency.h"

#include <QList>
#include <QString>

#include <functional>
#include <initializer_list>

class DeadlineFormKeys;
class QComboBox;
class DateBox;
class QDialog;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Register;
class QStatusBar;
class QToolButton;
class QWidget;

// The controls the new-deadline window and the deadline editor both show (type,
// description, client/supplier with its add button, amount, notes, Save, Cancel,
// status bar) and the conduct they share, so the two windows cannot drift apart.
// The controls are children of the form; this object only points at them, and
// its key and click handlers refer to it, so it lives as long as the form.
class DeadlineFields final
{
public:
    // A client/supplier added from the form is announced to changes.
    DeadlineFields(QDialog *form, Register &changes, std::function<void()> moveNext);
    Q_DISABLE_COPY_MOVE(DeadlineFields)

    QComboBox *type() const { return m_type; }
    QLineEdit *description() const { return m_description; }
    QComboBox *counterparty() const { return m_counterparty; }
    QLineEdit *amount() const { return m_amount; }
    QPlainTextEdit *notes() const { return m_notes; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *cancelButton() const { return m_cancel; }
    QStatusBar *statusBar() const { return m_statusBar; }
    DeadlineFormKeys *keys() const { return m_keys; }

    // A date box in the short date format of the locale, with a calendar to pick from.
    static DateBox *datePicker(const QString &name, QWidget *parent);

    // The type row at the top and the description, client/supplier, amount and
    // notes rows from detailRow on, captions in that order; returns the next free row.
    int placeRows(QGridLayout *grid, const QList<QLabel *> &captions, int detailRow) const;
    // The grid over the Save/Cancel row over the status bar.
    void layOut(QGridLayout *grid) const;
    // Ties a caption to its box, so a screen reader names the box after it.
    static void label(QLabel *caption, QWidget *box);
    // The focus to the first control of the window that can take it.
    void focusFirstField() const;
    // The tab order of the shared controls with the window's own between them.
    void setTabOrder(std::initializer_list<QWidget *> afterType, std::initializer_list<QWidget *> afterNotes) const;

    // Clears and greys out the amount of an appointment.
    void applyTypeRule();
    // Refills the client/supplier list from the Accounts table, with a blank entry
    // first, and limits the description to its column's length. Throws DbError.
    void fillCounterparties(const QString &connectionString);
    qint32 selectedCounterparty() const;
    // The chosen client/supplier was deleted while the window was open: says so,
    // reads the list again and hands the choice back to the user; every other
    // field keeps what was typed.
    void refuseGoneCounterparty();

    bool descriptionValid() const;
    bool amountValid() const;
    // True when the description and, but for an appointment, the amount hold;
    // otherwise the first that does not gets the focus.
    bool entriesHold() const;
    // What goes into the store: an appointment keeps no amount.
    Currency amountToStore() const;

private:
    void addCounterparty();

    QComboBox *m_type = nullptr;
    QLineEdit *m_description = nullptr;
    QComboBox *m_counterparty = nullptr;
    QToolButton *m_add = nullptr;
    QLineEdit *m_amount = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_cancel = nullptr;
    QStatusBar *m_statusBar = nullptr;
    DeadlineFormKeys *m_keys = nullptr;
    QDialog *m_form = nullptr;
    Register &m_changes;
    QString m_connectionString;   // where the client/supplier list was last read
};
