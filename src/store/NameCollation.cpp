#include "store/NameCollation.h"

#include <sqlite3.h>

namespace {

int compareUtf16(void *context, int lengthA, const void *a, int lengthB, const void *b)
{
    const auto *collator = static_cast<const QCollator *>(context);
    return NameCollation::compare(*collator, QStringView(static_cast<const char16_t *>(a), lengthA / 2),
                                  QStringView(static_cast<const char16_t *>(b), lengthB / 2));
}

void destroyCollator(void *context)
{
    delete static_cast<QCollator *>(context);
}

} // namespace

QString NameCollation::orderBy(const QString &column)
{
    return QStringLiteral(" ORDER BY ") + column + QStringLiteral(" COLLATE ") + QLatin1String(SqlName);
}

QCollator NameCollation::collator(const QLocale &locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int NameCollation::compare(const QCollator &collator, QStringView a, QStringView b)
{
    const int byReading = collator.compare(a, b);
    if (byReading != 0)
        return byReading;
    return a.compare(b);
}

bool NameCollation::registerOn(sqlite3 *db)
{
    // Once registered, the engine owns the collator and deletes it with the
    // connection; a refused registration leaves it to us.
    auto *context = new QCollator(collator());
    if (sqlite3_create_collation_v2(db, SqlName, SQLITE_UTF16_ALIGNED, context, compareUtf16, destroyCollator)
        == SQLITE_OK)
        return true;
    delete context;
    return false;
}
