#pragma once
#include <QWidget>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;
class QStackedLayout;

namespace report {

class Report;

// Shows a report's pages on the screen as they will be printed. It is given a report as its
// source, draws it on request, pages through it and zooms.
class Viewer final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Viewer)
public:
    explicit Viewer(QWidget* parent = nullptr);
    ~Viewer() override;

    // The report to show; none shows an empty viewer.
    void setReportSource(std::shared_ptr<const Report> report);
    const Report* reportSource() const { return report_.get(); }
    // Draws the source's pages again and shows the first page.
    void viewReport();
    // 1 fits the page's width, 2 the whole page, any other level is a percentage.
    void setZoom(int level);
    void showFirstPage();
    void showPreviousPage();
    void showNextPage();
    void showLastPage();
    int pageCount() const;
    int currentPage() const;
    QPrintPreviewWidget* preview() const { return preview_; }

private:
    void paint(QPrinter* printer);

    std::shared_ptr<const Report> report_;
    std::unique_ptr<QPrinter> printer_;
    QPrintPreviewWidget* preview_;
    QWidget* empty_;
    QStackedLayout* stack_;
};

}  // namespace report
