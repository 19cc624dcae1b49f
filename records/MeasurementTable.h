#pragma once
// The measurement table: the program's document, one row per measurement, kept for the whole
// run. Rows are numbered as the operator sees them: 0 is the header row, 1..1000 the data rows.
// Every cell holds a text and a text colour (an index of the classic 16-colour palette).

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace pxr3 {

constexpr int kTableColumns = 6;
constexpr int kBlackText = 0;
constexpr int kLightRedText = 12;

class MeasurementTable : public QAbstractTableModel {
    Q_OBJECT
public:
    // The cell's palette index, for the view to turn into a colour.
    static constexpr int TextColourRole = Qt::UserRole;

    explicit MeasurementTable(QObject *parent = nullptr);

    // Layout of columns 0..5.
    static QString header(int column);
    // The header in the user's language, for the window and the printout; files keep header().
    static QString shownHeader(int column);
    static int columnWidthTwips(int column);
    static Qt::Alignment columnAlignment(int column);

    // Data row r (1..1000) is model row r - 1; the header row lives in headerData.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Row 0 reads as the headers; a cell outside the table reads as empty and cannot be set.
    QString text(int row, int column) const;
    // True when the cell's text changed.
    bool setText(int row, int column, const QString &text);
    int textColour(int row, int column) const;
    void setTextColour(int row, int column, int colour);
    // A data row that holds a measurement or a note: a cell besides the row number is not blank.
    bool rowHasData(int row) const;

    // The first data row in view; the view scrolls when it changes.
    int topRow() const { return topRow_; }
    void setTopRow(int row);

    // Asks the view to make the cell its current cell.
    void setCurrentCell(int row, int column);

    // Row numbers in column 0, every other cell empty, all text black, row 1 on top.
    void reset();

    // Results written by a series since the table was last saved, loaded or emptied; the quit
    // dialog warns about them as about unsaved edits, and says which file still holds them.
    bool unsavedResults() const { return unsavedResults_; }
    QString autosavePath() const { return autosavePath_; }   // empty when no autosave succeeded
    QString autosaveError() const { return autosaveError_; } // why the last autosave failed
    // Results not saved by the operator: kept in the autosave file, or, with an error, not kept.
    void noteUnsavedResults(const QString &autosavePath, const QString &autosaveError = QString());
    void noteSaved();  // saved by the operator
    void noteLoaded(); // the rows are now the file's

    // Rows written while the simulated analyser stood in for the real one: the outputs say so,
    // so that simulated results never pass for measured ones. Cleared by reset() and a load.
    bool rowsFromSimulator() const { return rowsFromSimulator_; }
    void noteRowsFromSimulator() { rowsFromSimulator_ = true; }

signals:
    void topRowChanged(int row);
    void currentCellSet(int row, int column);

private:
    struct Cell {
        QString text;
        int colour = kBlackText;
    };
    static bool isDataCell(int row, int column);
    Cell &cell(int row, int column);
    const Cell &cell(int row, int column) const;
    void fillFresh();
    void cellChanged(int row, int column, int role);

    std::vector<Cell> cells_;
    int topRow_ = 1;
    bool unsavedResults_ = false;
    QString autosavePath_;
    QString autosaveError_;
    bool rowsFromSimulator_ = false;
};

// The one table for the whole run.
MeasurementTable &measurementTable();

} // namespace pxr3
