#include "mainwindow/ChangeCaptions.h"

#include "mainwindow/DeadlineList.h"
#include "startup/Texts.h"
#include "store/RowChange.h"

#include <QSet>

namespace ChangeCaption {

namespace {

constexpr qsizetype LongestName = 40;

QString oneShortLine(QString name)
{
    for (QChar &c : name) {
        if (c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    name = name.simplified();
    if (name.size() > LongestName)
        name = name.left(LongestName - 1).trimmed() + QChar(0x2026);
    return name;
}

const StoredRow *subjectRow(const RowChange &change)
{
    const std::vector<StoredRow> &before = change.before(StoredTable::Deadlines);
    const std::vector<StoredRow> &after = change.after(StoredTable::Deadlines);
    QSet<qint64> beforeIds;
    for (const StoredRow &row : before)
        beforeIds.insert(row.id());
    QSet<qint64> afterIds;
    for (const StoredRow &row : after) {
        afterIds.insert(row.id());
        if (!beforeIds.contains(row.id()))
            return &row;
    }
    for (const StoredRow &row : before) {
        if (!afterIds.contains(row.id()))
            return &row;
    }
    for (const StoredRow &row : after) {
        for (const StoredRow &old : before) {
            if (old.id() == row.id() && old != row)
                return &row;
        }
    }
    return after.empty() ? (before.empty() ? nullptr : &before.front()) : &after.front();
}

QString entry(int textId, int aloneTextId, const QString &caption)
{
    if (caption.isEmpty())
        return Texts::text(aloneTextId);
    return Texts::text(textId).arg(QString(caption).replace(u'&', QStringLiteral("&&")));
}

} // namespace

QString caption(Text text, const QString &name)
{
    return Texts::text(int(text)).arg(oneShortLine(name));
}

QString deadlineCaption(Text text, const RowChange &change, bool withCounter)
{
    const StoredRow *row = subjectRow(change);
    if (!row)
        return caption(text, QString());
    // Shortened before the counter is added, so that "3 of 12" always shows.
    const QString description = oneShortLine(row->text(RowChange::TrDescription));
    const QString name = descriptionShown(description, qint32(row->integer(RowChange::TrGrpId)),
                                          int(row->integer(RowChange::TrGrpRow)),
                                          int(row->integer(RowChange::TrGrpMDay)), withCounter, counterSeparatorText());
    return Texts::text(int(text)).arg(name);
}

QString nameCaption(Text text, const RowChange &change, StoredTable table)
{
    const std::vector<StoredRow> &rows = change.after(table).empty() ? change.before(table) : change.after(table);
    // The name is the second column of Accounts and of Dbs alike.
    return caption(text, rows.empty() ? QString() : rows.front().text(1));
}

QString toggleCaption(const RowChange &change)
{
    const std::vector<StoredRow> &after = change.after(StoredTable::Deadlines);
    const bool closed = !after.empty() && after.front().integer(RowChange::TrDone) != 0;
    return deadlineCaption(closed ? CloseDeadline : ReopenDeadline, change, true);
}

QString undoEntry(const QString &caption)
{
    return entry(2873, 2871, caption);
}

QString redoEntry(const QString &caption)
{
    return entry(2874, 2872, caption);
}

} // namespace ChangeCaption
