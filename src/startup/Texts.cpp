#include "startup/Texts.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <QtDebug>

#include <array>

namespace {

// Columns of the table file after the id, in this order.
constexpr std::array<Language, 5> Columns = {Language::Italian, Language::English, Language::French,
                                             Language::Spanish, Language::German};

const QString TablePath = QStringLiteral(":/texts/texts.tsv");

struct TextTable
{
    QHash<int, QString> texts;   // keyed by base id + the language's offset
    int baseCount = 0;
};

Language g_language = Language::English;

// The file keeps one text per cell, so tabs, line breaks and backslashes inside a
// text are written as \t, \n and \\.
QString unescape(QStringView cell)
{
    if (!cell.contains(QLatin1Char('\\')))
        return cell.toString();
    QString out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell.at(i);
        if (c != QLatin1Char('\\') || i + 1 == cell.size()) {
            out += c;
            continue;
        }
        const QChar next = cell.at(++i);
        if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += next;
    }
    return out;
}

TextTable loadTable()
{
    TextTable table;
    QFile file(TablePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Resource text table %s is missing", qPrintable(TablePath));
        return table;
    }
    const QString content = QString::fromUtf8(file.readAll());
    table.texts.reserve(int(Columns.size()) * 256);
    const auto lines = QStringView(content).split(QLatin1Char('\n'));
    for (QStringView line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto cells = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int id = cells.isEmpty() ? 0 : cells.first().toInt(&ok);
        if (!ok || cells.size() != qsizetype(Columns.size()) + 1) {
            qWarning("Resource text table: malformed line \"%s\"", qPrintable(line.left(40).toString()));
            continue;
        }
        for (std::size_t col = 0; col < Columns.size(); ++col)
            table.texts.insert(id + qint16(Columns[col]), unescape(cells.at(qsizetype(col) + 1)));
        ++table.baseCount;
    }
    return table;
}

const TextTable &textTable()
{
    static const TextTable table = loadTable();
    return table;
}

} // namespace

void Texts::setLanguage(Language language)
{
    g_language = language;
}

Language Texts::language()
{
    return g_language;
}

QString Texts::text(int id)
{
    return text(id, g_language);
}

QString Texts::text(int id, Language language)
{
    return textTable().texts.value(id + qint16(language));
}

int Texts::count()
{
    return textTable().baseCount;
}
