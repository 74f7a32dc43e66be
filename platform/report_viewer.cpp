#include "platform/report_viewer.h"
#include "platform/report_render.h"
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStackedLayout>

namespace report {

Viewer::Viewer(QWidget* parent) : QWidget(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // The preview never prints: its printer only gives the pages their size.
    printer_->setOutputFormat(QPrinter::PdfFormat);
    preview_ = new QPrintPreviewWidget(printer_.get(), this);
    preview_->setObjectName(QStringLiteral("podgladStron"));
    preview_->fitToWidth();
    empty_ = new QWidget(this);
    empty_->setBackgroundRole(QPalette::Mid);
    empty_->setAutoFillBackground(true);
    stack_ = new QStackedLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(empty_);
    stack_->addWidget(preview_);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &Viewer::paint);
}

Viewer::~Viewer() = default;

void Viewer::setReportSource(std::shared_ptr<const Report> report)
{
    report_ = std::move(report);
    if (!report_) stack_->setCurrentWidget(empty_);
}

void Viewer::viewReport()
{
    stack_->setCurrentWidget(report_ ? static_cast<QWidget*>(preview_) : empty_);
    if (!report_) return;
    preview_->updatePreview();
    preview_->setCurrentPage(1);
}

void Viewer::paint(QPrinter* printer)
{
    if (report_) paintAll(*report_, *printer);
}

void Viewer::setZoom(int level)
{
    if (level == 1) {
        preview_->fitToWidth();
    } else if (level == 2) {
        preview_->fitInView();
    } else {
        preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
        preview_->setZoomFactor(level / 100.0);
    }
}

void Viewer::showFirstPage()
{
    preview_->setCurrentPage(1);
}
void Viewer::showPreviousPage()
{
    preview_->setCurrentPage(std::max(1, preview_->currentPage() - 1));
}
void Viewer::showNextPage()
{
    preview_->setCurrentPage(std::min(pageCount(), preview_->currentPage() + 1));
}
void Viewer::showLastPage()
{
    preview_->setCurrentPage(pageCount());
}
int Viewer::pageCount() const
{
    return report_ ? preview_->pageCount() : 0;
}
int Viewer::currentPage() const
{
    return report_ ? preview_->currentPage() : 0;
}

}  // namespace report
