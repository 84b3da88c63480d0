#include "store/TextColumn.h"

#include "store/Prefault.h"

#include <string>
#include <string_view>
#include <unordered_map>

struct TextColumn::Lookup
{
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    static constexpr size_t Limit = 4096;
    std::unordered_map<std::string, qint32, Hash, std::equal_to<>> numbers;
    bool full = false;
    std::string last;          // the bytes of the text appended last, which the next row often repeats
    qint32 lastNumber = NullText;
};

TextColumn::TextColumn() = default;
TextColumn::~TextColumn() = default;
TextColumn::TextColumn(TextColumn &&) noexcept = default;
TextColumn &TextColumn::operator=(TextColumn &&) noexcept = default;

// A copy holds the same texts; it looks nothing up, as a column once filled has no need to.
TextColumn::TextColumn(const TextColumn &other) : m_rows(other.m_rows), m_texts(other.m_texts) {}

TextColumn &TextColumn::operator=(const TextColumn &other)
{
    if (this != &other) {
        m_rows = other.m_rows;
        m_texts = other.m_texts;
        m_lookup.reset();
    }
    return *this;
}

void TextColumn::reserve(size_t rows)
{
    m_rows.reserve(rows);
    prefault(m_rows);
}

void TextColumn::finishFilling()
{
    m_lookup.reset();
}

const QString &TextColumn::at(int row) const
{
    static const QString null;
    const qint32 number = m_rows[size_t(row)];
    return number == NullText ? null : m_texts[size_t(number)];
}

qint32 TextColumn::add(const QString &text)
{
    m_texts.push_back(text);
    return qint32(m_texts.size() - 1);
}

void TextColumn::set(int row, const QString &text)
{
    // A changed row's text is added, not looked for: the old one may still be named elsewhere.
    m_rows[size_t(row)] = text.isNull() ? NullText : add(text);
}

void TextColumn::append(const QString &text)
{
    m_rows.push_back(text.isNull() ? NullText : add(text));
}

void TextColumn::appendUtf8(const char *data, qsizetype size)
{
    if (!m_lookup)
        m_lookup = std::make_unique<Lookup>();
    Lookup &lookup = *m_lookup;
    const std::string_view bytes(data, size_t(size));
    if (lookup.lastNumber != NullText && bytes == lookup.last) {
        m_rows.push_back(lookup.lastNumber);
        return;
    }
    qint32 number = NullText;
    if (!lookup.full) {
        if (const auto found = lookup.numbers.find(bytes); found != lookup.numbers.end())
            number = found->second;
    }
    if (number == NullText) {
        number = add(size == 0 ? QStringLiteral("") : QString::fromUtf8(data, size));
        if (lookup.numbers.size() >= Lookup::Limit) {
            lookup.full = true;
            lookup.numbers.clear();
        } else if (!lookup.full) {
            lookup.numbers.emplace(std::string(bytes), number);
        }
    }
    lookup.last.assign(bytes);
    lookup.lastNumber = number;
    m_rows.push_back(number);
}

TextColumn TextColumn::picked(const std::vector<int> &indexes) const
{
    TextColumn picked;
    picked.m_texts = m_texts;
    picked.m_rows.reserve(indexes.size());
    for (int index : indexes)
        picked.m_rows.push_back(m_rows[size_t(index)]);
    return picked;
}
