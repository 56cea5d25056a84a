// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window driven like a teacher: a new exercise and item, the
// misspellings put, changed and removed, saving, renumbering, the draft
// offered back after a crash, the checker's findings; and an item saved by the
// editor, passed by the checker and worked to the end in the main window.

#include "tests/datahome.h"
#include "tests/support.h"

#include "editor/editorwindow.h"
#include "editor/itemstore.h"

#include "library/acceptedwords.h"
#include "library/catalogue.h"
#include "library/contentrules.h"
#include "library/results.h"
#include "library/spelling.h"
#include "results/resultsview.h"
#include "presentation/richtextbox.h"
#include "windows/form4.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>

using namespace Qt::StringLiterals;

namespace {

// Answers the editor's questions from queues, and records what was asked:
// the programs' own questions as every test answers them, and the editor's.
class ScriptedPrompts : public editor::Prompts, public RecordingPrompts {
public:
    Unsaved askUnsaved(QWidget*, const QString& text) override
    {
        asked.append(text);
        if (unsaved.empty())
            return Unsaved::Cancel;
        const Unsaved answer = unsaved.front();
        unsaved.pop_front();
        return answer;
    }
    std::optional<editor::FaultRequest> askFaults(QWidget*,
                                                  const std::function<QString(const editor::FaultRequest&)>& preview) override
    {
        if (faults.empty())
            return std::nullopt;
        const editor::FaultRequest request = faults.front();
        faults.pop_front();
        previews.append(preview(request));
        // "Otras": another seed, another preview.
        previews.append(preview({request.family, request.count, request.seed + 1}));
        return request;
    }

    std::deque<Unsaved> unsaved;
    std::deque<editor::FaultRequest> faults;
    QStringList previews;
};

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shipped.writeItem(u"11 Tildes"_s, 1, {u"El arbol."_s}, {u"El árbol."_s});
    }
    void TearDown() override { window.reset(); }
    void open()
    {
        window = std::make_unique<editor::EditorWindow>(shipped.path(), teacherRoot(), prompts);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    template<typename T>
    T* find(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name)
    {
        auto* b = find<QPushButton>(name);
        ASSERT_TRUE(b) << name;
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Types into the correct text as a keyboard does, accents included.
    void type(const QString& text)
    {
        QWidget* box = find<QPlainTextEdit>("TextoCorrecto");
        box->setFocus();
        for (const QChar c : text) {
            const Qt::Key key = c == u'\n' ? Qt::Key_Return : c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Press, box, key, QString(c), {});
            QTest::sendKeyEvent(QTest::Release, box, key, QString(c), {});
        }
    }
    // Answers the word menu that opens next: records what it offers (the
    // misspellings' forms), then lets `choose` act on it.
    void answerNextMenu(QStringList& offered, const std::function<void(QMenu*)>& choose)
    {
        QTimer::singleShot(0, [&offered, choose] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(menu);
            for (QAction* a : menu->actions())
                offered.append(a->data().toString());
            choose(menu);
        });
    }
    void placeCaret(int offset)
    {
        auto* box = find<QPlainTextEdit>("TextoCorrecto");
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(offset);
        box->setTextCursor(cursor);
    }
    QString faultyShown() const { return find<QTextEdit>("TextoConFaltas")->toPlainText(); }
    QStringList rows(const char* list) const
    {
        QStringList out;
        auto* w = find<QListWidget>(list);
        for (int i = 0; i < w->count(); ++i)
            out.append(w->item(i)->text());
        return out;
    }
    void choose(const char* list, int row) { find<QListWidget>(list)->setCurrentRow(row); }
    static QString teacherRoot() { return catalogue::dataRoots().value(0); }
    QString teacherFolder(const QString& exercise) const
    {
        return teacherRoot() + u"/Ejercicios/"_s + exercise;
    }

    TempTree home;
    DataHome dataHome{home.path()};
    TempTree shipped;
    ScriptedPrompts prompts;
    std::unique_ptr<editor::EditorWindow> window;
};

const QString Granja = u"En la granja vive una vaca.\nEl burro bebe agua del valle."_s;

