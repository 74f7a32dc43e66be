#include "platform/report_render.h"
#include "register/print_pipeline.h"
#include "report_fixture.h"
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>

// PDFs of the printed documents for a person to look at: set ROLKWIT_SHOTS to a folder.
TEST_F(ReportFixture, PdfsToLookAt)
{
    const QString dir = qEnvironmentVariable("ROLKWIT_SHOTS");
    if (dir.isEmpty()) GTEST_SKIP() << "ROLKWIT_SHOTS not set";
    QDir().mkpath(dir);
    auto write = [&](const DocHeader& h, const QString& name) {
        select(h);
        QString title = h.Numer;
        auto r = RaportDokumentu(app, "FANET", "rapFANET1", title);
        ASSERT_TRUE(r);
        ASSERT_TRUE(report::exportPdf(*r, dir + "/" + name));
    };
    write(faktura, "invoice.pdf");
    write(korekta, "correction.pdf");
    option("DrukOryginal", "1");
    option("DrukDuplikat", "1");
    option("DrukOswiadczenie", "1");
    QImage logo(300, 200, QImage::Format_RGB32);
    logo.fill(QColor(40, 110, 60));
    QPainter p(&logo);
    p.setPen(Qt::white);
    p.setFont(QFont("DejaVu Sans", 40, QFont::Bold));
    p.drawText(logo.rect(), Qt::AlignCenter, "KŁOS");
    p.end();
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    logo.save(&buf, "PNG");
    t.db().execute("INSERT INTO dbbin (Indpar, Wartosc) VALUES ('Logo', ?)", {png});
    write(faktura, "invoice_options.pdf");
    option("DrukOryginal", "0");
    option("DrukOryKop", "1");
    option("DrukWystaw", "1");
    option("DrukRoznice", "1");
    write(korekta, "correction_options.pdf");
    std::vector<TypedRow> rows;
    for (int i = 1; i <= 40; ++i)
        rows.push_back({QString::fromUtf8("Pozycja nr %1 – ziarno zbóż, partia z dostawy porannej ąćęłńóśźż").arg(i),
                        "1234,5", "kg", "1,2345", i % 3 ? "7" : "23"});
    DocHeader h = invoiceHeader("3/05/2024");
    write(storeDocument(app, h, rows), "invoice_40.pdf");
}
