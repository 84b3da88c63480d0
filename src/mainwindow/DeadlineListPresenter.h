#pragma once

#include "platform/grid/GridPresenter.h"

#include <QDate>
#include <QString>

// How the main list presents its rows: the group key and open balance columns,
// the description with its counter, no amount for appointments, the type and
// recurrence pictures, the "Expired" style and the group captions with totals.
// The display options come from the shared variables; the window tells it the
// warning horizon and the caption of the current view.
class DeadlineListPresenter final : public GridPresenter
{
public:
    void setWarningHorizon(const QDate &horizon) { m_warningHorizon = horizon; }
    QDate warningHorizon() const { return m_warningHorizon; }
    void setViewCaption(const QString &caption) { m_viewCaption = caption; }

    QVariant computedValue(int column, const GridRow &row) override;
    bool displayText(int column, const GridRow &row, QString &text) override;
    int iconIndex(int column, const GridRow &row) override;
    QString rowStyle(const GridRow &row) override;
    QString groupCaption(const GridGroup &group, const QString &defaultCaption) override;
    bool isSortable(int column) override;

private:
    QDate m_warningHorizon;
    QString m_viewCaption;
};
