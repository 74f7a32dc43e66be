#include "documents/document_list.h"
#include "editor/document_editing.h"
#include "editor/document_form.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/main_window.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "platform/report_viewer.h"
#include "register/preview_panel.h"
#include "register/print_output.h"
#include "register/rap_fanet1.h"
#include "report_fixture.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include "support/typing.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

// Printing through the real main window: the preview page, its toolbar and options, the save
// toolbar and the menus.

namespace {

struct PrintWindowFixture : ReportFixture {
    std::unique_ptr<MainWindow> window;
    EntryPage* page = nullptr;
    PreviewPanel* preview = nullptr;

    void open()
    {
        window = openMainWindow(app, {1280, 860});
        page = window->pages()->picWprowadzanie;
        preview = page->picPodglad();
    }
    // Selects the document list's row of `numer` as a click does.
    void selectRow(const QString& numer)
    {
        QTableView* lst = page->lstDok();
        for (int i = 0; i < page->lstDokRows()->rowCount(); ++i)
            if (page->lstDokRows()->numer(i) == numer) {
                QRect r = lst->visualRect(page->lstDokRows()->index(i, 0));
                QTest::mouseClick(lst->viewport(), Qt::LeftButton, {}, r.center());
                window->pages()->dokumenty->lista()->lstDok_Click();
                return;
            }
        FAIL() << "no row " << numer.toStdString();
    }
    // Prints go to a recorder; the printer dialog is confirmed, the save dialog cancelled.
    std::vector<QString> printed;  // the number of each printed document
    void recordPrints()
    {
        printOutput(app).printRecorder = [this](const report::Report& r, const report::PrintJob&) {
            printed.push_back(r.table(kTabelaDokumentu)->value(0, "Numer"));
        };
        answers.dialog = [this](QDialog& d) {
            ++dialogs;
            return qobject_cast<QPrintDialog*>(&d) ? 1 : 0;
        };
    }
    int dialogs = 0;
    void clickTool(QAction* a, Qt::KeyboardModifiers mods = {})
    {
        QWidget* button = nullptr;
        for (QObject* o : a->associatedObjects())
            if (auto* w = qobject_cast<QWidget*>(o); w && w->isVisible()) button = w;
        ASSERT_TRUE(button) << a->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton, mods);
    }
};

}  // namespace

TEST_F(PrintWindowFixture, PreviewPagesAndZoomsTheSelectedDocument)
{
    std::vector<TypedRow> rows(45, TypedRow{"Pszenica", "10", "kg", "2", "7"});
    storeDocument(app, invoiceHeader("3/05/2024"), rows);
    open();
    selectRow("3/05/2024");
    window->btnPodglad->trigger();
    report::Viewer* viewer = preview->CRView;
    ASSERT_TRUE(viewer->reportSource());
    ASSERT_EQ(viewer->pageCount(), 2);
    EXPECT_EQ(preview->lstPardruk->topLevelItemCount(), 6);
    auto* widget = viewer->preview();
    window->btnNastepny->trigger();
    EXPECT_EQ(viewer->currentPage(), 2);
    window->btnPoprzedni->trigger();
    EXPECT_EQ(viewer->currentPage(), 1);
    window->btnOstatni->trigger();
    EXPECT_EQ(viewer->currentPage(), 2);
    window->btnPierwszy->trigger();
    EXPECT_EQ(viewer->currentPage(), 1);
    window->btnCala->trigger();
    EXPECT_EQ(widget->zoomMode(), QPrintPreviewWidget::FitInView);
    window->btnSkala100->trigger();
    EXPECT_EQ(widget->zoomMode(), QPrintPreviewWidget::CustomZoom);
    EXPECT_DOUBLE_EQ(widget->zoomFactor(), 1.0);
    // The next preview keeps the pressed zoom.
    selectRow(faktura.Numer);
    QTest::mouseDClick(page->lstDok()->viewport(), Qt::LeftButton, {},
                       page->lstDok()->visualRect(page->lstDok()->currentIndex()).center());
    QApplication::processEvents();
    EXPECT_EQ(viewer->pageCount(), 1);
    EXPECT_EQ(widget->zoomMode(), QPrintPreviewWidget::CustomZoom);

    // A changed option draws the preview again; with the form shown it only stores the option.
    preview->lstPardruk->topLevelItem(5)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(printOutput(app).gRaport->isSuppressed("txtWystawil"));
    window->btnDokument->trigger();
    const report::Report* shown = viewer->reportSource();
    preview->lstPardruk->topLevelItem(5)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(viewer->reportSource(), shown);
    EXPECT_EQ(RegRead(app.gRegProgramKey, "DrukWystaw", "?"), "0");
}

TEST_F(PrintWindowFixture, SaveToolbarPrintsOnlyADocumentItStoredAndSavesThePreviewAsPdf)
{
    recordPrints();
    open();
    DocumentForm* form = page->picDokument();
    const int stored = t.db().scalar("SELECT count(*) FROM fadok").toInt();
    // Refused (no seller): nothing is printed, not even the document selected before.
    selectRow(faktura.Numer);
    window->btnDokument->trigger();
    clickTool(window->btnZapisz, Qt::ControlModifier);
    EXPECT_TRUE(printed.empty());
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), stored);

    controls(form).txtNazkon->setText("Jan Nowak");
    controls(form).txtAdrkon->setText("Wola 2");
    controls(form).cmbPlatFor->setEditText(QString::fromUtf8("gotówka"));
    ASSERT_TRUE(typeIntoCell(controls(form).gridPoz, 0, PositionModel::Nazwa, "Owies"));
    ASSERT_TRUE(typeIntoCell(controls(form).gridPoz, 0, PositionModel::Ilosc, "100"));
    ASSERT_TRUE(typeIntoCell(controls(form).gridPoz, 0, PositionModel::Indjed, "kg"));
    ASSERT_TRUE(typeIntoCell(controls(form).gridPoz, 0, PositionModel::Cenanet, "1,50"));
    ASSERT_TRUE(typeIntoCell(controls(form).gridPoz, 0, PositionModel::Indvat, "7"));
    const QString numer = controls(form).txtNumer->text();
    clickTool(window->btnZapisz, Qt::ControlModifier);
    ASSERT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), stored + 1) << answers.last().toStdString();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], numer);

    // On the preview "Zapisz" saves the previewed document as a file and stores nothing.
    selectRow(faktura.Numer);
    window->btnPodglad->trigger();
    dialogs = 0;
    clickTool(window->btnZapisz);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), stored + 1);
    clickTool(window->btnDrukuj);
    EXPECT_EQ(printed.back(), faktura.Numer);
    window->mnuPopKarDrukuj->trigger();
    window->mnuBazaDrukuj->trigger();
    EXPECT_EQ(printed.size(), 4u);
}
