// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/hostilecontent.h"

#include "library/textfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace hostile {

const QString Good = QStringLiteral("Bueno");
const QString Bad = QStringLiteral("Malo");
const QString BadFaulty = QStringLiteral("Ejercicios/Malo/incorrecto/1.txt");
const QString BadCorrect = QStringLiteral("Ejercicios/Malo/correcto/1.txt");
const QString Missing = QStringLiteral("No encuentro el archivo");
const QByteArray Silence = QByteArray(4000, '\0');

// A file of `bytes` bytes that takes no room on disk: it is refused by its size
// before anything is read from it.
void writeSparse(const TempTree& tree, const QString& relative, qint64 bytes, const QByteArray& head)
{
    tree.write(relative, head);
    QFile file(tree.file(relative));
    ASSERT_TRUE(file.resize(bytes));
}

void symlink(const TempTree& tree, const QString& target, const QString& relative)
{
    QDir().mkpath(QFileInfo(tree.file(relative)).path());
    ASSERT_TRUE(QFile::link(target, tree.file(relative))) << relative.toStdString();
}

void makePipe(const TempTree& tree, const QString& relative)
{
    QDir().mkpath(QFileInfo(tree.file(relative)).path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.file(relative)).constData(), 0644), 0);
}

void replaceWithFolder(const TempTree& tree, const QString& relative)
{
    QFile::remove(tree.file(relative));
    tree.mkdir(relative);
}

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkMagenta);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpegBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

QByteArray le16(int value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

// A GIF whose logical screen is `width` by `height` and which holds `frames`
// frames covering it. Each frame's image data is a few bytes that decode to
// very little: the file stays tiny whatever it claims.
QByteArray gifClaiming(int width, int height, int frames)
{
    QByteArray gif = "GIF89a" + le16(width) + le16(height) + QByteArray("\x80\x00\x00", 3)
        + QByteArray("\x00\x00\x00\xff\xff\xff", 6);
    gif += QByteArray("!\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int i = 0; i < frames; ++i) {
        gif += QByteArray("!\xf9\x04\x00\x0a\x00\x00\x00", 8);
        gif += ',' + le16(0) + le16(0) + le16(width) + le16(height) + QByteArray("\x00", 1);
        gif += QByteArray("\x02\x02\x4c\x01\x00", 5);
    }
    return gif + ';';
}

// A PNG header that claims a picture of `width` by `height` pixels.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png = pngBytes(8, 8);
    // The width and height follow the signature, the chunk length and "IHDR".
    qToBigEndian<quint32>(width, png.data() + 16);
    qToBigEndian<quint32>(height, png.data() + 20);
    return png;  // the header's checksum no longer agrees either
}

// A JPEG whose frame header claims `width` by `height` pixels.
QByteArray jpegClaiming(int width, int height)
{
    QByteArray jpeg = jpegBytes(8, 8);
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    if (frame >= 0) {
        qToBigEndian<quint16>(quint16(height), jpeg.data() + frame + 5);
        qToBigEndian<quint16>(quint16(width), jpeg.data() + frame + 7);
    }
    return jpeg;
}

QByteArray everyByte()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes.repeated(8);
}

// A WAV file: 16-bit mono PCM, with the header's claims given outright.
QByteArray wav(const QByteArray& samples, int channels, quint32 rate, int bits, std::optional<quint32> dataSize)
{
    auto le32 = [](quint32 value) {
        QByteArray bytes(4, '\0');
        qToLittleEndian<quint32>(value, bytes.data());
        return bytes;
    };
    const auto blockAlign = quint32(qint64(channels) * bits / 8);
    QByteArray body = "WAVEfmt " + le32(16) + le16(1) + le16(channels) + le32(rate) + le32(rate * blockAlign)
        + le16(int(blockAlign & 0xffff)) + le16(bits);
    body += "data" + le32(dataSize.value_or(quint32(samples.size()))) + samples;
    return "RIFF" + le32(quint32(body.size())) + body;
}


