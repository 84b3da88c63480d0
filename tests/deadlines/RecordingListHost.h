#pragma once

#include "mainwindow/DeadlineListHost.h"

#include <QStringList>

// Stands in for the main window and writes down each refresh call in order.
class RecordingListHost final : public DeadlineListHost
{
public:
    QStringList calls;

    int currentView() const override { return 3; }
    QDate selectionStart() const override { return {2017, 4, 1}; }
    QDate selectionEnd() const override { return {2017, 4, 30}; }
    void refreshList(int view) override { calls << QStringLiteral("refreshList %1").arg(view); }
    void markBusyDays() override { calls << QStringLiteral("markBusyDays"); }
    void refreshUpcoming(const QDate &from, const QDate &to) override
    {
        calls << QStringLiteral("refreshUpcoming %1 %2").arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate));
    }
    void updateStatus() override { calls << QStringLiteral("updateStatus"); }
    void updateEmptyListPanel() override { calls << QStringLiteral("updateEmptyListPanel"); }
    void findDeadline(qint32 rowId) override { calls << QStringLiteral("findDeadline %1").arg(rowId); }

    static QStringList refreshFinding(qint32 rowId)
    {
        return {QStringLiteral("refreshList 3"), QStringLiteral("markBusyDays"),
                QStringLiteral("refreshUpcoming 2017-04-01 2017-04-30"), QStringLiteral("updateStatus"),
                QStringLiteral("updateEmptyListPanel"), QStringLiteral("findDeadline %1").arg(rowId)};
    }
};
