#pragma once
#include <QWidget>

class QChartView;
class QComboBox;

// The chart page (picWykres): the year and chart kind choices and the monthly chart.
class ChartPage : public QWidget {
    Q_OBJECT
public:
    explicit ChartPage(QWidget* parent = nullptr);

    QComboBox* cmbWRok;
    QComboBox* cmbWRodzaj;
    QChartView* MSChart;

    void picWykres_Resize();

protected:
    void resizeEvent(QResizeEvent* e) override;
};
