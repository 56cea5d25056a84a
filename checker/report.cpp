#include "checker/report.h"

#include <QTextStream>

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

}  // namespace

void Report::add(Kind kind, const QString& place, int line, const QString& text)
{
    findings_.append({kind, printable(place), line, printable(text)});
    if (kind == Kind::Error)
        ++errors_;
    else if (kind == Kind::Warning)
        ++warnings_;
}

void Report::print(QTextStream& out) const
{
    for (const Finding& f : findings_) {
        out << label(f.kind) << u' ';
        if (!f.place.isEmpty()) {
            out << f.place;
            if (f.line > 0)
                out << QStringLiteral(", línea ") << f.line;
            out << QStringLiteral(": ");
        }
        out << f.text << u'\n';
    }
    out << counted(errors_, QStringLiteral("error"), QStringLiteral("errores")) << QStringLiteral(", ")
        << counted(warnings_, QStringLiteral("aviso"), QStringLiteral("avisos")) << u'\n';
}
