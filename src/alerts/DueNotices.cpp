#include "alerts/DueNotices.h"

#include "mainwindow/DeadlineList.h"
#include "platform/DateFormat.h"
#include "startup/Texts.h"

#include <QSet>

#include <algorithm>

namespace {

constexpr int ManyTodayText = 2940;   // "%1 deadlines due today in %2: %3"
constexpr int OneTodayText = 2941;    // "1 deadline due today in %1: %2"
constexpr int ManyByText = 2942;      // "%1 deadlines due by %2 in %3: %4"
constexpr int OneOnText = 2943;       // "1 deadline due on %1 in %2: %3"
constexpr int NoDescriptionText = 2944;

QString nameOf(const DueDeadline &deadline, const QString &counterSeparator)
{
    const QString description = deadline.description.trimmed();
    return descriptionShown(description.isEmpty() ? Texts::text(NoDescriptionText) : description, deadline.groupId,
                            deadline.groupRow, deadline.groupSize, true, counterSeparator);
}

} // namespace

namespace DueNotices {

QString announcedKey(const DueDeadline &deadline)
{
    return QString::number(deadline.rowId) + QLatin1Char('@') + deadline.date.toString(Qt::ISODate);
}

QStringList announcedKeys(const std::vector<DueDeadline> &due)
{
    QStringList keys;
    keys.reserve(qsizetype(due.size()));
    for (const DueDeadline &deadline : due)
        keys.append(announcedKey(deadline));
    return keys;
}

std::vector<SheetNotice> newlyDue(const std::vector<DueDeadline> &due, const QStringList &announced)
{
    const QSet<QString> known(announced.cbegin(), announced.cend());
    std::vector<SheetNotice> notices;
    for (const DueDeadline &deadline : due) {
        if (known.contains(announcedKey(deadline)))
            continue;
        auto notice = std::find_if(notices.begin(), notices.end(),
                                   [&](const SheetNotice &n) { return n.sheetId == deadline.sheetId; });
        if (notice == notices.end())
            notice = notices.insert(notices.end(), SheetNotice{deadline.sheetId, deadline.sheetName, {}});
        notice->deadlines.push_back(deadline);
    }
    return notices;
}

QString sentence(const SheetNotice &notice, const QDate &today, const QString &counterSeparator)
{
    const auto &deadlines = notice.deadlines;
    if (deadlines.empty())
        return {};
    QStringList names;
    for (std::size_t i = 0; i < deadlines.size() && i < std::size_t(NamesShown); ++i)
        names.append(nameOf(deadlines[i], counterSeparator));
    if (deadlines.size() > std::size_t(NamesShown))
        names.append(QStringLiteral("…"));
    const QString listed = names.join(QStringLiteral(", "));

    QDate latest = deadlines.front().date;
    for (const DueDeadline &deadline : deadlines)
        latest = std::max(latest, deadline.date);
    const int count = int(deadlines.size());
    if (latest <= today) {
        return count == 1 ? Texts::text(OneTodayText).arg(notice.sheetName, listed)
                          : Texts::text(ManyTodayText).arg(QString::number(count), notice.sheetName, listed);
    }
    const QString date = shortDateText(latest);
    return count == 1 ? Texts::text(OneOnText).arg(date, notice.sheetName, listed)
                      : Texts::text(ManyByText).arg(QString::number(count), date, notice.sheetName, listed);
}

} // namespace DueNotices
