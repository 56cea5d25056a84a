// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "library/results.h"
#include "library/review.h"

#include <QWidget>

class FailedWordsChart;
class Prompts;
class PupilView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

// The teacher's view of a results folder: per pupil, the days, the texts
// started, finished and finished in time, the words corrected and the words
// with a failure; the words most often failed in the class as a bar chart,
// beside the class by spelling family; a filter by dates and by exercise.
// A pupil's line opens her texts over time (double-click or Enter). The table
// and the rows export as CSV; the report prints or exports as a PDF of text.
// What it cannot read is skipped and told in a note.
class ResultsView : public QWidget {
    Q_OBJECT

public:
    explicit ResultsView(QWidget* parent = nullptr);

    // Reads `folder` (and its class list, alumnos.txt) and shows it, the dates
    // set to all of its rows and every exercise.
    void openFolder(const QString& folder);
    QString folder() const { return folder_; }
    // Shows the rows again through the filter now set.
    void refresh();

    // The buttons' work, also reachable from the tests.
    bool chooseFolderAndOpen();
    bool exportCsv();
    bool exportRows();
    bool exportReport();
    bool printView();
    // Opens the view of the pupil on line `line` of the table.
    PupilView* openPupil(int line);

    // The rows read, the filter and what is shown.
    const results::Folder& contents() const { return contents_; }
    const QStringList& classList() const { return classList_; }
    results::Filter filter() const;
    QList<results::PupilSummary> shownSummaries() const { return shown_; }

    // What asks for the folder, the files and the printer and says what went
    // wrong; the real dialogs unless set.
    void setPrompts(Prompts& prompts) { prompts_ = &prompts; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMessage(const QString& text);
    bool save(const QString& path, const QByteArray& bytes, const QString& what);

    QString folder_;
    results::Folder contents_;
    QStringList classList_;
    // Read with the folder: the review does not change with the filter.
    QMap<QString, QList<review::Word>> underReview_;
    QList<results::PupilSummary> shown_;
    bool filling_ = false;
    Prompts* prompts_;

    QLabel* folderLabel_;
    QPushButton* chooseButton_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* exercise_;
    QTableWidget* table_;
    FailedWordsChart* chart_;
    QTableWidget* families_;
    QLabel* note_;
};
