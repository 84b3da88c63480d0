// The reader of dates as the user types them. The first byte picks one of the
// program's five languages' locales, the C locale, or one that writes other
// digits (Persian); the rest is the text. Beyond not crashing: a date it accepts
// is a real day, and that day as the program shows it never reads back as another
// day (a shown text with a month name is refused: the date box keeps its date).
#include "FuzzText.h"
#include "platform/DateFormat.h"
#include "platform/DateText.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::array<QLocale, 7> locales{
        QLocale(QLocale::Italian, QLocale::Italy),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::Spanish, QLocale::Spain),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale::c(),
        QLocale(QLocale::Persian, QLocale::Iran),
    };
    static const QDate reference(2026, 12, 7);
    if (size == 0)
        return 0;
    const QLocale &locale = locales[data[0] % locales.size()];
    const QString text = FuzzText::fromBytes(data + 1, size - 1);

    const std::optional<QDate> date = DateText::parse(text, locale, reference);
    if (!date)
        return 0;
    if (!date->isValid())
        FuzzText::fail("accepted a day that does not exist", text, date->toString(Qt::ISODate));
    const QString shown = shortDateText(*date, locale);
    const std::optional<QDate> again = DateText::parse(shown, locale, reference);
    if (again && *again != *date)
        FuzzText::fail("a shown date reads back as another day", text + QStringLiteral(" -> ") + shown,
                       again->toString(Qt::ISODate));
    return 0;
}
