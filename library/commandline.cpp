// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/commandline.h"

#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

#ifndef MIRAVELLON_VERSION
#define MIRAVELLON_VERSION "0"
#endif

namespace commandline {

QString version()
{
    return QStringLiteral(MIRAVELLON_VERSION);
}

QStringList arguments(int argc, char* argv[])
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out.append(QString::fromLocal8Bit(argv[i]));
    return out;
}

void addStandardOptions(QCommandLineParser& parser, bool windows)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("muestra esta ayuda")});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("muestra la versión")});
    if (!windows)
        return;
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "style", "stylesheet",
                             "display", "geometry", "qwindowgeometry", "qwindowtitle", "qwindowicon", "session",
                             "qmljsdebugger"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("x"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "nograb", "dograb", "sync", "widgetcount"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

namespace {

// The parser's complaint in Spanish: its own text is in English.
QString errorText(const QCommandLineParser& parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("no conozco la opción «%1%2»").arg(name.size() == 1 ? u"-"_qs : u"--"_qs, name);
    }
    const QString english = parser.errorText();
    const qsizetype from = english.indexOf(u'\'');
    const qsizetype to = english.lastIndexOf(u'\'');
    if (english.startsWith(QStringLiteral("Missing value")) && from >= 0 && to > from)
        return QStringLiteral("falta el valor de %1").arg(english.mid(from + 1, to - from - 1));
    if (english.startsWith(QStringLiteral("Unexpected value")) && from >= 0 && to > from)
        return QStringLiteral("%1 no lleva ningún valor").arg(english.mid(from + 1, to - from - 1));
    return english;
}

}  // namespace

void printUsageError(const QString& program, const QString& message)
{
    QTextStream err(stderr);
    err << program << ": " << message << '\n'
        << QStringLiteral("Para ver cómo se usa: %1 --help\n").arg(program);
}

std::optional<int> handle(QCommandLineParser& parser, const QStringList& arguments, const QString& program,
                          const QString& usage, int usageError)
{
    const bool parsed = parser.parse(arguments);
    // Help and version are answered even beside a mistake elsewhere.
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << usage;
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << program << ' ' << version() << '\n';
        return 0;
    }
    if (!parsed) {
        printUsageError(program, errorText(parser));
        return usageError;
    }
    return std::nullopt;
}

void quietLogging()
{
    // Rules set here come before QT_LOGGING_RULES, which overrides them.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false\nmiravellon.*=false\nqt.*=false"));
}

}  // namespace commandline
