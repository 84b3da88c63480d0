#pragma once

#include <QDate>
#include <QtGlobal>

// What the windows that write deadlines need of the main window: the state its
// list is shown in and its refresh operations. MainWindow implements it; tests
// record the calls.
class DeadlineListHost
{
public:
    virtual ~DeadlineListHost() = default;

    virtual int currentView() const = 0;            // the view box's index
    virtual QDate selectionStart() const = 0;       // the calendar's selection
    virtual QDate selectionEnd() const = 0;

    virtual void refreshList(int view) = 0;
    virtual void markBusyDays() = 0;
    virtual void refreshUpcoming(const QDate &first, const QDate &last) = 0;
    virtual void updateStatus() = 0;
    virtual void updateEmptyListPanel() = 0;
    virtual void findDeadline(qint32 rowId) = 0;
};

// The refresh that follows a saved deadline, in the order the list, calendar,
// panel, status bar and empty-list panel depend on each other; rowId becomes
// current (0 matches no row).
inline void refreshAfterSave(DeadlineListHost &host, qint32 rowId)
{
    host.refreshList(host.currentView());
    host.markBusyDays();
    host.refreshUpcoming(host.selectionStart(), host.selectionEnd());
    host.updateStatus();
    host.updateEmptyListPanel();
    host.findDeadline(rowId);
}
