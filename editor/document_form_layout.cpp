// The document form's layout: drawn in twips for the classic 8-point dialog font, shown larger
// when the working font needs more room, and redone when the form changes size; the grids' row height
// and the correction grid's colour from the settings.
#include "core/app.h"
#include "editor/document_form.h"
#include "editor/position_grid.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextCursor>
#include <QTreeView>
#include <vector>

namespace {

// The room a control needs for its text at its own font, in pixels; 0 for a control whose size
// does not follow its text.
int neededWidth(QWidget* w)
{
    w->ensurePolished();
    if (auto* l = qobject_cast<QLabel*>(w)) {
        QString text = l->text();
        if (l->buddy()) text.remove(text.indexOf(QLatin1Char('&')), 1);  // the accelerator's mark is not shown
        return text.isEmpty() ? 0 : l->fontMetrics().horizontalAdvance(text) + 2;
    }
    // A list's longest item whole in the closed list, with the list's frame and button.
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->count() > 0 ? c->sizeHint().width() : 0;
    return 0;
}

}  // namespace

void DocumentForm::scaleToFont()
{
    // Every control was placed as drawn; its drawn rectangle is read back before anything grows.
    struct Drawn {
        QWidget* widget;
        QRect twips;
    };
    std::vector<Drawn> drawn;
    double factor = 1.0;
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect r(twips::leftOf(w), twips::topOf(w), twips::widthOf(w), twips::heightOf(w));
        drawn.push_back({w, r});
        if (r.width() > 0) factor = std::max(factor, neededWidth(w) * double(twips::kPerPixel) / r.width());
    }
    scale_ = twips::Scale(factor);
    for (const Drawn& d : drawn) scale_.place(d.widget, d.twips);
    // Room for the side list at its narrowest, and the compact layout's height.
    setMinimumSize(scale_.px(kSideListLeft + 500 + 180), scale_.px(kCompactHeight));
}

void DocumentForm::txtUwagi_Change()
{
    // The notes hold no more than their column: what was typed or pasted beyond it is dropped.
    const int excess = int(txtUwagi->toPlainText().size()) - kUwagiMax;
    if (excess <= 0) return;
    QTextCursor c = txtUwagi->textCursor();
    const int at = c.position();
    if (at >= excess) {
        c.setPosition(at - excess);
        c.setPosition(at, QTextCursor::KeepAnchor);
    } else {
        c.setPosition(kUwagiMax);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
}

void DocumentForm::resizeEvent(QResizeEvent*)
{
    picDokument_Resize();
}

void DocumentForm::picDokument_Resize()
{
    const twips::Scale& t = scale_;
    const int W = t.widthOf(this), H = t.heightOf(this);
    if (lstSlo) {
        t.setWidth(lstSlo, W - t.leftOf(lstSlo) - 220 <= 0 ? 500 : W - t.leftOf(lstSlo) - 180);
        // The caption reads whole, on as many lines as the list's width needs; the list begins
        // under its last line.
        labSlownik->setWordWrap(true);
        labSlownik->resize(lstSlo->width(), std::max(t.px(210), labSlownik->heightForWidth(lstSlo->width())));
        lstSlo->move(lstSlo->x(), std::max(t.px(210), labSlownik->y() + labSlownik->height()));
        t.setHeight(lstSlo, H - t.topOf(lstSlo) - 220 <= 0 ? 500 : H - t.topOf(lstSlo) - 160);
    }

    int totalsLabel, fundLabel;
    if (H > kCompactHeight) {
        t.setHeight(tabPoz, H - t.topOf(tabPoz) - 1350);
        totalsLabel = H - 1250;
        fundLabel = H - 690;
    } else {
        // The positions keep their fixed height; the totals and the deduction row under them
        // close up so that the amount to pay stays inside the form.
        t.setHeight(tabPoz, 2090);
        totalsLabel = 5400;
        fundLabel = 5940;
    }
    for (QWidget* w : {labRazNetto, labRazVAT, labRazBrutto, labWystawil}) t.setTop(w, totalsLabel);
    for (QWidget* w : std::initializer_list<QWidget*>{txtRazNetto, txtRazVAT, txtRazBrutto, txtWystawil})
        t.setTop(w, totalsLabel + 210);
    for (QWidget* w : {labDoZaplaty, labPotracenie, labKwotapot}) t.setTop(w, fundLabel);
    t.setTop(txtPotracenie, fundLabel + 210);
    t.setTop(txtDoZaplaty, fundLabel + 210);
    t.setTop(cmbFundusz, fundLabel + 225);
}

void DocumentForm::applyGridSettings()
{
    setRowLines(app_.gPrgPar.TabPozWiersz);
    if (app_.gPrgPar.TabKorKol > 0) {
        // The colour is stored as the old forms kept it: red in the lowest byte.
        const int c = app_.gPrgPar.TabKorKol;
        QPalette p = gridKor->palette();
        p.setColor(QPalette::Base, QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff));
        gridKor->setPalette(p);
    }
}

void DocumentForm::setRowLines(int lines)
{
    gridPoz->setRowLines(lines);
    gridKor->setRowLines(lines);
}
