// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's view of a results folder: the table per pupil, the chart of
// the words most often failed, the filters, the note on what could not be
// read, the CSV export and printing to a PDF. No dialog opens.

#include "library/results.h"
#include "tests/resultsrows.h"
#include "tests/support.h"
#include "results/failedwordschart.h"
#include "results/pupilview.h"
#include "results/report.h"
#include "results/resultsview.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString BV = u"06 B y V (3.º y 4.º)"_s;
const QString May = u"01 Mayúsculas (1.º y 2.º)"_s;

class TeacherView : public ::testing::Test {
protected:
    TeacherView()
    {
        const QDate mon(2026, 3, 9);
        const QDate tue(2026, 3, 10);
        add(u"2026-03-09_María-López_pc1.csv"_s, rowOf(u"María López"_s, mon, BV, true, true, 3, {u"vaca"_s}));
        add(u"2026-03-09_María-López_pc1.csv"_s,
            rowOf(u"María López"_s, mon, May, false, false, 0, {u"Madrid."_s, u"vaca"_s}));
        add(u"2026-03-10_María-López_pc4.csv"_s, rowOf(u"María López"_s, tue, BV, true, false, 2, {}));
        add(u"2026-03-10_Jorge_pc2.csv"_s, rowOf(u"Jorge"_s, tue, BV, true, true, 2, {u"«vaca»,"_s, u"hoy"_s}));
        QFile cut(dir.filePath(u"2026-03-10_Jorge_pc2.csv"_s));
        EXPECT_TRUE(cut.open(QIODevice::Append));
        cut.write("2026-03-10;11:31:00;Jorge;06 B");  // the machine went off here
        cut.close();
        view.setPrompts(prompts);
        view.resize(900, 700);
        view.openFolder(dir.path());
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void add(const QString& name, const results::Row& row)
    {
        ASSERT_TRUE(results::appendRow(dir.filePath(name), row));
    }
    template<typename T>
    T* find(const char* name) const
    {
        return view.findChild<T*>(QString::fromLatin1(name));
    }
    QStringList tableRow(int r) const
    {
        auto* table = find<QTableWidget>("Tabla");
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells.append(table->item(r, c) ? table->item(r, c)->text() : QString());
        return cells;
    }
    int tableRows() const { return find<QTableWidget>("Tabla")->rowCount(); }

    QTemporaryDir dir;
    ResultsView view;
    RecordingPrompts prompts;
    QStringList& messages = prompts.informed;
};

TEST_F(TeacherView, ShowsEachPupil)
{
    auto* table = find<QTableWidget>("Tabla");
    QStringList headers;
    for (int c = 0; c < table->columnCount(); ++c)
        headers.append(table->horizontalHeaderItem(c)->text());
    EXPECT_EQ(headers, (QStringList{u"Alumno"_s, u"Días"_s, u"Textos empezados"_s, u"Terminados"_s,
                                    u"En el plazo"_s, u"Palabras corregidas"_s, u"Palabras con fallo"_s,
                                    u"En repaso"_s}));
    ASSERT_EQ(tableRows(), 2);
    EXPECT_EQ(tableRow(0), (QStringList{u"Jorge"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"2"_s, u"2"_s, u"2 (hoy, vaca)"_s}));
    EXPECT_EQ(tableRow(1), (QStringList{u"María López"_s, u"2"_s, u"3"_s, u"2"_s, u"1"_s, u"5"_s, u"3"_s, u"2 (Madrid, vaca)"_s}));
    EXPECT_EQ(find<QDateEdit>("Desde")->date(), QDate(2026, 3, 9));
    EXPECT_EQ(find<QDateEdit>("Hasta")->date(), QDate(2026, 3, 10));
}

TEST_F(TeacherView, TheCutLineIsSkippedAndCounted)
{
    const QString note = find<QLabel>("Nota")->text();
    EXPECT_TRUE(note.contains(u"Se ha saltado 1 línea que no se puede leer (2026-03-10_Jorge_pc2.csv)."_s))
        << note.toStdString();
    EXPECT_TRUE(note.contains(u"4 textos en la selección, de 4 en la carpeta."_s)) << note.toStdString();
}

TEST_F(TeacherView, ChartsTheWordsMostOftenFailedWithTheirFamilies)
{
    EXPECT_EQ(find<FailedWordsChart>("Grafico")->labels(),
              (QStringList{u"vaca (sin familia): 3"_s, u"hoy (sin familia): 1"_s, u"Madrid (sin familia): 1"_s}));
    // It paints without a fault.
    EXPECT_FALSE(find<FailedWordsChart>("Grafico")->grab().isNull());
}

TEST_F(TeacherView, FiltersByExercise)
{
    auto* exercise = find<QComboBox>("Ejercicio");
    ASSERT_EQ(exercise->count(), 3);
    EXPECT_EQ(exercise->itemText(0), u"Todos los ejercicios"_s);
    exercise->setCurrentIndex(exercise->findText(May));
    ASSERT_EQ(tableRows(), 1);
    EXPECT_EQ(tableRow(0), (QStringList{u"María López"_s, u"1"_s, u"1"_s, u"0"_s, u"0"_s, u"0"_s, u"2"_s, u"2 (Madrid, vaca)"_s}));
    EXPECT_EQ(find<FailedWordsChart>("Grafico")->labels(),
              (QStringList{u"Madrid (sin familia): 1"_s, u"vaca (sin familia): 1"_s}));
}

TEST_F(TeacherView, FiltersByDates)
{
    find<QDateEdit>("Desde")->setDate(QDate(2026, 3, 10));
    ASSERT_EQ(tableRows(), 2);
    EXPECT_EQ(tableRow(1), (QStringList{u"María López"_s, u"1"_s, u"1"_s, u"1"_s, u"0"_s, u"2"_s, u"0"_s, u"2 (Madrid, vaca)"_s}));
    find<QDateEdit>("Hasta")->setDate(QDate(2026, 3, 10));
    find<QDateEdit>("Desde")->setDate(QDate(2026, 3, 11));
    EXPECT_EQ(tableRows(), 0);
    EXPECT_EQ(find<FailedWordsChart>("Grafico")->labels(), QStringList());
}

TEST_F(TeacherView, ExportsTheTableShown)
{
    find<QComboBox>("Ejercicio")->setCurrentIndex(find<QComboBox>("Ejercicio")->findText(BV));
    const QString path = dir.filePath(u"export/resumen.csv"_s);
    QDir().mkpath(dir.filePath(u"export"_s));
    prompts.files = {path};
    find<QPushButton>("ExportarCSV")->click();
    EXPECT_EQ(prompts.prompts, (QList<RecordingPrompts::Prompt>{
                                   {u"saveFile"_s, u"Exportar la tabla"_s, u"CSV (*.csv)"_s}}));
    EXPECT_EQ(prompts.suggested, QStringList{u"resumen.csv"_s});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), u"\uFEFFalumno;dias;textos_empezados;textos_terminados;terminados_en_plazo;"
                              u"palabras_corregidas;palabras_con_fallo\r\n"
                              u"Jorge;1;1;1;1;2;2\r\nMaría López;2;2;2;1;5;1\r\n"_s.toUtf8());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TeacherView, AnExportThatCannotBeWrittenIsTold)
{
    prompts.files = {dir.filePath(u"no/existe.csv"_s)};
    EXPECT_FALSE(view.exportCsv());
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(prompts.prompts.value(1).title, u"Miravellon · Resultados"_s);
    EXPECT_EQ(prompts.icons, QList<Prompts::Icon>{Prompts::Icon::Warning});
    EXPECT_TRUE(messages.value(0).startsWith(u"No puedo guardar la tabla en "_s));
}

