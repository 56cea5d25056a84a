// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>
#include <QString>

// The picture of a corrected word, as the program looks it up:
// "Graficos/<word as in the correct text>.gif" or ".jpg" of the exercise's
// content root, letter case ignored (content::wordPicturePath()).
namespace editor {

// The largest picture written, the size of the program's own word pictures,
// at which the picture viewer shows them whole.
inline constexpr QSize PictureSize{240, 240};

struct PictureResult {
    QString path;   // the picture written
    QString error;  // empty on success
};

// Reads the image at `imagePath` with the program's own limits, scales it
// down to fit PictureSize (keeping its proportions) and writes it as
// "<word>.jpg" into the "Graficos" folder of `root`, replacing the word's
// earlier picture (a ".gif" one, which the program would show first, goes
// to the trash).
PictureResult placePicture(const QString& imagePath, const QString& root, const QString& word);

}  // namespace editor
