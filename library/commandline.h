// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// What every one of the program's commands does with its command line before
// it makes an application object: --help and --version answered on standard
// output, a wrong option said in one line with where to find help, and the
// program's own log lines kept off the terminal unless QT_LOGGING_RULES asks.
namespace commandline {

// The program's version, as --version prints it.
QString version();

// The arguments of main(), program name first, as text.
QStringList arguments(int argc, char* argv[]);

// Adds -h/--help and -v/--version, in Spanish, to `parser`; for a program
// with windows (`windows`), also the options the application object takes
// itself (-platform, -style, -display...), so that they pass unrefused.
void addStandardOptions(QCommandLineParser& parser, bool windows = false);

// Parses `arguments` with `parser`. Returns the exit status the command ends
// with when it has nothing more to do: 0 after printing `usage` for --help or
// the version for --version (on standard output), `usageError` after printing
// the parser's error and a line pointing to --help (on standard error). None
// when the command goes on.
std::optional<int> handle(QCommandLineParser& parser, const QStringList& arguments, const QString& program,
                          const QString& usage, int usageError);

// Prints "program: message" and a line pointing to --help on standard error.
void printUsageError(const QString& program, const QString& message);

// Keeps the program's log lines (and Qt's) off the terminal; QT_LOGGING_RULES
// still turns any of them on.
void quietLogging();

}  // namespace commandline