// The teacher reaches the pupils' results from the editor: the folder the
// program writes them to, read and summed up.
TEST_F(EditorWindowTest, ResultsShowsThePupilsRowsFromTheProgramsFolder)
{
    const QString folder = results::defaultFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + u"/2026-03-09_Ana_pc.csv"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xef\xbb\xbf" + QByteArray(results::Header)
               + "\r\n2026-03-09;10:00:00;Ana;01 Animales;1;s\xc3\xad;s\xc3\xad;30;2;1;no;vaca\r\n");
    file.close();
    open();

    click("Resultados");

    auto* view = find<ResultsView>("VistaResultados");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->folder(), folder);
    ASSERT_EQ(view->contents().rows.size(), 1);
    EXPECT_EQ(view->contents().rows.first().pupil, u"Ana"_s);
    // Its questions are the editor's: no dialog of its own.
    const QString csv = shipped.file(u"resumen.csv"_s);
    prompts.files = {csv};
    EXPECT_TRUE(view->exportCsv());
    EXPECT_EQ(prompts.prompts.value(0).title, u"Exportar la tabla"_s);
    EXPECT_TRUE(QFileInfo(csv).isFile());
    QFile::remove(file.fileName());
}

TEST_F(EditorWindowTest, ANewExerciseTakesTheNextNumberAndStartsWithItsFirstText)
{
    open();
    EXPECT_EQ(rows("ListaEjercicios"), QStringList{u"11 Tildes (del programa)"_s});
    click("NuevoEjercicio");
    EXPECT_EQ(prompts.offered.value(0), u"12 Ejercicio nuevo"_s);
    EXPECT_EQ(rows("ListaEjercicios"), (QStringList{u"12 Ejercicio nuevo"_s, u"11 Tildes (del programa)"_s}));
    EXPECT_TRUE(QFileInfo(teacherFolder(u"12 Ejercicio nuevo"_s)).isDir());
    EXPECT_EQ(rows("ListaTextos"), QStringList{u"Texto 1 (nuevo)"_s});
    EXPECT_FALSE(find<QPlainTextEdit>("TextoCorrecto")->isReadOnly());
}

TEST_F(EditorWindowTest, PutMisspellingsShowsThemBesideTheTextAndSavingWritesBothVersions)
{
    open();
    click("NuevoEjercicio");
    type(Granja);
    EXPECT_TRUE(window->isDirty());
    EXPECT_EQ(faultyShown(), Granja);

    prompts.faults.push_back({u"bv"_s, 2, 11});
    click("PonerFaltas");
    ASSERT_EQ(prompts.previews.size(), 2);
    EXPECT_EQ(prompts.previews[0].count(u" → "_s), 2) << prompts.previews[0].toStdString();
    ASSERT_EQ(window->item().misspellings().size(), 2);
    // The preview said what was taken.
    for (auto it = window->item().misspellings().cbegin(); it != window->item().misspellings().cend(); ++it)
        EXPECT_TRUE(prompts.previews[0].contains(window->item().words()[it.key()] + u" → "_s + it.value()));
    EXPECT_NE(faultyShown(), Granja);
    EXPECT_EQ(find<QTextEdit>("TextoConFaltas")->extraSelections().size(), 2);

    QTest::keyClick(find<QPlainTextEdit>("TextoCorrecto"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window->isDirty());
    EXPECT_EQ(rows("ListaTextos"), QStringList{u"Texto 1"_s});
    const QString folder = teacherFolder(u"12 Ejercicio nuevo"_s);
    EXPECT_EQ(textfile::read(folder + u"/correcto/1.txt"_s).lines, Granja.split(u'\n'));
    EXPECT_EQ(textfile::read(folder + u"/incorrecto/1.txt"_s).lines, faultyShown().split(u'\n'));
}

TEST_F(EditorWindowTest, AWordsMisspellingIsChangedWrittenAndRemovedFromItsMenu)
{
    open();
    click("NuevoEjercicio");
    type(u"Una vaca come."_s);
    std::unique_ptr<QMenu> menu = window->wordMenu(1);
    QAction* baca = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->data().toString() == u"baca"_s)
            baca = a;
    }
    ASSERT_TRUE(baca);
    baca->trigger();
    EXPECT_EQ(faultyShown(), u"Una baca come."_s);

    prompts.texts.push_back(u"vacca"_s);
    window->wordMenu(1)->findChild<QAction*>(u"EscribirOtra"_s)->trigger();
    EXPECT_EQ(prompts.offered.last(), u"baca"_s);
    EXPECT_EQ(faultyShown(), u"Una vacca come."_s);

    prompts.texts.push_back(u"dos palabras"_s);
    window->wordMenu(1)->findChild<QAction*>(u"EscribirOtra"_s)->trigger();
    EXPECT_EQ(prompts.informed.size(), 1);
    EXPECT_EQ(faultyShown(), u"Una vacca come."_s);

    window->wordMenu(1)->findChild<QAction*>(u"QuitarFalta"_s)->trigger();
    EXPECT_EQ(faultyShown(), u"Una vaca come."_s);
    EXPECT_TRUE(window->item().misspellings().isEmpty());
    // Saving an item without misspellings is refused, with the reason.
    click("Guardar");
    EXPECT_TRUE(prompts.informed.last().contains(u"ninguna falta"_s)) << prompts.informed.last().toStdString();
    EXPECT_TRUE(window->isDirty());
}