TEST_F(TeacherView, PrintsTheReportToAPdf)
{
    const QString path = dir.filePath(u"vista.pdf"_s);
    prompts.printTo = path;
    find<QPushButton>("Imprimir")->click();
    EXPECT_EQ(prompts.prompts.value(0).kind, u"choosePrinter"_s);
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_GT(bytes.size(), 3000);
}

TEST_F(TeacherView, OpensAnotherFolder)
{
    QTemporaryDir shared;
    ASSERT_TRUE(results::appendRow(shared.filePath(u"2026-04-01_Ana_pc9.csv"_s),
                                   rowOf(u"Ana"_s, QDate(2026, 4, 1), BV, true, true, 1, {})));
    prompts.files = {shared.path()};
    find<QPushButton>("AbrirCarpeta")->click();
    EXPECT_EQ(prompts.prompts, (QList<RecordingPrompts::Prompt>{{u"chooseFolder"_s, u"Carpeta de resultados"_s, {}}}));
    EXPECT_EQ(view.folder(), shared.path());
    ASSERT_EQ(tableRows(), 1);
    EXPECT_EQ(tableRow(0).first(), u"Ana"_s);
    EXPECT_FALSE(find<QLabel>("Nota")->text().contains(u"saltado"_s));
}

TEST_F(TeacherView, AFolderWithoutResults)
{
    view.openFolder(dir.filePath(u"no-existe"_s));
    EXPECT_EQ(tableRows(), 0);
    EXPECT_EQ(find<QLabel>("Nota")->text(), u"No hay resultados en esta carpeta."_s);
}

