#include "checker/media.h"

#include "library/catalogue.h"
#include "checker/exercises.h"
#include "checker/report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QSet>
#include <QtEndian>

namespace checker {

namespace {

// Cue files are a few seconds long: the program plays none larger than this
// (it holds each cue in memory whole).
constexpr qint64 MaxCueBytes = 8 * 1024 * 1024;

// Format tags the sound output decodes: integer PCM, floating point, and the
// extensible header that wraps either.
constexpr quint16 PcmFormat = 1;
constexpr quint16 FloatFormat = 3;
constexpr quint16 ExtensibleFormat = 0xFFFE;

// What is wrong with the bytes of a WAV file; empty when nothing is.
QString wavProblem(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.sliced(8, 4) != "WAVE")
        return QStringLiteral("no es un archivo WAV (le falta la cabecera RIFF/WAVE)");
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.sliced(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size())
                return QStringLiteral("el bloque «fmt » del WAV está cortado");
            const quint16 format = qFromLittleEndian<quint16>(bytes.constData() + body);
            const quint16 channels = qFromLittleEndian<quint16>(bytes.constData() + body + 2);
            const quint32 rate = qFromLittleEndian<quint32>(bytes.constData() + body + 4);
            const quint16 bits = qFromLittleEndian<quint16>(bytes.constData() + body + 14);
            if (format != PcmFormat && format != FloatFormat && format != ExtensibleFormat)
                return QStringLiteral("el sonido está comprimido (formato %1) y el programa solo reproduce "
                                      "WAV sin comprimir (PCM)")
                    .arg(format);
            if (channels == 0 || rate == 0 || bits == 0)
                return QStringLiteral("el bloque «fmt » del WAV no tiene canales, frecuencia o bits");
            haveFormat = true;
        } else if (id == "data") {
            // The program plays nothing of a cue whose sound is cut short.
            if (body + qsizetype(size) > bytes.size())
                return QStringLiteral("el sonido del WAV está cortado: le falta el final");
            haveData = true;
        }
        // Chunks are padded to an even size.
        at = body + qsizetype(size) + (size & 1);
    }
    if (!haveFormat)
        return QStringLiteral("el WAV no tiene bloque «fmt »");
    if (!haveData)
        return QStringLiteral("el WAV no tiene bloque «data» con el sonido");
    return {};
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

// What keeps a picture or animation from being shown; empty when nothing
// does. Every frame of an animation is decoded.
QString imageProblem(const QString& path, bool animation)
{
    QImageReader reader(path);
    if (!reader.canRead())
        return QStringLiteral("no se puede abrir: no es un dibujo o está dañado");
    const QByteArray format = reader.format();
    int frames = 0;
    do {
        if (reader.read().isNull()) {
            if (frames == 0)
                return QStringLiteral("no se puede abrir: el archivo está dañado");
            return QStringLiteral("la animación se corta en el fotograma %1: el archivo está dañado")
                .arg(frames + 1);
        }
        ++frames;
    } while (animation && reader.canRead());
    if (cutShort(path, format))
        return QStringLiteral("el archivo está cortado: le falta el final");
    return {};
}

void checkImageFile(const QString& tree, const QString& relative, const QString& what, bool animation,
                    Report& report)
{
    const QString path = catalogue::resolve(tree, relative);
    const QString place = QDir(tree).relativeFilePath(path);
    if (!QFileInfo(path).isFile()) {
        report.error(place, QStringLiteral("falta %1").arg(what));
        return;
    }
    const QString problem = imageProblem(path, animation);
    if (!problem.isEmpty())
        report.error(place, problem);
}

}  // namespace

void checkCues(const QString& tree, Report& report)
{
    static const char* const cues[] = {"acierto", "muybien", "bien", "cambia", "no", "ayuda", "rapido", "resultados"};
    for (const char* cue : cues) {
        const QString path = catalogue::resolve(tree, QStringLiteral("sonidos/%1.wav").arg(QLatin1String(cue)));
        const QString place = QDir(tree).relativeFilePath(path);
        if (!QFileInfo(path).isFile()) {
            report.error(place, QStringLiteral("falta el sonido"));
            continue;
        }
        const qint64 size = QFileInfo(path).size();
        if (size > MaxCueBytes) {
            report.error(place, QStringLiteral("el sonido es demasiado grande: %1 bytes, y el programa no reproduce "
                                               "sonidos de más de %2 bytes")
                                    .arg(size)
                                    .arg(MaxCueBytes));
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            report.error(place, QStringLiteral("no se puede leer el archivo"));
            continue;
        }
        const QString problem = wavProblem(file.read(MaxCueBytes));
        if (!problem.isEmpty())
            report.error(place, problem);
    }
}

