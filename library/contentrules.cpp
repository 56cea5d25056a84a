// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/contentrules.h"

#include "library/catalogue.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QtEndian>

#include <algorithm>

Q_LOGGING_CATEGORY(lcContent, "miravellon.content")

namespace content {

namespace {

// Format tags the sound output decodes: integer PCM, floating point, and the
// extensible header that wraps either.
constexpr quint16 PcmFormat = 1;
constexpr quint16 FloatFormat = 3;
constexpr quint16 ExtensibleFormat = 0xFFFE;

// Bytes a picture of `size` takes decoded, `frames` times over.
qint64 decodedBytes(QSize size, int frames)
{
    return qint64(size.width()) * size.height() * 4 * std::max(1, frames);
}

// Whether a GIF or JPEG file lacks the marker that ends it: the decoder shows
// what it got of a file cut short by a broken copy and says nothing.
bool cutShort(const QString& path, const QByteArray& format)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    // Some writers pad a file with zero bytes after its end marker.
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    if (format == "gif")
        return !bytes.endsWith(';');
    if (format == "jpeg")
        return !bytes.endsWith("\xFF\xD9");
    return false;
}

// Whether a picture may be decoded: an ordinary file whose first frame takes
// at most MaxPictureBytes decoded. Missing, TooLarge or Ok.
ImageCheck pictureRefusalOf(const QString& path, QImageReader& reader)
{
    ImageCheck check;
    if (!isOrdinaryFile(path))
        return check;
    reader.setDecideFormatFromContent(true);
    check.size = reader.size();
    const qint64 bytes = decodedBytes(check.size, 1);
    if (check.size.isValid() && bytes > MaxPictureBytes) {
        check.status = ImageStatus::TooLarge;
        check.value = bytes;
        return check;
    }
    check.status = ImageStatus::Ok;
    return check;
}

}  // namespace

QStringList cueNames()
{
    return {QStringLiteral("acierto"), QStringLiteral("muybien"), QStringLiteral("bien"),
            QStringLiteral("cambia"),  QStringLiteral("no"),      QStringLiteral("ayuda"),
            QStringLiteral("rapido"),  QStringLiteral("resultados")};
}

QStringList pictureExtensions()
{
    return {QStringLiteral(".gif"), QStringLiteral(".jpg")};
}

QString cuePath(const QString& tree, const QString& cue)
{
    return catalogue::resolve(tree, CuesFolder.toString() + u'/' + cue + QStringLiteral(".wav"));
}

QString runnerAnimationPath(const QString& tree)
{
    return catalogue::resolve(tree, AnimationsFolder.toString() + QStringLiteral("/corre.gif"));
}

QString rewardAnimationPath(const QString& tree, int number)
{
    return catalogue::resolve(tree, AnimationsFolder.toString() + QStringLiteral("/%1.gif").arg(number));
}

QString backgroundPath(const QString& tree)
{
    return catalogue::resolve(tree, BackgroundTile.toString());
}

QString picturesFolderPath(const QString& tree)
{
    return catalogue::resolve(tree, PicturesFolder.toString());
}

QString wordPicturePath(const QString& tree, const QString& word)
{
    // The lookup never leaves the pictures folder.
    if (word.isEmpty() || word.contains(u'/') || word.contains(u'\\') || word == QLatin1String("..")
        || word == QLatin1String("."))
        return {};
    const QString folder = picturesFolderPath(tree);
    for (const QString& extension : pictureExtensions()) {
        const QString stored = catalogue::storedName(folder, word + extension, false);
        if (!stored.isEmpty() && stored.toLower() == (word + extension).toLower())
            return folder + u'/' + stored;
    }
    return {};
}

