// The document form's typed document as a whole: taken from the form, written whole into the
// buffer of a file that does not hold it, and checked before a save.
#include "core/error_report.h"
#include "editor/document_form.h"
#include "editor/position_model.h"

TypedDocument DocumentForm::typed() const
{
    TypedDocument doc{header(), dataPoz->rows(), dataKor->rows(), editState_};
    doc.edit.erasedRows = dataPoz->erasedNames();
    return doc;
}

bool DocumentForm::bufferShownRows()
{
    const TypedDocument doc = typed();
    try {
        if (bufferHoldsRows(app_, doc)) return true;
    } catch (...) {
        ErrorReport(app_, QStringLiteral("ZapiszDokument"));
        return false;
    }
    return restoreTyped(doc);
}

bool DocumentForm::restoreTyped(TypedDocument doc)
{
    try {
        showLoadedRows(bufferTypedDocument(app_, doc));
    } catch (...) {
        ErrorReport(app_, QStringLiteral("ZapiszDoBufora"));
        showRows(doc.dopoz, doc.dokor);
        return false;
    }
    setEditState(doc.edit);
    dataPoz->keepErasedNames(doc.edit.erasedRows);
    return true;
}