TEST_F(EditorWindowTest, ANewItemNeverReplacesOneWrittenUnderItsNumberMeanwhile)
{
    open();
    click("NuevoEjercicio");
    type(u"Una vaca come."_s);
    window->wordMenu(1)->actions().first()->trigger();
    const QString folder = teacherFolder(u"12 Ejercicio nuevo"_s);
    ASSERT_EQ(itemwriter::write(folder, 1, itemwriter::parse({u"otro {burro|vurro}"_s}).draft, false).status,
              itemwriter::WriteStatus::Written);
    // The text written meanwhile keeps its number; this one takes the next.
    EXPECT_TRUE(window->save());
    EXPECT_EQ(window->itemNumber(), 2);
    EXPECT_EQ(find<QLabel>("Estado")->text(),
              u"Texto 2 guardado: el número 1 lo tomó otro texto mientras tanto."_s);
    EXPECT_EQ(textfile::read(folder + u"/correcto/1.txt"_s).lines, QStringList{u"otro burro"_s});
    EXPECT_EQ(textfile::read(folder + u"/correcto/2.txt"_s).lines, QStringList{u"Una vaca come."_s});
    EXPECT_FALSE(window->isDirty());
}

TEST_F(EditorWindowTest, DeletingAnItemRenumbersTheOnesAfterIt)
{
    const QString folder = teacherFolder(u"01 Mio"_s);
    for (int n = 1; n <= 3; ++n) {
        QDir().mkpath(folder);
        ASSERT_EQ(itemwriter::write(folder, n, itemwriter::parse({u"una {vaca|baca} %1"_s.arg(n)}).draft, false).status,
                  itemwriter::WriteStatus::Written);
    }
    open();
    EXPECT_EQ(rows("ListaTextos"), (QStringList{u"Texto 1"_s, u"Texto 2"_s, u"Texto 3"_s}));
    choose("ListaTextos", 1);
    EXPECT_EQ(window->item().text(), u"una vaca 2"_s);
    prompts.confirms.push_back(true);
    click("BorrarTexto");
    EXPECT_EQ(rows("ListaTextos"), (QStringList{u"Texto 1"_s, u"Texto 2"_s}));
    EXPECT_EQ(window->item().text(), u"una vaca 3"_s);
    // Moving the first down.
    choose("ListaTextos", 0);
    click("BajarTexto");
    EXPECT_EQ(window->itemNumber(), 2);
    EXPECT_EQ(window->item().text(), u"una vaca 1"_s);
    choose("ListaTextos", 0);
    EXPECT_EQ(window->item().text(), u"una vaca 3"_s);
}

