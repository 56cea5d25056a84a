// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QStringView>

// The rules a content tree must meet, shared by the program and the content
// checker: where each file lies, how large it may be, and what makes the
// program refuse it. Texts follow the rules of library/textfile.h.
//
// Every path is resolved without regard to letter case (library/catalogue.h),
// and only ordinary files are ever opened: a pipe in a file's place would keep
// a reader waiting for ever, and a folder or a device is no content.
namespace content {

// --- Names -------------------------------------------------------------------

inline constexpr QStringView ExercisesFolder = u"Ejercicios";
inline constexpr QStringView FaultyVersion = u"incorrecto";
inline constexpr QStringView CorrectVersion = u"correcto";
inline constexpr QStringView CuesFolder = u"sonidos";
inline constexpr QStringView AnimationsFolder = u"gifs";
inline constexpr QStringView PicturesFolder = u"Graficos";
inline constexpr QStringView BackgroundTile = u"fondo.gif";

// The sound cues, by name: "sonidos/<name>.wav".
QStringList cueNames();
// The number of reward animations, "gifs/1.gif" to "gifs/<count>.gif".
inline constexpr int RewardAnimations = 3;
// The extensions of word pictures, in the order they are looked for.
QStringList pictureExtensions();

// --- Where things are ----------------------------------------------------------

QString cuePath(const QString& tree, const QString& name);
QString runnerAnimationPath(const QString& tree);
QString rewardAnimationPath(const QString& tree, int number);
QString backgroundPath(const QString& tree);
QString picturesFolderPath(const QString& tree);

// The picture of a corrected word: the first of "<word>.gif" and
// "<word>.jpg" in the pictures folder, letter case ignored. Empty when there
// is none, or when the word could name something outside that folder.
QString wordPicturePath(const QString& tree, const QString& word);
// The same, in each of `trees` in turn: an exercise's own content root first,
// then the program's. Empty names in `trees` are skipped.
QString wordPicturePath(const QStringList& trees, const QString& word);

// --- Limits --------------------------------------------------------------------

// The largest cue file played: the program's cues are short, and a cue is
// held in memory whole. 8 MiB is some 45 seconds of CD-quality sound.
inline constexpr qint64 MaxCueBytes = 8 * 1024 * 1024;
// Every frame of an animation stays decoded while it plays. The program's own
// animations take a few hundred kilobytes; a file of a few kilobytes can claim
// hundreds of frames thousands of pixels wide, and is not played.
inline constexpr qint64 MaxAnimationBytes = 64 * 1024 * 1024;
// The largest picture decoded, in bytes of its decoded pixels (Qt's own
// default for an image reader).
inline constexpr qint64 MaxPictureBytes = 128 * 1024 * 1024;

// --- Files -----------------------------------------------------------------------

// Whether `path` names an ordinary file (a link to one counts).
bool isOrdinaryFile(const QString& path);

// --- Cues ------------------------------------------------------------------------

enum class CueStatus {
    Ok,
    Missing,         // no ordinary file there
    TooLarge,        // more than MaxCueBytes
    Unreadable,      // cannot be opened or read
    NotWav,          // no RIFF/WAVE header
    FormatCut,       // the "fmt " chunk is cut short
    Compressed,      // a format the sound output does not decode
    NoChannels,      // no channels, no sample rate or no bits per sample
    NoFormat,        // no "fmt " chunk
    NoData,          // no "data" chunk
    DataCut          // the "data" chunk ends past the end of the file
};

struct CueCheck {
    CueStatus status = CueStatus::Missing;
    qint64 value = 0;  // the file's size (TooLarge) or the format tag (Compressed)
};

// The rules of a WAV file's bytes: a RIFF/WAVE header, an uncompressed
// "fmt " chunk (integer PCM, floating point, or the extensible header) with
// channels, a rate and bits, and a "data" chunk whose sound is all there.
CueCheck checkWav(const QByteArray& bytes);

// An ordinary file of at most MaxCueBytes whose bytes pass checkWav().
CueCheck checkCue(const QString& path);

// --- Animations and pictures -------------------------------------------------

enum class ImageStatus {
    Ok,
    Missing,      // no ordinary file there
    TooLarge,     // decodes to more than the limit
    Unreadable,   // no picture Qt reads, or its first frame cannot be decoded
    BrokenFrame,  // a later frame of an animation cannot be decoded
    CutShort      // the marker that ends a GIF or JPEG file is missing
};

struct ImageCheck {
    ImageStatus status = ImageStatus::Missing;
    qint64 value = 0;  // the bytes decoded (TooLarge) or the broken frame, from 1
    QSize size;        // the frame size the file claims
};

// Whether the program plays the animation at `path`: an ordinary file whose
// frames, all decoded, take at most MaxAnimationBytes. Reads only the header.
// Ok says the program tries it; its first frame may still fail to decode.
ImageCheck animationRefusal(const QString& path);

// Whether the picture at `path` may be decoded: an ordinary file whose
// first frame takes at most MaxPictureBytes decoded. Reads only the header.
ImageCheck pictureRefusal(const QString& path);

// Reads the picture at `path` as the program shows it: only an ordinary file,
// the format taken from the content, and nothing that decodes to more than
// MaxPictureBytes. A null image when it cannot be shown.
QImage readPicture(const QString& path, QString* error = nullptr);

// Everything the checker reports on an animation or a picture: first what the
// program refuses (with the same rules as animationRefusal() and
// readPicture()), then what it shows damaged (a broken later frame, a file cut
// short). Every frame of an animation is decoded.
ImageCheck inspectAnimation(const QString& path);
ImageCheck inspectPicture(const QString& path);

// Whether the program refuses the file outright, rather than showing it
// damaged or whole.
bool isRefusal(ImageStatus status);

}  // namespace content
