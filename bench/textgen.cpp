// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/textgen.h"

#include <algorithm>
#include <array>
#include <random>

namespace textgen {

namespace {

// A fixed generator and a fixed way of drawing from it, so that a size always
// gives the same text on any machine.
class Draw {
public:
    explicit Draw(unsigned seed)
        : rng_(seed)
    {
    }
    int below(int n) { return int(rng_() % unsigned(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template<typename T, std::size_t N>
    const T& pick(const std::array<T, N>& from)
    {
        return from[std::size_t(below(int(N)))];
    }

private:
    std::mt19937 rng_;
};

// Share (in percent) of Spanish running words of 1 to 12 letters.
constexpr std::array<int, 12> LengthShare{6, 22, 10, 11, 11, 9, 9, 7, 6, 4, 3, 2};

constexpr std::array<const char16_t*, 5> OneLetter{u"a", u"y", u"o", u"e", u"u"};
constexpr std::array<const char16_t*, 18> TwoLetters{u"de", u"la", u"el", u"en", u"se", u"no", u"un", u"lo", u"me",
                                                     u"su", u"te", u"es", u"ya", u"mi", u"tu", u"si", u"al", u"le"};
constexpr std::array<const char16_t*, 28> Onsets{u"b",  u"c",  u"d",  u"f",  u"g",  u"j",  u"l",  u"m",  u"n",  u"p",
                                                 u"r",  u"s",  u"t",  u"v",  u"z",  u"ll", u"ch", u"ñ",  u"h",  u"qu",
                                                 u"gu", u"br", u"tr", u"pl", u"cr", u"gr", u"",   u"y"};
constexpr std::array<char16_t, 5> Vowels{u'a', u'e', u'i', u'o', u'u'};
constexpr std::array<char16_t, 5> Accented{u'á', u'é', u'í', u'ó', u'ú'};
constexpr std::array<const char16_t*, 8> Codas{u"", u"", u"", u"", u"n", u"s", u"r", u"l"};

int drawLength(Draw& draw)
{
    int roll = draw.below(100);
    for (int i = 0; i < int(LengthShare.size()); ++i) {
        roll -= LengthShare[std::size_t(i)];
        if (roll < 0)
            return i + 1;
    }
    return 5;
}

QString drawWord(Draw& draw)
{
    const int length = drawLength(draw);
    if (length == 1)
        return QString::fromUtf16(draw.pick(OneLetter));
    if (length == 2)
        return QString::fromUtf16(draw.pick(TwoLetters));
    QString word;
    const bool accent = draw.chance(18);
    int accentAt = -1;
    while (word.size() < length) {
        word += QString::fromUtf16(draw.pick(Onsets));
        const int v = draw.below(int(Vowels.size()));
        if (accent && accentAt < 0 && draw.chance(40)) {
            accentAt = int(word.size());
            word += Accented[std::size_t(v)];
        } else {
            word += Vowels[std::size_t(v)];
        }
        word += QString::fromUtf16(draw.pick(Codas));
    }
    word.truncate(length);
    return word;
}

// The letters-only core of a word and what trails it.
struct Split {
    QString core;
    QString trail;
};

Split splitTrail(const QString& word)
{
    qsizetype end = word.size();
    while (end > 1 && !word.at(end - 1).isLetter())
        --end;
    return {word.left(end), word.mid(end)};
}

bool isVowel(QChar c)
{
    return QStringLiteral("aeiouAEIOU").contains(c);
}

// One misspelling of `word` of the kind pupils make; never the word itself.
QString misspell(const QString& word, Draw& draw)
{
    const Split split = splitTrail(word);
    const QString& w = split.core;
    QStringList options;
    auto replaceAt = [&](qsizetype at, qsizetype length, const QString& with) {
        QString changed = w;
        changed.replace(at, length, with);
        options.append(changed);
    };
    for (qsizetype i = 0; i < w.size(); ++i) {
        const QChar c = w.at(i);
        const QChar next = i + 1 < w.size() ? w.at(i + 1) : QChar();
        if (c == u'b')
            replaceAt(i, 1, QStringLiteral("v"));
        else if (c == u'v')
            replaceAt(i, 1, QStringLiteral("b"));
        else if (c == u'j' && (next == u'e' || next == u'i'))
            replaceAt(i, 1, QStringLiteral("g"));
        else if (c == u'g' && (next == u'e' || next == u'i'))
            replaceAt(i, 1, QStringLiteral("j"));
        else if (c == u'l' && next == u'l')
            replaceAt(i, 2, QStringLiteral("y"));
        else if (c == u'y' && isVowel(next))
            replaceAt(i, 1, QStringLiteral("ll"));
        else if (c == u'z')
            replaceAt(i, 1, QStringLiteral("s"));
        else if (c == u'c' && (next == u'e' || next == u'i'))
            replaceAt(i, 1, draw.chance(50) ? QStringLiteral("s") : QStringLiteral("z"));
        const auto accented = std::find(Accented.begin(), Accented.end(), c.unicode());
        if (accented != Accented.end())
            replaceAt(i, 1, QString(QChar(Vowels[std::size_t(accented - Accented.begin())])));
    }
    if (w.size() > 1 && (w.startsWith(u'h') || w.startsWith(u'H'))) {
        QString lost = w.mid(1);
        if (w.at(0).isUpper() && !lost.isEmpty())
            lost[0] = lost.at(0).toUpper();
        options.append(lost);
    } else if (isVowel(w.at(0))) {
        options.append(u'h' + w);
    }
    QString changed;
    if (!options.isEmpty()) {
        changed = options.at(draw.below(int(options.size())));
    } else {
        // A stray accent on the first plain vowel, or a doubled last letter.
        changed = w;
        const auto vowel = std::find_if(changed.begin(), changed.end(), [](QChar c) { return isVowel(c); });
        if (vowel != changed.end() && vowel->isLower())
            *vowel = QChar(Accented[std::size_t(std::find(Vowels.begin(), Vowels.end(), vowel->unicode())
                                                - Vowels.begin())]);
        else
            changed += changed.back();
    }
    if (changed == w)
        changed += changed.back();
    return changed + split.trail;
}

}  // namespace

Item generate(int words)
{
    Draw draw(20240601u + unsigned(words));
    Item item;
    item.words = words;
    int position = 0;
    while (position < words) {
        const int inLine = std::min(8 + draw.below(5), words - position);
        const bool firstLine = position == 0;
        const bool lastLine = position + inLine == words;
        QStringList correct;
        QStringList faulty;
        for (int i = 0; i < inLine; ++i) {
            QString word = drawWord(draw);
            if (i == 0)
                word[0] = word.at(0).toUpper();
            if (i == inLine - 1) {
                const int roll = draw.below(100);
                if (roll < 60)
                    word += u'.';
                else if (roll < 80)
                    word += u',';
            } else if (draw.chance(5)) {
                word += u',';
            }
            // About one word in twenty is misspelt; the first and the last
            // line always hold one, so that the ends of the text can be judged.
            const bool forced = (firstLine && i == 1) || (lastLine && i == inLine - 2);
            QString shown = word;
            if (forced || draw.chance(5)) {
                shown = misspell(word, draw);
                item.errors.append(position + i);
            }
            correct.append(word);
            faulty.append(shown);
        }
        item.correctLines.append(correct.join(u' '));
        item.faultyLines.append(faulty.join(u' '));
        position += inLine;
    }
    return item;
}

QVector<int> wordStarts(const QString& shown)
{
    QVector<int> starts;
    if (shown.isEmpty())
        return starts;
    starts.append(0);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i) != u' ')
            continue;
        qsizetype next = i + 1;
        if (next < shown.size() && shown.at(next) == u'\n')
            ++next;
        if (next < shown.size())
            starts.append(int(next));
    }
    return starts;
}

}  // namespace textgen
