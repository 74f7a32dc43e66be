#include "register/print_copies.h"
#include "register/preview_panel.h"
#include "register/print_options.h"
#include "register/print_output.h"
#include "report_fixture.h"
#include <QFileDialog>
#include <QPrintDialog>
#include <QTreeWidget>

// Printing with the printer dialog: the proposed copies, the pair of runs, the register.

namespace {

struct Copies : ReportFixture {
    QTreeWidget lstDok;
    struct Run {
        QString marking;
        report::PrintJob job;
    };
    std::vector<Run> runs;
    int proposed = 0;  // copies the dialog proposed
    QString dialogTitle;
    // What the user does in the printer dialog; empty cancels it.
    std::function<void(QPrintDialog&)> user = [](QPrintDialog&) {};

    void SetUp() override
    {
        ReportFixture::SetUp();
        lstDok.setColumnCount(2);
        for (const DocHeader* h : {&korekta, &faktura})
            new QTreeWidgetItem(&lstDok, {h->Inddok + "  " + h->Numer, h->Numer});
        printOutput(app).printRecorder = [this](const report::Report& r, const report::PrintJob& j) {
            runs.push_back({r.isSuppressed("rapKopia") ? QString() : r.text("rapKopia"), j});
        };
        answers.dialog = [this](QDialog& d) {
            auto& p = dynamic_cast<QPrintDialog&>(d);
            proposed = p.printer()->copyCount();
            dialogTitle = p.windowTitle();
            EXPECT_EQ(p.minPage(), 1);
            EXPECT_EQ(p.maxPage(), 1000);
            EXPECT_FALSE(p.testOption(QAbstractPrintDialog::PrintSelection));
            if (!user) return int(QDialog::Rejected);
            user(p);
            return int(QDialog::Accepted);
        };
    }
    void selectRow(int i) { lstDok.setCurrentItem(lstDok.topLevelItem(i)); }
    // The document list's selected row as the entry page hands it to the printing.
    static std::optional<ListedDocument> listed(const QTreeWidget& list)
    {
        if (list.topLevelItemCount() == 0) return std::nullopt;
        const QTreeWidgetItem* i = list.currentItem();
        return ListedDocument{i ? i->text(0) : QString(), i ? i->text(1) : QString()};
    }
    QString proposedCopies() { return RegRead(app.gRegProgramKey, "DrukKopie", "?"); }
};

}  // namespace

TEST_F(Copies, TheDialogProposesTheCopiesPrintedLastAndAtLeastOne)
{
    selectRow(1);
    DokumentDrukuj(app, listed(lstDok));
    EXPECT_EQ(proposed, 1);
    EXPECT_EQ(proposedCopies(), "1");
    EXPECT_EQ(dialogTitle, "Drukuj FR  1/05/2024");
    user = [](QPrintDialog& d) { d.printer()->setCopyCount(3); };
    DokumentDrukuj(app, listed(lstDok));
    EXPECT_EQ(proposedCopies(), "3");
    user = [](QPrintDialog&) {};
    DokumentDrukuj(app, listed(lstDok));
    EXPECT_EQ(proposed, 3);
    for (const char* stored : {"abc", "0", "-2", ""}) {
        SCOPED_TRACE(stored);
        RegSave(app.gRegProgramKey, "DrukKopie", stored);
        DokumentDrukuj(app, listed(lstDok));
        EXPECT_EQ(proposed, 1);
    }
    // Cancelled: nothing printed, the setting kept.
    RegSave(app.gRegProgramKey, "DrukKopie", "4");
    runs.clear();
    user = nullptr;
    DokumentDrukuj(app, listed(lstDok));
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(proposedCopies(), "4");
}

TEST_F(Copies, OriginalAndCopyPrintAsAPairUnlessARangeIsChosen)
{
    struct Case {
        const char* name;
        bool pair;
        bool range;
        std::vector<QString> markings;
        int first, last;
    } cases[] = {
        {"one run", false, false, {""}, 0, 0},
        {"pair", true, false, {QString::fromUtf8("ORYGINAŁ"), "KOPIA"}, 0, 0},
        {"pair with a range", true, true, {QString::fromUtf8("ORYGINAŁ")}, 1, 2},
    };
    selectRow(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegSave(app.gRegProgramKey, "DrukOryKop", c.pair ? "1" : "0");
        user = [&](QPrintDialog& d) {
            d.printer()->setCopyCount(2);
            d.printer()->setCollateCopies(true);
            if (c.range) {
                d.setPrintRange(QAbstractPrintDialog::PageRange);
                d.setFromTo(1, 2);
            }
        };
        runs.clear();
        DokumentDrukuj(app, listed(lstDok));
        ASSERT_EQ(runs.size(), c.markings.size());
        for (size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].marking, c.markings[i]);
            EXPECT_EQ(runs[i].job.copies, 2);
            EXPECT_TRUE(runs[i].job.collate);
            EXPECT_EQ(runs[i].job.firstPage, c.first);
            EXPECT_EQ(runs[i].job.lastPage, c.last);
        }
        EXPECT_EQ(printState(app).gDrukEgzemplarz, "");
    }
}

TEST_F(Copies, TheRegisterPrintsOnceAndNothingIsPrintedWithoutAList)
{
    RegSave(app.gRegProgramKey, "DrukOryKop", "1");
    KartotekaDrukuj(app, "KFR", korekta.Numer);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].marking, QString::fromUtf8("ORYGINAŁ"));
    EXPECT_EQ(dialogTitle, "Drukuj KFR");
    EXPECT_EQ(printState(app).gRepPar[1], korekta.Numer);

    QTreeWidget empty;
    runs.clear();
    DokumentDrukuj(app, listed(empty));
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(answers.last(), QString::fromUtf8("Wprowadź dane do dokumentu, zapisz go, a następnie kliknij Drukuj."));
}

TEST_F(Copies, ThePairReachesAPdfPrinterAsOneJob)
{
    printOutput(app).printRecorder = nullptr;
    printOutput(app).printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printOutput(app).printer->setOutputFormat(QPrinter::PdfFormat);
    printOutput(app).printer->setOutputFileName(t.dir.filePath("para.pdf"));
    RegSave(app.gRegProgramKey, "DrukOryKop", "1");
    user = [](QPrintDialog& d) { d.printer()->setCopyCount(2); };
    selectRow(0);
    DokumentDrukuj(app, listed(lstDok));
    const QString text = pdfText(t.dir.filePath("para.pdf"));
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(pages[i].contains("Korekta faktury VAT RR")) << i;
        EXPECT_TRUE(pages[i].contains(i < 2 ? QString::fromUtf8("ORYGINAŁ") : QString("KOPIA"))) << i;
    }
}

TEST_F(Copies, RegisterSendsAndSavesUnderTheDocumentsOwnName)
{
    QString proposed;
    answers.dialog = [&](QDialog& d) {
        proposed = static_cast<QFileDialog&>(d).selectedFiles().value(0).section('/', -1);
        return 0;
    };
    EXPECT_TRUE(KartotekaRepPrint(app, "zapisz", "KFR", korekta.Numer, "08.05.2024"));
    EXPECT_EQ(proposed, "KFR  2-05-2024.pdf");
}
