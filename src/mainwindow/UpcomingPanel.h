#pragma once

#include "mainwindow/UpcomingListPresenter.h"

#include <QDate>
#include <QWidget>

class DataGrid;
class Session;

// The open deadlines of the days selected in the calendar. A click, Enter or
// Space on one makes it the list's current deadline.
class UpcomingPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit UpcomingPanel(Session &session, QWidget *parent = nullptr);
    ~UpcomingPanel() override;

    DataGrid *list() const { return m_list; }
    // Lists the open deadlines of the active sheet from first to last.
    void showDays(const QDate &first, const QDate &last);

signals:
    // The deadline chosen, 0 when the panel lists none: the list takes the focus either way.
    void deadlineChosen(qint32 rowId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sizeColumn();
    void chooseCurrent();

    Session &m_session;
    UpcomingListPresenter m_presenter;
    QDate m_first;
    QDate m_last;
    DataGrid *m_list = nullptr;
    QWidget *m_viewport = nullptr;   // where clicks on the deadlines land
};
