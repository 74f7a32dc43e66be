#pragma once
#include "support/answers.h"
#include "support/report_documents.h"
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

// The report documents for a test, with its message boxes answered.
struct ReportFixture : ::testing::Test, ReportDocuments {
    Answers answers;
};

// The text of a PDF file as pdftotext reads it (layout kept); empty when the tool is missing.
inline QString pdfText(const QString& path)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) return QString();
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
