// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The hostile-content suite's files: content as teachers pass it around,
// empty, huge, binary or badly encoded texts, folders, pipes and links where
// files should be, and pictures, animations and sounds that are not what their
// names promise. Shared by the tests that run the program over them and the
// test that runs the checker over them too.

#include "tests/support.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

namespace hostile {

// The good exercise, the bad one and the bad item's two versions.
extern const QString Good;
extern const QString Bad;
extern const QString BadFaulty;
extern const QString BadCorrect;
extern const QString Missing;  // "No encuentro el archivo"
extern const QByteArray Silence;

// --- Making hostile files ------------------------------------------------

// A file of `bytes` bytes that takes no room on disk: it is refused by its size
// before anything is read from it.
void writeSparse(const TempTree& tree, const QString& relative, qint64 bytes, const QByteArray& head = {});
void symlink(const TempTree& tree, const QString& target, const QString& relative);
void makePipe(const TempTree& tree, const QString& relative);
void replaceWithFolder(const TempTree& tree, const QString& relative);
QByteArray pngBytes(int width, int height);
QByteArray jpegBytes(int width, int height);
QByteArray le16(int value);
// A GIF whose logical screen is `width` by `height` and which holds `frames`
// frames covering it. Each frame's image data is a few bytes that decode to
// very little: the file stays tiny whatever it claims.
QByteArray gifClaiming(int width, int height, int frames = 1);
// A PNG header that claims a picture of `width` by `height` pixels.
QByteArray pngClaiming(quint32 width, quint32 height);
// A JPEG whose frame header claims `width` by `height` pixels.
QByteArray jpegClaiming(int width, int height);
// Every byte value, in order, eight times.
QByteArray everyByte();
// A WAV file: 16-bit mono PCM, with the header's claims given outright.
QByteArray wav(const QByteArray& samples, int channels = 1, quint32 rate = 22050, int bits = 16,
               std::optional<quint32> dataSize = std::nullopt);

// Writes the bad item's faulty version as every byte value but NUL, CR, LF,
// the space and the control characters, each inside a word ("a", the byte,
// "z"), sixteen words a line; and its correct version with "w<byte>" for each.
// Returns the correct words.
QStringList writeStrayBytes(const TempTree& tree);

// --- The cases -----------------------------------------------------------

// An item of the exercise "Malo" spoilt one way, and the first line of the
// message that refuses it.
struct RefusedCase {
    const char* name;
    std::function<void(const TempTree&)> spoil;
    QString message;
    // A file or folder the case makes unreadable: when it can still be read
    // (the tests run as a user who reads everything), the case is skipped.
    QString unreadable = {};
};

void PrintTo(const RefusedCase& c, std::ostream* os);
extern const std::vector<RefusedCase> RefusedCases;

// A picture file spoilt one way.
struct PictureCase {
    const char* name;
    std::function<void(const TempTree&, const QString&)> make;
    bool readable;  // a picture (part of one, perhaps) can still be shown
};

void PrintTo(const PictureCase& c, std::ostream* os);
extern const std::vector<PictureCase> PictureCases;

// A sound cue spoilt one way.
struct SoundCase {
    const char* name;
    std::function<void(const TempTree&, const QString&)> make;
    bool loaded;  // handed to the platform's sound effect, which must cope
};

void PrintTo(const SoundCase& c, std::ostream* os);
extern const std::vector<SoundCase> SoundCases;

// A text the program loads though it is odd: the bytes of both versions of
// the bad item.
struct AcceptedText {
    const char* name;
    std::function<void(const TempTree&)> write;
};
void PrintTo(const AcceptedText& c, std::ostream* os);
extern const std::vector<AcceptedText> AcceptedTexts;
// The row of AcceptedTexts called `name`.
const AcceptedText& acceptedText(const char* name);

}  // namespace hostile
