// SPDX-License-Identifier: GPL-3.0-or-later
// The pupil's review: built away from the window's thread once the pupil is
// known, listed first when she has words to review, built again when she
// finishes one of its texts (the rules are in library/review.h).

#include "library/review.h"
#include "mainwindow/form1.h"
#include "ui_form1.h"

#include <QLoggingCategory>
#include <QThread>

#include <memory>

Q_LOGGING_CATEGORY(lcReviewWindow, "miravellon.review.window")

void Form1::startReview()
{
    if (!reviewRoot_.isEmpty())
        return;
    reviewRoot_ = review::rootFor(pupil_);
    if (!review::enabled()) {
        qCInfo(lcReviewWindow) << "the review is turned off";
        return;
    }
    buildReview();
}

void Form1::buildReview()
{
    if (reviewThread_) {
        reviewAgain_ = true;
        return;
    }
    review::Request request;
    request.pupil = pupil_;
    request.resultsFolder = resultsFolder_;
    request.rows = sessionRows_;
    request.root = reviewRoot_;
    request.seed = quint32(now().toSecsSinceEpoch());
    for (const catalogue::ListedExercise& exercise : std::as_const(ExerciseList)) {
        if (exercise.root != reviewRoot_)
            request.exercises.append(exercise);
    }
    auto built = std::make_shared<std::optional<catalogue::ListedExercise>>();
    // The thread owns itself: a results folder on a network that hangs keeps
    // it waiting, never the window nor the end of the program.
    reviewThread_ = QThread::create([request, built] { *built = review::build(request); });
    connect(reviewThread_, &QThread::finished, reviewThread_, &QObject::deleteLater);
    connect(reviewThread_, &QThread::finished, this, [this, built] { reviewBuilt(*built); });
    reviewThread_->start(QThread::LowPriority);
}

void Form1::reviewBuilt(const std::optional<catalogue::ListedExercise>& exercise)
{
    reviewThread_ = nullptr;
    if (exercise && !reviewListed_) {
        // First in the list: every exercise keeps its own item number, and the
        // one chosen stays chosen.
        const QList<catalogue::ListedExercise> listed = catalogue::withPupilRoot(reviewRoot_, ExerciseList);
        const int added = int(listed.size() - ExerciseList.size());
        ExerciseList = listed;
        for (int i = 0; i < added; ++i) {
            const QString& name = ExerciseList.at(i).name;
            Dir1.insert(i, name);
            ItemNumber.insert(i, 1);
            auto* entry = new QListWidgetItem(name);
            entry->setToolTip(name);
            entry->setData(Qt::AccessibleTextRole, name);
            ui->List1->insertItem(i, entry);
        }
        SelectedExercise += added;
        reviewListed_ = added > 0;
        qCInfo(lcReviewWindow) << "review listed:" << exercise->folder;
    }
    if (std::exchange(reviewAgain_, false))
        buildReview();
}
