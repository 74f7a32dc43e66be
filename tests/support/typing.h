#pragma once
#include <QWidget>

class QAbstractItemView;

// Shows `w` as the active window with the keyboard focus, so that keys given to its window reach
// it. Returns false when it did not get the focus.
bool showFocused(QWidget& w);

// Types a text into a widget key by key, Polish letters included, as a person does.
void typeText(QWidget* w, const QString& text);
// Types into a grid cell as a person does: opens the cell's editor, types, presses Enter and lets
// the grid commit the cell (an empty text empties it). Returns false when the cell opened no editor.
bool typeIntoCell(QAbstractItemView* grid, int row, int col, const QString& text);
