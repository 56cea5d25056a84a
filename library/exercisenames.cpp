// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/exercisenames.h"

namespace content {

const QList<RenamedExercise>& renamedExercises()
{
    static const QList<RenamedExercise> table{
        {QStringLiteral("01 Mayúsculas (1.º y 2.º)"), QStringLiteral("01 A y a")},
        {QStringLiteral("02 Signos ¿ y ¡ (1.º y 2.º)"), QStringLiteral("02 ¿ y ¡")},
        {QStringLiteral("03 M antes de P y B (1.º y 2.º)"), QStringLiteral("03 MP, MB")},
        {QStringLiteral("04 R y RR (1.º y 2.º)"), QStringLiteral("04 R y RR")},
        {QStringLiteral("05 LL e Y (1.º y 2.º)"), QStringLiteral("05 LL e Y")},
        {QStringLiteral("06 B y V (3.º y 4.º)"), QStringLiteral("10 B y V")},
        {QStringLiteral("07 G, J y GÜ (3.º y 4.º)"), QStringLiteral("11 G, J, GÜ")},
        {QStringLiteral("08 La H (3.º y 4.º)"), QStringLiteral("12 La H")},
        {QStringLiteral("09 HUE y HIE (3.º y 4.º)"), QStringLiteral("13 hue, hie")},
        {QStringLiteral("10 C, QU, Z y S (3.º y 4.º)"), QStringLiteral("14 C, Z, S")},
        {QStringLiteral("11 D y Z finales (3.º y 4.º)"), QStringLiteral("15 -D y -Z")},
        {QStringLiteral("12 Tildes (3.º y 4.º)"), QStringLiteral("16 Tildes")},
        {QStringLiteral("13 Fiestas con mayúscula (3.º y 4.º)"), QStringLiteral("17 Fiestas")},
        {QStringLiteral("14 Repaso (3.º y 4.º)"), QStringLiteral("18 Repaso")},
        {QStringLiteral("15 Tildes diacríticas (5.º y 6.º)"), QStringLiteral("20 Tú y tu")},
        {QStringLiteral("16 Tildes en verbos y mayúsculas (5.º y 6.º)"), QStringLiteral("21 Llegó")},
        {QStringLiteral("17 Palabras que suenan igual (5.º y 6.º)"), QStringLiteral("22 Iguales")},
        {QStringLiteral("18 X y S, CC y SC (5.º y 6.º)"), QStringLiteral("23 X y CC")},
        {QStringLiteral("19 Y en los verbos, -BIR y -VIR (5.º y 6.º)"), QStringLiteral("24 -bir, -vir")},
        {QStringLiteral("20 Repaso final (5.º y 6.º)"), QStringLiteral("25 Repaso")},
    };
    return table;
}

QString currentExerciseName(const QString& name)
{
    const QString trimmed = name.trimmed();
    // Folder names are compared without regard to letter case elsewhere, and a
    // composed or decomposed "º" or "Ü" is the same name to a teacher.
    const QString key = trimmed.normalized(QString::NormalizationForm_C);
    for (const RenamedExercise& r : renamedExercises()) {
        if (QString::compare(r.oldName, key, Qt::CaseInsensitive) == 0)
            return r.newName;
    }
    return name;
}

QString schoolYears(int exerciseNumber)
{
    if (exerciseNumber >= 1 && exerciseNumber <= 9)
        return QStringLiteral("1.º y 2.º");
    if (exerciseNumber >= 10 && exerciseNumber <= 19)
        return QStringLiteral("3.º y 4.º");
    if (exerciseNumber >= 20 && exerciseNumber <= 29)
        return QStringLiteral("5.º y 6.º");
    return {};
}

}  // namespace content
