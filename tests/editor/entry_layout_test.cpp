#include "core/base_par.h"
#include "editor/side_list.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "support/entry_scenes.h"
#include "support/form_controls.h"
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

// What a clerk sees of the entry page at the smallest window and at a large one, with an invoice
// and with a correction: every control inside the form, none over another, no text cut. The
// screenshot tool (tools/screenshots) pictures the same scenes.

namespace {

QString shownText(const QLabel* l)
{
    QString t = l->text();
    if (l->buddy()) t.remove(t.indexOf('&'), 1);
    return t;
}

QString where(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
}

struct LayoutFixture : EditingFixture {
    void SetUp() override
    {
        EditingFixture::SetUp();
        ASSERT_TRUE(storeInvoiceToCorrect(*this));
        open();
    }

    void fillInvoice() { ASSERT_TRUE(openInvoiceWithLongTexts(*this)); }
    void correction() { correctStoredInvoice(*this); }
    void resize(const QSize& size)
    {
        window->resize(size);
        QApplication::processEvents();
    }

    // Every shown control of the form lies inside it and over no other.
    void expectInsideAndApart()
    {
        QList<QWidget*> shown;
        for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w->isVisible()) shown << w;
        ASSERT_GT(shown.size(), 30);
        for (int i = 0; i < shown.size(); ++i) {
            EXPECT_TRUE(form->rect().contains(shown[i]->geometry()))
                << where(shown[i]).toStdString() << " outside the form";
            for (int j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                    << where(shown[i]).toStdString() << " over " << where(shown[j]).toStdString();
        }
    }
    // The entry page keeps its list, toolbars and the form inside it.
    void expectPageWhole()
    {
        for (QWidget* w : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->isVisible()) {
                EXPECT_TRUE(page->rect().contains(w->geometry())) << where(w).toStdString() << " outside the page";
            }
        }
    }
    // No caption, list item, tab or header is cut at the working font.
    void expectNoTextCut()
    {
        for (QLabel* l : form->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!l->isVisible()) continue;
            if (l->wordWrap()) {
                // A caption on more lines: every line of it within the label.
                EXPECT_LE(l->heightForWidth(l->width()), l->height()) << where(l).toStdString();
                for (const QString& word : shownText(l).split(' '))
                    EXPECT_LE(l->fontMetrics().horizontalAdvance(word), l->width()) << where(l).toStdString();
            } else {
                EXPECT_LE(l->fontMetrics().horizontalAdvance(shownText(l)), l->width()) << where(l).toStdString();
            }
            EXPECT_LE(l->fontMetrics().height(), l->height()) << where(l).toStdString();
        }
        for (QComboBox* c : form->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!c->isVisible()) continue;
            QStyleOptionComboBox o;
            o.initFrom(c);
            o.editable = c->isEditable();
            const int room =
                c->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c).width();
            for (int i = 0; i < c->count(); ++i)
                EXPECT_LE(c->fontMetrics().horizontalAdvance(c->itemText(i)), room)
                    << where(c).toStdString() << ": " << c->itemText(i).toStdString();
        }
        QTabBar* tabs = controls(form).tabPoz->tabBar();
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->isTabVisible(i)) continue;
            EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i))) << tabs->tabText(i).toStdString();
            EXPECT_LT(tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)), tabs->tabRect(i).width());
        }
        for (QToolBar* bar : {page->toolEdycja(), page->toolZapisz()})
            for (QAction* a : bar->actions()) {
                QWidget* b = bar->widgetForAction(a);
                ASSERT_TRUE(b && b->isVisible()) << a->objectName().toStdString() << " pushed off its toolbar";
                // The captions keep their designed trailing blanks, which take no room on a button.
                QString shown = a->text();
                while (shown.endsWith(QLatin1Char(' '))) shown.chop(1);
                EXPECT_LE(b->fontMetrics().horizontalAdvance(shown), b->width()) << a->objectName().toStdString();
            }
        expectHeadersWhole(lst->horizontalHeader(), "list");
        expectHeadersWhole(controls(form).lstSlo->header(), "side list");
    }
    // Every column caption of a list whole in its column, and so much of it as the list shows
    // before it is scrolled: a column the list's edge cuts still shows its caption whole.
    void expectHeadersWhole(QHeaderView* h, const char* list)
    {
        const int room = h->viewport()->width();
        for (int c = 0; c < h->count(); ++c) {
            if (h->isSectionHidden(c)) continue;
            const int caption =
                h->fontMetrics().horizontalAdvance(h->model()->headerData(c, Qt::Horizontal).toString());
            EXPECT_LT(caption, h->sectionSize(c)) << list << " column " << c;
            const int from = h->sectionViewportPosition(c);
            const int shown = std::min(from + h->sectionSize(c), room) - std::max(from, 0);
            if (shown > 0) {
                EXPECT_LT(caption, shown) << list << " column " << c << " at the edge";
            }
        }
    }
    // The whole row of the positions in view, every caption whole over its column.
    void expectWholeGridRow(PositionGrid* grid)
    {
        QHeaderView* h = grid->horizontalHeader();
        EXPECT_LE(h->length(), grid->viewport()->width()) << "the row is wider than the grid";
        const QFontMetrics fm(h->font());
        for (int c = 0; c < PositionModel::Stanowisko; ++c) {
            const QString caption = grid->model()->headerData(c, Qt::Horizontal).toString();
            for (const QString& word : caption.split(' '))
                EXPECT_LT(fm.horizontalAdvance(word), h->sectionSize(c)) << caption.toStdString();
            const QRect wrapped = fm.boundingRect(QRect(0, 0, h->sectionSize(c) - 6, 1000), Qt::TextWordWrap, caption);
            EXPECT_LE(wrapped.height(), h->height())
                << caption.toStdString() << " in " << grid->objectName().toStdString() << " width " << h->sectionSize(c)
                << " visible " << grid->isVisible();
        }
    }
};

}  // namespace