QString wordPicturePath(const QStringList& trees, const QString& word)
{
    for (const QString& tree : trees) {
        // An empty tree would make the pictures folder "/Graficos".
        if (tree.isEmpty())
            continue;
        const QString path = wordPicturePath(tree, word);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool isOrdinaryFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

CueCheck checkWav(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.sliced(8, 4) != "WAVE")
        return {CueStatus::NotWav};
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.sliced(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size())
                return {CueStatus::FormatCut};
            const quint16 format = qFromLittleEndian<quint16>(bytes.constData() + body);
            const quint16 channels = qFromLittleEndian<quint16>(bytes.constData() + body + 2);
            const quint32 rate = qFromLittleEndian<quint32>(bytes.constData() + body + 4);
            const quint16 bits = qFromLittleEndian<quint16>(bytes.constData() + body + 14);
            if (format != PcmFormat && format != FloatFormat && format != ExtensibleFormat)
                return {CueStatus::Compressed, format};
            if (channels == 0 || rate == 0 || bits == 0)
                return {CueStatus::NoChannels};
            haveFormat = true;
        } else if (id == "data") {
            // The sound effect waits for ever for the rest of a file cut
            // short, and plays nothing.
            if (body + qsizetype(size) > bytes.size())
                return {CueStatus::DataCut};
            haveData = true;
        }
        // Chunks are padded to an even size.
        at = body + qsizetype(size) + (size & 1);
    }
    if (!haveFormat)
        return {CueStatus::NoFormat};
    if (!haveData)
        return {CueStatus::NoData};
    return {CueStatus::Ok};
}

CueCheck checkCue(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {CueStatus::Missing};
    if (info.size() > MaxCueBytes)
        return {CueStatus::TooLarge, info.size()};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {CueStatus::Unreadable};
    // One byte past the limit, so that a file that grew since it was
    // measured is still refused.
    const QByteArray bytes = file.read(MaxCueBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {CueStatus::Unreadable};
    if (bytes.size() > MaxCueBytes)
        return {CueStatus::TooLarge, bytes.size()};
    return checkWav(bytes);
}

ImageCheck animationRefusal(const QString& path)
{
    ImageCheck check;
    if (!isOrdinaryFile(path))
        return check;
    QImageReader reader(path);
    check.size = reader.size();
    check.status = ImageStatus::Ok;
    if (!check.size.isValid())
        return check;
    const qint64 bytes = decodedBytes(check.size, reader.imageCount());
    if (bytes > MaxAnimationBytes) {
        check.status = ImageStatus::TooLarge;
        check.value = bytes;
    }
    return check;
}

ImageCheck pictureRefusal(const QString& path)
{
    QImageReader reader(path);
    return pictureRefusalOf(path, reader);
}

QImage readPicture(const QString& path, QString* error)
{
    QImageReader reader(path);
    const ImageCheck check = pictureRefusalOf(path, reader);
    QImage image;
    if (check.status == ImageStatus::Ok)
        image = reader.read();
    if (image.isNull()) {
        const QString why = check.status == ImageStatus::Missing ? QStringLiteral("not an ordinary file")
            : check.status == ImageStatus::TooLarge
            ? QStringLiteral("%1 bytes decoded").arg(check.value)
            : reader.errorString();
        qCInfo(lcContent) << "cannot read picture" << path << why;
        if (error)
            *error = why;
    }
    return image;
}

ImageCheck inspectAnimation(const QString& path)
{
    ImageCheck check = animationRefusal(path);
    if (check.status != ImageStatus::Ok)
        return check;
    QImageReader reader(path);
    if (!reader.canRead()) {
        check.status = ImageStatus::Unreadable;
        return check;
    }
    const QByteArray format = reader.format();
    int frames = 0;
    do {
        if (reader.read().isNull()) {
            check.status = frames == 0 ? ImageStatus::Unreadable : ImageStatus::BrokenFrame;
            check.value = frames + 1;
            return check;
        }
        ++frames;
    } while (reader.canRead());
    if (cutShort(path, format))
        check.status = ImageStatus::CutShort;
    return check;
}

ImageCheck inspectPicture(const QString& path)
{
    QImageReader reader(path);
    ImageCheck check = pictureRefusalOf(path, reader);
    if (check.status != ImageStatus::Ok)
        return check;
    if (!reader.canRead() || reader.read().isNull()) {
        check.status = ImageStatus::Unreadable;
        return check;
    }
    if (cutShort(path, reader.format()))
        check.status = ImageStatus::CutShort;
    return check;
}

bool isRefusal(ImageStatus status)
{
    return status == ImageStatus::Missing || status == ImageStatus::TooLarge || status == ImageStatus::Unreadable;
}

}  // namespace content
