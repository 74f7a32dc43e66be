#include "support/typing.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

bool typeIntoCell(QAbstractItemView* grid, int row, int col, const QString& text)
{
    QModelIndex i = grid->model()->index(row, col);
    grid->setCurrentIndex(i);
    grid->edit(i);
    QLineEdit* editor = nullptr;
    for (auto* e : grid->viewport()->findChildren<QLineEdit*>())
        if (!e->isHidden()) editor = e;
    if (!editor) return false;
    editor->selectAll();
    if (text.isEmpty()) QTest::keyClick(editor, Qt::Key_Delete);
    typeText(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the grid commits the cell from its event queue
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

bool showFocused(QWidget& w)
{
    w.setFocusPolicy(Qt::StrongFocus);
    w.resize(100, 100);
    w.show();
    QApplication::setActiveWindow(&w);
    w.setFocus();
    QApplication::processEvents();
    return QApplication::focusWidget() == &w;
}
