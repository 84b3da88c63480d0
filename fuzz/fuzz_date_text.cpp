// The reader of the inside of a #...# date literal. Beyond not crashing: a day it
// accepts is a real day, and the literal the program writes for that day, in
// either form the reader takes, reads back as the same day.
#include "FuzzText.h"
#include "store/SqlText.h"
#include "store/SqlTokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString inner = FuzzText::fromBytes(data, size);
    const QDate date = SqlTokenizer::parseDateLiteral(inner);
    if (!date.isValid())
        return 0;
    if (date.year() < 1 || date.year() > 9999)
        FuzzText::fail("year outside 1..9999", inner, date.toString(Qt::ISODate));

    const QString written = sqlDateLiteral(date);
    const QDate monthFirst = SqlTokenizer::parseDateLiteral(QStringView(written).mid(1, written.size() - 2));
    if (monthFirst != date)
        FuzzText::fail("written literal reads back as another day", inner, written);
    const QString iso = date.toString(Qt::ISODate);
    if (SqlTokenizer::parseDateLiteral(iso) != date)
        FuzzText::fail("year-first form reads back as another day", inner, iso);
    return 0;
}
