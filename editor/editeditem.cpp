// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/editeditem.h"

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "library/textfile.h"

#include <QRandomGenerator>
#include <QSet>

#include <algorithm>

namespace editor {

namespace {

bool isLineEnd(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1;
}

// The places of `text`, with the line ends of textfile::splitLines(): the last
// line needs no line end, and an empty text has no word.
QList<WordSlot> cut(const QString& text)
{
    QList<WordSlot> places;
    if (text.isEmpty())
        return places;
    int line = 1;
    qsizetype start = 0;
    qsizetype i = 0;
    const auto close = [&](qsizetype end) { places.append({start, end - start, line}); };
    while (i <= text.size()) {
        if (i == text.size()) {
            close(i);
            break;
        }
        const QChar c = text[i];
        if (c == u' ') {
            close(i);
            start = ++i;
            continue;
        }
        if (isLineEnd(c)) {
            close(i);
            i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
            if (i == text.size())
                break;
            ++line;
            start = i;
            continue;
        }
        ++i;
    }
    return places;
}

// The place of `places` that holds a caret at `offset`: before, inside or
// just after it. Places stand apart by a space or a line end at least, so
// no caret is in two of them.
std::optional<qsizetype> placeAt(const QList<WordSlot>& places, qsizetype offset)
{
    for (qsizetype k = 0; k < places.size(); ++k) {
        if (offset >= places[k].start && offset <= places[k].start + places[k].length)
            return k;
    }
    return std::nullopt;
}

}  // namespace

void EditedItem::setText(const QString& text)
{
    const QStringList old = words_;
    text_ = text;
    places_ = cut(text);
    words_.clear();
    for (const WordSlot& s : std::as_const(places_))
        words_.append(text.sliced(s.start, s.length));

    // The words before and after the change keep their misspellings.
    const qsizetype shorter = std::min(old.size(), words_.size());
    qsizetype prefix = 0;
    while (prefix < shorter && old[prefix] == words_[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && old[old.size() - 1 - suffix] == words_[words_.size() - 1 - suffix])
        ++suffix;
    QMap<qsizetype, QString> kept;
    for (auto it = misspellings_.cbegin(); it != misspellings_.cend(); ++it) {
        if (it.key() < prefix)
            kept.insert(it.key(), it.value());
        else if (it.key() >= old.size() - suffix)
            kept.insert(it.key() - old.size() + words_.size(), it.value());
    }
    misspellings_ = kept;
}

std::optional<qsizetype> EditedItem::wordAt(qsizetype offset) const
{
    return wordIn(placeAt(places_, offset));
}

std::optional<qsizetype> EditedItem::faultyWordAt(qsizetype offset) const
{
    return wordIn(placeAt(cut(faultyText()), offset));
}

std::optional<qsizetype> EditedItem::wordIn(std::optional<qsizetype> position) const
{
    if (!position || *position >= words_.size() || words_[*position].isEmpty())
        return std::nullopt;
    return position;
}

QString EditedItem::setMisspelling(qsizetype position, const QString& faulty)
{
    if (position < 0 || position >= words_.size() || words_[position].isEmpty())
        return QStringLiteral("no hay ninguna palabra ahí");
    if (faulty.isEmpty())
        return QStringLiteral("la falta no puede quedar vacía");
    if (std::any_of(faulty.begin(), faulty.end(), [](QChar c) { return c.isSpace() || isLineEnd(c); }))
        return QStringLiteral("una falta va dentro de una sola palabra: sin espacios");
    if (faulty == words_[position])
        return QStringLiteral("la falta «%1» es igual que la palabra").arg(faulty);
    if (textfile::check(itemwriter::encode({faulty})).status != textfile::ReadStatus::Ok)
        return QStringLiteral("la falta tiene caracteres que el programa no muestra");
    misspellings_.insert(position, faulty);
    return {};
}

void EditedItem::removeMisspelling(qsizetype position)
{
    misspellings_.remove(position);
}

QList<Proposal> EditedItem::proposals(qsizetype position) const
{
    QList<Proposal> out;
    if (position < 0 || position >= words_.size())
        return out;
    QSet<QString> seen;
    for (const families::Family f : families::named(QStringLiteral("todas"))) {
        for (const QString& faulty : families::misspellings(words_[position], f)) {
            if (!seen.contains(faulty)) {
                seen.insert(faulty);
                out.append({f, faulty});
            }
        }
    }
    return out;
}

QString EditedItem::addMisspellings(const QList<families::Family>& families, int count, QRandomGenerator& random,
                                    const std::function<bool(const QString&)>& isWord)
{
    itemwriter::Draft d = draft();
    const QString error = itemwriter::addMisspellings(d, families, count, random, isWord);
    if (!error.isEmpty())
        return error;
    for (const itemwriter::Misspelling& m : std::as_const(d.misspellings))
        misspellings_.insert(m.word, m.faulty);
    return {};
}

QString EditedItem::faultyText() const
{
    QString out = text_;
    // From the end, so that earlier offsets stay valid.
    for (auto it = misspellings_.cend(); it != misspellings_.cbegin();) {
        --it;
        const WordSlot& s = places_[it.key()];
        out.replace(s.start, s.length, it.value());
    }
    return out;
}

QList<WordSlot> EditedItem::faultyPlaces() const
{
    QList<WordSlot> out;
    qsizetype shift = 0;
    for (auto it = misspellings_.cbegin(); it != misspellings_.cend(); ++it) {
        const WordSlot& s = places_[it.key()];
        out.append({s.start + shift, it.value().size(), s.line});
        shift += it.value().size() - s.length;
    }
    return out;
}

itemwriter::Draft EditedItem::draft() const
{
    itemwriter::Draft d;
    int line = 0;
    QStringList correct;
    QStringList faulty;
    const auto flush = [&] {
        d.correctLines.append(correct.join(u' '));
        d.faultyLines.append(faulty.join(u' '));
        correct.clear();
        faulty.clear();
    };
    for (qsizetype k = 0; k < words_.size(); ++k) {
        if (places_[k].line != line) {
            if (line != 0)
                flush();
            line = places_[k].line;
        }
        correct.append(words_[k]);
        const auto m = misspellings_.constFind(k);
        faulty.append(m == misspellings_.cend() ? words_[k] : *m);
        if (m != misspellings_.cend())
            d.misspellings.append({line, k, words_[k], *m});
    }
    if (line != 0)
        flush();
    return d;
}

QString EditedItem::setNotation(const QString& text)
{
    const itemwriter::DraftResult parsed = itemwriter::parse(textfile::splitLines(text));
    if (!parsed.error.isEmpty())
        return parsed.error;
    setText(parsed.draft.correctLines.join(u'\n'));
    misspellings_.clear();
    for (const itemwriter::Misspelling& m : parsed.draft.misspellings)
        misspellings_.insert(m.word, m.faulty);
    return {};
}

QString EditedItem::load(const QString& exerciseFolder, int number)
{
    const QString digits = QString::number(number);
    const textfile::ReadResult correct
        = textfile::read(catalogue::versionPath(exerciseFolder, content::CorrectVersion.toString(), digits));
    if (correct.status != textfile::ReadStatus::Ok)
        return QStringLiteral("no se puede leer la versión correcta del texto %1").arg(number);
    const textfile::ReadResult faulty
        = textfile::read(catalogue::versionPath(exerciseFolder, content::FaultyVersion.toString(), digits));
    misspellings_.clear();
    setText(correct.lines.join(u'\n'));
    if (faulty.status != textfile::ReadStatus::Ok)
        return QStringLiteral("no se puede leer la versión con faltas del texto %1: se abre sin faltas").arg(number);
    const QStringList& faultyWords = faulty.version.words;
    if (faulty.lines.size() != correct.lines.size() || faultyWords.size() != words_.size())
        return QStringLiteral("las dos versiones del texto %1 no tienen las mismas palabras: se abre sin faltas")
            .arg(number);
    for (qsizetype k = 0; k < words_.size(); ++k) {
        if (faultyWords[k] != words_[k])
            misspellings_.insert(k, faultyWords[k]);
    }
    return {};
}

ImportedText importText(const QString& path)
{
    const textfile::ReadResult read = textfile::readInput(path);
    if (read.status != textfile::ReadStatus::Ok)
        return {{}, QStringLiteral("«%1»: %2").arg(path, textfile::refusalText(read))};
    return {read.text.normalized(QString::NormalizationForm_C), {}};
}

}  // namespace editor
