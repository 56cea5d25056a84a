// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/resultsview.h"

#include "library/classlist.h"
#include "presentation/prompts.h"
#include "results/classtables.h"
#include "results/failedwordschart.h"
#include "results/pupilview.h"
#include "results/report.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The words the chart shows at most.
constexpr int ChartWords = 12;
// The earliest date a date field can show; rows before it are let through
// while the field stands at it.
const QDate Earliest(100, 1, 1);

QTableWidget* readOnlyTable(QWidget* parent, const QString& name, const QString& accessible)
{
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setAccessibleName(accessible);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    return table;
}

QPushButton* button(QWidget* parent, const QString& text, const QString& name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

// The wait cursor while a report is laid out: a school year takes seconds.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

ResultsView::ResultsView(QWidget* parent)
    : QWidget(parent)
    , prompts_(&dialogPrompts())
{
    setObjectName(QStringLiteral("ResultsView"));
    setWindowTitle(QStringLiteral("Miravellon · Resultados"));

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("Carpeta"));
    folderLabel_->setTextFormat(Qt::PlainText);
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chooseButton_ = button(this, QStringLiteral("Abrir otra carpeta…"), QStringLiteral("AbrirCarpeta"));
    connect(chooseButton_, &QPushButton::clicked, this, [this] { chooseFolderAndOpen(); });

    from_ = new QDateEdit(this);
    from_->setObjectName(QStringLiteral("Desde"));
    to_ = new QDateEdit(this);
    to_->setObjectName(QStringLiteral("Hasta"));
    for (QDateEdit* edit : {from_, to_}) {
        edit->setCalendarPopup(true);
        edit->setMinimumDate(Earliest);
        edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        connect(edit, &QDateEdit::dateChanged, this, [this] {
            if (!filling_)
                refresh();
        });
    }
    exercise_ = new QComboBox(this);
    exercise_->setObjectName(QStringLiteral("Ejercicio"));
    exercise_->setAccessibleName(QStringLiteral("Ejercicio"));
    exercise_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(exercise_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_)
            refresh();
    });

    table_ = readOnlyTable(this, QStringLiteral("Tabla"), QStringLiteral("Resultados por alumno"));
    table_->setToolTip(QStringLiteral("Doble clic o Intro: los textos del alumno, semana a semana"));
    // A double click or Enter on a line, whatever the desktop's single-click setting.
    connect(table_, &QTableWidget::doubleClicked, this, [this](const QModelIndex& index) { openPupil(index.row()); });
    table_->installEventFilter(this);

    chart_ = new FailedWordsChart(this);
    chart_->setObjectName(QStringLiteral("Grafico"));
    families_ = readOnlyTable(this, QStringLiteral("Familias"), QStringLiteral("La clase por familias"));

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("Nota"));
    note_->setTextFormat(Qt::PlainText);
    note_->setWordWrap(true);

    auto* exportTable = button(this, QStringLiteral("Exportar la tabla (CSV)…"), QStringLiteral("ExportarCSV"));
    connect(exportTable, &QPushButton::clicked, this, [this] { exportCsv(); });
    auto* exportRowsButton = button(this, QStringLiteral("Exportar las filas (CSV)…"), QStringLiteral("ExportarFilas"));
    connect(exportRowsButton, &QPushButton::clicked, this, [this] { exportRows(); });
    auto* exportReportButton = button(this, QStringLiteral("Exportar…"), QStringLiteral("Exportar"));
    connect(exportReportButton, &QPushButton::clicked, this, [this] { exportReport(); });
    auto* printButton = button(this, QStringLiteral("Imprimir…"), QStringLiteral("Imprimir"));
    connect(printButton, &QPushButton::clicked, this, [this] { printView(); });

    auto* top = new QHBoxLayout;
    auto* folderCaption = new QLabel(QStringLiteral("Carpeta:"), this);
    folderCaption->setBuddy(chooseButton_);
    top->addWidget(folderCaption);
    top->addWidget(folderLabel_, 1);
    top->addWidget(chooseButton_);

    auto* filters = new QHBoxLayout;
    auto* fromCaption = new QLabel(QStringLiteral("&Desde"), this);
    fromCaption->setBuddy(from_);
    auto* toCaption = new QLabel(QStringLiteral("&Hasta"), this);
    toCaption->setBuddy(to_);
    auto* exerciseCaption = new QLabel(QStringLiteral("&Ejercicio"), this);
    exerciseCaption->setBuddy(exercise_);
    filters->addWidget(fromCaption);
    filters->addWidget(from_);
    filters->addWidget(toCaption);
    filters->addWidget(to_);
    filters->addWidget(exerciseCaption);
    filters->addWidget(exercise_, 1);

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(chart_);
    lower->addWidget(families_);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table_);
    split->addWidget(lower);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(note_, 1);
    bottom->addWidget(exportTable);
    bottom->addWidget(exportRowsButton);
    bottom->addWidget(exportReportButton);
    bottom->addWidget(printButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);
}

