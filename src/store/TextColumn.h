#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <string>
#include <vector>

// Texts held once each, numbered in the order they came, and found again by
// their UTF-8 bytes while a read fills them: a list's notes, cadences, names
// and the descriptions of a recurrence's members repeat down thousands of rows,
// so most rows make no string at all. A pool with too many different texts
// stops looking and holds each new one.
class TextPool
{
public:
    TextPool();
    ~TextPool();
    TextPool(TextPool &&) noexcept;
    TextPool &operator=(TextPool &&) noexcept;
    // A copy holds the same texts; it looks nothing up until it is filled again.
    TextPool(const TextPool &other);
    TextPool &operator=(const TextPool &other);

    // The number of the text with those bytes, added when it is new.
    qint32 numberOfUtf8(const char *data, qsizetype size);
    // The number of a text added without looking.
    qint32 add(const QString &text);
    const QString &text(qint32 number) const { return m_texts[size_t(number)]; }
    // Filled: the lookup by bytes goes, and its memory with it.
    void finishFilling();

private:
    std::vector<QString> m_texts;   // by number
    struct Lookup;
    std::unique_ptr<Lookup> m_lookup;
};

// A column of texts in which each distinct text is held once, every row naming
// its text by number: a row costs four bytes instead of a string of its own.
class TextColumn
{
public:
    int size() const { return int(m_rows.size()); }
    size_t capacity() const { return m_rows.capacity(); }
    // Room for rows, its memory committed as the rows come (commit).
    void reserve(size_t rows) { m_rows.reserve(rows); }
    // Commits the room of rows from first to first + count.
    void commit(size_t first, size_t count);
    // Null up to rows, or cut down to them.
    void resize(int rows) { m_rows.resize(size_t(rows), NullText); }

    // A null QString is Null, apart from an empty text.
    const QString &at(int row) const;
    bool isNull(int row) const { return m_rows[size_t(row)] == NullText; }
    // A changed row's text is added, not looked for: the old one may still be named elsewhere.
    void set(int row, const QString &text) { m_rows[size_t(row)] = hold(text); }
    void append(const QString &text) { m_rows.push_back(hold(text)); }
    // Text as stored, in UTF-8: made a QString only when not held already.
    void appendUtf8(const char *data, qsizetype size);
    void appendNull() { m_rows.push_back(NullText); }
    // A text that rows then name by the number returned, with appendHeld: held
    // once however many rows name it. A null QString is Null.
    qint32 hold(const QString &text) { return text.isNull() ? NullText : m_texts.add(text); }
    void appendHeld(qint32 held) { m_rows.push_back(held); }
    void finishFilling()
    {
        m_texts.finishFilling();
        m_lastBytes = std::string();
    }

    // Only the rows at those indexes, in that order.
    TextColumn picked(const std::vector<int> &indexes) const;

private:
    static constexpr qint32 NullText = -1;

    std::vector<qint32> m_rows;   // by row: the text's number, or NullText
    TextPool m_texts;
    // The text appended last and its bytes: the next row often repeats them.
    qint32 m_last = NullText;
    std::string m_lastBytes;
};
