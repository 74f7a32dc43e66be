#pragma once
#include <QStringList>
#include <vector>

class QTableView;
class QTableWidget;
class QWidget;

// A one-row totals grid kept under a data grid: each sums column stands under the data column of
// the same number, the sums grid's row header under the data grid's record selectors; the two
// scroll sideways together, and while the sums row is shown the sideways scroll bar is the sums
// grid's. The box holds the sums grid, a line across its top and a scroll bar at its right edge
// that stands beside the data grid's own vertical one.

// Connects the two grids once: sideways scrolling in step and column widths following.
void GridSumLink(QTableView* grid, QWidget* box, QTableWidget* sumGrid);
// Shows the sums row laid out under the grid (`left`: the sums grid's left edge in the box, in
// twips), or hides it and gives the data grid its own scroll bars back.
void GridSumActivate(bool active, QTableView* grid, QWidget* box, QTableWidget* sumGrid, int left);
// Copies data column `colIndex`'s width (0 for a hidden column) to the sums column under it.
void GridSumResize(int colIndex, QTableView* grid, QWidget* box, QTableWidget* sumGrid);
// Makes the box tall enough for the sums grid's own scroll bar when the columns do not fit its
// width; otherwise low, with both grids scrolled fully left.
void GridSumHight(QTableView* grid, QWidget* box, QTableWidget* sumGrid);
// Writes one text per data column into the sums row, amounts (`right`) aligned to the right as
// in the data grid. A data column too narrow for its sum is widened, so that every sum reads whole.
void GridSumExecute(const QStringList& texts, const std::vector<bool>& right, QTableView* grid, QTableWidget* sumGrid);
// Lays the box's parts out after its size changed.
void pboxSuma_Resize(QWidget* box, QTableWidget* sumGrid, QWidget* scroll, QWidget* line);
