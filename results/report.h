// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The report of a results folder, as a document of real text: a title with
// the folder, the dates and the exercise filter, the class table, the class
// by family, the words most often failed with their families, then a page per
// pupil (her texts, her families and her weekly progress). Printed, or
// written as a PDF, without any window.

#include "library/results.h"

#include <memory>

class QPrinter;
class QTextDocument;

namespace report {

struct Input {
    QString folder;
    const QList<results::Row>* rows = nullptr;
    results::Filter filter;
    QStringList classList;
};

// The document's HTML: every name escaped, so nothing a pupil typed is markup.
QString html(const Input& input);
// Whether the tables are too wide for a portrait page.
bool needsLandscape(const Input& input);
// The document itself.
std::unique_ptr<QTextDocument> document(const Input& input);
// Prints the report on `printer` (its page turned as the tables need).
void print(const Input& input, QPrinter& printer);
// Writes the report as a PDF to `path`; false when it cannot be written.
bool writePdf(const Input& input, const QString& path);

}  // namespace report
