#include "register/print_pipeline.h"
#include "core/frm_input.h"
#include "platform/qor_combo.h"
#include "platform/report_viewer.h"
#include "platform/shell.h"
#include "register/preview_panel.h"
#include "register/print_output.h"
#include "report_fixture.h"
#include "support/fake_tools.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <utime.h>

// The print request's actions: saving a PDF, sending, printing, the preview.

namespace {

struct Pipeline : ReportFixture {
    QString proposed;  // the file name the save dialog proposed
    QString folder;    // the folder it opened in
    QString chosen;    // what the user picks; empty cancels

    void SetUp() override
    {
        ReportFixture::SetUp();
        answers.dialog = [this](QDialog& d) {
            if (auto* f = qobject_cast<QFileDialog*>(&d)) {
                proposed = f->selectedFiles().value(0).section('/', -1);
                folder = f->directory().absolutePath();
                if (chosen.isEmpty()) return int(QDialog::Rejected);
                f->selectFile(chosen);
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        };
    }
    bool zapisz(const DocHeader& h)
    {
        select(h);
        return RepPrint(app, "zapisz", "FANET", "rapFANET1", h.Numer, 0, false, 0, 0);
    }
};

}  // namespace

TEST_F(Pipeline, SaveProposesTheDocumentsNameAsksBeforeReplacingAndRemembersTheFolder)
{
    chosen = t.dir.filePath("faktura.pdf");
    ASSERT_TRUE(zapisz(faktura));
    EXPECT_EQ(proposed, "FR  1-05-2024.pdf");
    EXPECT_TRUE(pdfText(chosen).contains("nr 1/05/2024") || pdfText(chosen).isEmpty());
    EXPECT_TRUE(QFile::exists(chosen));
    EXPECT_EQ(RegParRead(app, "ZapiszDo", ""), t.dir.path());
    EXPECT_TRUE(answers.seen.empty());

    // The next save opens in that folder; a file of the chosen name is replaced only on Yes.
    QFile::resize(chosen, 3);
    answers.yes = false;
    chosen = t.dir.filePath("faktura.pdf");
    EXPECT_TRUE(zapisz(korekta));
    EXPECT_EQ(folder, t.dir.path());
    EXPECT_EQ(proposed, "KFR  2-05-2024.pdf");
    EXPECT_EQ(answers.last(), "Plik " + chosen + QString::fromUtf8(" już istnieje. Czy chcesz go zastąpić?"));
    EXPECT_EQ(QFileInfo(chosen).size(), 3);
    answers.yes = true;
    EXPECT_TRUE(zapisz(korekta));
    EXPECT_GT(QFileInfo(chosen).size(), 1000);

    // Cancelled: nothing written, still a success.
    chosen.clear();
    EXPECT_TRUE(zapisz(faktura));
    EXPECT_EQ(QDir(t.dir.path()).entryList({"*.pdf"}).size(), 1);
}

TEST_F(Pipeline, AFileThatCannotBeWrittenIsReportedAndTheFolderNotRemembered)
{
    chosen = t.dir.filePath("brak/folderu/faktura.pdf");
    EXPECT_FALSE(zapisz(faktura));
    EXPECT_TRUE(answers.last().startsWith(QString::fromUtf8("Nie można zapisać pliku: ")))
        << answers.last().toStdString();
    EXPECT_EQ(RegParRead(app, "ZapiszDo", ""), "");
}

TEST_F(Pipeline, SendingAttachesThePdfFromTheUsersDataFolderAndReportsAFailedHandOff)
{
    QString choice;  // the key chosen in the sending box; empty cancels
    answers.dialog = [&](QDialog& d) {
        auto& box = dynamic_cast<frmInCmb&>(d);
        EXPECT_EQ(box.windowTitle(), QString::fromUtf8("Wysyłanie dokumentu: FR  1/05/2024"));
        if (choice.isEmpty()) return 0;
        box.cmbInput->setBoundValue(choice);
        box.cmdOk_Click();
        return 1;
    };
    auto wyslij = [&] {
        select(faktura);
        return RepPrint(app, "wyslij", "FANET", "rapFANET1", "FR  1/05/2024", 0, false, 0, 0);
    };
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // A sending of two days ago and one of an hour ago.
    QStringList earlier;
    for (int hours : {48, 1}) {
        const QString folder = data + QStringLiteral("/wysylka-%1h").arg(hours);
        ASSERT_TRUE(QDir().mkpath(folder));
        const auto when = QDateTime::currentDateTime().addSecs(-3600 * hours).toSecsSinceEpoch();
        const utimbuf times{when, when};
        ASSERT_EQ(utime(QFile::encodeName(folder).constData(), &times), 0);
        earlier << folder;
    }

    {
        FakeTools tools;
        tools.add("xdg-email", 0);
        tools.add("xdg-open", 0);
        EXPECT_TRUE(wyslij());  // cancelled
        EXPECT_TRUE(tools.calls("xdg-email").isEmpty());

        // Each sending attaches a "dokument.pdf" of its own in the user's data: one handed to
        // the mail program earlier is never written over.
        choice = "pdf";
        QStringList attached;
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(wyslij());
            ASSERT_EQ(tools.calls("xdg-email").size(), i + 1);
            const QStringList call = tools.calls("xdg-email")[i];
            EXPECT_EQ(
                call.mid(0, 4),
                QStringList({"--utf8", "--subject",
                             QString::fromUtf8("FR  1/05/2024 - Zakład Skupu Zbóż „Kłos” Sp. z o.o."), "--attach"}));
            attached << call.value(4);
            EXPECT_EQ(QFileInfo(attached[i]).fileName(), "dokument.pdf");
            EXPECT_TRUE(attached[i].startsWith(data + "/"));
            EXPECT_TRUE(QFile::exists(attached[i]));
            if (i == 0) QFile(attached[0]).resize(7);  // what the first sending handed over, marked
        }
        EXPECT_NE(attached[0], attached[1]);
        EXPECT_EQ(QFileInfo(attached[0]).size(), 7);
        EXPECT_FALSE(QFile::exists(t.dir.filePath("dokument.pdf")));
        // Sendings more than a day old are removed; recent ones stay.
        EXPECT_FALSE(QFileInfo::exists(earlier[0]));
        EXPECT_TRUE(QFileInfo::exists(earlier[1]));
    }
    {
        FakeTools failing;  // no mail program takes it, nor the written message
        failing.add("xdg-email", 3);
        failing.add("xdg-open", 3);
        answers.seen.clear();
        EXPECT_FALSE(wyslij());
        EXPECT_EQ(answers.seen.size(), 1u);
    }

