#pragma once
#include "core/base_par.h"
#include "core/registry.h"
#include "documents/doc_header.h"
#include "register/print_state.h"
#include "support/stored_document.h"
#include "support/temp_database.h"
#include "support/test_settings.h"

// The documents that the report tests print and the screenshot tool renders: a database with the buyer's header lines,
// an invoice of three positions at three rates with a fund deduction, and its correction.
struct ReportDocuments {
    TempDatabase t;
    App& app = t.app;
    DocHeader faktura, korekta;

    ReportDocuments()
    {
        useTestSettings(app, t.dir.path());
        BaseParSave(app, t.db(), "DokNaglowek1", QString::fromUtf8("Zakład Skupu Zbóż „Kłos” Sp. z o.o."));
        BaseParSave(app, t.db(), "DokNaglowek2", QString::fromUtf8("ul. Żwirki i Wigury 12, 32-650 Kęty"));
        BaseParSave(app, t.db(), "DokNaglowek3", "NIP 549-123-45-67");
        BaseParSave(
            app, t.db(), "DokStopka",
            QString::fromUtf8("Dziękujemy za współpracę. Bank Spółdzielczy w Kętach 12 3456 0000 0000 1234 5678 9012"));
        DocHeader h = invoiceHeader("1/05/2024");
        h.Nazkon = QString::fromUtf8("Józef Żółkiewski");
        h.Adrkon = QString::fromUtf8("Łęki 15, 32-651 Łęki");
        h.Nipkon = "84010112345";
        h.Nazdok = QString::fromUtf8("Dowód osobisty");
        h.Numdok = "ABC 123456";
        h.Datadok = QDate(2019, 3, 4);
        h.Wyddok = QString::fromUtf8("Wójt Gminy Kęty");
        h.PlatTer = "20.05.2024";
        h.PlatRach = "12 1020 3040 5060 7080 9000 1111";
        h.Uwagi = QString::fromUtf8("Towar przyjęty na magazyn nr 2.");
        h.Fundusz = QString::fromUtf8("Fundusz Promocji Ziarna Zbóż i Przetworów Zbożowych");
        faktura = storeDocument(app, h,
                                {{QString::fromUtf8("Pszenica konsumpcyjna kl. I"), "12345,67", "kg", "2,50", "7"},
                                 {QString::fromUtf8("Żyto paszowe"), "800", "kg", "0,95", "8"},
                                 {"Rzepak", "1,005", "t", "1", "zw"}});
        DocHeader k = h;
        k.Inddok = "KFR";
        k.Numer = "2/05/2024";
        k.Datawyst = QDate(2024, 5, 8);
        k.KorInddok = "FR";
        k.KorNumer = "1/05/2024";
        k.KorDatawyst = QDate(2024, 5, 6);
        korekta = storeDocument(app, k,
                                {{QString::fromUtf8("Pszenica konsumpcyjna kl. I"), "12000", "kg", "2,50", "7"},
                                 {QString::fromUtf8("Żyto paszowe"), "800", "kg", "0,95", "8"},
                                 {"Rzepak", "1,005", "t", "1,20", "zw"}},
                                {{QString::fromUtf8("Pszenica konsumpcyjna kl. I"), "12345,67", "kg", "2,50", "7"},
                                 {QString::fromUtf8("Żyto paszowe"), "800", "kg", "0,95", "8"},
                                 {"Rzepak", "1,005", "t", "1", "zw"}});
    }

    void option(const char* name, const char* value)
    {
        RegSave(app.gRegProgramKey, name, value);
        RegParSave(app, name, value);
    }
    // The print values of a document as the document list gives them.
    void select(const DocHeader& h) { printState(app).gRepPar = {h.Inddok + "  " + h.Numer, h.Numer}; }
};
