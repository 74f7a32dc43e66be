// Drops on the document form: side list entries on the header fields, stored documents on the
// kind combo. The position grid takes its own drops (position_grid.cpp).
#include "editor/dictionaries.h"
#include "editor/document_form.h"
#include "editor/drags.h"
#include "editor/position_grid.h"
#include "platform/qor_combo.h"
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// Routes the entry page's drags over the form's targets to the form's handlers, before the
// fields' own dropping of text sees them.
class FormDrops : public QObject {
public:
    FormDrops(DocumentForm* form, QObject* kind) : QObject(form), form_(form), kind_(kind) {}

    void watch(QWidget* target)
    {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        if (t != QEvent::DragEnter && t != QEvent::DragMove && t != QEvent::Drop) return false;
        // Text dragged from elsewhere is the fields' own business.
        const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
        if (!isSideListDrag(data) && !draggedDocument(data)) return false;
        const bool over = t != QEvent::Drop;
        if (watched == kind_) {
            if (over)
                form_->cmbDokument_DragOver(static_cast<QDragMoveEvent*>(event));
            else
                form_->cmbDokument_DragDrop(static_cast<QDropEvent*>(event));
        } else if (over) {
            form_->naglowek_DragOver(static_cast<QWidget*>(watched), static_cast<QDragMoveEvent*>(event));
        } else {
            form_->naglowek_DragDrop(static_cast<QDropEvent*>(event));
        }
        return true;
    }

private:
    DocumentForm* form_;
    QObject* kind_;  // the document kind's combo takes stored documents
};

}  // namespace

void DocumentForm::setupDrops()
{
    auto* drops = new FormDrops(this, cmbDokument);
    for (QWidget* w : std::initializer_list<QWidget*>{txtDatawyst, txtDatasprz, txtNazkon, txtAdrkon, txtNipkon,
                                                      txtUwagi->viewport(), txtWystawil, cmbDokument})
        drops->watch(w);
    for (QComboBox* c : {cmbPlatFor, cmbPlatdni, cmbPlatTer}) {
        drops->watch(c);
        drops->watch(c->lineEdit());
    }
}

QStringList DocumentForm::kindsOf(const QObject* target) const
{
    using namespace slownik;
    auto is = [this, target](QWidget* w) {
        auto* combo = qobject_cast<QComboBox*>(w);
        return target == w || (combo && target == combo->lineEdit()) ||
               (w == txtUwagi && target == txtUwagi->viewport());
    };
    if (is(txtDatawyst)) return {Datawyst};
    if (is(txtDatasprz)) return {Datasprz};
    if (is(txtNazkon) || is(txtAdrkon) || is(txtNipkon)) return {Kontrahenci};
    if (is(cmbPlatFor)) return {FormyPlatnosci};
    // The payment days take the days counted in the dates list as well.
    if (is(cmbPlatdni)) return {Odroczenia, Dni};
    if (is(cmbPlatTer)) return {Terminy};
    if (is(txtUwagi)) return {Uwagi};
    if (is(txtWystawil)) return {Wystawiajacy};
    return {};
}

bool DocumentForm::isInvoice() const
{
    return cmbDokument->boundValue().toString() == QLatin1String("FR");
}

void DocumentForm::naglowek_DragOver(QWidget* field, QDragMoveEvent* e)
{
    if (!isSideListDrag(e->mimeData())) {
        e->ignore();
        return;
    }
    // An entry of another kind still goes where its kind sends it, under the refusing pointer.
    e->setDropAction(sideListEntries_.kind && kindsOf(field).contains(sideListEntries_.kind()) ? Qt::CopyAction
                                                                                               : Qt::LinkAction);
    e->accept();
}

void DocumentForm::naglowek_DragDrop(QDropEvent* e)
{
    if (!isSideListDrag(e->mimeData())) {
        e->ignore();
        return;
    }
    e->accept();
    if (sideListEntries_.apply) sideListEntries_.apply();
}

void DocumentForm::cmbDokument_DragOver(QDragMoveEvent* e)
{
    const auto numer = draggedDocument(e->mimeData());
    if (numer && !numer->isEmpty() && isInvoice()) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void DocumentForm::cmbDokument_DragDrop(QDropEvent* e)
{
    const auto numer = draggedDocument(e->mimeData());
    if (!numer || numer->isEmpty() || !isInvoice()) {
        e->ignore();
        return;
    }
    e->accept();
    emit documentDropped(*numer);
}
