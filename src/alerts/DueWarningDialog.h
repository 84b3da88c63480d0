#pragma once

#include "alerts/DueDeadlines.h"

#include <QDialog>

class QLabel;
class Session;

// The start-up warning: one sentence saying which kinds of open deadlines are
// overdue, due today or due within the warning days, and a Continue button.
class DueWarningDialog final : public QDialog
{
    Q_OBJECT

public:
    DueWarningDialog(const DueDeadlines::Found &found, int warnDays, QWidget *parent = nullptr);

    QString sentence() const;

    // Shows the warning modally over `owner` when the active sheet holds due
    // deadlines; returns whether it was shown. A database error shows nothing.
    static bool showIfDue(const Session &session, QWidget *owner);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Centres the warning over its owner's window, or over the screen's free area
    // while that window is not on screen.
    void centre();

    QLabel *m_sentence = nullptr;
    QSize m_centredFrameSize;   // the own frame's size when last centred
};
