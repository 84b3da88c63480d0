#pragma once

#include "store/SqlTokenizer.h"

#include <QString>

// The lexical rules the Jet translation and the store share: keywords,
// identifiers and texts as SQLite reads them, the operators around operands, and
// currency literals counted in ten-thousandths.
namespace JetSyntax {

bool isKeyword(const SqlToken &token);
// A name SQLite takes without quotes: ASCII letters, digits and '_', no keyword.
bool isPlainIdentifier(const QString &name);
// The name as is when plain, otherwise between double quotes.
QString quoteIdentifier(const QString &name);
// Always between double quotes, inner ones doubled.
QString quotedName(const QString &name);
// Between single quotes, inner ones doubled.
QString quoteText(const QString &text);
bool isComparison(const SqlToken &token);
bool isArithmetic(const SqlToken &token);
// An unsigned decimal literal as an exact count of ten-thousandths, rounded half
// away from zero beyond the fourth decimal. Throws DbError past the currency range.
QString scaledCurrencyLiteral(const QString &number);
// The SQLite name of a Jet function (UCase -> upper, Len -> length, ...).
QString mappedFunction(const QString &name);

} // namespace JetSyntax