QStringList writeStrayBytes(const TempTree& tree)
{
    QList<QByteArray> faultyWords;
    QStringList correct;
    for (int b = 1; b < 256; ++b) {
        if (b == '\r' || b == '\n' || b == ' ' || textfile::isForbiddenControl(textfile::decodeWindows1252(QByteArray(1, char(b))).at(0).unicode()))
            continue;
        faultyWords.append(QByteArray("a") + char(b) + 'z');
        correct.append(QStringLiteral("w%1").arg(b));
    }
    QByteArray faulty;
    QStringList correctLines;
    for (int i = 0; i < correct.size(); i += 16) {
        faulty += faultyWords.mid(i, 16).join(' ') + "\r\n";
        correctLines.append(correct.mid(i, 16).join(u' '));
    }
    tree.write(BadFaulty, faulty);
    tree.writeLines(BadCorrect, correctLines);
    return correct;
}

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

void PrintTo(const PictureCase& c, std::ostream* os)
{
    *os << c.name;
}

void PrintTo(const SoundCase& c, std::ostream* os)
{
    *os << c.name;
}

const std::vector<RefusedCase> RefusedCases = {
    {"OnlyAByteOrderMark", [](const TempTree& t) { t.write(BadFaulty, "\xEF\xBB\xBF"); }, "El archivo está vacío"},
    {"FiftyMegabytes", [](const TempTree& t) { writeSparse(t, BadCorrect, 50LL * 1024 * 1024, "Mi perro come "); },
     "El archivo es demasiado grande"},
    {"APictureInPlaceOfTheText", [](const TempTree& t) { t.write(BadFaulty, pngBytes(40, 30)); },
     "El archivo no es un texto"},
    {"ANulByteInTheText", [](const TempTree& t) { t.write(BadCorrect, QByteArray("Mi perro\0 come\r\n", 16)); },
     "El archivo no es un texto"},
    {"EveryByteValue", [](const TempTree& t) { t.write(BadFaulty, everyByte()); }, "El archivo no es un texto"},
    {"AnEscapeInTheText", [](const TempTree& t) { t.write(BadFaulty, "Mi pero\x1b come\r\n"); },
     "El texto tiene un carácter de control"},
    {"AByteWindows1252LeavesUndefined", [](const TempTree& t) { t.write(BadCorrect, "Mi perro\x81 come\r\n"); },
     "El texto tiene un carácter de control"},
    {"AControlCharacterInUtf8",
     [](const TempTree& t) { t.write(BadCorrect, u"Mi perro\u0085 cóme\r\n"_s.toUtf8()); },
     "El texto tiene un carácter de control"},
    {"Utf16WithAByteOrderMark",
     [](const TempTree& t) {
         const QString text = u"Mi pero come\r\n"_s;
         t.write(BadFaulty, QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
     },
     "El archivo está guardado en UTF-16"},
    {"Utf16BigEndianWithoutAByteOrderMark",
     [](const TempTree& t) {
         QByteArray bytes;
         for (const char c : QByteArray("Mi perro come\r\n"))
             bytes += QByteArray(1, '\0') + c;
         t.write(BadCorrect, bytes);
     },
     "El archivo está guardado en UTF-16"},
    {"HundredThousandWords",
     [](const TempTree& t) {
         const QByteArray words = QByteArray("palabra ").repeated(100000);
         t.write(BadFaulty, words);
         t.write(BadCorrect, words);
     },
     "El texto tiene demasiadas palabras"},
    {"TenThousandCharacterWord",
     [](const TempTree& t) { t.writeLines(BadFaulty, {"Mi " + QString(10000, u'p') + " come"}); },
     "El texto tiene una palabra demasiado larga"},
    {"AWordOneCharacterTooLong",
     [](const TempTree& t) { t.writeLines(BadCorrect, {"Mi " + QString(textfile::MaxWordLength + 1, u'r') + " come"}); },
     "El texto tiene una palabra demasiado larga"},
    {"UnequalWordPositions", [](const TempTree& t) { t.writeLines(BadCorrect, {"Mi perro", "come hoy"}); },
     "Las dos versiones del texto no tienen el mismo número de palabras"},
    {"MissingCorrectVersion", [](const TempTree& t) { QFile::remove(t.file(BadCorrect)); }, Missing},
    {"FolderInPlaceOfTheFaultyVersion", [](const TempTree& t) { replaceWithFolder(t, BadFaulty); }, Missing},
    {"FolderInPlaceOfTheCorrectVersion", [](const TempTree& t) { replaceWithFolder(t, BadCorrect); }, Missing},
    {"FileInPlaceOfTheVersionFolder",
     [](const TempTree& t) {
         QDir(t.file("Ejercicios/Malo/correcto")).removeRecursively();
         t.write("Ejercicios/Malo/correcto", "Mi perro come\r\n");
     },
     Missing},
    {"LinkLoopInPlaceOfTheFaultyVersion",
     [](const TempTree& t) {
         QFile::remove(t.file(BadFaulty));
         symlink(t, "1.txt", BadFaulty);
     },
     Missing},
    {"LinkLoopInPlaceOfTheVersionFolder",
     [](const TempTree& t) {
         QDir(t.file("Ejercicios/Malo/incorrecto")).removeRecursively();
         symlink(t, "incorrecto", "Ejercicios/Malo/incorrecto");
     },
     Missing},
    {"PipeInPlaceOfTheCorrectVersion",
     [](const TempTree& t) {
         QFile::remove(t.file(BadCorrect));
         makePipe(t, BadCorrect);
     },
     Missing},
    {"UnreadableCorrectVersion",
     [](const TempTree& t) { QFile::setPermissions(t.file(BadCorrect), QFileDevice::Permissions()); },
     "No puedo leer el archivo", BadCorrect},
    {"UnreadableVersionFolder",
     [](const TempTree& t) {
         QFile::setPermissions(t.file("Ejercicios/Malo/incorrecto"), QFileDevice::Permissions());
     },
     Missing, BadFaulty},
};


const std::vector<PictureCase> PictureCases = {
    {"Empty", [](const TempTree& t, const QString& f) { t.write(f, {}); }, false},
    {"Garbage", [](const TempTree& t, const QString& f) { t.write(f, everyByte()); }, false},
    {"HeaderOnly", [](const TempTree& t, const QString& f) { t.write(f, gifClaiming(40, 30).left(13)); }, false},
    {"TruncatedPng", [](const TempTree& t, const QString& f) { t.write(f, pngBytes(64, 48).left(60)); }, false},
    {"TruncatedJpeg", [](const TempTree& t, const QString& f) { t.write(f, jpegBytes(64, 48).chopped(200)); }, true},
    {"ZeroByZero", [](const TempTree& t, const QString& f) { t.write(f, gifClaiming(0, 0)); }, false},
    {"EnormousGif", [](const TempTree& t, const QString& f) { t.write(f, gifClaiming(65535, 65535)); }, false},
    {"EnormousPng", [](const TempTree& t, const QString& f) { t.write(f, pngClaiming(100000, 100000)); }, false},
    {"EnormousJpeg", [](const TempTree& t, const QString& f) { t.write(f, jpegClaiming(65500, 65500)); }, false},
    {"ManyLargeFrames", [](const TempTree& t, const QString& f) { t.write(f, gifClaiming(5000, 5000, 200)); }, true},
    {"Pipe", [](const TempTree& t, const QString& f) { makePipe(t, f); }, false},
    {"Folder", [](const TempTree& t, const QString& f) { t.mkdir(f); }, false},
    {"LinkLoop", [](const TempTree& t, const QString& f) { symlink(t, QFileInfo(f).fileName(), f); }, false},
};


const std::vector<SoundCase> SoundCases = {
    {"Empty", [](const TempTree& t, const QString& f) { t.write(f, {}); }, false},
    {"HeaderOnly", [](const TempTree& t, const QString& f) { t.write(f, QByteArray("RIFF\0\0\0\0WAVE", 12)); }, false},
    {"Truncated", [](const TempTree& t, const QString& f) { t.write(f, wav(Silence, 1, 22050, 16, 10000000).left(100)); }, false},
    {"NoChannelsNoRate", [](const TempTree& t, const QString& f) { t.write(f, wav(Silence, 0, 0, 0)); }, false},
    {"Compressed",
     [](const TempTree& t, const QString& f) {
         QByteArray cue = wav(Silence);
         cue[20] = 0x55;  // the format tag of MPEG layer 3
         t.write(f, cue);
     },
     false},
    {"EightBitStereoAtEightKilohertz", [](const TempTree& t, const QString& f) { t.write(f, wav(Silence, 2, 8000, 8)); },
     true},
    {"EnormousClaims",
     [](const TempTree& t, const QString& f) { t.write(f, wav(Silence, 65535, 0xFFFFFFFF, 65535, 0xFFFFFFFF)); }, false},
    {"Garbage", [](const TempTree& t, const QString& f) { t.write(f, "RIFF\xff\xff\xff\xffWAVE" + everyByte()); }, false},
    {"NotAWave", [](const TempTree& t, const QString& f) { t.write(f, pngBytes(8, 8)); }, false},
    {"OneGigabyte",
     [](const TempTree& t, const QString& f) { writeSparse(t, f, 1LL << 30, wav({}, 1, 22050, 16, 0x3FFFFFF0)); }, false},
    {"Pipe", [](const TempTree& t, const QString& f) { makePipe(t, f); }, false},
    {"Folder", [](const TempTree& t, const QString& f) { t.mkdir(f); }, false},
    {"LinkLoop", [](const TempTree& t, const QString& f) { symlink(t, QFileInfo(f).fileName(), f); }, false},
};

const std::vector<AcceptedText> AcceptedTexts = {
    {"StrayBytesOfEveryValue", [](const TempTree& t) { writeStrayBytes(t); }},
    {"LinesWithNothingOnThem",
     [](const TempTree& t) {
         t.write(BadFaulty, "\r\n\r\n");
         t.write(BadCorrect, "\n\n");
     }},
    {"CrLfAndCrLfMixed",
     [](const TempTree& t) {
         t.write(BadFaulty, "Uno pero\rDos\r\nTres\n\rCuatro\r\r\nCinco");
         t.write(BadCorrect, "Uno perro\nDos\rTres\r\n\nCuatro\n\rCinco\r\n");
     }},
    {"ANonBreakingSpace",
     [](const TempTree& t) {
         t.write(BadFaulty, "Vale 5\xA0" "euros y 3\xA0" "centimos\r\n");
         t.write(BadCorrect, "Vale 5\xA0" "euros y 3\xA0" "c\xE9ntimos\r\n");
     }},
    {"InvalidUtf8",
     [](const TempTree& t) {
         // A valid ñ, then a byte that is no UTF-8: the whole file is Windows-1252.
         t.write(BadFaulty, "El ni\xC3\xB1o come \xFF" "\r\n");
         t.write(BadCorrect, "El ni\xC3\xB1o come ya\r\n");
     }},
    {"ParagraphBreaksInUtf8",
     [](const TempTree& t) {
         t.write(BadFaulty, u"Uno pero\u2029Dos\uFDD0Tres\uFDD1Cuatro\u2028cinco \uFEFFseis"_s.toUtf8());
         t.write(BadCorrect, u"Uno perro\nDos\nTres\nCuatro\u2028cinco \uFEFFseis"_s.toUtf8());
     }},
    {"TheLongestWordAllowed",
     [](const TempTree& t) {
         t.writeLines(BadFaulty, {"Una " + QString(textfile::MaxWordLength, u'a') + " larga"});
         t.writeLines(BadCorrect, {"Una palabra larga"});
     }},
};

void PrintTo(const AcceptedText& c, std::ostream* os)
{
    *os << c.name;
}

const AcceptedText& acceptedText(const char* name)
{
    for (const AcceptedText& text : AcceptedTexts) {
        if (qstrcmp(text.name, name) == 0)
            return text;
    }
    qFatal("no accepted text called %s", name);
}

}  // namespace hostile
