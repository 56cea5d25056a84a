// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/picture.h"

#include "editor/exercisefolders.h"

#include "library/catalogue.h"
#include "library/contentrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace editor {

PictureResult placePicture(const QString& imagePath, const QString& root, const QString& word)
{
    if (word.isEmpty() || word.contains(u'/') || word.contains(u'\\') || word.startsWith(u'.'))
        return {{}, QStringLiteral("«%1» no puede dar nombre a un archivo").arg(word)};
    QString error;
    QImage image = content::readPicture(imagePath, &error);
    if (image.isNull())
        return {{}, QStringLiteral("no se puede leer la imagen")};
    if (image.width() > PictureSize.width() || image.height() > PictureSize.height())
        image = image.scaled(PictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (image.hasAlphaChannel()) {
        // JPEG has no transparency: transparent parts become white.
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const double a = c.alphaF();
                flat.setPixelColor(x, y, QColor::fromRgbF(c.redF() * a + (1 - a), c.greenF() * a + (1 - a),
                                                          c.blueF() * a + (1 - a)));
            }
        }
        image = flat;
    }

    const QString stored = catalogue::storedName(root, content::PicturesFolder.toString(), true);
    const QString folder = root + u'/' + (stored.isEmpty() ? content::PicturesFolder.toString() : stored);
    if (!QDir().mkpath(folder))
        return {{}, QStringLiteral("no se puede crear la carpeta «%1»").arg(QDir::toNativeSeparators(folder))};
    const QString existing = content::wordPicturePath(root, word);
    const QString jpeg = catalogue::storedName(folder, word + QStringLiteral(".jpg"), false);
    const QString path = folder + u'/' + (jpeg.isEmpty() ? word + QStringLiteral(".jpg") : jpeg);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "JPG", 90) || !file.commit())
        return {{}, QStringLiteral("no se puede escribir «%1»").arg(QDir::toNativeSeparators(path))};
    if (!existing.isEmpty() && existing != path && !exercises::trash(existing))
        QFile::remove(existing);
    if (content::wordPicturePath(root, word) != path)
        return {{}, QStringLiteral("el programa no encontraría «%1»").arg(QDir::toNativeSeparators(path))};
    return {path, {}};
}

}  // namespace editor
