#include "results/resultsview.h"

#include "results/failedwordschart.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

// The words the chart shows at most.
constexpr int ChartWords = 12;

const QStringList Columns{QStringLiteral("Alumno"),
                          QStringLiteral("Días"),
                          QStringLiteral("Textos empezados"),
                          QStringLiteral("Terminados"),
                          QStringLiteral("En el plazo"),
                          QStringLiteral("Palabras corregidas"),
                          QStringLiteral("Palabras con fallo")};

}  // namespace

ResultsView::ResultsView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ResultsView"));
    setWindowTitle(QStringLiteral("Miravellon · Resultados"));

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("Carpeta"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chooseButton_ = new QPushButton(QStringLiteral("Abrir otra carpeta…"), this);
    chooseButton_->setObjectName(QStringLiteral("AbrirCarpeta"));
    connect(chooseButton_, &QPushButton::clicked, this, [this] { chooseFolderAndOpen(); });

    from_ = new QDateEdit(this);
    from_->setObjectName(QStringLiteral("Desde"));
    to_ = new QDateEdit(this);
    to_->setObjectName(QStringLiteral("Hasta"));
    for (QDateEdit* edit : {from_, to_}) {
        edit->setCalendarPopup(true);
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

    table_ = new QTableWidget(0, int(Columns.size()), this);
    table_->setObjectName(QStringLiteral("Tabla"));
    table_->setAccessibleName(QStringLiteral("Resultados por alumno"));
    table_->setHorizontalHeaderLabels(Columns);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->setSortingEnabled(false);

    chart_ = new FailedWordsChart(this);
    chart_->setObjectName(QStringLiteral("Grafico"));

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("Nota"));
    note_->setWordWrap(true);

    exportButton_ = new QPushButton(QStringLiteral("Exportar la tabla (CSV)…"), this);
    exportButton_->setObjectName(QStringLiteral("ExportarCSV"));
    connect(exportButton_, &QPushButton::clicked, this, [this] { exportCsv(); });
    printButton_ = new QPushButton(QStringLiteral("Imprimir…"), this);
    printButton_->setObjectName(QStringLiteral("Imprimir"));
    connect(printButton_, &QPushButton::clicked, this, [this] { printView(); });

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

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table_);
    split->addWidget(chart_);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(note_, 1);
    bottom->addWidget(exportButton_);
    bottom->addWidget(printButton_);

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
    from_->setDate(first);
    to_->setDate(last);
    exercise_->clear();
    exercise_->addItem(QStringLiteral("Todos los ejercicios"));
    exercise_->addItems(results::exercises(contents_.rows));
    filling_ = false;
    refresh();
}

results::Filter ResultsView::filter() const
{
    results::Filter f;
    f.from = from_->date();
    f.to = to_->date();
    if (exercise_->currentIndex() > 0)
        f.exercise = exercise_->currentText();
    return f;
}

void ResultsView::refresh()
{
    const results::Filter f = filter();
    shown_ = results::summarize(contents_.rows, f);
    table_->setRowCount(int(shown_.size()));
    for (int r = 0; r < int(shown_.size()); ++r) {
        const results::PupilSummary& s = shown_.at(r);
        const QList<int> numbers{s.days, s.started, s.finished, s.inTime, s.corrected, s.failed};
        table_->setItem(r, 0, new QTableWidgetItem(s.pupil));
        for (int c = 0; c < int(numbers.size()); ++c) {
            auto* item = new QTableWidgetItem(QString::number(numbers.at(c)));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c + 1, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    chart_->setWords(results::mostFailed(contents_.rows, f, ChartWords));

    QString note;
    if (contents_.rows.isEmpty() && contents_.skippedLines == 0)
        note = QStringLiteral("No hay resultados en esta carpeta.");
    else
        note = QStringLiteral("%1 textos en la selección, de %2 en la carpeta.")
                   .arg(std::accumulate(shown_.cbegin(), shown_.cend(), 0,
                                        [](int n, const results::PupilSummary& s) { return n + s.started; }))
                   .arg(contents_.rows.size());
    if (contents_.skippedLines == 1)
        note += QStringLiteral(" Se ha saltado 1 línea que no se puede leer (%1).").arg(contents_.damagedFiles.value(0));
    else if (contents_.skippedLines > 1)
        note += QStringLiteral(" Se han saltado %1 líneas que no se pueden leer (%2).")
                    .arg(contents_.skippedLines)
                    .arg(contents_.damagedFiles.join(QStringLiteral(", ")));
    note_->setText(note);
}

void ResultsView::showMessage(const QString& text)
{
    if (messageBox)
        messageBox(text);
    else
        QMessageBox::warning(this, windowTitle(), text);
}

bool ResultsView::chooseFolderAndOpen()
{
    const QString folder = chooseFolder
        ? chooseFolder()
        : QFileDialog::getExistingDirectory(this, QStringLiteral("Carpeta de resultados"), folder_);
    if (folder.isEmpty())
        return false;
    openFolder(folder);
    return true;
}

bool ResultsView::exportCsv()
{
    const QString path = chooseCsvFile
        ? chooseCsvFile()
        : QFileDialog::getSaveFileName(this, QStringLiteral("Exportar la tabla"),
                                       QDir::home().filePath(QStringLiteral("resumen.csv")),
                                       QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    const QByteArray bytes = results::summaryCsv(shown_);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    showMessage(QStringLiteral("No puedo guardar la tabla en ") + QDir::toNativeSeparators(path));
    return false;
}

bool ResultsView::printView()
{
    QPrinter printer;
    printer.setDocName(QStringLiteral("Resultados"));
    printer.setPageOrientation(QPageLayout::Landscape);
    bool chosen = false;
    if (choosePrinter) {
        chosen = choosePrinter(printer);
    } else {
        QPrintDialog dialog(&printer, this);
        chosen = dialog.exec() == QDialog::Accepted;
    }
    if (!chosen)
        return false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        showMessage(QStringLiteral("No puedo imprimir"));
        return false;
    }
    // The whole view, as it is on the screen, scaled to fit the page.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(double(page.width()) / std::max(1, width()),
                                  double(page.height()) / std::max(1, height()));
    painter.scale(scale, scale);
    render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    return true;
}