TEST_F(EditorWindowTest, AnInterruptedRenumberingIsFinishedWhenTheExerciseIsOpened)
{
    const QString folder = teacherFolder(u"01 Mio"_s);
    QDir().mkpath(folder);
    for (int n = 1; n <= 3; ++n)
        itemwriter::write(folder, n, itemwriter::parse({u"una {vaca|baca} %1"_s.arg(n)}).draft, false);
    int calls = 0;
    const QString error = editor::items::remove(folder, 1, [&](const QString& from, const QString& to) {
        return calls++ < 3 && QFile::rename(from, to);
    });
    ASSERT_FALSE(error.isEmpty());
    open();
    EXPECT_EQ(rows("ListaTextos"), (QStringList{u"Texto 1"_s, u"Texto 2"_s}));
    EXPECT_EQ(window->item().text(), u"una vaca 2"_s);
    EXPECT_FALSE(editor::items::interrupted(folder));
}

TEST_F(EditorWindowTest, APlantedJournalIsRefusedWhenTheExerciseIsOpenedAndLeftAlone)
{
    const QString folder = teacherFolder(u"01 Mio"_s);
    QDir().mkpath(folder);
    itemwriter::write(folder, 1, itemwriter::parse({u"una {vaca|baca}"_s}).draft, false);
    // A count of steps below zero: 27 bytes.
    const QByteArray planted = "miravellon-renumerando 1\n-1";
    ASSERT_EQ(planted.size(), 27);
    QFile journal(folder + u"/.miravellon-renumerando"_s);
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write(planted);
    journal.close();
    open();
    ASSERT_FALSE(prompts.informed.isEmpty());
    EXPECT_TRUE(prompts.informed.last().contains(u"está dañado"_s)) << prompts.informed.last().toStdString();
    EXPECT_EQ(rows("ListaTextos"), QStringList{u"Texto 1"_s});
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    EXPECT_EQ(journal.readAll(), planted);
}

TEST_F(EditorWindowTest, SavingNeverWritesThroughAVersionFolderLinkedOut)
{
    const QString folder = teacherFolder(u"01 Mio"_s);
    QDir().mkpath(folder);
    ASSERT_EQ(itemwriter::write(folder, 1, itemwriter::parse({u"una {vaca|baca}"_s}).draft, false).status,
              itemwriter::WriteStatus::Written);
    // The faulty versions' folder swapped for a link to the teacher's own files.
    const TempTree elsewhere;
    elsewhere.write(u"1.txt"_s, "mis notas\r\n");
    ASSERT_TRUE(QDir(folder + u"/incorrecto"_s).removeRecursively());
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder + u"/incorrecto"_s));
    open();
    type(u" blanca"_s);
    // A misspelling of the word typed, so that there is something to save.
    std::unique_ptr<QMenu> menu = window->wordMenu(2);
    QAction* misspelling = nullptr;
    for (QAction* a : menu->actions()) {
        if (!misspelling && !a->data().toString().isEmpty())
            misspelling = a;
    }
    ASSERT_TRUE(misspelling);
    misspelling->trigger();
    EXPECT_FALSE(window->save());
    EXPECT_TRUE(prompts.informed.last().contains(u"lleva fuera de la carpeta del ejercicio"_s))
        << prompts.informed.last().toStdString();
    EXPECT_EQ(elsewhere.read(u"1.txt"_s), "mis notas\r\n");
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"1.txt"_s});
    EXPECT_TRUE(window->isDirty());
}

TEST_F(EditorWindowTest, TheDraftIsOfferedBackAfterACrash)
{
    open();
    click("NuevoEjercicio");
    type(u"Mi abuela vive en el campo."_s);
    window->wordMenu(1)->actions().first()->trigger();
    const QString faulty = faultyShown();
    // A crash: the window goes without being closed.
    window.reset();

    prompts.confirms.push_back(true);
    open();
    window->offerDrafts();
    EXPECT_TRUE(prompts.asked.last().contains(u"12 Ejercicio nuevo"_s)) << prompts.asked.last().toStdString();
    EXPECT_EQ(find<QPlainTextEdit>("TextoCorrecto")->toPlainText(), u"Mi abuela vive en el campo."_s);
    EXPECT_EQ(faultyShown(), faulty);
    EXPECT_TRUE(window->isDirty());
    click("Guardar");
    EXPECT_FALSE(window->isDirty());
    window.reset();

    // Saved: nothing offered any more.
    open();
    const qsizetype asked = prompts.asked.size();
    window->offerDrafts();
    EXPECT_EQ(prompts.asked.size(), asked);
}

