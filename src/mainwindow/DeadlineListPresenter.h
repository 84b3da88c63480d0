#pragma once

#include "platform/grid/GridPresenter.h"

#include <QDate>
#include <QString>

class Session;

// How the main list presents its rows: the group key and open balance columns,
// the description with its counter, no amount for appointments, the type and
// recurrence pictures, the "Expired" style and the group captions with totals.
// The display options come from the session; the window tells it the
// warning horizon and the caption of the current view.
class DeadlineListPresenter final : public GridPresenter
{
public:
    explicit DeadlineListPresenter(const Session &session) : m_session(session) {}

    void setWarningHorizon(const QDate &horizon) { m_warningHorizon = horizon; }
    QDate warningHorizon() const { return m_warningHorizon; }
    void setViewCaption(const QString &caption) { m_viewCaption = caption; }

    QVariant computedValue(int column, const GridRow &row) override;
    std::optional<std::int64_t> computedNumber(int column, const GridRow &row) override;
    bool displayText(int column, const GridRow &row, QString &text) override;
    int iconIndex(int column, const GridRow &row) override;
    QString rowStyle(const GridRow &row) override;
    QString groupCaption(const GridGroup &group, const QString &defaultCaption) override;
    bool isSortable(int column) override;
    QString accessibleText(int column, const GridRow &row) override;
    QString accessibleColumnName(int column) override;
    QString accessibleDescription(const GridRow &row) override;

private:
    const Session &m_session;
    QDate m_warningHorizon;
    QString m_viewCaption;
    QDate m_today;   // for the pass over the rows under way
};