TEST_F(LayoutFixture, BothLayoutsKeepEveryControlWholeInsideTheForm)
{
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize());
    struct Size {
        const char* name;
        QSize size;
        bool compact;
    } sizes[] = {{"compact", smallest, true}, {"large", QSize(1600, 1000), false}};
    for (bool korekta : {false, true}) {
        if (korekta)
            correction();
        else
            fillInvoice();
        for (const Size& s : sizes) {
            SCOPED_TRACE(std::string(s.name) + (korekta ? " correction" : " invoice"));
            resize(s.size);
            EXPECT_EQ(window->size(), s.size.expandedTo(window->minimumSize()));
            const twips::Scale& scale = form->scale();
            EXPECT_EQ(scale.heightOf(form) <= DocumentForm::kCompactHeight, s.compact)
                << "form height " << form->height();
            EXPECT_EQ(controls(form).labKornum->isVisible(), korekta);
            EXPECT_EQ(controls(form).labPoprawa->isVisible(), !korekta);
            expectPageWhole();
            expectInsideAndApart();
            expectNoTextCut();
            // The side list's title whole, or shortened with the whole of it as its tooltip.
            const QString title = controls(form).lstSlo->Caption();
            EXPECT_FALSE(title.isEmpty());
            EXPECT_TRUE(controls(form).labSlownik->text() == title || controls(form).labSlownik->toolTip() == title);
            expectWholeGridRow(controls(form).gridPoz);
            if (korekta) {
                controls(form).tabPoz->setCurrentIndex(1);
                QApplication::processEvents();
                expectWholeGridRow(controls(form).gridKor);
                controls(form).tabPoz->setCurrentIndex(0);
            }
            // The help button at the window's right edge.
            QWidget* help = window->toolPomoc->widgetForAction(window->btnPomoc);
            EXPECT_GT(help->mapTo(window.get(), QPoint(help->width(), 0)).x(), window->width() - 30);
        }
    }
}

TEST_F(LayoutFixture, EnterAfterAValueMovesOneColumnRight)
{
    PositionGrid* grid = controls(form).gridPoz;
    struct Case {
        const char* what;
        int column;
        const char* text;
        int after;  // the current column afterwards, the grid's own rule
        int asTab;  // and with Enter taken as Tab: always the next cell, once
    } cases[] = {
        {"a quantity", PositionModel::Ilosc, "2,5", PositionModel::Indjed, PositionModel::Indjed},
        {"a price", PositionModel::Cenanet, "10", PositionModel::Indvat, PositionModel::Indvat},
        {"a VAT code", PositionModel::Indvat, "23", PositionModel::WartNetto, PositionModel::WartNetto},
        {"a name", PositionModel::Nazwa, "Owies", PositionModel::Nazwa, PositionModel::Ilosc},
        {"a unit", PositionModel::Indjed, "kg", PositionModel::Indjed, PositionModel::Cenanet},
        {"a refused quantity", PositionModel::Ilosc, "dwa", PositionModel::Ilosc, PositionModel::Indjed},
    };
    for (bool enterToTab : {false, true}) {
        t.app.gPrgPar.EnterToTab = enterToTab;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (enterToTab ? ", Enter as Tab" : ""));
            typeCell(grid, 0, c.column, QString::fromUtf8(c.text));
            EXPECT_EQ(grid->currentIndex().column(), enterToTab ? c.asTab : c.after);
            EXPECT_EQ(grid->currentIndex().row(), 0);
        }
    }
    EXPECT_EQ(t.db().scalar("SELECT WartBrutto FROM dopoz WHERE Pozycja = 1").toDecimal(), Decimal::parse("30,75"));
}

TEST_F(LayoutFixture, AcceleratorsReachTheirFieldsAndTheNotesHoldTheirColumn)
{
    controls(form).txtNazkon->setFocus();
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(controls(form).cmbPlatFor->hasFocus()) << "Alt+F: Forma płatności";
    QTest::keyClick(window.get(), Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(controls(form).txtWystawil->hasFocus()) << "Alt+W: Wystawił";

    controls(form).tabPoz->setCurrentIndex(2);
    controls(form).txtUwagi->setFocus();
    typeText(controls(form).txtUwagi, QString(250, 'a') + "bcdefghij");
    EXPECT_EQ(controls(form).txtUwagi->toPlainText(), QString(250, 'a') + "bcdef");
    // Typing inside full notes changes nothing; a paste keeps what fits of it.
    QTextCursor at = controls(form).txtUwagi->textCursor();
    at.setPosition(3);
    controls(form).txtUwagi->setTextCursor(at);
    typeText(controls(form).txtUwagi, "XYZ");
    EXPECT_EQ(controls(form).txtUwagi->toPlainText(), QString(250, 'a') + "bcdef");
    controls(form).txtUwagi->clear();
    controls(form).txtUwagi->insertPlainText("koniec");
    controls(form).txtUwagi->moveCursor(QTextCursor::Start);
    controls(form).txtUwagi->insertPlainText(QString(300, 'u'));
    EXPECT_EQ(controls(form).txtUwagi->toPlainText(), QString(249, 'u') + "koniec");
    form->ZapiszDoBufora(false);
    EXPECT_EQ(t.db().scalar("SELECT length(Uwagi) FROM dodok").toInt(), 255);
}