TEST_F(TeacherView, CancellingTheFolderChoiceKeepsTheFolder)
{
    EXPECT_FALSE(view.chooseFolderAndOpen());
    EXPECT_EQ(view.folder(), dir.path());
    EXPECT_EQ(tableRows(), 2);
}

TEST_F(TeacherView, TheChartSaysEachWordsFamiliesAsTheRowsRecordThem)
{
    QTemporaryDir other;
    results::Row row = rowOf(u"Ana"_s, QDate(2026, 4, 1), BV, true, true, 1, {u"hombre"_s, u"vaca"_s});
    row.setWritten({u"ombre"_s, u"baca"_s});
    row.setFamilies({u"h"_s, u"b/v"_s});
    results::Folder folder;
    folder.rows = {row};
    // The family a row records, never one guessed from the letters of «hombre».
    EXPECT_EQ(results::mostFailed(folder.rows, {}, 5),
              (QList<results::FailedWord>{{u"hombre"_s, 1, {u"h"_s}}, {u"vaca"_s, 1, {u"b/v"_s}}}));
}

TEST_F(TeacherView, APupilsLineOpensHerTextsOverTime)
{
    auto* table = find<QTableWidget>("Tabla");
    ASSERT_EQ(tableRow(1).first(), u"María López"_s);
    // A double click on her line.
    const QRect cell = table->visualRect(table->model()->index(1, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    auto views = view.findChildren<PupilView*>();
    ASSERT_EQ(views.size(), 1);
    PupilView* pupil = views.first();
    EXPECT_EQ(pupil->pupil(), u"María López"_s);
    EXPECT_TRUE(pupil->isVisible());
    auto* texts = pupil->findChild<QTableWidget*>(u"Textos"_s);
    ASSERT_EQ(texts->rowCount(), 3);  // day by day: two texts on Monday, one on Tuesday
    EXPECT_EQ(texts->item(0, 0)->text(), u"09/03/2026"_s);
    EXPECT_EQ(texts->item(2, 0)->text(), u"10/03/2026"_s);
    EXPECT_EQ(texts->item(1, 9)->text(), u"Madrid., vaca"_s);
    auto* families = pupil->findChild<QTableWidget*>(u"SusFamilias"_s);
    ASSERT_EQ(families->rowCount(), 1);
    EXPECT_EQ(families->item(0, 0)->text(), u"sin familia"_s);
    EXPECT_EQ(families->item(0, 1)->text(), u"3"_s);
    EXPECT_EQ(pupil->findChild<WeeklyChart*>()->labels(),
              QStringList{u"Semana del 09/03/2026: 2 terminados, 5 corregidas, 3 con fallo"_s});
    EXPECT_FALSE(pupil->grab().isNull());
    pupil->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Enter on Jorge's line.
    table->setFocus();
    table->setCurrentCell(0, 0);
    QTest::keyClick(table, Qt::Key_Return);
    views = view.findChildren<PupilView*>();
    ASSERT_EQ(views.size(), 1);
    EXPECT_EQ(views.first()->pupil(), u"Jorge"_s);
}

TEST_F(TeacherView, TheClassByFamilyStandsBesideTheWords)
{
    auto* families = find<QTableWidget>("Familias");
    ASSERT_EQ(families->columnCount(), 2);
    EXPECT_EQ(families->horizontalHeaderItem(1)->text(), u"sin familia"_s);
    ASSERT_EQ(families->rowCount(), 2);
    EXPECT_EQ(families->item(0, 0)->text(), u"Jorge"_s);
    EXPECT_EQ(families->item(0, 1)->text(), u"2"_s);
}

TEST_F(TeacherView, NamesAreShownAsPlainText)
{
    QFile planted(dir.filePath(u"<h1 style='font-size:400px'>ojo<h1>.csv"_s));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.write("basura\r\n");
    planted.close();
    ASSERT_TRUE(results::appendRow(dir.filePath(u"2026-03-10_x_pc2.csv"_s),
                                   rowOf(u"<b>Ana</b>"_s, QDate(2026, 3, 10), BV, true, true, 1, {})));
    const QSize before = view.size();
    view.openFolder(dir.path());
    auto* note = find<QLabel>("Nota");
    EXPECT_EQ(note->textFormat(), Qt::PlainText);
    EXPECT_TRUE(note->text().contains(u"<h1 style='font-size:400px'>ojo<h1>.csv"_s));
    EXPECT_EQ(find<QLabel>("Carpeta")->textFormat(), Qt::PlainText);
    EXPECT_EQ(tableRow(0).first(), u"<b>Ana</b>"_s);
    EXPECT_LE(view.sizeHint().width(), 2 * before.width());
    const QString html = report::html({dir.path(), &view.contents().rows, {}, {}});
    EXPECT_FALSE(html.contains(u"<b>Ana</b>"_s));
    EXPECT_TRUE(report::document({dir.path(), &view.contents().rows, {}, {}})->toPlainText().contains(u"<b>Ana</b>"_s));
}

TEST_F(TeacherView, ExportsEveryRowOfTheSelection)
{
    find<QComboBox>("Ejercicio")->setCurrentIndex(find<QComboBox>("Ejercicio")->findText(May));
    const QString path = dir.filePath(u"filas.csv"_s);
    prompts.files = {path};
    find<QPushButton>("ExportarFilas")->click();
    EXPECT_EQ(prompts.prompts.value(0).title, u"Exportar las filas"_s);
    EXPECT_EQ(prompts.suggested, QStringList{u"filas.csv"_s});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3);  // the header, María's row, nothing after the last line end
    EXPECT_TRUE(lines[1].startsWith(u"2026-03-09;11:00:00;María López;01 Mayúsculas"_s.toUtf8()));
}

TEST_F(TeacherView, AClassListShowsWhoDidNothing)
{
    QFile list(dir.filePath(u"alumnos.txt"_s));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("Mar\xC3\xAD" "a L\xC3\xB3pez\nJorge\nCarmen\n");
    list.close();
    ASSERT_TRUE(results::appendRow(dir.filePath(u"2026-03_maria-lopez_pc9.csv"_s),
                                   rowOf(u"MARIA LOPEZ"_s, QDate(2026, 3, 10), BV, true, true, 1, {})));
    view.openFolder(dir.path());
    ASSERT_EQ(tableRows(), 3);
    EXPECT_EQ(tableRow(0), (QStringList{u"Carmen"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}));
    EXPECT_EQ(tableRow(1).first(), u"Jorge"_s);
    EXPECT_EQ(tableRow(2), (QStringList{u"María López"_s, u"2"_s, u"4"_s, u"3"_s, u"2"_s, u"6"_s, u"3"_s, u"2 (Madrid, vaca)"_s}));
}

TEST_F(TeacherView, DatesBeforeTheDateFieldsFirstDayAreShown)
{
    ASSERT_TRUE(results::appendRow(dir.filePath(u"viejo.csv"_s),
                                   rowOf(u"Ana"_s, QDate(1700, 1, 2), BV, true, true, 1, {})));
    ASSERT_TRUE(results::appendRow(dir.filePath(u"viejo.csv"_s),
                                   rowOf(u"Bea"_s, QDate(50, 1, 2), BV, true, true, 1, {})));
    view.openFolder(dir.path());
    EXPECT_EQ(find<QDateEdit>("Desde")->date(), QDate(100, 1, 1));
    ASSERT_EQ(tableRows(), 4);
    EXPECT_EQ(tableRow(0).first(), u"Ana"_s);
    EXPECT_EQ(tableRow(1).first(), u"Bea"_s);
    find<QDateEdit>("Desde")->setDate(QDate(1700, 1, 1));
    EXPECT_EQ(tableRows(), 3);
}

// --- The report ----------------------------------------------------------------

struct ReportCase {
    const char* name;
    results::Filter filter;
    QStringList present;
    QStringList absent;
};

class Report : public ::testing::TestWithParam<ReportCase> {};

TEST_P(Report, SaysWhatTheSelectionHolds)
{
    QList<results::Row> rows{rowOf(u"María López"_s, QDate(2026, 3, 9), BV, true, true, 3, {u"vaca"_s}),
                             rowOf(u"Jorge"_s, QDate(2026, 3, 10), May, true, false, 1, {u"Madrid"_s, u"hoy"_s})};
    rows[0].setWritten({u"baca"_s});
    rows[0].setFamilies({u"b/v"_s});
    const report::Input input{u"/srv/aula/resultados"_s, &rows, GetParam().filter, {u"Carmen"_s}};
    const QString text = report::document(input)->toPlainText();
    for (const QString& part : GetParam().present)
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << "\n" << text.toStdString();
    for (const QString& part : GetParam().absent)
        EXPECT_FALSE(text.contains(part)) << part.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Report,
    ::testing::Values(
        ReportCase{"Everything",
                   {},
                   {u"Resultados de Miravellon"_s, u"Carpeta: /srv/aula/resultados"_s,
                    u"Desde el 09/03/2026 hasta el 10/03/2026. Ejercicio: todos los ejercicios."_s, u"La clase"_s,
                    u"Palabras con más fallos"_s, u"Sus textos, día a día"_s, u"vaca (escribió «baca»)"_s,
                    u"Semana del 09/03/2026"_s, u"Carmen"_s, u"Ningún texto en esta selección."_s, u"b/v"_s,
                    u"sin familia"_s},
                   {}},
        ReportCase{"OneExercise",
                   {{}, {}, BV},
                   {u"Ejercicio: 06 B y V (3.º y 4.º)."_s, u"vaca"_s},
                   {u"Madrid"_s, u"hoy"_s}},
        ReportCase{"Dates",
                   {QDate(2026, 3, 10), QDate(2026, 3, 31), {}},
                   {u"Desde el 10/03/2026 hasta el 31/03/2026."_s, u"Madrid"_s},
                   {u"vaca"_s}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportPages, OnePerPupilAndLandscapeForManyFamilies)
{
    QList<results::Row> rows{rowOf(u"Ana"_s, QDate(2026, 3, 9), BV, true, true, 3, {u"vaca"_s})};
    const report::Input input{u"x"_s, &rows, {}, {u"Bea"_s}};
    EXPECT_EQ(report::html(input).count(u"page-break-before: always"_s), 2);
    EXPECT_FALSE(report::needsLandscape(input));
    rows[0].setFailures({u"vaca"_s, u"hoy"_s, u"gente"_s, u"llave"_s, u"cielo"_s, u"perro"_s});
    rows[0].setFamilies({u"b/v"_s, u"h"_s, u"g/j"_s, u"ll/y"_s, u"c/z/s"_s, u"r/rr"_s});
    EXPECT_TRUE(report::needsLandscape(input));
}

TEST_F(TeacherView, ExportsTheReportAsAPdf)
{
    const QString path = dir.filePath(u"informe.pdf"_s);
    prompts.files = {path};
    find<QPushButton>("Exportar")->click();
    EXPECT_EQ(prompts.prompts.value(0), (RecordingPrompts::Prompt{u"saveFile"_s, u"Exportar el informe"_s, u"PDF (*.pdf)"_s}));
    EXPECT_EQ(prompts.suggested, QStringList{u"informe.pdf"_s});
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
    prompts.files = {dir.filePath(u"no/existe.pdf"_s)};
    EXPECT_FALSE(view.exportReport());
    EXPECT_EQ(messages.value(0), u"No puedo guardar el informe en "_s + dir.filePath(u"no/existe.pdf"_s));
}

}  // namespace
