#include "store/TextColumn.h"

#include "store/Prefault.h"

#include <string>
#include <string_view>
#include <unordered_map>

struct TextPool::Lookup
{
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    static constexpr size_t Limit = 4096;
    std::unordered_map<std::string, qint32, Hash, std::equal_to<>> numbers;
    bool full = false;
};

TextPool::TextPool() = default;
TextPool::~TextPool() = default;
TextPool::TextPool(TextPool &&) noexcept = default;
TextPool &TextPool::operator=(TextPool &&) noexcept = default;
TextPool::TextPool(const TextPool &other) : m_texts(other.m_texts) {}

TextPool &TextPool::operator=(const TextPool &other)
{
    if (this != &other) {
        m_texts = other.m_texts;
        m_lookup.reset();
    }
    return *this;
}

qint32 TextPool::add(const QString &text)
{
    m_texts.push_back(text);
    return qint32(m_texts.size() - 1);
}

qint32 TextPool::numberOfUtf8(const char *data, qsizetype size)
{
    if (!m_lookup)
        m_lookup = std::make_unique<Lookup>();
    Lookup &lookup = *m_lookup;
    const std::string_view bytes(data, size_t(size));
    if (!lookup.full) {
        if (const auto found = lookup.numbers.find(bytes); found != lookup.numbers.end())
            return found->second;
    }
    // Empty, not null.
    const qint32 number = add(size == 0 ? QStringLiteral("") : QString::fromUtf8(data, size));
    if (lookup.numbers.size() >= Lookup::Limit) {
        lookup.full = true;
        lookup.numbers.clear();
    } else if (!lookup.full) {
        lookup.numbers.emplace(std::string(bytes), number);
    }
    return number;
}

void TextPool::finishFilling()
{
    m_lookup.reset();
}

void TextColumn::commit(size_t first, size_t count)
{
    prefault(m_rows, first, count);
}

const QString &TextColumn::at(int row) const
{
    static const QString null;
    const qint32 number = m_rows[size_t(row)];
    return number == NullText ? null : m_texts.text(number);
}

void TextColumn::appendUtf8(const char *data, qsizetype size)
{
    // A compare before any hashing: a recurrence's members come one after another.
    const std::string_view bytes(data, size_t(size));
    if (m_last == NullText || bytes != m_lastBytes) {
        m_last = m_texts.numberOfUtf8(data, size);
        m_lastBytes.assign(bytes);
    }
    m_rows.push_back(m_last);
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
