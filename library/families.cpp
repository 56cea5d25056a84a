// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/families.h"

#include "library/textfile.h"

#include <QRandomGenerator>

#include <algorithm>
#include <optional>

namespace families {

namespace {

const QString All = QStringLiteral("todas");

bool isFront(QChar c)  // e and i, with or without an accent
{
    return QStringLiteral("eéií").contains(c);
}

bool isBack(QChar c)  // a, o and u, with or without an accent
{
    return QStringLiteral("aáoóuú").contains(c);
}

bool isVowel(QChar c)
{
    return isFront(c) || isBack(c) || c == u'ü';
}

QChar plainVowel(QChar c)
{
    static const QString accented = QStringLiteral("áéíóú");
    static const QString plain = QStringLiteral("aeiou");
    const qsizetype at = accented.indexOf(c);
    return at < 0 ? c : plain[at];
}

QChar accentedVowel(QChar c)
{
    static const QString accented = QStringLiteral("áéíóú");
    static const QString plain = QStringLiteral("aeiou");
    const qsizetype at = plain.indexOf(c);
    return at < 0 ? c : accented[at];
}

// `core` with its `length` letters from `at` replaced by `lower` (written in
// lower case), in the letter case of what they replace: all capitals when the
// whole word is, a capital first letter when the first letter replaced is
// one. A capital dropped passes to the letter after it ("Hola" gives "Ola").
QString replaced(const QString& core, qsizetype at, qsizetype length, const QString& lower)
{
    QString with = lower;
    const bool wordUpper = core.size() > 1 && core == core.toUpper();
    if (wordUpper) {
        with = lower.toUpper();
    } else if (core[at].isUpper()) {
        if (!with.isEmpty())
            with[0] = with[0].toUpper();
    }
    QString result = core.left(at) + with + core.mid(at + length);
    if (with.isEmpty() && core[at].isUpper() && at < result.size())
        result[at] = result[at].toUpper();
    return result;
}

// The misspellings of a word's letters (`core`, `lower` its lower case of
// The most misspellings one family proposes for one word: more than any
// Spanish word has letters of a family, few enough that the choice stays
// linear in the text.
constexpr qsizetype MaxPerFamily = 8;

// the same length).
QStringList coreMisspellings(const QString& core, const QString& lower, Family family)
{
    QStringList out;
    const qsizetype n = lower.size();
    const auto at = [&](qsizetype i) { return i >= 0 && i < n ? lower[i] : QChar(); };
    // A word full of one family's letters would otherwise make as many
    // copies of itself as it has letters.
    const auto add = [&](qsizetype i, qsizetype length, const QString& with) {
        if (out.size() < MaxPerFamily)
            out.append(replaced(core, i, length, with));
    };
    switch (family) {
    case Family::BV:
        for (qsizetype i = 0; i < n; ++i) {
            if (at(i) == u'b')
                add(i, 1, QStringLiteral("v"));
            else if (at(i) == u'v')
                add(i, 1, QStringLiteral("b"));
        }
        break;
    case Family::H:
        // Every h but the one of "ch" is silent.
        for (qsizetype i = 0; i < n; ++i) {
            if (at(i) == u'h' && at(i - 1) != u'c' && n > 1)
                add(i, 1, QString());
        }
        break;
    case Family::GJ:
        for (qsizetype i = 0; i < n; ++i) {
            if (at(i) == u'g' && isFront(at(i + 1)))
                add(i, 1, QStringLiteral("j"));
            else if (at(i) == u'j' && isFront(at(i + 1)))
                add(i, 1, QStringLiteral("g"));
        }
        break;
    case Family::LLY:
        for (qsizetype i = 0; i < n; ++i) {
            if (at(i) == u'l' && at(i + 1) == u'l') {
                add(i, 2, QStringLiteral("y"));
                ++i;
            } else if (at(i) == u'y' && isVowel(at(i + 1))) {
                add(i, 1, QStringLiteral("ll"));
            }
        }
        break;
    case Family::CZS:
        for (qsizetype i = 0; i < n; ++i) {
            if ((at(i) == u'c' && isFront(at(i + 1)) && at(i - 1) != u'c') || at(i) == u'z')
                add(i, 1, QStringLiteral("s"));
            else if (at(i) == u's' && isFront(at(i + 1)))
                add(i, 1, QStringLiteral("c"));
            else if (at(i) == u's' && isBack(at(i + 1)))
                add(i, 1, QStringLiteral("z"));
        }
        break;
    case Family::RR:
        for (qsizetype i = 0; i < n; ++i) {
            if (at(i) == u'r' && at(i + 1) == u'r') {
                add(i, 2, QStringLiteral("r"));
                ++i;
            } else if (at(i) == u'r' && (i == 0 || at(i - 1) == u'n' || at(i - 1) == u'l' || at(i - 1) == u's')) {
                add(i, 1, QStringLiteral("rr"));
            }
        }
        break;
    case Family::MB:
        for (qsizetype i = 0; i + 1 < n; ++i) {
            if (at(i) == u'm' && (at(i + 1) == u'p' || at(i + 1) == u'b'))
                add(i, 1, QStringLiteral("n"));
        }
        break;
    case Family::Tildes:
        for (qsizetype i = 0; i < n; ++i) {
            if (plainVowel(at(i)) == at(i))
                continue;
            const QString plain(plainVowel(at(i)));
            add(i, 1, plain);  // the accent left out
            // The accent on the nearest vowel before or after it.
            for (const int step : {-1, 1}) {
                qsizetype j = i + step;
                while (j >= 0 && j < n && !isVowel(at(j)))
                    j += step;
                if (j < 0 || j >= n || accentedVowel(at(j)) == at(j))
                    continue;
                if (out.size() >= MaxPerFamily)
                    break;
                QString moved = replaced(core, i, 1, plain);
                moved = replaced(moved, j, 1, QString(accentedVowel(at(j))));
                out.append(moved);
            }
        }
        break;
    case Family::GU:
        for (qsizetype i = 0; i + 1 < n; ++i) {
            if (at(i) == u'g' && at(i + 1) == u'ü')
                add(i + 1, 1, QStringLiteral("u"));
            else if (at(i) == u'g' && at(i + 1) == u'u' && isFront(at(i + 2)))
                add(i + 1, 1, QString());
        }
        break;
    case Family::CQK:
        for (qsizetype i = 0; i < n; ++i) {
            if (at(i) == u'q' && at(i + 1) == u'u' && isFront(at(i + 2)))
                add(i, 2, QStringLiteral("k"));
            else if (at(i) == u'c' && isBack(at(i + 1)) && at(i + 1) != QChar())
                add(i, 1, QStringLiteral("k"));
            else if (at(i) == u'k')
                add(i, 1, isFront(at(i + 1)) ? QStringLiteral("qu") : QStringLiteral("c"));
        }
        break;
    case Family::DZ:
        // Short words ("red", "luz") would only give other words.
        if (n > 3 && at(n - 1) == u'd')
            add(n - 1, 1, QStringLiteral("z"));
        else if (n > 3 && at(n - 1) == u'z')
            add(n - 1, 1, QStringLiteral("d"));
        break;
    case Family::XS:
        for (qsizetype i = 0; i < n; ++i) {
            if (at(i) == u'x')
                add(i, 1, QStringLiteral("s"));
            else if (at(i) == u's' && i > 0 && isVowel(at(i - 1)) && QStringLiteral("cpt").contains(at(i + 1))
                     && at(i + 1) != QChar())
                add(i, 1, QStringLiteral("x"));
        }
        break;
    case Family::CCSC:
        for (qsizetype i = 0; i + 1 < n; ++i) {
            if (at(i) == u'c' && at(i + 1) == u'c') {
                add(i, 2, QStringLiteral("c"));
                ++i;
            } else if (at(i) == u's' && at(i + 1) == u'c' && isFront(at(i + 2))) {
                add(i, 2, QStringLiteral("c"));
                add(i, 2, QStringLiteral("s"));
            }
        }
        break;
    case Family::Mayusculas:
        if (core[0].isUpper() && core.mid(1) != core.mid(1).toUpper())
            out.append(core[0].toLower() + core.mid(1));
        else if (core[0].isLower())
            out.append(core[0].toUpper() + core.mid(1));
        break;
    }
    return out;
}

// Lower before upper ranks: the order in which words are preferred.
int rank(bool onlyCase, bool onlyRealWords, bool repeated)
{
    return (onlyCase ? 4 : 0) + (onlyRealWords ? 2 : 0) + (repeated ? 1 : 0);
}

}  // namespace

const QList<FamilyInfo>& table()
{
    static const QList<FamilyInfo> rows{
        {Family::BV, QStringLiteral("bv"), QStringLiteral("b/v"), QStringLiteral("b/v")},
        {Family::H, QStringLiteral("h"), QStringLiteral("h"), QStringLiteral("h")},
        {Family::GJ, QStringLiteral("gj"), QStringLiteral("g/j"), QStringLiteral("g/j")},
        {Family::GU, QStringLiteral("gu"), QStringLiteral("gu/gü"), QStringLiteral("gu/gü")},
        {Family::LLY, QStringLiteral("lly"), QStringLiteral("ll/y"), QStringLiteral("ll/y")},
        {Family::CZS, QStringLiteral("czs"), QStringLiteral("c/z/s"), QStringLiteral("c/z/s")},
        {Family::CQK, QStringLiteral("cqk"), QStringLiteral("c/qu/k"), QStringLiteral("c/qu/k")},
        {Family::DZ, QStringLiteral("dz"), QStringLiteral("d/z finales"), QStringLiteral("d/z")},
        {Family::RR, QStringLiteral("rr"), QStringLiteral("r/rr"), QStringLiteral("r/rr")},
        {Family::MB, QStringLiteral("mb"), QStringLiteral("m antes de p y b"), QStringLiteral("mp/mb")},
        {Family::XS, QStringLiteral("xs"), QStringLiteral("x/s"), QStringLiteral("x/s")},
        {Family::CCSC, QStringLiteral("ccsc"), QStringLiteral("cc/sc"), QStringLiteral("cc/sc")},
        {Family::Tildes, QStringLiteral("tildes"), QStringLiteral("tildes"), QStringLiteral("tilde")},
        {Family::Mayusculas, QStringLiteral("mayusculas"), QStringLiteral("mayúsculas"), QStringLiteral("mayúscula")},
    };
    return rows;
}

namespace {

const FamilyInfo* infoOf(Family family)
{
    for (const FamilyInfo& f : table()) {
        if (f.family == family)
            return &f;
    }
    return nullptr;
}

// `text` in lower case, without accents or diaeresis and without the spaces
// around it: how names are compared.
QString folded(const QString& text)
{
    QString out;
    for (QChar c : text.trimmed().toLower().normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    }
    return out;
}

}  // namespace

std::optional<Family> parse(const QString& text)
{
    const QString key = folded(text);
    for (const FamilyInfo& f : table()) {
        if (key == f.code || key == folded(f.name) || key == folded(f.token))
            return f.family;
    }
    return std::nullopt;
}

QString token(Family family)
{
    const FamilyInfo* f = infoOf(family);
    return f ? f->token : QString();
}

QString displayName(Family family)
{
    const FamilyInfo* f = infoOf(family);
    return f ? f->name : QString();
}

QString otherToken()
{
    return QStringLiteral("otra");
}

QList<Family> fromTokens(const QString& tokens)
{
    QList<Family> out;
    const QStringList parts = tokens.split(u'+');
    for (const FamilyInfo& f : table()) {
        if (parts.contains(f.token))
            out.append(f.family);
    }
    return out;
}

QStringList names()
{
    QStringList out;
    for (const FamilyInfo& f : table())
        out.append(f.code);
    out.append(All);
    return out;
}

QString name(Family family)
{
    const FamilyInfo* f = infoOf(family);
    return f ? f->code : QString();
}

QList<Family> named(const QString& name)
{
    QList<Family> out;
    if (folded(name) == All) {
        for (const FamilyInfo& f : table())
            out.append(f.family);
    } else if (const std::optional<Family> one = parse(name)) {
        out.append(*one);
    }
    return out;
}

Parts split(const QString& word)
{
    qsizetype from = 0;
    qsizetype to = word.size();
    while (from < to && !word[from].isLetterOrNumber())
        ++from;
    while (to > from && !word[to - 1].isLetterOrNumber())
        --to;
    return {word.left(from), word.sliced(from, to - from), word.mid(to)};
}

QStringList misspellings(const QString& word, Family family)
{
    const Parts parts = split(word);
    const QString lower = parts.core.toLower();
    if (parts.core.size() < 2 || parts.core.size() > textfile::MaxWordLength || lower.size() != parts.core.size()
        || !std::all_of(parts.core.begin(), parts.core.end(), [](QChar c) { return c.isLetter(); }))
        return {};
    QStringList out;
    for (const QString& core : coreMisspellings(parts.core, lower, family)) {
        const QString faulty = parts.lead + core + parts.trail;
        if (faulty != word && !core.isEmpty() && !out.contains(faulty))  // at most MaxPerFamily
            out.append(faulty);
    }
    return out;
}

QList<Chosen> choose(const QStringList& words, const QSet<qsizetype>& excluded, const QList<Family>& families,
                     int count, QRandomGenerator& random, const std::function<bool(const QString&)>& isWord)
{
    QHash<QString, int> uses;  // bare word in lower case -> how many times it stands in the text
    for (const QString& word : words)
        ++uses[split(word).core.toLower()];

    // The misspellings the families offer for word `k`. Made twice, to rank
    // every word and then for the few chosen, so that no more than one
    // word's misspellings are held at a time.
    struct Pool {
        QList<Chosen> preferred;  // misspellings that are no word
        QList<Chosen> others;
        bool onlyCase = false;
    };
    const auto poolOf = [&](qsizetype k) {
        Pool pool;
        for (Family family : families) {
            for (const QString& faulty : misspellings(words[k], family)) {
                const bool real = family != Family::Mayusculas && isWord && isWord(split(faulty).core);
                (real ? pool.others : pool.preferred).append({k, family, faulty});
            }
        }
        // Among several families, a capital is the last resort: nearly every
        // word can take one, and it would crowd out the spelling mistakes.
        const auto isCase = [](const Chosen& c) { return c.family == Family::Mayusculas; };
        pool.onlyCase = families.size() > 1 && std::all_of(pool.preferred.begin(), pool.preferred.end(), isCase)
                        && std::all_of(pool.others.begin(), pool.others.end(), isCase);
        if (families.size() > 1 && !pool.onlyCase) {
            pool.preferred.removeIf(isCase);
            pool.others.removeIf(isCase);
        }
        return pool;
    };

    struct Option {
        qsizetype word;
        int rank;
    };
    // A word's rank. Most words have a spelling mistake that is no word: the
    // first one found settles the rank, without making the others.
    const auto rankOf = [&](qsizetype k) -> std::optional<int> {
        const bool repeated = uses.value(split(words[k]).core.toLower()) > 1;
        for (Family family : families) {
            if (family == Family::Mayusculas && families.size() > 1)
                continue;
            for (const QString& faulty : misspellings(words[k], family)) {
                if (family == Family::Mayusculas || !isWord || !isWord(split(faulty).core))
                    return rank(false, false, repeated);
            }
        }
        const Pool pool = poolOf(k);
        if (pool.preferred.isEmpty() && pool.others.isEmpty())
            return std::nullopt;
        return rank(pool.onlyCase, pool.preferred.isEmpty(), repeated);
    };
    QList<Option> options;
    for (qsizetype k = 0; k < words.size(); ++k) {
        if (excluded.contains(k))
            continue;
        if (const std::optional<int> r = rankOf(k))
            options.append({k, *r});
    }

    // A random order, then the preferred ones first.
    for (qsizetype i = options.size() - 1; i > 0; --i)
        options.swapItemsAt(i, qsizetype(random.bounded(quint64(i + 1))));
    std::stable_sort(options.begin(), options.end(), [](const Option& a, const Option& b) { return a.rank < b.rank; });
    options.resize(std::min(options.size(), qsizetype(std::max(count, 0))));

    QList<Chosen> chosen;
    for (const Option& option : options) {
        const Pool both = poolOf(option.word);
        const QList<Chosen>& pool = both.preferred.isEmpty() ? both.others : both.preferred;
        // First a family, then one of its misspellings, so that a family with
        // many forms for a word (accents) does not crowd out the others.
        QList<Family> offered;
        for (const Chosen& c : pool) {
            if (!offered.contains(c.family))
                offered.append(c.family);
        }
        const Family family = offered[qsizetype(random.bounded(quint64(offered.size())))];
        QList<Chosen> ofFamily;
        for (const Chosen& c : pool) {
            if (c.family == family)
                ofFamily.append(c);
        }
        chosen.append(ofFamily[qsizetype(random.bounded(quint64(ofFamily.size())))]);
    }
    std::sort(chosen.begin(), chosen.end(), [](const Chosen& a, const Chosen& b) { return a.word < b.word; });
    return chosen;
}

}  // namespace families
