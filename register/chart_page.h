#pragma once
#include "register/chart_data.h"
#include <QWidget>

class App;
class QAction;
class QBarSeries;
class QValueAxis;
class QChartView;
class QMenu;
class QorCombo;

// The chart page (picWykres): the purchases of a chosen year month by month, in the chosen kind
// of chart, with a popup menu that refreshes it.
class ChartPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartPage)
public:
    explicit ChartPage(App& app, QWidget* parent = nullptr);
    App& app() const { return app_; }

    QorCombo* cmbWRok;
    QorCombo* cmbWRodzaj;
    QChartView* MSChart;

    // The chart's popup menu (mnuWykres) and its item "Odśwież", which the main window owns.
    void setPopup(QMenu* menu, QAction* odswiez);

    // Attaching a database: the year list reads it and the chart is drawn. Throws AppError.
    void attach();
    // Reads the year list again (after a save), keeping the chosen year while it is there.
    // Throws AppError.
    void refillLists();
    // Recomputes the months of the chosen year in the chosen kind and draws them; with no year
    // chosen every month shows 0 and nothing is read. Throws AppError.
    void WykresOdswiez();

    // What the chart shows.
    const ChartGrid& grid() const { return grid_; }

    void picWykres_Resize();

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void draw();

    App& app_;
    ChartGrid grid_;
    QMenu* popup_ = nullptr;
    QBarSeries* series_ = nullptr;
    QValueAxis* values_ = nullptr;
};