void ResultsView::openFolder(const QString& folder)
{
    folder_ = folder;
    folderLabel_->setText(QDir::toNativeSeparators(folder));
    contents_ = results::readFolder(folder);
    classList_ = classlist::read(folder);
    underReview_ = review::underReviewByPupil(contents_.rows);

    filling_ = true;
    QDate first;
    QDate last;
    for (const results::Row& row : contents_.rows) {
        if (!first.isValid() || row.date < first)
            first = row.date;
        if (!last.isValid() || row.date > last)
            last = row.date;
    }
    if (!first.isValid())
        first = last = QDate::currentDate();
    from_->setDate(std::max(first, Earliest));
    to_->setDate(std::max(last, Earliest));
    exercise_->clear();
    exercise_->addItem(QStringLiteral("Todos los ejercicios"));
    exercise_->addItems(results::exercises(contents_.rows));
    filling_ = false;
    refresh();
}

results::Filter ResultsView::filter() const
{
    results::Filter f;
    if (from_->date() > Earliest)
        f.from = from_->date();
    f.to = to_->date();
    if (exercise_->currentIndex() > 0)
        f.exercise = exercise_->currentText();
    return f;
}

void ResultsView::refresh()
{
    const results::Filter f = filter();
    shown_ = results::summarize(contents_.rows, f, classList_);
    resultstables::fillPupils(table_, shown_, underReview_);
    resultstables::fillFamilies(families_, results::classFamilies(contents_.rows, f, classList_));
    chart_->setWords(results::mostFailed(contents_.rows, f, ChartWords));

    QString note;
    const results::Folder& c = contents_;
    if (c.rows.isEmpty() && c.skippedLines == 0 && c.unreadableFiles.isEmpty() && c.notFiles.isEmpty()
        && c.tooLargeFiles.isEmpty()) {
        note = QStringLiteral("No hay resultados en esta carpeta.");
    } else {
        qint64 texts = 0;
        for (const results::PupilSummary& s : shown_)
            texts += s.started;
        note = QStringLiteral("%1 textos en la selección, de %2 en la carpeta.").arg(texts).arg(c.rows.size());
    }
    const QString skipped = results::skippedNote(c);
    if (!skipped.isEmpty())
        note += u' ' + skipped;
    note_->setText(note);
}

bool ResultsView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && table_->currentRow() >= 0) {
            openPupil(table_->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

PupilView* ResultsView::openPupil(int line)
{
    if (line < 0 || line >= shown_.size())
        return nullptr;
    const QString pupil = shown_.at(line).pupil;
    auto* view = new PupilView(pupil, results::pupilRows(contents_.rows, filter(), results::pupilKey(pupil)), this);
    view->setWindowFlag(Qt::Window);
    view->show();
    return view;
}

void ResultsView::showMessage(const QString& text)
{
    prompts_->inform(this, windowTitle(), text, Prompts::Icon::Warning);
}

bool ResultsView::chooseFolderAndOpen()
{
    const QString folder = prompts_->chooseFolder(this, QStringLiteral("Carpeta de resultados"), folder_);
    if (folder.isEmpty())
        return false;
    openFolder(folder);
    return true;
}

bool ResultsView::save(const QString& path, const QByteArray& bytes, const QString& what)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    showMessage(QStringLiteral("No puedo guardar %1 en %2").arg(what, QDir::toNativeSeparators(path)));
    return false;
}

bool ResultsView::exportCsv()
{
    const QString path = prompts_->saveFile(this, QStringLiteral("Exportar la tabla"), QStringLiteral("resumen.csv"),
                                            QStringLiteral("CSV (*.csv)"));
    return save(path, results::summaryCsv(shown_), QStringLiteral("la tabla"));
}

bool ResultsView::exportRows()
{
    const QString path = prompts_->saveFile(this, QStringLiteral("Exportar las filas"), QStringLiteral("filas.csv"),
                                            QStringLiteral("CSV (*.csv)"));
    return save(path, results::rowsCsv(contents_.rows, filter()), QStringLiteral("las filas"));
}

bool ResultsView::exportReport()
{
    const QString path = prompts_->saveFile(this, QStringLiteral("Exportar el informe"), QStringLiteral("informe.pdf"),
                                            QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    bool written = false;
    {
        const BusyCursor busy;
        written = report::writePdf({folder_, &contents_.rows, filter(), classList_}, path);
    }
    if (written)
        return true;
    showMessage(QStringLiteral("No puedo guardar el informe en ") + QDir::toNativeSeparators(path));
    return false;
}

bool ResultsView::printView()
{
    QPrinter printer;
    printer.setDocName(QStringLiteral("Resultados"));
    const report::Input input{folder_, &contents_.rows, filter(), classList_};
    printer.setPageOrientation(report::needsLandscape(input) ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!prompts_->choosePrinter(this, QString(), printer))
        return false;
    {
        const BusyCursor busy;
        report::print(input, printer);
    }
    if (printer.printerState() == QPrinter::Error) {
        showMessage(QStringLiteral("No puedo imprimir"));
        return false;
    }
    return true;
}