// A draft offered back after a crash replaces only the very text it began
// from; a text written under its number meanwhile (by miravellon-crear
// --reemplazar, say) keeps it, and the draft takes the next free number.
struct DraftCase {
    const char* name;
    bool savedFirst;        // the draft changes a saved item, else a new one
    bool writtenMeanwhile;  // item 1 is written by another tool before the editor starts again
    int savedAs;            // the number the restored draft is saved under
};

void PrintTo(const DraftCase& c, std::ostream* os)
{
    *os << c.name;
}

class DraftRestore : public EditorWindowTest, public ::testing::WithParamInterface<DraftCase> {};

TEST_P(DraftRestore, NeverReplacesATextWrittenSince)
{
    const DraftCase& c = GetParam();
    open();
    click("NuevoEjercicio");
    type(u"Una vaca come."_s);
    window->wordMenu(1)->actions().first()->trigger();
    if (c.savedFirst) {
        click("Guardar");
        type(u" Y bebe."_s);
    }
    ASSERT_TRUE(window->isDirty());
    const QString text = window->item().text();
    window.reset();
    const QString folder = teacherFolder(u"12 Ejercicio nuevo"_s);
    if (c.writtenMeanwhile) {
        ASSERT_EQ(itemwriter::write(folder, 1, itemwriter::parse({u"otro {burro|vurro}"_s}).draft, true).status,
                  itemwriter::WriteStatus::Written);
    }

    prompts.confirms.push_back(true);
    open();
    window->offerDrafts();
    ASSERT_EQ(window->item().text(), text);
    click("Guardar");
    EXPECT_FALSE(window->isDirty());
    EXPECT_EQ(window->itemNumber(), c.savedAs);
    EXPECT_EQ(textfile::read(folder + u"/correcto/%1.txt"_s.arg(c.savedAs)).lines, QStringList{text});
    if (c.writtenMeanwhile) {
        EXPECT_EQ(textfile::read(folder + u"/correcto/1.txt"_s).lines, QStringList{u"otro burro"_s});
    }
}

const DraftCase draftCases[] = {
    {"new_item_alone", false, false, 1},
    {"new_item_whose_number_was_taken", false, true, 2},
    {"saved_item_unchanged", true, false, 1},
    {"saved_item_rewritten_meanwhile", true, true, 2},
};

INSTANTIATE_TEST_SUITE_P(Editor, DraftRestore, ::testing::ValuesIn(draftCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorWindowTest, ClosingWithUnsavedChangesAsks)
{
    open();
    click("NuevoEjercicio");
    type(u"Una vaca."_s);
    prompts.unsaved.push_back(editor::Prompts::Unsaved::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    prompts.unsaved.push_back(editor::Prompts::Unsaved::Discard);
    EXPECT_TRUE(window->close());
}

TEST_F(EditorWindowTest, TheFindingsPanelShowsTheCheckersFinding)
{
    open();
    click("NuevoEjercicio");
    type(u"Una vaca  come."_s);
    window->wordMenu(1)->actions().first()->trigger();
    window->refreshFindings();
    const QStringList lines = rows("Hallazgos");
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.join(u'\n').contains(u"AVISO incorrecto/1.txt, línea 1, entre «baca» y «come.»: dos espacios seguidos"_s)) << lines.join(u'\n').toStdString();
}

TEST_F(EditorWindowTest, ShippedExercisesAreReadOnlyAndCanBeCopied)
{
    open();
    choose("ListaEjercicios", 0);
    EXPECT_TRUE(find<QPlainTextEdit>("TextoCorrecto")->isReadOnly());
    EXPECT_FALSE(find<QPushButton>("Guardar")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("BorrarEjercicio")->isEnabled());
    click("CopiarEjercicio");
    EXPECT_EQ(rows("ListaEjercicios"), (QStringList{u"11 Tildes"_s, u"11 Tildes (del programa)"_s}));
    EXPECT_EQ(window->exerciseFolder(), teacherFolder(u"11 Tildes"_s));
    EXPECT_FALSE(find<QPlainTextEdit>("TextoCorrecto")->isReadOnly());
    EXPECT_EQ(window->item().misspellings().value(1), u"arbol."_s);
}

TEST_F(EditorWindowTest, EveryControlHasASpanishAccessibleNameAndTooltip)
{
    open();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QListWidget*>(w) || qobject_cast<QPlainTextEdit*>(w)
            || (qobject_cast<QTextEdit*>(w) && !w->objectName().isEmpty())) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
            EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
        }
    }
}

