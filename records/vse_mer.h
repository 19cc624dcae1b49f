#pragma once
// The measurement table window: one row per measurement, kept for the whole run.

#include "core/SharedState.h"

#include <QWidget>

class QTableWidget;

namespace pxr3 {

class vse_mer : public QWidget {
    Q_OBJECT
public:
    explicit vse_mer(QWidget *parent = nullptr);
    QTableWidget *grid() const { return Grid1; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QTableWidget *Grid1 = nullptr;
};

} // namespace pxr3
