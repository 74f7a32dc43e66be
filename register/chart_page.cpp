#include "register/chart_page.h"
#include "core/app.h"
#include "core/error_report.h"
#include "platform/qor_combo.h"
#include "platform/repaint.h"
#include "platform/twips.h"
#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QValueAxis>
#include <cmath>

using namespace twips;

namespace {

// The smallest of 1, 2, 2.5 and 5 times a power of ten that is at least `v` (> 0).
double niceStep(double v)
{
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * power >= v) return m * power;
    return 10 * power;
}

// A round value just beyond `v` (> 0): its leading digits raised to the next of a few round
// steps, so that 107 gives 120 and 5000 gives 6000.
double roundAbove(double v)
{
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {1.2, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0})
        if (m * power > v) return m * power;
    return 10 * power;
}

// The value scale of the bars: from 0, or from a round value just below the lowest bar, to a
// whole step above the highest, with a labelled line at 0 and every step from it.
struct ValueScale {
    double low = 0, high = 10, step = 2;
};

ValueScale valueScale(double lowest, double highest)
{
    ValueScale s;
    const double low = std::min(lowest, 0.0), high = std::max(highest, 0.0);
    if (high <= low) return s;  // nothing to show: a scale whose labels differ
    s.step = niceStep((high - low) / 6);
    s.high = std::ceil(high / s.step) * s.step;
    s.low = low < 0 ? -roundAbove(-low) : 0;
    return s;
}

void report(App& app, void (ChartPage::*step)(), ChartPage* page)
{
    try {
        (page->*step)();
    } catch (...) {
        ErrorReport(app, QStringLiteral("WykresOdswiez"));
    }
}

}  // namespace

ChartPage::ChartPage(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("picWykres");
    auto* labRok = new QLabel("Rok", this);
    labRok->setObjectName("labRok");
    place(labRok, 150, 120, 600, 225);
    cmbWRok = new QorCombo(this);
    cmbWRok->setObjectName("cmbWRok");
    place(cmbWRok, 150, 345, 1200, 315);
    auto* label8 = new QLabel("Rodzaj wykresu", this);
    label8->setObjectName("Label8");
    place(label8, 1500, 120, 2000, 225);
    cmbWRodzaj = new QorCombo(this);
    cmbWRodzaj->setObjectName("cmbWRodzaj");
    place(cmbWRodzaj, 1500, 345, 3000, 315);
    cmbWRodzaj->Refill(chartKinds());
    MSChart = new QChartView(this);
    MSChart->setObjectName("MSChart");
    MSChart->setRenderHint(QPainter::Antialiasing);
    MSChart->chart()->legend()->setAlignment(Qt::AlignBottom);
    MSChart->viewport()->installEventFilter(this);
    place(MSChart, 150, 885, 4995, 2235);
    draw();

    for (QorCombo* c : {cmbWRok, cmbWRodzaj})
        connect(c, &QorCombo::Change, this, [this] { report(app_, &ChartPage::WykresOdswiez, this); });
}

void ChartPage::setPopup(QMenu* menu, QAction* odswiez)
{
    popup_ = menu;
    connect(odswiez, &QAction::triggered, this, [this] { report(app_, &ChartPage::WykresOdswiez, this); });
}

void ChartPage::attach()
{
    refillLists();
    WykresOdswiez();
}

void ChartPage::refillLists()
{
    if (!app_.gBaseDb) return;
    ChangeGuard quiet{cmbWRok};
    cmbWRok->Refill(issueYears(*app_.gBaseDb));
}

void ChartPage::WykresOdswiez()
{
    ui::repaintNow();
    const QVariant year = cmbWRok->boundValue();
    if (year.isNull() || !app_.gBaseDb) {
        chartZero(grid_);
    } else {
        const QString kind = cmbWRodzaj->boundValue().toString();
        // Without a kind nothing changes; the months are read only for a kind that uses them.
        if (!kind.isEmpty()) chartFill(grid_, kind, monthSums(*app_.gBaseDb, year.toInt()));
    }
    draw();
}

void ChartPage::draw()
{
    QChart* chart = MSChart->chart();
    if (!series_) {
        series_ = new QBarSeries;
        chart->addSeries(series_);
        auto* months = new QBarCategoryAxis;
        for (int m = 1; m <= 12; ++m) months->append(QString::number(m));
        chart->addAxis(months, Qt::AlignBottom);
        series_->attachAxis(months);
        values_ = new QValueAxis;
        values_->setLabelFormat(QStringLiteral("%.0f"));
        values_->setTickType(QValueAxis::TicksDynamic);
        values_->setTickAnchor(0);
        chart->addAxis(values_, Qt::AlignLeft);
        series_->attachAxis(values_);
    }
    // The columns are made again only when their number or labels change; otherwise their
    // values are replaced in place.
    QStringList shown;
    for (QBarSet* set : series_->barSets()) shown << set->label();
    if (shown != grid_.labels) {
        series_->clear();
        for (const QString& label : grid_.labels) {
            auto* set = new QBarSet(label);
            for (int m = 0; m < 12; ++m) *set << 0.0;
            series_->append(set);
        }
    }
    double low = 0, high = 0;
    const QList<QBarSet*> sets = series_->barSets();
    for (int c = 0; c < sets.size(); ++c)
        for (int m = 0; m < 12; ++m) {
            const double v = grid_.values[size_t(m)][size_t(c)];
            if (sets[c]->at(m) != v) sets[c]->replace(m, v);
            low = std::min(low, v);
            high = std::max(high, v);
        }
    // The axis lays out a line for every step of its range at each change: a range that grew a
    // thousandfold over the old step would take minutes. A larger step goes first, a smaller one last.
    const ValueScale scale = valueScale(low, high);
    const bool stepGrows = scale.step >= values_->tickInterval();
    if (stepGrows) values_->setTickInterval(scale.step);
    values_->setRange(scale.low, scale.high);
    if (!stepGrows) values_->setTickInterval(scale.step);
}

bool ChartPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MSChart->viewport() && event->type() == QEvent::MouseButtonPress && popup_) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::RightButton) {
            popup_->popup(e->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ChartPage::resizeEvent(QResizeEvent*)
{
    picWykres_Resize();
}

void ChartPage::picWykres_Resize()
{
    setWidth(MSChart, widthOf(this) - 2 * leftOf(MSChart) - 120);
    setHeight(MSChart, heightOf(this) - topOf(MSChart) - 220);
}