TEST_F(EditorWindowTest, AClickOnAWordOfTheTextWithMisspellingsOpensItsMenu)
{
    open();
    click("NuevoEjercicio");
    type(u"Una vaca come.\nEl burro bebe."_s);
    auto* faulty = find<QTextEdit>("TextoConFaltas");
    QStringList offered;
    answerNextMenu(offered, [](QMenu* menu) {
        for (QAction* a : menu->actions()) {
            if (a->data().toString() == u"vurro"_s)
                a->trigger();
        }
        menu->close();
    });
    QTextCursor at(faulty->document());
    at.setPosition(int(u"Una vaca come.\nEl bu"_s.size()));
    QTest::mouseClick(faulty->viewport(), Qt::LeftButton, {}, faulty->cursorRect(at).center());
    EXPECT_TRUE(offered.contains(u"vurro"_s)) << offered.join(u' ').toStdString();
    EXPECT_EQ(faultyShown(), u"Una vaca come.\nEl vurro bebe."_s);
}

TEST_F(EditorWindowTest, CtrlMOpensTheMenuOfTheWordAtTheCaret)
{
    open();
    click("NuevoEjercicio");
    type(u"Una vaca come."_s);
    placeCaret(6);
    QStringList offered;
    answerNextMenu(offered, [](QMenu* menu) {
        // Down to the first misspelling, then Return, as a keyboard chooses.
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::keyClick(find<QPlainTextEdit>("TextoCorrecto"), Qt::Key_M, Qt::ControlModifier);
    ASSERT_FALSE(offered.isEmpty());
    EXPECT_EQ(window->item().misspellings().value(1), offered.first());
    EXPECT_EQ(faultyShown(), u"Una "_s + offered.first() + u" come."_s);
}

TEST_F(EditorWindowTest, ImportingATextKeepsTheMisspellingsWrittenInIt)
{
    const TempTree files;
    files.write(u"carta.txt"_s, "Querida abuela:\r\nAyer vi una {vaca|baca} en el r\xEDo.\r\n");
    open();
    click("NuevoEjercicio");
    prompts.files.push_back(files.file(u"carta.txt"_s));
    click("ImportarTexto");
    EXPECT_EQ(find<QPlainTextEdit>("TextoCorrecto")->toPlainText(), u"Querida abuela:\nAyer vi una vaca en el río."_s);
    EXPECT_EQ(faultyShown(), u"Querida abuela:\nAyer vi una baca en el río."_s);
    EXPECT_TRUE(window->isDirty());

    files.write(u"mal.txt"_s, "una {vaca baca}\n");
    prompts.files.push_back(files.file(u"mal.txt"_s));
    click("ImportarTexto");
    EXPECT_EQ(prompts.informed.size(), 1);
    EXPECT_EQ(faultyShown(), u"Querida abuela:\nAyer vi una baca en el río."_s);
}

TEST_F(EditorWindowTest, APictureIsPutForTheMisspeltWordUnderTheCursor)
{
    const TempTree files;
    files.writePicture(u"foto.jpg"_s, 640, 480);
    open();
    click("NuevoEjercicio");
    type(u"Una vaca come."_s);
    window->wordMenu(1)->actions().first()->trigger();
    placeCaret(6);
    prompts.files.push_back(files.file(u"foto.jpg"_s));
    click("Dibujo");
    const QString root = teacherRoot();
    const QString picture = content::wordPicturePath(root, u"vaca"_s);
    ASSERT_FALSE(picture.isEmpty());
    EXPECT_EQ(content::readPicture(picture).size(), QSize(240, 180));

    // Not on a misspelt word: the teacher is told where to put the cursor.
    placeCaret(1);
    click("Dibujo");
    EXPECT_TRUE(prompts.informed.last().contains(u"cursor"_s));
}

TEST(PonerFaltasDialog, AsksAFamilyAndANumberAndOtrasChoosesAgain)
{
    editor::DialogPrompts prompts;
    const auto preview = [](const editor::FaultRequest& r) {
        return u"%1 %2 %3"_s.arg(r.family).arg(r.count).arg(r.seed);
    };
    QStringList shown;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        ASSERT_EQ(dialog->objectName(), u"PonerFaltas"_s);
        auto* family = dialog->findChild<QComboBox*>(u"Familia"_s);
        auto* count = dialog->findChild<QSpinBox*>(u"Numero"_s);
        auto* choice = dialog->findChild<QLabel*>(u"Eleccion"_s);
        // Families by the names a teacher reads, once each.
        QStringList names;
        for (int i = 0; i < family->count(); ++i)
            names.append(family->itemText(i));
        EXPECT_EQ(names.count(u"todas"_s), 1);
        EXPECT_TRUE(names.contains(u"m antes de p y b"_s));
        EXPECT_FALSE(names.contains(u"mb"_s));
        family->setCurrentText(u"b/v"_s);
        count->setValue(2);
        shown.append(choice->text());
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text() == u"&Otras"_s)
                QTest::mouseClick(b, Qt::LeftButton);
        }
        shown.append(choice->text());
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text() == u"Poner"_s)
                QTest::mouseClick(b, Qt::LeftButton);
        }
    });
    const std::optional<editor::FaultRequest> request = prompts.askFaults(nullptr, preview);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->family, u"bv"_s);
    EXPECT_EQ(request->count, 2);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith(u"bv 2 "_s));
    // "Otras" drew another seed, and the request is the one shown last.
    EXPECT_NE(shown[0], shown[1]);
    EXPECT_EQ(shown[1], u"bv 2 %1"_s.arg(request->seed));

    // The next time it starts on the family used last.
    QString family;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        family = dialog->findChild<QComboBox*>(u"Familia"_s)->currentText();
        dialog->close();
    });
    EXPECT_FALSE(prompts.askFaults(nullptr, preview));
    EXPECT_EQ(family, u"b/v"_s);
}

