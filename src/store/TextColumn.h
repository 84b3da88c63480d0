#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

// A column of texts in which each distinct text is held once, every row naming
// its text by number: a list's notes, cadences, names and the descriptions of a
// recurrence's members repeat down thousands of rows. A row costs four bytes
// instead of a string of its own.
class TextColumn
{
public:
    TextColumn();
    ~TextColumn();
    TextColumn(TextColumn &&) noexcept;
    TextColumn &operator=(TextColumn &&) noexcept;
    TextColumn(const TextColumn &other);
    TextColumn &operator=(const TextColumn &other);

    int size() const { return int(m_rows.size()); }
    size_t capacity() const { return m_rows.capacity(); }
    void reserve(size_t rows);
    // Null up to rows, or cut down to them.
    void resize(int rows) { m_rows.resize(size_t(rows), NullText); }

    // A null QString is Null, apart from an empty text.
    const QString &at(int row) const;
    bool isNull(int row) const { return m_rows[size_t(row)] == NullText; }
    void set(int row, const QString &text);
    void append(const QString &text);
    // Text as stored, in UTF-8: made a QString only when not held already.
    void appendUtf8(const char *data, qsizetype size);
    void appendNull() { m_rows.push_back(NullText); }
    // Filled: the lookup by bytes goes, and its memory with it.
    void finishFilling();

    // Only the rows at those indexes, in that order.
    TextColumn picked(const std::vector<int> &indexes) const;

private:
    static constexpr qint32 NullText = -1;
    qint32 add(const QString &text);

    std::vector<qint32> m_rows;      // by row: the text's number, or NullText
    std::vector<QString> m_texts;    // by number
    // While the column is filled: the texts by their UTF-8 bytes. A column with
    // too many different texts stops looking and holds each new one.
    struct Lookup;
    std::unique_ptr<Lookup> m_lookup;
};
