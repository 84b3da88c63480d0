// The parser of amounts as the user types them. The first byte picks one of the
// program's five languages' locales, the Swiss German one (an apostrophe groups
// thousands), the C locale, or one of two that write other digits and direction
// marks (Egyptian Arabic, Persian); the rest is the text. Beyond not crashing: an
// amount it accepts, formatted the way the program shows it, reads back as the
// same amount; what the save-time check accepts is an amount the plain parser
// reads the same, never below zero, and its formatted form passes the check too.
#include "FuzzText.h"
#include "deadlines/AmountText.h"

#include <QLocale>

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::array<QLocale, 9> locales{
        QLocale(QLocale::Italian, QLocale::Italy),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::Spanish, QLocale::Spain),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::German, QLocale::Switzerland),   // apostrophe groups thousands
        QLocale::c(),
        QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Persian, QLocale::Iran),
    };
    if (size == 0)
        return 0;
    const QLocale &locale = locales[data[0] % locales.size()];
    const QString text = FuzzText::fromBytes(data + 1, size - 1);

    const std::optional<Currency> entry = AmountText::parseEntry(text, locale);
    const std::optional<Currency> amount = AmountText::parse(text, locale);
    if (entry) {
        if (!amount || amount->units() != entry->units() || entry->units() < 0)
            FuzzText::fail("the save-time check accepts what the parser reads otherwise", text,
                           entry->toPlainText());
        if (!AmountText::parseEntry(AmountText::format(*entry, locale), locale))
            FuzzText::fail("the save-time check refuses a formatted amount", text,
                           AmountText::format(*entry, locale));
    }
    if (!amount)
        return 0;
    const QString shown = AmountText::format(*amount, locale);
    const std::optional<Currency> again = AmountText::parse(shown, locale);
    if (!again || again->units() != amount->units())
        FuzzText::fail("formatted amount reads back differently", text + QStringLiteral(" -> ") + shown,
                       again ? again->toPlainText() : QStringLiteral("(refused)"));
    return 0;
}