    choice = "html";
    EXPECT_TRUE(wyslij());
}

TEST_F(Pipeline, PrintingHandsTheReportAndTheJobToThePrinter)
{
    std::vector<std::pair<QString, report::PrintJob>> jobs;
    printOutput(app).printRecorder = [&](const report::Report& r, const report::PrintJob& j) {
        jobs.emplace_back(r.text("tytDokument"), j);
    };
    select(faktura);
    EXPECT_TRUE(RepPrint(app, "drukuj", "FANET", "rapFANET1", "x", 3, true, 2, 4));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].first.trimmed(), "Faktura VAT RR");
    EXPECT_EQ(jobs[0].second.copies, 3);
    EXPECT_TRUE(jobs[0].second.collate);
    EXPECT_EQ(jobs[0].second.firstPage, 2);
    EXPECT_EQ(jobs[0].second.lastPage, 4);
}

TEST_F(Pipeline, PrintSessionPaintsCopiesAndRangesIntoOneFile)
{
    select(faktura);
    QString title;
    auto r = documentReport(app, "FANET", "rapFANET1", title);
    ASSERT_TRUE(r);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(t.dir.filePath("druk.pdf"));
    {
        report::PrintSession s(printer);
        ASSERT_TRUE(s.print(*r, {2, true, 0, 0}));
        ASSERT_TRUE(s.print(*r, {1, false, 2, 5}));  // a range past the last page prints nothing
        ASSERT_TRUE(s.print(*r, {3, false, 1, 1}));
        EXPECT_EQ(s.pagesPrinted(), 5);
    }
    const QString text = pdfText(t.dir.filePath("druk.pdf"));
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_EQ(text.count("nr 1/05/2024"), 5);
}

TEST_F(Pipeline, PreviewShowsTheReportAndClearsWhenTheDocumentHasNoData)
{
    PreviewPanel panel(app);
    panel.resize(900, 700);
    panel.show();
    ReportPrint(app, "podglad", "FANET", "rapFANET1", "FR  1/05/2024", {"FR  1/05/2024", "1/05/2024"});
    ASSERT_TRUE(panel.CRView->reportSource());
    EXPECT_EQ(panel.CRView->reportSource(), printOutput(app).gRaport.get());
    EXPECT_EQ(panel.CRView->pageCount(), 1);
    EXPECT_EQ(panel.CRView->preview()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    EXPECT_TRUE(answers.seen.empty());

    ReportPrint(app, "podglad", "FANET", "rapFANET1", "<Nowy dokument>", {"<Nowy dokument>", ""});
    EXPECT_FALSE(panel.CRView->reportSource());
    EXPECT_EQ(answers.last(), QString::fromUtf8("Brak danych  - nie można utworzyć raportu."));
    EXPECT_EQ(printState(app).gRepPar[0], "<Nowy dokument>");
}
