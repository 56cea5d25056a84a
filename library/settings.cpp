// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/settings.h"

#include <QSettings>

namespace settings {

const Key ResultsFolder{"resultados/carpeta", QString(),
                        "La carpeta de los resultados: una ruta completa fuera de los contenidos del programa; "
                        "vacía, la de la cuenta ($XDG_DATA_HOME/miravellon/resultados).",
                        nullptr};
const Key AskName{"alumno/preguntar", false,
                  "true: al empezar, el programa pregunta «¿Cómo te llamas?» (cuentas compartidas).", nullptr};
const Key TextSize{"texto/tamano", QVariant(),
                   "El tamaño normal del texto del ejercicio, en puntos, como lo eligió el alumno la última vez.",
                   "exerciseText/normalSize"};
const Key Review{"repaso/activo", true, "false: el programa no ofrece «00 Mi repaso».", nullptr};
const Key EditorFolder{"editor/carpeta", QString(),
                       "La última carpeta de los diálogos de archivos del editor.", nullptr};
const Key EditorFamily{"editor/familia", QString(), "La familia que «Poner faltas…» usó la última vez.",
                       nullptr};

const QList<const Key*>& all()
{
    static const QList<const Key*> keys{&ResultsFolder, &AskName, &TextSize, &Review, &EditorFolder, &EditorFamily};
    return keys;
}

QVariant value(const Key& key)
{
    const QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("miravellon"),
                      QStringLiteral("miravellon"));
    const QString name = QString::fromLatin1(key.name);
    if (s.contains(name))
        return s.value(name);
    if (key.former && s.contains(QString::fromLatin1(key.former)))
        return s.value(QString::fromLatin1(key.former));
    return key.fallback;
}

void setValue(const Key& key, const QVariant& value)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("miravellon"),
                QStringLiteral("miravellon"));
    s.setValue(QString::fromLatin1(key.name), value);
    if (key.former)
        s.remove(QString::fromLatin1(key.former));
}

}  // namespace settings