TEST(EscribirOtraDialog, AnInvalidEntryKeepsTheBoxOpenWithTheReason)
{
    editor::DialogPrompts prompts;
    QStringList reasons;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        auto* edit = dialog->findChild<QLineEdit*>(u"Respuesta"_s);
        auto* reason = dialog->findChild<QLabel*>(u"Motivo"_s);
        edit->setText(u"dos palabras"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(edit->text(), u"dos palabras"_s);
        reasons.append(reason->isVisible() ? reason->text() : QString());
        edit->setText(u"vacca"_s);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    const std::optional<QString> typed = prompts.askChecked(
        nullptr, u"Escribir otra falta"_s, u"Falta para «vaca»:"_s, u"vaca"_s,
        [](const QString& t) { return t.contains(u' ') ? u"una falta es una sola palabra"_s : QString(); });
    EXPECT_EQ(typed, u"vacca"_s);
    EXPECT_EQ(reasons, QStringList{u"una falta es una sola palabra"_s});
}

TEST_F(EditorWindowTest, ProbarOpensThePupilsProgramOnTheSavedText)
{
    open();
    QString program;
    QStringList arguments;
    window->startProgram = [&](const QString& p, const QStringList& a) {
        program = p;
        arguments = a;
        return true;
    };
    click("NuevoEjercicio");
    type(u"Una vaca come."_s);
    window->wordMenu(1)->actions().first()->trigger();
    click("Probar");
    EXPECT_TRUE(program.endsWith(u"miravellon"_s)) << program.toStdString();
    ASSERT_EQ(arguments.size(), 3);
    EXPECT_EQ(arguments[0], u"--probar"_s);
    EXPECT_TRUE(QFileInfo::exists(arguments[1] + u"/incorrecto/1.txt"_s)) << arguments[1].toStdString();
    EXPECT_EQ(arguments[2], u"1"_s);
    EXPECT_FALSE(window->isDirty());
    // The status line speaks of the last thing done, and clears on an edit.
    EXPECT_FALSE(find<QLabel>("Estado")->text().isEmpty());
    type(u" Y"_s);
    EXPECT_EQ(find<QLabel>("Estado")->text(), QString());
}

TEST_F(EditorWindowTest, AFindingIsAcceptedIntoHerFolderAndNotSaidAgain)
{
    if (!spelling::Dictionary::spanish().isAvailable())
        GTEST_SKIP() << "no Spanish dictionary is installed";
    open();
    click("NuevoEjercicio");
    type(u"Toby come. Una vaca."_s);
    const std::unique_ptr<QMenu> menu = window->wordMenu(3);  // "vaca."
    ASSERT_FALSE(menu->actions().isEmpty());
    menu->actions().first()->trigger();
    window->refreshFindings();
    auto* list = find<QListWidget>("Hallazgos");
    int row = -1;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().contains(u"«Toby» no está en el diccionario"_s))
            row = i;
    }
    ASSERT_GE(row, 0) << rows("Hallazgos").join(u'\n').toStdString();
    list->setCurrentRow(row);
    click("AceptarPalabra");
    EXPECT_TRUE(acceptedwords::read(teacherRoot()).accepts(u"Toby"_s));
    EXPECT_FALSE(rows("Hallazgos").join(u'\n').contains(u"Toby"_s)) << rows("Hallazgos").join(u'\n').toStdString();
}

