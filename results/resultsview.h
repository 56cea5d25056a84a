#pragma once

#include "library/results.h"

#include <QWidget>

#include <functional>

class FailedWordsChart;
class QComboBox;
class QDateEdit;
class QLabel;
class QPrinter;
class QPushButton;
class QTableWidget;

// The teacher's view of a results folder: per pupil, the days, the texts
// started, finished and finished in time, the words corrected and the words
// with a failure; the words most often failed in the class as a bar chart; a
// filter by dates and by exercise; the table exported as CSV and the whole
// view printed. Lines it cannot read are skipped and counted in a note.
class ResultsView : public QWidget {
    Q_OBJECT

public:
    explicit ResultsView(QWidget* parent = nullptr);

    // Reads `folder` and shows it, the dates set to all of its rows and every
    // exercise.
    void openFolder(const QString& folder);
    QString folder() const { return folder_; }
    // Shows the rows again through the filter now set.
    void refresh();

    // The buttons' work, also reachable from the tests.
    bool chooseFolderAndOpen();
    bool exportCsv();
    bool printView();

    // The rows read, the filter and what is shown.
    const results::Folder& contents() const { return contents_; }
    results::Filter filter() const;
    QList<results::PupilSummary> shownSummaries() const { return shown_; }

    // Replaced by the tests, so that no dialog opens: the folder to open and
    // the CSV file to write (empty when cancelled), the printer set up by the
    // user (false when cancelled), and a message to the user.
    std::function<QString()> chooseFolder;
    std::function<QString()> chooseCsvFile;
    std::function<bool(QPrinter&)> choosePrinter;
    std::function<void(const QString&)> messageBox;

private:
    void showMessage(const QString& text);

    QString folder_;
    results::Folder contents_;
    QList<results::PupilSummary> shown_;
    bool filling_ = false;

    QLabel* folderLabel_;
    QPushButton* chooseButton_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* exercise_;
    QTableWidget* table_;
    FailedWordsChart* chart_;
    QLabel* note_;
    QPushButton* exportButton_;
    QPushButton* printButton_;
};
