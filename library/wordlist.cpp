// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/wordlist.h"

#include "library/resultsrow.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace results {

namespace {

// How an empty word is kept: a word of its own in the list's bytes.
constexpr char EmptyWord = '\x1F';
// Between two lists of a row's block.
constexpr char ListEnd = '\n';

QByteArrayView wordOf(QByteArrayView kept)
{
    return kept.size() == 1 && kept.front() == EmptyWord ? QByteArrayView("", 0) : kept;
}

}  // namespace

namespace wordblock {

Block* make(qsizetype size)
{
    return new (::operator new(sizeof(Block) + size_t(size))) Block{{1}, int(size)};
}

void hold(Block* block)
{
    if (block)
        block->refs.fetch_add(1, std::memory_order_relaxed);
}

void release(Block* block)
{
    if (block && block->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        block->~Block();
        ::operator delete(block);
    }
}

}  // namespace wordblock

WordList::WordList(const QStringList& words)
{
    if (words.isEmpty())
        return;
    QByteArray bytes;
    for (const QString& word : words) {
        if (count_ > 0)
            bytes += ' ';
        const QByteArray normal = normalWord(word).toUtf8();
        bytes += normal.isEmpty() ? QByteArray(1, EmptyWord) : normal;
        ++count_;
    }
    d_ = wordblock::make(bytes.size());
    std::memcpy(d_->bytes(), bytes.constData(), size_t(bytes.size()));
    size_ = int(bytes.size());
}

WordList::WordList(std::initializer_list<QString> words)
    : WordList(QStringList(words))
{
}

WordList::WordList(const WordList& other) noexcept
    : d_(other.d_)
    , offset_(other.offset_)
    , size_(other.size_)
    , count_(other.count_)
{
    wordblock::hold(d_);
}

WordList::WordList(WordList&& other) noexcept
    : d_(std::exchange(other.d_, nullptr))
    , offset_(std::exchange(other.offset_, 0))
    , size_(std::exchange(other.size_, 0))
    , count_(std::exchange(other.count_, 0))
{
}

WordList& WordList::operator=(const WordList& other) noexcept
{
    WordList copy(other);
    return *this = std::move(copy);
}

WordList& WordList::operator=(WordList&& other) noexcept
{
    std::swap(d_, other.d_);
    std::swap(offset_, other.offset_);
    std::swap(size_, other.size_);
    std::swap(count_, other.count_);
    return *this;
}

QByteArrayView WordList::Utf8Iterator::operator*() const
{
    const qsizetype space = rest_.indexOf(' ');
    return wordOf(space < 0 ? rest_ : rest_.first(space));
}

WordList::Utf8Iterator& WordList::Utf8Iterator::operator++()
{
    const qsizetype space = rest_.indexOf(' ');
    rest_ = space < 0 ? QByteArrayView() : rest_.sliced(space + 1);
    --left_;
    return *this;
}

QString WordList::Iterator::operator*() const
{
    return QString::fromUtf8(*at_);
}

QString WordList::at(qsizetype i) const
{
    Utf8Iterator it = utf8Words().begin();
    for (; i > 0; --i)
        ++it;
    return QString::fromUtf8(*it);
}

QString WordList::value(qsizetype i, const QString& fallback) const
{
    return i >= 0 && i < size() ? at(i) : fallback;
}

QStringList WordList::toList() const
{
    QStringList words;
    words.reserve(size());
    for (QByteArrayView word : utf8Words())
        words.append(QString::fromUtf8(word));
    return words;
}

QString WordList::joined() const
{
    QString text = QString::fromUtf8(bytes());
    text.remove(QChar(EmptyWord));
    return text;
}

RowWords& RowWords::operator=(const RowWords& other) noexcept
{
    RowWords copy(other);
    return *this = std::move(copy);
}

RowWords& RowWords::operator=(RowWords&& other) noexcept
{
    std::swap(d_, other.d_);
    return *this;
}

WordList RowWords::get(Which which) const
{
    WordList list;
    if (!d_)
        return list;
    // One pass over a few dozen bytes: the lists before, then this one's
    // spaces up to its end.
    const char* const all = d_->bytes();
    const char* const end = all + d_->size;
    const char* p = all;
    for (int k = 0; k < which; ++k) {
        while (*p != ListEnd)
            ++p;
        ++p;
    }
    const char* const start = p;
    qsizetype spaces = 0;
    for (; p < end && *p != ListEnd; ++p)
        spaces += *p == ' ' ? 1 : 0;
    if (p == start)
        return list;
    list.d_ = d_;
    wordblock::hold(d_);
    list.offset_ = int(start - all);
    list.size_ = int(p - start);
    list.count_ = spaces + 1;
    return list;
}

void RowWords::set(Which which, const WordList& list)
{
    WordList lists[4] = {get(Failures), get(Written), get(Families), get(RightFirstTime)};
    lists[which] = list;
    setAll(lists[0], lists[1], lists[2], lists[3]);
}

void RowWords::setAll(const WordList& failures, const WordList& written, const WordList& families,
                      const WordList& right)
{
    const WordList* lists[] = {&failures, &written, &families, &right};
    if (std::all_of(std::begin(lists), std::end(lists), [](const WordList* l) { return l->isEmpty(); })) {
        *this = RowWords();
        return;
    }
    qsizetype size = 3;
    for (const WordList* list : lists)
        size += list->bytes().size();
    wordblock::Block* block = wordblock::make(size);
    char* out = block->bytes();
    for (int k = 0; k < 4; ++k) {
        const QByteArrayView b = lists[k]->bytes();
        if (!b.isEmpty())
            std::memcpy(out, b.data(), size_t(b.size()));
        out += b.size();
        if (k < 3)
            *out++ = ListEnd;
    }
    wordblock::release(d_);
    d_ = block;
}

void RowWords::setNormalUtf8(const QByteArrayView (&lists)[4])
{
    qsizetype size = 3;
    for (const QByteArrayView& list : lists)
        size += list.size();
    if (size == 3) {
        *this = RowWords();
        return;
    }
    wordblock::Block* block = wordblock::make(size);
    char* out = block->bytes();
    for (int k = 0; k < 4; ++k) {
        if (!lists[k].isEmpty())
            std::memcpy(out, lists[k].data(), size_t(lists[k].size()));
        out += lists[k].size();
        if (k < 3)
            *out++ = ListEnd;
    }
    wordblock::release(d_);
    d_ = block;
}

bool RowWords::holdsListLongerThan(qsizetype count) const
{
    // More than `count` words have at least `count` spaces between them.
    if (!d_ || d_->size < count)
        return false;
    qsizetype most = 0;
    qsizetype words = 0;
    bool inList = false;
    for (char c : bytes()) {
        if (c == ListEnd) {
            most = std::max(most, words);
            words = 0;
            inList = false;
        } else if (!inList) {
            inList = true;
            words = 1;
        } else if (c == ' ') {
            ++words;
        }
    }
    return std::max(most, words) > count;
}

bool RowWords::operator==(const RowWords& other) const
{
    return bytes() == other.bytes();
}

}  // namespace results
