// SPDX-License-Identifier: GPL-3.0-or-later

#include "checker/media.h"

#include "library/contentrules.h"
#include "checker/exercises.h"
#include "checker/report.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace checker {

namespace {

// What is wrong with a cue, in the teacher's words; empty when nothing is.
QString cueProblem(const content::CueCheck& check)
{
    using content::CueStatus;
    switch (check.status) {
    case CueStatus::Ok: return {};
    case CueStatus::Missing: return QStringLiteral("falta el sonido");
    case CueStatus::TooLarge:
        return QStringLiteral("el sonido es demasiado grande: %1 bytes, y el programa no reproduce sonidos de más de "
                              "%2 bytes")
            .arg(check.value)
            .arg(content::MaxCueBytes);
    case CueStatus::Unreadable: return QStringLiteral("no se puede leer el archivo");
    case CueStatus::NotWav: return QStringLiteral("no es un archivo WAV (le falta la cabecera RIFF/WAVE)");
    case CueStatus::FormatCut: return QStringLiteral("el bloque «fmt » del WAV está cortado");
    case CueStatus::Compressed:
        return QStringLiteral("el sonido está comprimido (formato %1) y el programa solo reproduce WAV sin comprimir "
                              "(PCM)")
            .arg(check.value);
    case CueStatus::NoChannels: return QStringLiteral("el bloque «fmt » del WAV no tiene canales, frecuencia o bits");
    case CueStatus::NoFormat: return QStringLiteral("el WAV no tiene bloque «fmt »");
    case CueStatus::NoData: return QStringLiteral("el WAV no tiene bloque «data» con el sonido");
    case CueStatus::DataCut: return QStringLiteral("el sonido del WAV está cortado: le falta el final");
    }
    return {};
}

// What keeps a picture or animation from being shown, or shows it damaged;
// empty when nothing does. `what` names what is missing; a listed word
// picture has no name and is there, but no ordinary file.
QString imageProblem(const content::ImageCheck& check, const QString& what, bool animation)
{
    using content::ImageStatus;
    switch (check.status) {
    case ImageStatus::Ok: return {};
    case ImageStatus::Missing:
        return what.isEmpty() ? QStringLiteral("no es un archivo normal: el programa no puede abrirlo")
                              : QStringLiteral("falta %1").arg(what);
    case ImageStatus::TooLarge:
        return QStringLiteral("%1 demasiado grande: %2 por %3 puntos%4 ocupan %5 bytes al abrirlo, y el programa no "
                              "muestra más de %6")
            .arg(animation ? QStringLiteral("la animación es") : QStringLiteral("el dibujo es"))
            .arg(check.size.width())
            .arg(check.size.height())
            .arg(animation ? QStringLiteral(" en todos sus fotogramas") : QString())
            .arg(check.value)
            .arg(animation ? content::MaxAnimationBytes : content::MaxPictureBytes);
    case ImageStatus::Unreadable: return QStringLiteral("no se puede abrir: no es un dibujo o está dañado");
    case ImageStatus::BrokenFrame:
        return QStringLiteral("la animación se corta en el fotograma %1: el archivo está dañado").arg(check.value);
    case ImageStatus::CutShort: return QStringLiteral("el archivo está cortado: le falta el final");
    }
    return {};
}

void checkImageFile(const QString& tree, const QString& path, const QString& what, bool animation, Report& report)
{
    const QString place = QDir(tree).relativeFilePath(path);
    const content::ImageCheck check = animation ? content::inspectAnimation(path) : content::inspectPicture(path);
    const QString problem = imageProblem(check, what, animation);
    if (!problem.isEmpty())
        report.error(place, problem);
}

}  // namespace

void checkCues(const QString& tree, Report& report)
{
    for (const QString& cue : content::cueNames()) {
        const QString path = content::cuePath(tree, cue);
        const QString problem = cueProblem(content::checkCue(path));
        if (!problem.isEmpty())
            report.error(QDir(tree).relativeFilePath(path), problem);
    }
}

void checkAnimations(const QString& tree, Report& report)
{
    checkImageFile(tree, content::runnerAnimationPath(tree), QStringLiteral("la animación de la cuenta atrás"), true,
                   report);
    for (int n = 1; n <= content::RewardAnimations; ++n) {
        checkImageFile(tree, content::rewardAnimationPath(tree, n), QStringLiteral("una animación de premio"), true,
                       report);
    }
    checkImageFile(tree, content::backgroundPath(tree), QStringLiteral("el dibujo del fondo"), false, report);
}
void checkPictures(const QString& tree, const TextWords& words, Report& report)
{
    const QString folder = content::picturesFolderPath(tree);
    if (!QFileInfo(folder).isDir()) {
        report.note(content::PicturesFolder.toString(),
                    QStringLiteral("no hay carpeta de dibujos: ninguna palabra corregida tendrá dibujo"));
        return;
    }
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
    // Pipes, devices and broken links too: the program finds them by name and
    // cannot show them.
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString& name : files) {
        const QString place = root.relativeFilePath(folder + u'/' + name);
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (!content::pictureExtensions().contains(u'.' + suffix)) {
            report.warning(place, QStringLiteral("el programa solo muestra dibujos .gif y .jpg"));
            continue;
        }
        checkImageFile(tree, folder + u'/' + name, QString(), false, report);

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
        if (content::wordPicturePath(tree, word).isEmpty()) {
            report.add(Report::Kind::Note, c.correct.place, c.correct.line,
                       QStringLiteral("la palabra corregida «%1» no tiene dibujo").arg(word));
        }
    }
}

}  // namespace checker
