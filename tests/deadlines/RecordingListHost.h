#pragma once

#include "mainwindow/ListHost.h"

#include <QStringList>

// Stands in for the main window and writes down each refresh call in order.
class RecordingListHost final : public ListHost
{
public:
    QStringList calls;

    int currentView() const override { return 3; }
    QDate selectionStart() const override { return {2017, 4, 1}; }
    QDate selectionEnd() const override { return {2017, 4, 30}; }
    void gexUpdate(int view) override { calls << QStringLiteral("gexUpdate %1").arg(view); }
    void mvGetDayBold() override { calls << QStringLiteral("mvGetDayBold"); }
    void gextasksUpdate(const QDate &from, const QDate &to) override
    {
        calls << QStringLiteral("gextasksUpdate %1 %2").arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate));
    }
    void sbBallon() override { calls << QStringLiteral("sbBallon"); }
    void picStartVisible() override { calls << QStringLiteral("picStartVisible"); }
    void gexFind(qint32 rowId) override { calls << QStringLiteral("gexFind %1").arg(rowId); }

    static QStringList refreshFinding(qint32 rowId)
    {
        return {QStringLiteral("gexUpdate 3"), QStringLiteral("mvGetDayBold"),
                QStringLiteral("gextasksUpdate 2017-04-01 2017-04-30"), QStringLiteral("sbBallon"),
                QStringLiteral("picStartVisible"), QStringLiteral("gexFind %1").arg(rowId)};
    }
};
