// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A word list of a results row (fallos, escrito, familias, acertadas), kept
// as the file keeps it: the words in UTF-8, one space between two, in one
// shared block. A school year holds hundreds of thousands of such lists: one
// pointer each in the row, and one small block for the words (none for an
// empty list), where a QStringList costs an array and a string per word.
//
// Every word is held in its normal form (normalWord(): no spaces, line breaks
// nor other control characters inside it), so the words always split back
// exactly as they were given. A list may hold empty words (" a" is two
// words); reading a row never gives them.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <atomic>
#include <initializer_list>

namespace results {

class WordList {
public:
    WordList() noexcept = default;
    WordList(const QStringList& words);  // NOLINT: a list of words is a word list
    WordList(std::initializer_list<QString> words);
    WordList(const WordList& other) noexcept;
    WordList(WordList&& other) noexcept : d_(other.d_) { other.d_ = nullptr; }
    WordList& operator=(const WordList& other) noexcept;
    WordList& operator=(WordList&& other) noexcept;
    ~WordList();

    // The words of `bytes`, valid UTF-8 of `count` words in their normal
    // form with one space between two (as a results file holds them).
    static WordList fromNormalUtf8(QByteArrayView bytes, qsizetype count);

    qsizetype size() const { return d_ ? d_->count : 0; }
    bool isEmpty() const { return size() == 0; }
    QString at(qsizetype i) const;
    // Read only: a word is changed by giving the list anew.
    const QString operator[](qsizetype i) const { return at(i); }
    QString value(qsizetype i, const QString& fallback = {}) const;
    QStringList toList() const;
    operator QStringList() const { return toList(); }  // NOLINT: read as a list wherever one is asked
    // The words with one space between two: the list's field in a row.
    QString joined() const { return QString::fromUtf8(utf8()); }
    QByteArrayView utf8() const;

    void append(const QString& word);
    void clear();
    // Keeps the first `count` words.
    void truncate(qsizetype count);
    // Drops the empty words.
    void removeEmpty();

    // The words as UTF-8 slices of the list, without copying (valid while
    // the list is unchanged).
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
    Utf8Words utf8Words() const { return {{utf8(), size()}, {{}, 0}}; }

    // The words as strings, decoded one at a time.
    class Iterator {
    public:
        explicit Iterator(Utf8Iterator at) : at_(at) {}
        QString operator*() const { return QString::fromUtf8(*at_); }
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

    bool operator==(const WordList& other) const;
    friend bool operator==(const WordList& list, const QStringList& words) { return list == WordList(words); }

private:
    struct Block {
        std::atomic<int> refs;
        int count;     // words
        int size;      // bytes of the words and the spaces between them
        int capacity;  // bytes the block holds
        char* bytes() { return reinterpret_cast<char*>(this + 1); }
    };
    // A block of its own for this list, holding at least `bytes`.
    void detach(qsizetype bytes);
    Block* d_ = nullptr;
};

}  // namespace results
