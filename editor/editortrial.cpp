// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: trying the text in the pupil's program, and taking a
// finding of the checker as meant.

#include "editor/editorwindow.h"

#include "library/acceptedwords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>

namespace editor {

namespace {

const QString Title = QStringLiteral("Editor de ejercicios");

// The word of a finding "«palabra» no está en el diccionario", or the pair of
// "la forma con falta «falta» (por «correcto») también es una palabra".
struct FindingWords {
    QString word;
    QString correct;
    QString faulty;
};

FindingWords wordsOf(const QString& finding)
{
    static const QRegularExpression unknown(QStringLiteral("«([^»]+)» no está en el diccionario"));
    static const QRegularExpression homophone(QStringLiteral("la forma con falta «([^»]+)» \\(por «([^»]+)»\\)"));
    if (const QRegularExpressionMatch m = unknown.match(finding); m.hasMatch())
        return {m.captured(1), {}, {}};
    if (const QRegularExpressionMatch m = homophone.match(finding); m.hasMatch())
        return {{}, m.captured(2), m.captured(1)};
    return {};
}

// The pupil's program: beside this one when installed or built together,
// else the one on the PATH.
QString pupilProgram()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/miravellon");
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral("miravellon");
}

}  // namespace

void EditorWindow::tryText()
{
    if (exerciseFolder_.isEmpty() || number_ <= 0)
        return;
    // The pupil's program reads the files: what is on screen is saved first.
    if (dirty_ && !readOnly_ && !save())
        return;
    const QStringList arguments{QStringLiteral("--probar"), exerciseFolder_, QString::number(number_)};
    const bool started =
        startProgram ? startProgram(pupilProgram(), arguments) : QProcess::startDetached(pupilProgram(), arguments);
    if (!started) {
        prompts_.inform(this, Title, QStringLiteral("No se puede abrir Miravellon (%1).").arg(pupilProgram()));
        return;
    }
    itemPane_.status->setText(
        QStringLiteral("Miravellon se abre en el texto %1, como lo verá un alumno.").arg(number_));
}

bool EditorWindow::readOnlyFinding(const QListWidgetItem* finding) const
{
    if (!finding || teacherRoot_.isEmpty())
        return true;
    const FindingWords words = wordsOf(finding->text());
    return words.word.isEmpty() && words.faulty.isEmpty();
}

void EditorWindow::acceptFinding()
{
    const QListWidgetItem* finding = itemPane_.findings->currentItem();
    if (readOnlyFinding(finding))
        return;
    const FindingWords words = wordsOf(finding->text());
    const QString error = words.word.isEmpty()
        ? acceptedwords::addHomophone(teacherRoot_, words.correct, words.faulty)
        : acceptedwords::addWord(teacherRoot_, words.word);
    if (!error.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se puede anotar: %1.").arg(error));
        return;
    }
    itemPane_.status->setText(
        words.word.isEmpty()
            ? QStringLiteral("«%1» por «%2» anotada en %3.")
                  .arg(
                      words.faulty, words.correct,
                      QDir::toNativeSeparators(teacherRoot_ + u'/' + QString::fromUtf16(acceptedwords::HomophonesFile)))
            : QStringLiteral("«%1» anotada en %2.")
                  .arg(words.word,
                       QDir::toNativeSeparators(teacherRoot_ + u'/' + QString::fromUtf16(acceptedwords::WordsFile))));
    refreshFindings();
}

acceptedwords::Lists EditorWindow::acceptedLists() const
{
    acceptedwords::Lists lists = acceptedwords::read(shippedRoot_);
    if (!teacherRoot_.isEmpty())
        lists.unite(acceptedwords::read(teacherRoot_));
    return lists;
}

}  // namespace editor
