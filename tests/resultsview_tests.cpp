// The teacher's view of a results folder: the table per pupil, the chart of
// the words most often failed, the filters, the note on what could not be
// read, the CSV export and printing to a PDF. No dialog opens.

#include "library/results.h"
#include "tests/resultsrows.h"
#include "results/failedwordschart.h"
#include "results/resultsview.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
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
        view.messageBox = [this](const QString& text) { messages.append(text); };
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
    QStringList messages;
};

TEST_F(TeacherView, ShowsEachPupil)
{
    auto* table = find<QTableWidget>("Tabla");
    QStringList headers;
    for (int c = 0; c < table->columnCount(); ++c)
        headers.append(table->horizontalHeaderItem(c)->text());
    EXPECT_EQ(headers, (QStringList{u"Alumno"_s, u"Días"_s, u"Textos empezados"_s, u"Terminados"_s,
                                    u"En el plazo"_s, u"Palabras corregidas"_s, u"Palabras con fallo"_s}));
    ASSERT_EQ(tableRows(), 2);
    EXPECT_EQ(tableRow(0), (QStringList{u"Jorge"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"2"_s, u"2"_s}));
    EXPECT_EQ(tableRow(1), (QStringList{u"María López"_s, u"2"_s, u"3"_s, u"2"_s, u"1"_s, u"5"_s, u"3"_s}));
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
              (QStringList{u"vaca (b/v): 3"_s, u"hoy (h, ll/y): 1"_s, u"Madrid (mayúscula): 1"_s}));
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
    EXPECT_EQ(tableRow(0), (QStringList{u"María López"_s, u"1"_s, u"1"_s, u"0"_s, u"0"_s, u"0"_s, u"2"_s}));
    EXPECT_EQ(find<FailedWordsChart>("Grafico")->labels(),
              (QStringList{u"Madrid (mayúscula): 1"_s, u"vaca (b/v): 1"_s}));
}

TEST_F(TeacherView, FiltersByDates)
{
    find<QDateEdit>("Desde")->setDate(QDate(2026, 3, 10));
    ASSERT_EQ(tableRows(), 2);
    EXPECT_EQ(tableRow(1), (QStringList{u"María López"_s, u"1"_s, u"1"_s, u"1"_s, u"0"_s, u"2"_s, u"0"_s}));
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
    view.chooseCsvFile = [&] { return path; };
    find<QPushButton>("ExportarCSV")->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), u"\uFEFFalumno;dias;textos_empezados;textos_terminados;terminados_en_plazo;"
                              u"palabras_corregidas;palabras_con_fallo\r\n"
                              u"Jorge;1;1;1;1;2;2\r\nMaría López;2;2;2;1;5;1\r\n"_s.toUtf8());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TeacherView, AnExportThatCannotBeWrittenIsTold)
{
    view.chooseCsvFile = [&] { return dir.filePath(u"no/existe.csv"_s); };
    EXPECT_FALSE(view.exportCsv());
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.value(0).startsWith(u"No puedo guardar la tabla en "_s));
}

TEST_F(TeacherView, PrintsTheWholeViewToAPdf)
{
    const QString path = dir.filePath(u"vista.pdf"_s);
    view.choosePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
    find<QPushButton>("Imprimir")->click();
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
    view.chooseFolder = [&] { return shared.path(); };
    find<QPushButton>("AbrirCarpeta")->click();
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
    view.chooseFolder = [] { return QString(); };
    EXPECT_FALSE(view.chooseFolderAndOpen());
    EXPECT_EQ(view.folder(), dir.path());
    EXPECT_EQ(tableRows(), 2);
}

}  // namespace
