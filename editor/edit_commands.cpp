#include "editor/edit_commands.h"
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace {

// The text a field holds, whatever kind of field it is.
struct TextField {
    QLineEdit* line = nullptr;
    QPlainTextEdit* plain = nullptr;
    QTextEdit* rich = nullptr;

    explicit TextField(QWidget* w)
    {
        if (auto* c = qobject_cast<QComboBox*>(w))
            w = c->lineEdit();
        else if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
            w = s->findChild<QLineEdit*>();
        line = qobject_cast<QLineEdit*>(w);
        plain = qobject_cast<QPlainTextEdit*>(w);
        rich = qobject_cast<QTextEdit*>(w);
    }
    bool exists() const { return line || plain || rich; }
    bool readOnly() const
    {
        return line ? line->isReadOnly() : plain ? plain->isReadOnly() : !rich || rich->isReadOnly();
    }
    QString selection() const
    {
        if (line) return line->echoMode() == QLineEdit::Normal ? line->selectedText() : QString();
        return plain  ? plain->textCursor().selection().toPlainText()
               : rich ? rich->textCursor().selection().toPlainText()
                      : QString();
    }
    void replaceSelection(const QString& text)
    {
        if (readOnly()) return;
        if (line)
            line->insert(text);
        else if (plain)
            plain->insertPlainText(text);
        else if (rich)
            rich->insertPlainText(text);
    }
    bool hasSelection() const
    {
        return line    ? line->hasSelectedText()
               : plain ? plain->textCursor().hasSelection()
                       : rich && rich->textCursor().hasSelection();
    }
};

}  // namespace

void mnuEdycjaWytnij_Click(QWidget* focused)
{
    TextField f(focused);
    if (!f.exists() || !f.hasSelection()) return;
    QApplication::clipboard()->setText(f.selection());
    f.replaceSelection(QString());
}

void mnuEdycjaKopiuj_Click(QWidget* focused)
{
    TextField f(focused);
    if (!f.exists()) return;
    QApplication::clipboard()->setText(f.selection());
}

void mnuEdycjaWklej_Click(QWidget* focused)
{
    TextField f(focused);
    if (f.exists()) f.replaceSelection(QApplication::clipboard()->text());
}
