#pragma once
// A table of the reports (report::Table) shown in a view: the measures window and the
// comparison of variants show exactly the cells they print. Cells with a risk level take the
// colour of that level in the step 7 legend; numbers sort as numbers.

#include <QAbstractTableModel>

#include "report/table_page.h"

namespace brisolt::gui {

class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The number of a cell, for sorting (numbers before texts).
    static constexpr int kSortRole = Qt::UserRole + 1;

    explicit ReportTableModel(QObject* parent = nullptr);

    void SetTable(report::Table table);
    const report::Table& Table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    report::Table table_;
};

} // namespace brisolt::gui
