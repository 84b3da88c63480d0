#include "mainwindow/DeadlineListPresenter.h"

#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "platform/MoneyFormatter.h"

#include <QLocale>

QVariant DeadlineListPresenter::computedValue(int column, const GridRow &row)
{
    switch (column) {
    case ListColumn::GroupKey:
        return int(*computedNumber(column, row));
    case ListColumn::OpenBalance:
        return openBalance(row.field(ListColumn::TrDone).toBool(), row.field(ListColumn::TrBalance));
    default:
        return {};
    }
}

std::optional<std::int64_t> DeadlineListPresenter::computedNumber(int column, const GridRow &row)
{
    switch (column) {
    case ListColumn::GroupKey: {
        // Only the layouts by due date and by month group on it.
        const int groupOption = m_session.display().groupOption;
        if (groupOption != 1 && groupOption != 2)
            return 0;
        // Each re-read asks row by row from the first: today is read once per
        // pass, as reading the clock consults the time zone every time.
        if (row.bookmark() == 0 || !m_today.isValid())
            m_today = Clock::today();
        return groupKeyForDate(row.date(ListColumn::TrDate), groupOption, m_today);
    }
    case ListColumn::OpenBalance:
        // As openBalance(): nothing owed once done, a Null balance is zero, and
        // a balance that is no amount is left to computedValue() to keep as read.
        if (row.number(ListColumn::TrDone).value_or(0) != 0)
            return 0;
        return row.number(ListColumn::TrBalance, 0);
    default:
        return std::nullopt;
    }
}

bool DeadlineListPresenter::displayText(int column, const GridRow &row, QString &text)
{
    if (column == ListColumn::TrDescription) {
        text = descriptionShown(row.field(ListColumn::TrDescription).toString(),
                                row.field(ListColumn::TrGrpId).toInt(), row.field(ListColumn::TrGrpRow).toInt(),
                                row.field(ListColumn::TrGrpMDay).toInt(), m_session.display().showGroupCounters,
                                m_session.display().counterSeparator);
        return true;
    }
    if (column == ListColumn::TrValue) {
        if (row.field(ListColumn::TrType).toInt() == -2) {
            text.clear();   // an appointment has no amount
            return true;
        }
        // A value in the file that no amount holds is said so, never shown as a number.
        if (!storedAmount(row.field(ListColumn::TrValue))) {
            text = Texts::text(AmountOutOfRangeTextId);
            return true;
        }
    }
    return false;
}

int DeadlineListPresenter::iconIndex(int column, const GridRow &row)
{
    const bool done = row.field(ListColumn::TrDone).toBool();
    if (column == ListColumn::TrType)
        return typeIconIndex(row.field(ListColumn::TrType).toInt(), done);
    if (column == ListColumn::TrDescription)
        return descriptionIconIndex(row.field(ListColumn::TrGrpId).toInt(), done);
    return -1;
}

QString DeadlineListPresenter::rowStyle(const GridRow &row)
{
    if (isExpired(row.field(ListColumn::TrDone).toBool(), row.field(ListColumn::TrDate).toDate(), m_warningHorizon))
        return QStringLiteral("Expired");
    return {};
}

QString DeadlineListPresenter::groupCaption(const GridGroup &group, const QString &defaultCaption)
{
    const QLocale locale;
    const Session::DisplayOptions &display = m_session.display();
    // The sum runs over every row of the group: only a caption that shows it asks.
    const bool showsTotal = display.showGroupTotals
        && (group.column() != ListColumn::TrDbId || display.groupOption == 3);
    const TotalUnits total = showsTotal ? group.sum(ListColumn::OpenBalance) : TotalUnits();
    switch (group.column()) {
    case ListColumn::TrDbId:
        return topGroupCaption(m_session.activeSheetName(), m_viewCaption, display.groupOption,
                               display.showGroupTotals, total, locale);
    case ListColumn::AcName:
        return counterpartyGroupCaption(group.value().toString(), defaultCaption, display.showGroupTotals, total,
                                        locale);
    case ListColumn::GroupKey:
        return dateGroupCaption(group.value().toInt(), display.groupOption, display.showGroupTotals, total, locale);
    default:
        return defaultCaption;
    }
}

bool DeadlineListPresenter::isSortable(int column)
{
    return column == ListColumn::TrDate || column == ListColumn::TrDescription || column == ListColumn::TrValue;
}

QString DeadlineListPresenter::accessibleText(int column, const GridRow &row)
{
    // The type column shows only a picture: it is read as the type's name. The
    // state the other pictures show is in every cell's description.
    if (column != ListColumn::TrType)
        return {};
    switch (row.field(ListColumn::TrType).toInt()) {
    case 1:
        return Texts::text(1041);   // "Credit"
    case -1:
        return Texts::text(1042);   // "Debit"
    case -2:
        return Texts::text(1043);   // the appointment
    default:
        return {};
    }
}

QString DeadlineListPresenter::accessibleDescription(const GridRow &row)
{
    return deadlineStateText(row.field(ListColumn::TrType).toInt(), row.field(ListColumn::TrDone).toBool(),
                             row.field(ListColumn::TrDate).toDate(), Clock::today(), m_warningHorizon,
                             row.field(ListColumn::TrGrpId).toInt(), row.field(ListColumn::TrGrpRow).toInt(),
                             row.field(ListColumn::TrGrpMDay).toInt());
}

QString DeadlineListPresenter::accessibleColumnName(int column)
{
    // Its caption is left empty on screen, where the pictures speak for it.
    return column == ListColumn::TrType ? Texts::text(ListColumn::captionId(column)) : QString();
}
