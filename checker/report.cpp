// SPDX-License-Identifier: GPL-3.0-or-later

#include "checker/report.h"

#include <QStringList>
#include <QTextStream>

#include <algorithm>

namespace {

QString label(Report::Kind kind)
{
    switch (kind) {
    case Report::Kind::Error: return QStringLiteral("ERROR");
    case Report::Kind::Warning: return QStringLiteral("AVISO");
    case Report::Kind::Note: return QStringLiteral("INFO");
    }
    return {};
}

QString counted(int n, const QString& one, const QString& many)
{
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

// A finding is one line of plain text: every control character (a NUL, a
// line feed in a folder's name, an escape in a word) is written as its code.
QString printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x20 || (code >= 0x7F && code < 0xA0))
            out += QStringLiteral("<0x") + QString::number(uint(code), 16).toUpper().rightJustified(2, u'0') + u'>';
        else
            out += c;
    }
    return out;
}

bool isUnder(const QString& place, const QString& folder)
{
    return place == folder || (place.startsWith(folder) && place.at(folder.size()) == u'/');
}

}  // namespace

Report::Section& Report::current()
{
    if (sections_.isEmpty())
        sections_.append(Section());
    return sections_.last();
}

void Report::beginSection(const QString& heading)
{
    sections_.append(Section{printable(heading), {}, {}});
}

void Report::addExercise(const QString& title, const QString& place)
{
    current().exercises.append(Exercise{printable(title), printable(place), {}});
}

void Report::add(Kind kind, const QString& place, int line, const QString& text, const QString& where)
{
    const Finding finding{kind, printable(place), line, printable(where), printable(text)};
    if (place.isEmpty()) {
        for (const Section& section : std::as_const(sections_)) {
            for (const Finding& f : section.findings) {
                if (f.place.isEmpty() && f.kind == kind && f.text == finding.text)
                    return;
            }
        }
    }
    if (kind == Kind::Error)
        ++errors_;
    else if (kind == Kind::Warning)
        ++warnings_;

    Section& section = current();
    // The exercise the place lies in; "01 B" is no folder of "01 B y V".
    for (Exercise& exercise : section.exercises) {
        if (!place.isEmpty() && isUnder(finding.place, exercise.place)) {
            exercise.findings.append(finding);
            return;
        }
    }
    section.findings.append(finding);
}

void Report::printFinding(QTextStream& out, const Finding& f) const
{
    if (f.kind == Kind::Note && !showNotes_)
        return;
    out << label(f.kind) << u' ';
    if (!f.place.isEmpty()) {
        out << f.place;
        if (f.line > 0)
            out << QStringLiteral(", línea ") << f.line;
        if (!f.where.isEmpty())
            out << QStringLiteral(", ") << f.where;
        out << QStringLiteral(": ");
    }
    out << f.text << u'\n';
}

void Report::print(QTextStream& out) const
{
    for (const Section& section : sections_) {
        if (!section.heading.isEmpty())
            out << section.heading << u'\n';
        for (const Finding& f : section.findings)
            printFinding(out, f);
        for (const Exercise& exercise : section.exercises) {
            const auto errors = std::count_if(exercise.findings.begin(), exercise.findings.end(),
                                              [](const Finding& f) { return f.kind == Kind::Error; });
            const auto warnings = std::count_if(exercise.findings.begin(), exercise.findings.end(),
                                                [](const Finding& f) { return f.kind == Kind::Warning; });
            QStringList counts;
            if (errors > 0)
                counts.append(counted(int(errors), QStringLiteral("error"), QStringLiteral("errores")));
            if (warnings > 0)
                counts.append(counted(int(warnings), QStringLiteral("aviso"), QStringLiteral("avisos")));
            out << exercise.title << QStringLiteral(": ")
                << (counts.isEmpty() ? QStringLiteral("bien") : counts.join(QStringLiteral(", "))) << u'\n';
            for (const Finding& f : exercise.findings)
                printFinding(out, f);
        }
    }
    out << counted(errors_, QStringLiteral("error"), QStringLiteral("errores")) << QStringLiteral(", ")
        << counted(warnings_, QStringLiteral("aviso"), QStringLiteral("avisos")) << u'\n';
}
