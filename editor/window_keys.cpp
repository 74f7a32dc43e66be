#include "editor/window_keys.h"
#include "core/app.h"
#include "core/error_report.h"
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The modifiers that count: the keypad's Enter is Enter.
Qt::KeyboardModifiers modifiers(const QKeyEvent& e)
{
    return e.modifiers() & ~Qt::KeypadModifier;
}

// A notes field keeps Enter for a new line while it holds text, unless the caret stands at the
// end of a text that already ends with a line break.
bool keepsEnter(QWidget* w)
{
    QString text;
    int start = 0;
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        text = p->toPlainText();
        start = p->textCursor().selectionStart();
    } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
        text = t->toPlainText();
        start = t->textCursor().selectionStart();
    } else {
        return false;
    }
    return !text.isEmpty() && (start != text.size() || !text.endsWith(QLatin1Char('\n')));
}

// The grid of `w`: the grid itself, or the grid of a cell being edited.
QAbstractItemView* gridOf(QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (auto* grid = qobject_cast<QAbstractItemView*>(w)) return grid;
    return nullptr;
}

}  // namespace

WindowKeys::WindowKeys(App& app, QWidget* window, std::function<void()> zapisz, std::function<void()> nowy)
    : QObject(window), app_(app), window_(window), zapisz_(std::move(zapisz)), nowy_(std::move(nowy))
{
    qApp->installEventFilter(this);
}

bool WindowKeys::Form_KeyDown(const QKeyEvent& e)
{
    if (app_.gBazaPar.BazaOdczyt) return false;
    const Qt::KeyboardModifiers m = modifiers(e);
    if (isEnter(e.key()) && (m == Qt::ControlModifier || m == (Qt::ControlModifier | Qt::ShiftModifier))) {
        runCommand(app_, QStringLiteral("Form_KeyDown"), zapisz_);
        return true;
    }
    if (e.key() == Qt::Key_N && m == Qt::ControlModifier) {
        runCommand(app_, QStringLiteral("Form_KeyDown"), nowy_);
        return true;
    }
    return false;
}

bool WindowKeys::Form_KeyPress(const QKeyEvent& e)
{
    if (!app_.gPrgPar.EnterToTab || !isEnter(e.key())) return false;
    // Enter gives a character alone or with Shift only.
    if (modifiers(e) & ~Qt::ShiftModifier) return false;
    QWidget* focused = QApplication::focusWidget();
    if (focused && keepsEnter(focused)) return false;
    // In a grid the cell being typed is taken, and then Enter is the grid's own Tab: the next
    // cell becomes current, or a new row where the grid opens one on Tab.
    if (QAbstractItemView* grid = gridOf(focused)) {
        QWidget* editor = grid->indexWidget(grid->currentIndex());
        if (editor && (editor == focused || editor->isAncestorOf(focused))) {
            QAbstractItemDelegate* delegate = grid->itemDelegateForIndex(grid->currentIndex());
            emit delegate->commitData(editor);
            emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);  // no move of its own
        }
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(grid, &tab);
        return true;
    }
    // A field's own Enter (a filter applied on Enter) comes first, as it would on the key going
    // down; then the focus moves on and the Enter itself is dropped.
    auto* line = qobject_cast<QLineEdit*>(focused);
    if (line && !qobject_cast<QComboBox*>(line->parentWidget()) &&
        !qobject_cast<QAbstractSpinBox*>(line->parentWidget()) && line->hasAcceptableInput())
        emit line->returnPressed();
    moveAsTab();
    return true;
}

void WindowKeys::moveAsTab()
{
    // The window moves the focus along its tab order from the focused field, as Tab does.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(window_, &tab);
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    // Keys of this window only: its dialogs and popup menus are windows of their own.
    if (static_cast<QWidget*>(watched)->window() != window_) return false;
    const auto& e = *static_cast<QKeyEvent*>(event);
    return Form_KeyDown(e) || Form_KeyPress(e);
}
