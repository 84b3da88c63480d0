#pragma once

#include <QDate>
#include <QtGlobal>

// What the windows that write deadlines need of the main window: its public
// refresh operations. frmMain implements it; tests can record the calls.
class ListHost
{
public:
    virtual ~ListHost() = default;

    virtual int currentView() const = 0;            // the view combo box's index
    virtual QDate selectionStart() const = 0;       // the calendar's selection
    virtual QDate selectionEnd() const = 0;

    virtual void gexUpdate(int view) = 0;
    virtual void mvGetDayBold() = 0;
    virtual void gextasksUpdate(const QDate &from, const QDate &to) = 0;
    virtual void sbBallon() = 0;
    virtual void picStartVisible() = 0;
    virtual void gexFind(qint32 rowId) = 0;
};

// The refresh that follows a saved deadline, in the order the list, calendar,
// panel, status bar and start panel depend on each other; rowId becomes current
// (0 matches no row).
inline void RefreshAfterDeadlineSave(ListHost &host, qint32 rowId)
{
    host.gexUpdate(host.currentView());
    host.mvGetDayBold();
    host.gextasksUpdate(host.selectionStart(), host.selectionEnd());
    host.sbBallon();
    host.picStartVisible();
    host.gexFind(rowId);
}
