// SPDX-License-Identifier: GPL-3.0-or-later
// The family of a pair (correct word, misspelt form): the cheapest way of
// turning the one into the other by the changes each family makes, found by
// dynamic programming over both words in lower case. A change no family
// makes costs far more than any family's, so that a family explains all it
// can; letter case is compared apart.

#include "library/families.h"

#include <limits>
#include <vector>

namespace families {

namespace {

constexpr int FamilyCost = 10;
constexpr int SpecificCost = 9;  // a change of several letters, preferred to a single letter's
constexpr int OtherCost = 40;

// What surrounds a change: the words and where the change ends in each.
struct Around {
    const QString& x;
    qsizetype xEnd;
    const QString& y;
    qsizetype yEnd;
    QChar nextX() const { return xEnd < x.size() ? x[xEnd] : QChar(); }
    QChar nextY() const { return yEnd < y.size() ? y[yEnd] : QChar(); }
};

using Context = bool (*)(const Around&);

bool anywhere(const Around&)
{
    return true;
}

bool beforePOrB(const Around& a)
{
    return a.nextX() == u'p' || a.nextX() == u'b' || a.nextY() == u'p' || a.nextY() == u'b';
}

bool beforeEOrI(const Around& a)
{
    return QStringLiteral("eiéí").contains(a.nextX()) && QStringLiteral("eiéí").contains(a.nextY());
}

bool atTheEnd(const Around& a)
{
    return a.xEnd == a.x.size() && a.yEnd == a.y.size();
}

// One change a family makes, in both directions: `one` in a word for `other`
// in the other.
struct Change {
    const char16_t* one;
    const char16_t* other;
    Family family;
    int cost;
    Context context;
};

constexpr Change Changes[] = {
    {u"b", u"v", Family::BV, FamilyCost, anywhere},
    {u"h", u"", Family::H, FamilyCost, anywhere},
    {u"hu", u"gu", Family::H, SpecificCost, anywhere},   // huevo, guevo
    {u"hu", u"gü", Family::H, SpecificCost, anywhere},   // hueso, güeso
    {u"hie", u"ye", Family::H, SpecificCost, anywhere},  // hierba, yerba
    {u"g", u"j", Family::GJ, FamilyCost, anywhere},
    {u"gü", u"gu", Family::GU, SpecificCost, anywhere},
    {u"gu", u"g", Family::GU, SpecificCost, beforeEOrI},
    {u"ll", u"y", Family::LLY, SpecificCost, anywhere},
    {u"c", u"s", Family::CZS, FamilyCost, anywhere},
    {u"z", u"s", Family::CZS, FamilyCost, anywhere},
    {u"c", u"z", Family::CZS, FamilyCost, anywhere},
    {u"qu", u"k", Family::CQK, SpecificCost, anywhere},
    {u"qu", u"c", Family::CQK, SpecificCost, anywhere},
    {u"qu", u"cu", Family::CQK, SpecificCost, anywhere},
    {u"c", u"k", Family::CQK, FamilyCost, anywhere},
    {u"d", u"z", Family::DZ, SpecificCost, atTheEnd},
    {u"rr", u"r", Family::RR, SpecificCost, anywhere},
    {u"m", u"n", Family::MB, SpecificCost, beforePOrB},
    {u"x", u"s", Family::XS, FamilyCost, anywhere},
    {u"cc", u"c", Family::CCSC, SpecificCost, anywhere},
    {u"cc", u"cs", Family::CCSC, SpecificCost, anywhere},
    {u"cc", u"x", Family::CCSC, SpecificCost, anywhere},
    {u"sc", u"c", Family::CCSC, SpecificCost, anywhere},
    {u"sc", u"s", Family::CCSC, SpecificCost, anywhere},
    {u"á", u"a", Family::Tildes, FamilyCost, anywhere},
    {u"é", u"e", Family::Tildes, FamilyCost, anywhere},
    {u"í", u"i", Family::Tildes, FamilyCost, anywhere},
    {u"ó", u"o", Family::Tildes, FamilyCost, anywhere},
    {u"ú", u"u", Family::Tildes, FamilyCost, anywhere},
};

constexpr int Other = -1;  // the step no family explains

struct Step {
    int cost = std::numeric_limits<int>::max();
    qsizetype fromI = 0;
    qsizetype fromJ = 0;
    int family = Other;  // index into Changes' family, or Other; unused for equal letters
    bool same = false;
};

bool matchesAt(const QString& word, qsizetype at, QStringView part)
{
    return QStringView(word).mid(at).startsWith(part);
}

// The families of the cheapest path from `c` to `f` (both in lower case),
// and whether a step no family explains is on it.
QList<Family> familiesBetween(const QString& c, const QString& f, bool& unexplained)
{
    const qsizetype n = c.size();
    const qsizetype m = f.size();
    std::vector<Step> best(size_t((n + 1) * (m + 1)));
    const auto cell = [&](qsizetype i, qsizetype j) -> Step& { return best[size_t(i * (m + 1) + j)]; };
    cell(0, 0).cost = 0;
    const auto relax = [&](qsizetype i, qsizetype j, qsizetype ti, qsizetype tj, int cost, int family, bool same) {
        Step& to = cell(ti, tj);
        const int total = cell(i, j).cost + cost;
        if (total < to.cost)
            to = {total, i, j, family, same};
    };
    for (qsizetype i = 0; i <= n; ++i) {
        for (qsizetype j = 0; j <= m; ++j) {
            if (cell(i, j).cost == std::numeric_limits<int>::max())
                continue;
            if (i < n && j < m && c[i] == f[j])
                relax(i, j, i + 1, j + 1, 0, Other, true);
            for (const Change& change : Changes) {
                for (const bool forward : {true, false}) {
                    const QStringView a(forward ? change.one : change.other);
                    const QStringView b(forward ? change.other : change.one);
                    if (!matchesAt(c, i, a) || !matchesAt(f, j, b) || i + a.size() > n || j + b.size() > m)
                        continue;
                    if (!change.context({c, i + a.size(), f, j + b.size()}))
                        continue;
                    relax(i, j, i + a.size(), j + b.size(), change.cost, int(change.family), false);
                }
            }
            if (i < n && j < m)
                relax(i, j, i + 1, j + 1, OtherCost, Other, false);
            if (i < n)
                relax(i, j, i + 1, j, OtherCost, Other, false);
            if (j < m)
                relax(i, j, i, j + 1, OtherCost, Other, false);
        }
    }
    QList<Family> found;
    unexplained = false;
    for (qsizetype i = n, j = m; i > 0 || j > 0;) {
        const Step& step = cell(i, j);
        if (!step.same) {
            if (step.family == Other)
                unexplained = true;
            else if (!found.contains(Family(step.family)))
                found.append(Family(step.family));
        }
        i = step.fromI;
        j = step.fromJ;
    }
    return found;
}

}  // namespace

QString pairTokens(const QString& correct, const QString& faulty)
{
    const QString c = split(correct).core;
    const QString f = split(faulty).core;
    if (c == f)
        return {};
    if (c.isEmpty() || f.isEmpty())
        return otherToken();
    QList<Family> found;
    bool unexplained = false;
    const QString lowerC = c.toLower();
    const QString lowerF = f.toLower();
    if (lowerC != lowerF)
        found = familiesBetween(lowerC, lowerF, unexplained);
    // A capital dropped with its letter passes to the next one ("Hola",
    // "Ola"): letter case is the first letter's, or, for words that read the
    // same, any letter's.
    if (c[0].isUpper() != f[0].isUpper() || lowerC == lowerF)
        found.append(Family::Mayusculas);
    QStringList tokens;
    for (const FamilyInfo& info : table()) {
        if (found.contains(info.family))
            tokens.append(info.token);
    }
    if (unexplained)
        tokens.append(otherToken());
    return tokens.join(u'+');
}

}  // namespace families
