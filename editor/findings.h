// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "library/acceptedwords.h"
#include "library/itemwriter.h"

#include <QString>
#include <QStringList>

// The content checker's rules (checker/) run on the item being written, so
// that the teacher reads the checker's own words before saving: the item is
// written to a temporary content tree and checked there as
// miravellon-comprobar checks an exercise, spelling included.
namespace editor {

// One line per finding, "ERROR ..." or "AVISO ...", each naming the version
// ("correcto/3.txt", "incorrecto/3.txt") and the line; first, why saving
// would be refused, if it would.
// Words and pairs of `accepted` are not spoken of.
QStringList findings(const itemwriter::Draft& draft, int number, const acceptedwords::Lists& accepted = {});

}  // namespace editor
