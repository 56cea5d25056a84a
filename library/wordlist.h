// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The word lists of a results row (fallos, escrito, familias, acertadas),
// kept as the file keeps them: the words in UTF-8, one space between two.
// A school year holds hundreds of thousands of rows: a row keeps its four
// lists in one shared block (one pointer in the row, no block at all when
// every list is empty), where four QStringLists would cost four arrays and a
// string per word.
//
// Every word is held in its normal form (normalWord(): no spaces, line breaks
// nor other control characters inside it), so the words always split back
// exactly as they were given. A list may hold empty words; reading a row
// never gives them.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <atomic>
#include <initializer_list>

namespace results {

namespace wordblock {
// Bytes shared by lists and rows, counted by their holders.
struct Block {
    std::atomic<int> refs;
    int size;
    char* bytes() { return reinterpret_cast<char*>(this + 1); }
};
Block* make(qsizetype size);
void hold(Block* block);
void release(Block* block);
}  // namespace wordblock

// One list: a share of a block.
class WordList {
public:
    WordList() noexcept = default;
    WordList(const QStringList& words);  // NOLINT: a list of words is a word list
    WordList(std::initializer_list<QString> words);
    WordList(const WordList& other) noexcept;
    WordList(WordList&& other) noexcept;
    WordList& operator=(const WordList& other) noexcept;
    WordList& operator=(WordList&& other) noexcept;
    ~WordList() { wordblock::release(d_); }

    qsizetype size() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    QString at(qsizetype i) const;
    // Read only: a word is changed by giving the list anew.
    const QString operator[](qsizetype i) const { return at(i); }
    QString value(qsizetype i, const QString& fallback = {}) const;
    QStringList toList() const;
    operator QStringList() const { return toList(); }  // NOLINT: read as a list wherever one is asked
    // The words with one space between two: the list's field in a row.
    QString joined() const;

    // The words as UTF-8 slices of the list, without copying (valid while
    // the list lives).
    class Utf8Iterator {
    public:
        Utf8Iterator(QByteArrayView rest, qsizetype left) : rest_(rest), left_(left) {}
        QByteArrayView operator*() const;
        Utf8Iterator& operator++();
        bool operator==(const Utf8Iterator& other) const { return left_ == other.left_; }

    private:
        QByteArrayView rest_;
        qsizetype left_;
    };
    struct Utf8Words {
        Utf8Iterator b;
        Utf8Iterator e;
        Utf8Iterator begin() const { return b; }
        Utf8Iterator end() const { return e; }
    };
    Utf8Words utf8Words() const { return {{bytes(), size()}, {{}, 0}}; }

    // The words as strings, decoded one at a time.
    class Iterator {
    public:
        explicit Iterator(Utf8Iterator at) : at_(at) {}
        QString operator*() const;
        Iterator& operator++()
        {
            ++at_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

    private:
        Utf8Iterator at_;
    };
    Iterator begin() const { return Iterator(utf8Words().begin()); }
    Iterator end() const { return Iterator(utf8Words().end()); }

    bool operator==(const WordList& other) const { return count_ == other.count_ && bytes() == other.bytes(); }
    friend bool operator==(const WordList& list, const QStringList& words) { return list == WordList(words); }

    // The list's bytes as kept: the words with one space between two, an
    // empty word kept as one byte 0x1F (which no normal word holds).
    QByteArrayView bytes() const { return d_ ? QByteArrayView(d_->bytes() + offset_, size_) : QByteArrayView(); }

private:
    friend class RowWords;
    wordblock::Block* d_ = nullptr;
    int offset_ = 0;
    int size_ = 0;
    qsizetype count_ = 0;
};

// The four lists of a row, in one block: the bytes of each list, a line feed
// between two lists.
class RowWords {
public:
    enum Which { Failures, Written, Families, RightFirstTime };
    RowWords() noexcept = default;
    RowWords(const RowWords& other) noexcept : d_(other.d_) { wordblock::hold(d_); }
    RowWords(RowWords&& other) noexcept : d_(other.d_) { other.d_ = nullptr; }
    RowWords& operator=(const RowWords& other) noexcept;
    RowWords& operator=(RowWords&& other) noexcept;
    ~RowWords() { wordblock::release(d_); }

    WordList get(Which which) const;
    void set(Which which, const WordList& list);
    // All four at once, in one block.
    void setAll(const WordList& failures, const WordList& written, const WordList& families, const WordList& right);

    // The four lists from their bytes as a results file holds them (valid
    // UTF-8, words in their normal form, one space between two), in one block.
    void setNormalUtf8(const QByteArrayView (&lists)[4]);
    // Whether a list holds more than `count` words.
    bool holdsListLongerThan(qsizetype count) const;

    bool operator==(const RowWords& other) const;

private:
    QByteArrayView bytes() const { return d_ ? QByteArrayView(d_->bytes(), d_->size) : QByteArrayView(); }
    wordblock::Block* d_ = nullptr;
};

}  // namespace results
