#include "platform/LocaleDigits.h"

#include <QStringView>

namespace LocaleDigits {
namespace {

char32_t zeroOf(const QLocale &locale)
{
    const QString zero = locale.zeroDigit();
    const QList<uint> codes = zero.toUcs4();
    return codes.size() == 1 ? char32_t(codes.first()) : U'0';
}

} // namespace

int value(char32_t c, const QLocale &locale)
{
    if (c >= U'0' && c <= U'9')
        return int(c - U'0');
    const char32_t zero = zeroOf(locale);
    if (c >= zero && c <= zero + 9)
        return int(c - zero);
    return -1;
}

QString toAscii(const QString &text, const QLocale &locale)
{
    const char32_t zero = zeroOf(locale);
    if (zero == U'0')
        return text;
    QString out;
    out.reserve(text.size());
    for (const char32_t c : QStringView(text).toUcs4()) {
        if (c >= zero && c <= zero + 9)
            out.append(QChar(u'0' + char16_t(c - zero)));
        else
            out.append(QString::fromUcs4(&c, 1));
    }
    return out;
}

QString fromAscii(const QString &text, const QLocale &locale)
{
    const char32_t zero = zeroOf(locale);
    if (zero == U'0')
        return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            const char32_t digit = zero + char32_t(c.unicode() - u'0');
            out.append(QString::fromUcs4(&digit, 1));
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace LocaleDigits
