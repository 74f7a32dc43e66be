#pragma once

class QWidget;

// The "Edycja" menu on the focused field of the main window. Each acts on the field's selection
// as plain text: cut puts it on the clipboard and removes it, copy replaces the clipboard with it
// (nothing selected leaves the clipboard empty), paste replaces it with the clipboard's text.
// A field that cannot be changed is only copied from; anything that holds no text is left alone.
void mnuEdycjaWytnij_Click(QWidget* focused);
void mnuEdycjaKopiuj_Click(QWidget* focused);
void mnuEdycjaWklej_Click(QWidget* focused);
