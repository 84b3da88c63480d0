#include "mainwindow/DeadlineList.h"

#include "startup/Texts.h"
#include "platform/MoneyFormatter.h"

#include <QStringList>

#include <limits>

namespace {

QString bracketedTotal(const TotalUnits &total, const QLocale &locale)
{
    const QString text = formatMoneySum(total, locale, [](int id) { return Texts::text(id); });
    return QStringLiteral(" [") + text + QLatin1Char(']');
}

} // namespace

bool viewShows(int viewRow, bool done, int type, const QDate &date, const QDate &first, const QDate &last)
{
    switch (viewRow) {
    case 0:
        return true;
    case 1:
        return !done;
    case 2:
        return !done && type != -2;
    case 3:
        return !done && type == 1;
    case 4:
        return !done && type == -1;
    case 5:
        return !done && type == -2;
    case 6:
        return done;
    default:
        return date.isValid() && date >= first && date <= last;
    }
}

int ListColumn::captionId(int column)
{
    return column >= TrRowId && column <= AcNotes ? 1000 + column - 1 : 0;
}

QStringList listFieldNames()
{
    return {QStringLiteral("TrRowId"), QStringLiteral("TrDbId"), QStringLiteral("TrType"), QStringLiteral("TrDone"),
            QStringLiteral("TrDate"), QStringLiteral("TrDescription"), QStringLiteral("TrAcId"),
            QStringLiteral("TrValue"), QStringLiteral("TrBalance"), QStringLiteral("TrGrpType"),
            QStringLiteral("TrGrpRow"), QStringLiteral("TrGrpMDay"), QStringLiteral("TrNotes"),
            QStringLiteral("TrGrpId"), QStringLiteral("AcId"), QStringLiteral("AcName"), QStringLiteral("AcNotes")};
}

QString searchText(const QString &description, const QString &counterpartyName, const QString &notes,
                   const QString &counterpartyNotes)
{
    QString text = description + u' ' + counterpartyName + u' ' + notes + u' ' + counterpartyNotes;
    // Blanks only, as the search always trimmed: a tab or a line break is text.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

int groupKeyForDate(const QDate &date, int groupOption, const QDate &today)
{
    if (!date.isValid())
        return 0;
    switch (groupOption) {
    case 1: {
        if (date <= today)
            return 0;
        const QDate monthEnd(today.year(), today.month(), today.daysInMonth());
        return date <= monthEnd ? 1 : 2;
    }
    case 2:
        return date.year() * 100 + date.month();
    default:
        return 0;
    }
}

QVariant openBalance(bool done, const QVariant &balance)
{
    if (done)
        return QVariant::fromValue(Currency());
    if (const auto amount = storedAmount(balance))
        return QVariant::fromValue(*amount);
    return balance;
}

QString descriptionShown(const QString &description, qint32 grpId, int grpRow, int grpMDay,
                         bool showCounters, const QString &counterSeparator)
{
    if (grpId <= 0 || !showCounters)
        return description;
    return description + QLatin1Char(' ') + QString::number(grpRow) + counterSeparator + QString::number(grpMDay);
}

QString counterSeparatorText()
{
    return QLatin1Char(' ') + Texts::text(1050) + QLatin1Char(' ');
}

bool isExpired(bool done, const QDate &date, const QDate &warningHorizon)
{
    return !done && date.isValid() && date <= warningHorizon;
}

QString deadlineStateText(int trType, bool done, const QDate &date, const QDate &today,
                          const QDate &warningHorizon, qint32 grpId, int grpRow, int grpMDay)
{
    QStringList words;
    switch (trType) {
    case 1:
        words << Texts::text(1041);   // "Credit"
        break;
    case -1:
        words << Texts::text(1042);   // "Debit"
        break;
    case -2:
        words << Texts::text(1043);   // the appointment
        break;
    default:
        break;
    }
    if (done)
        words << Texts::text(2742);
    else if (isExpired(done, date, warningHorizon))
        words << Texts::text(date < today ? 2743 : 2744);
    else
        words << Texts::text(2741);
    if (grpId > 0)
        words << QString::number(grpRow) + counterSeparatorText() + QString::number(grpMDay);
    return words.join(QStringLiteral(", "));
}

int typeIconIndex(int trType, bool done)
{
    switch (trType) {
    case 1:
        return done ? 11 : 5;
    case -1:
        return done ? 10 : 6;
    case -2:
        return done ? 12 : 7;
    default:
        return -1;
    }
}

int descriptionIconIndex(qint32 grpId, bool done)
{
    if (grpId <= 0)
        return -1;
    return done ? 13 : 9;
}

QString iconResourcePath(int index)
{
    static const char *const names[IconCount] = {
        "group",              // 1
        "calendar",           // 2
        "note",               // 3
        "search",             // 4
        "credit_open",        // 5
        "debit_open",         // 6
        "appointment_open",   // 7
        "info",               // 8
        "recurrence_open",    // 9
        "debit_closed",       // 10
        "credit_closed",      // 11
        "appointment_closed", // 12
        "recurrence_closed",  // 13
    };
    if (index < 1 || index > IconCount)
        return QString();
    return QStringLiteral(":/icons/") + QLatin1String(names[index - 1]) + QStringLiteral(".svg");
}

QString topGroupCaption(const QString &sheetName, const QString &viewCaption, int groupOption,
                        bool showTotals, const TotalUnits &total, const QLocale &locale)
{
    QString caption = sheetName + QStringLiteral(" - ") + viewCaption;
    if (groupOption == 3 && showTotals)
        caption += bracketedTotal(total, locale);
    return caption;
}

QString counterpartyGroupCaption(const QString &acName, const QString &defaultCaption,
                                 bool showTotals, const TotalUnits &total, const QLocale &locale)
{
    if (!showTotals)
        return defaultCaption;
    const QString name = acName.isEmpty() ? Texts::text(1054) : defaultCaption;
    return name + bracketedTotal(total, locale);
}

QString dateGroupCaption(int key, int groupOption, bool showTotals, const TotalUnits &total, const QLocale &locale)
{
    QString caption = QStringLiteral(" ");
    if (groupOption == 1) {
        caption += Texts::text(1060 + key);
    } else if (groupOption == 2) {
        const QDate month(key / 100, key % 100, 1);
        if (month.isValid())
            caption += locale.standaloneMonthName(month.month(), QLocale::LongFormat) + QLatin1Char(' ')
                + locale.toString(month, QStringLiteral("yyyy"));
    }
    if (showTotals)
        caption += bracketedTotal(total, locale);
    return caption;
}
