#pragma once
// A table on a report page: a heading row and rows of cells, each row as high as its
// longest text needs. The measures comparison and the comparison of variants print their
// tables through this.

#include <string>
#include <vector>

#include "report/page.h"

namespace brisolt::report {

struct TableColumn {
    std::string heading;
    double width = 10; // mm
    Align align = Align::Left;
    double hangingIndentMm = 0; // a cell's lines that continue one of its lines start here
};

struct TableCell {
    std::string text;
    bool bold = false;
    Fill fill = Fill::None;
    std::string level;      // a risk level label ("0" ... "3"): the screen colours the cell by it
    bool marked = false;    // the best of its row: bold on paper, marked on screen
    bool highlight = false; // its row differs between the columns
    double sortKey = 0;     // the cell's number for sorting; meaningful when `numeric`
    bool numeric = false;
};
using TableRow = std::vector<TableCell>;

// The same table for the screen and for paper.
struct Table {
    std::vector<TableColumn> columns;
    std::vector<TableRow> rows;
};

struct TableStyle {
    double x = 0; // sheet coordinates of the table's top left corner
    double y = 0;
    double points = 7; // font size of the cells
    double lineHeight = 3.4;
    double continuedLineHeight = 0; // each further line of a tall row; 0: lineHeight
    double maxRowHeight = 30;       // a row never grows beyond this; its texts shrink instead
};

// Adds the table; returns the sheet y below its last row.
double AddTable(Page& page, const TableStyle& style, const Table& table);

// The height a row of these texts needs in these columns (an estimate from the number of
// characters; the painter shrinks what does not fit).
double RowHeight(const TableStyle& style, const std::vector<TableColumn>& columns,
                 const TableRow& row);

} // namespace brisolt::report
