// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/wordlist.h"

#include "library/resultsrow.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace results {

WordList::WordList(const QStringList& words)
{
    for (const QString& word : words)
        append(word);
}

WordList::WordList(std::initializer_list<QString> words)
{
    for (const QString& word : words)
        append(word);
}

WordList::WordList(const WordList& other) noexcept
    : d_(other.d_)
{
    if (d_)
        d_->refs.fetch_add(1, std::memory_order_relaxed);
}

WordList& WordList::operator=(const WordList& other) noexcept
{
    WordList copy(other);
    std::swap(d_, copy.d_);
    return *this;
}

WordList& WordList::operator=(WordList&& other) noexcept
{
    std::swap(d_, other.d_);
    return *this;
}

WordList::~WordList()
{
    if (d_ && d_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        d_->~Block();
        ::operator delete(d_);
    }
}

WordList WordList::fromNormalUtf8(QByteArrayView bytes, qsizetype count)
{
    WordList list;
    if (count <= 0)
        return list;
    list.detach(bytes.size());
    std::memcpy(list.d_->bytes(), bytes.data(), size_t(bytes.size()));
    list.d_->size = int(bytes.size());
    list.d_->count = int(count);
    return list;
}

void WordList::detach(qsizetype bytes)
{
    if (d_ && d_->refs.load(std::memory_order_acquire) == 1 && d_->capacity >= bytes)
        return;
    const qsizetype capacity = std::max(bytes, d_ ? qsizetype(d_->size) * 2 : bytes);
    auto* block = new (::operator new(sizeof(Block) + size_t(capacity))) Block{{1}, 0, 0, int(capacity)};
    if (d_) {
        block->count = d_->count;
        block->size = d_->size;
        std::memcpy(block->bytes(), d_->bytes(), size_t(d_->size));
    }
    WordList old;
    old.d_ = d_;
    d_ = block;
}

QByteArrayView WordList::utf8() const
{
    return d_ ? QByteArrayView(d_->bytes(), d_->size) : QByteArrayView();
}

QByteArrayView WordList::Utf8Iterator::operator*() const
{
    const qsizetype space = rest_.indexOf(' ');
    return space < 0 ? rest_ : rest_.first(space);
}

WordList::Utf8Iterator& WordList::Utf8Iterator::operator++()
{
    const qsizetype space = rest_.indexOf(' ');
    rest_ = space < 0 ? QByteArrayView() : rest_.sliced(space + 1);
    --left_;
    return *this;
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

void WordList::append(const QString& word)
{
    const QByteArray bytes = normalWord(word).toUtf8();
    const qsizetype before = size() > 0 ? 1 : 0;
    detach(qsizetype(d_ ? d_->size : 0) + before + bytes.size());
    char* end = d_->bytes() + d_->size;
    if (before)
        *end++ = ' ';
    std::memcpy(end, bytes.constData(), size_t(bytes.size()));
    d_->size += int(before + bytes.size());
    ++d_->count;
}

void WordList::clear()
{
    *this = WordList();
}

void WordList::truncate(qsizetype count)
{
    if (count >= size())
        return;
    if (count <= 0) {
        clear();
        return;
    }
    Utf8Iterator it = utf8Words().begin();
    for (qsizetype i = 1; i < count; ++i)
        ++it;
    const qsizetype bytes = (*it).constData() + (*it).size() - utf8().constData();
    detach(bytes);
    d_->size = int(bytes);
    d_->count = int(count);
}

void WordList::removeEmpty()
{
    const QByteArrayView bytes = utf8();
    const bool someEmpty = size() > 0
        && (bytes.isEmpty() || bytes.startsWith(' ') || bytes.endsWith(' ') || bytes.contains("  "));
    if (!someEmpty)
        return;
    QStringList words = toList();
    words.removeAll(QString());
    *this = WordList(words);
}

bool WordList::operator==(const WordList& other) const
{
    return size() == other.size() && utf8() == other.utf8();
}

}  // namespace results
