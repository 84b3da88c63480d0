#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every target shares: the input read as UTF-8 (invalid sequences become
// replacement characters, as text from a file or the clipboard would), and a
// property failure that stops the run with the offending values printed.
namespace FuzzText {

inline QString fromBytes(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

[[noreturn]] inline void fail(const char *what, const QString &left, const QString &right)
{
    std::fprintf(stderr, "property broken: %s\n  <%s>\n  <%s>\n", what, qPrintable(left), qPrintable(right));
    std::abort();
}

} // namespace FuzzText