void checkAnimations(const QString& tree, Report& report)
{
    checkImageFile(tree, QStringLiteral("gifs/corre.gif"), QStringLiteral("la animación de la cuenta atrás"), true,
                   report);
    for (int n = 1; n <= 3; ++n) {
        checkImageFile(tree, QStringLiteral("gifs/%1.gif").arg(n), QStringLiteral("una animación de premio"), true,
                       report);
    }
    checkImageFile(tree, QStringLiteral("fondo.gif"), QStringLiteral("el dibujo del fondo"), false, report);
}

void checkPictures(const QString& tree, const TextWords& words, Report& report)
{
    const QString stored = catalogue::storedName(tree, QStringLiteral("Graficos"), true);
    if (stored.isEmpty()) {
        report.note(QStringLiteral("Graficos"),
                    QStringLiteral("no hay carpeta de dibujos: ninguna palabra corregida tendrá dibujo"));
        return;
    }
    const QString folder = tree + u'/' + stored;
    const QDir root(tree);

    // The program looks a picture up by the corrected word exactly as it is
    // written in the correct version, ignoring letter case.
    QSet<QString> corrected;
    for (const Correction& c : words.corrections)
        corrected.insert(c.correct.word.toLower());
    QSet<QString> written;
    for (const WordUse& w : words.correctWords)
        written.insert(w.word.toLower());
    QSet<QString> uncertain;
    for (const WordUse& w : words.uncertainWords)
        uncertain.insert(w.word.toLower());
    // Without any correct version to read, picture names cannot be judged.
    const bool judgeNames = !words.correctWords.isEmpty() || !words.uncertainWords.isEmpty();

    QHash<QString, QString> gifOf;  // word in small letters -> name of its ".gif" picture
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString& name : files) {
        const QString place = root.relativeFilePath(folder + u'/' + name);
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (suffix != QLatin1String("gif") && suffix != QLatin1String("jpg")) {
            report.warning(place, QStringLiteral("el programa solo muestra dibujos .gif y .jpg"));
            continue;
        }
        const QString problem = imageProblem(folder + u'/' + name, false);
        if (!problem.isEmpty())
            report.error(place, problem);

        const QString word = name.chopped(4);
        const QString key = word.toLower();
        if (suffix == QLatin1String("gif"))
            gifOf.insert(key, name);
        if (judgeNames && !corrected.contains(key) && !uncertain.contains(key)) {
            const QString text = written.contains(key)
                ? QStringLiteral("la palabra «%1» está en los textos pero nunca se corrige, así que el dibujo no "
                                 "se verá")
                : QStringLiteral("ninguna palabra de las versiones correctas se llama «%1»: el dibujo no se verá");
            report.warning(place, text.arg(word));
        }
    }
    for (const QString& name : files) {
        if (QFileInfo(name).suffix().toLower() != QLatin1String("jpg"))
            continue;
        const QString gif = gifOf.value(name.chopped(4).toLower());
        if (!gif.isEmpty()) {
            report.warning(root.relativeFilePath(folder + u'/' + name),
                           QStringLiteral("nunca se verá: el programa muestra antes %1").arg(gif));
        }
    }

    // Corrected words without a picture, each once, where it first appears.
    QSet<QString> seen;
    for (const Correction& c : words.corrections) {
        const QString& word = c.correct.word;
        if (word.isEmpty() || seen.contains(word))
            continue;
        seen.insert(word);
        bool found = false;
        for (const QString& extension : {QStringLiteral(".gif"), QStringLiteral(".jpg")}) {
            const QString name = catalogue::storedName(folder, word + extension, false);
            found = found || (!name.isEmpty() && name.toLower() == (word + extension).toLower());
        }
        if (!found) {
            report.add(Report::Kind::Note, c.correct.place, c.correct.line,
                       QStringLiteral("la palabra corregida «%1» no tiene dibujo").arg(word));
        }
    }
}

}  // namespace checker
