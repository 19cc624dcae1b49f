#pragma once
// The measurement table window: shows the run's measurement table, one row per measurement.

#include <QWidget>

class QTableView;

namespace pxr3 {

class vse_mer : public QWidget {
    Q_OBJECT
public:
    explicit vse_mer(QWidget *parent = nullptr);
    QTableView *grid() const { return Grid1; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyColumnWidths();
    void scrollToTopRow(int row);

    QTableView *Grid1 = nullptr;
};

} // namespace pxr3
