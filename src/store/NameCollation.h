#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringView>

struct sqlite3;

// The one order of names (clients/suppliers, sheets) everywhere the program lists
// them: the locale's collation with case ignored, so "Ärztekammer" comes among the
// A's; names that still compare equal fall back to their exact text, so the order
// never depends on the order the rows were read in.
namespace NameCollation {

// The collation's name on every connection: "... ORDER BY AcName COLLATE UserLocale".
// Only queries use it; the file's schema never names it, so other programs can
// still open every table and index.
inline constexpr char SqlName[] = "UserLocale";

// " ORDER BY <column> COLLATE UserLocale": the end of a query that lists names.
QString orderBy(const QString &column);

// A collator of the locale (by default the current one), case ignored.
QCollator collator(const QLocale &locale = QLocale());
// <0, 0 or >0 as a sorts before, with or after b.
int compare(const QCollator &collator, QStringView a, QStringView b);

// Registers the collation on an open SQLite connection; false when the engine refused.
bool registerOn(sqlite3 *db);

} // namespace NameCollation
