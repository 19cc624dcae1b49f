#pragma once
// The measurement table window: shows the run's measurement table, one row per measurement, and
// lets the operator correct cells in place, copy, cut, paste and clear them, and size the font.

#include "records/TableClipboard.h"

#include <QWidget>

class QLineEdit;
class QTableView;

namespace pxr3 {

class vse_mer : public QWidget {
    Q_OBJECT
public:
    explicit vse_mer(QWidget *parent = nullptr);
    QTableView *grid() const { return Grid1; }
    QLineEdit *dateEditor() const { return MaskEdBox1; }
    QLineEdit *textEditor() const { return Text1; }

    // The grid's selection as the current cell and the far cell.
    CellBlock selection() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyColumnWidths();
    void scrollToTopRow(int row);
    void makeCurrent(int row, int column);

    bool gridKey(QKeyEvent *key);
    bool editorKey(QLineEdit *editor, QKeyEvent *key);
    void fontSizeKey(const QKeyEvent *key);
    void startEdit();
    void hideEditors();
    void placeOverCell(QLineEdit *editor, int row, int column);

    QTableView *Grid1 = nullptr;
    QLineEdit *MaskEdBox1 = nullptr;
    QLineEdit *Text1 = nullptr;
    int editRow_ = 0; // the cell being edited
    int editColumn_ = 0;
};

} // namespace pxr3