// --- End to end -------------------------------------------------------------------

TEST_F(EditorWindowTest, AnItemSavedByTheEditorPassesTheCheckerAndIsWorkedToTheEndInForm1)
{
    // The teacher's root with the shipped sounds, animations and background,
    // so that the checker speaks only of the new exercise.
    const QString root = teacherRoot();
    const QString assets = QStringLiteral(ASSETS_PATH);
    for (const QString& folder : {u"sonidos"_s, u"gifs"_s}) {
        QDir().mkpath(root + u'/' + folder);
        for (const QString& name : QDir(assets + u'/' + folder).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(assets + u'/' + folder + u'/' + name, root + u'/' + folder + u'/' + name));
    }
    ASSERT_TRUE(QFile::copy(assets + u"/fondo.gif"_s, root + u"/fondo.gif"_s));

    open();
    prompts.texts.push_back(u"01 La granja"_s);
    click("NuevoEjercicio");
    type(Granja);
    prompts.faults.push_back({u"todas"_s, 3, 2024});
    click("PonerFaltas");
    ASSERT_TRUE(window->save());
    const QMap<qsizetype, QString> misspellings = window->item().misspellings();
    const QStringList words = window->item().words();
    ASSERT_EQ(misspellings.size(), 3);
    window.reset();

    QProcess checker;
    checker.start(QStringLiteral(CHECKER_PATH), {root});
    ASSERT_TRUE(checker.waitForFinished(60000));
    const QString out = QString::fromUtf8(checker.readAllStandardOutput());
    EXPECT_EQ(checker.exitCode(), 0) << out.toStdString();
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_FALSE(line.startsWith(u"ERROR"_s)) << line.toStdString();

    MainWindowHarness harness(root);
    harness.chooseExercise(0);
    QString shown = harness.text()->text();
    for (auto it = misspellings.cbegin(); it != misspellings.cend(); ++it) {
        const int offset = int(shown.indexOf(it.value()));
        ASSERT_GE(offset, 0) << it.value().toStdString();
        harness.clickText(offset);
        harness.type(QString(harness.correction()->text().size(), u'\b') + words[it.key()]);
        shown = harness.text()->text();
    }
    const QString log = harness.form().form4()->RichTextBox1()->text();
    EXPECT_TRUE(log.startsWith(u"TEXTO 1\n\nEn la granja vive una vaca. \nEl burro bebe agua del valle."_s))
        << log.toStdString();
}

}  // namespace
