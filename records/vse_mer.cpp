#include "records/vse_mer.h"

#include "core/DateTimeText.h"
#include "core/SharedState.h"
#include "core/Twips.h"
#include "records/MeasurementTable.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

namespace pxr3 {

namespace {

constexpr int kMinFontSize = 6;
constexpr int kMaxFontSize = 24;
constexpr int kFontSizeStep = 2;

// The classic 16-colour palette the table's text colours are given in.
QColor PaletteColour(int index)
{
    static const QRgb kPalette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                      0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    return index >= 0 && index < 16 ? QColor(kPalette[index]) : QColor(Qt::black);
}

// Paints each cell's text in the colour the table keeps for it.
class CellColourDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->palette.setColor(QPalette::Text, PaletteColour(index.data(MeasurementTable::TextColourRole).toInt()));
    }
};

Qt::KeyboardModifiers Modifiers(const QKeyEvent *key) { return key->modifiers() & ~Qt::KeypadModifier; }

// Ctrl+C, Ctrl+V and Ctrl+X belong to the grid while it has the focus, not to the menu.
bool IsClipboardKey(const QKeyEvent *key)
{
    return Modifiers(key) == Qt::ControlModifier &&
        (key->key() == Qt::Key_C || key->key() == Qt::Key_V || key->key() == Qt::Key_X);
}

} // namespace

vse_mer::vse_mer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("vse_mer"));
    setWindowTitle(tr("Data"));
    MeasurementTable &table = measurementTable();
    Grid1 = new QTableView(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setAccessibleName(tr("Tabulka měření"));
    Grid1->setModel(&table);
    Grid1->setItemDelegate(new CellColourDelegate(Grid1));
    Grid1->verticalHeader()->hide(); // column 0 carries the row numbers
    Grid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers); // cells are edited in the boxes below
    Grid1->installEventFilter(this);
    Grid1->viewport()->installEventFilter(this);
    connect(Grid1, &QAbstractItemView::doubleClicked, this, &vse_mer::startEdit);

    MaskEdBox1 = new QLineEdit(this);
    MaskEdBox1->setObjectName(QStringLiteral("MaskEdBox1"));
    MaskEdBox1->setAccessibleName(tr("Datum a čas měření"));
    MaskEdBox1->setInputMask(QStringLiteral("99.99.9999 99:99:99;_"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(tr("Obsah buňky"));
    for (QLineEdit *editor : {MaskEdBox1, Text1}) {
        editor->setFrame(false);
        editor->hide();
        editor->installEventFilter(this);
    }

    applyColumnWidths();
    connect(&table, &MeasurementTable::topRowChanged, this, &vse_mer::scrollToTopRow);
    connect(&table, &MeasurementTable::currentCellSet, this, &vse_mer::makeCurrent);
    resize(TwipsToPixels(this, 7000), TwipsToPixels(this, 6000));
}

// The grid's current cell is where the selection was started (the view's anchor), its far cell
// where it was drawn to (the view's current index); so a selection drawn up or left is reversed.
CellBlock vse_mer::selection() const
{
    const QModelIndex far = Grid1->currentIndex();
    if (!far.isValid())
        return {};
    CellBlock block{far.row() + 1, far.column(), far.row() + 1, far.column()};
    for (const QItemSelectionRange &range : Grid1->selectionModel()->selection())
        if (range.contains(far)) {
            block.row = (far.row() == range.top() ? range.bottom() : range.top()) + 1;
            block.column = far.column() == range.left() ? range.right() : range.left();
        }
    return block;
}

void vse_mer::closeEvent(QCloseEvent *event) { event->ignore(); } // kept open for the whole run

void vse_mer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int margin = TwipsToPixels(this, 100);
    Grid1->setGeometry(margin, margin, std::abs(width() - 2 * margin), std::abs(height() - 2 * margin));
    applyColumnWidths();
}

bool vse_mer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == Grid1->viewport())
            hideEditors(); // a click on the grid drops an edit in progress
        break;
    case QEvent::ShortcutOverride:
        if (watched == Grid1 && IsClipboardKey(static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        fontSizeKey(key); // the window's key, whichever of its widgets has the focus
        if (watched == Grid1)
            return gridKey(key);
        if (watched == MaskEdBox1 || watched == Text1)
            return editorKey(static_cast<QLineEdit *>(watched), key);
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

// Every key not handled here is the view's.
bool vse_mer::gridKey(QKeyEvent *key)
{
    MeasurementTable &table = measurementTable();
    const CellBlock block = selection();
    const bool ctrlAlone = Modifiers(key) == Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Space: QApplication::beep(); return true;
    case Qt::Key_Delete: ClearBlock(table, block); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!(Modifiers(key) & Qt::ControlModifier))
            startEdit();
        return true;
    case Qt::Key_C:
        if (!ctrlAlone)
            return false;
        QApplication::clipboard()->setText(BlockClipboardText(table, block));
        return true;
    case Qt::Key_V:
        if (!ctrlAlone)
            return false;
        PasteIntoCell(table, block.row, block.column, QApplication::clipboard()->text());
        return true;
    case Qt::Key_X:
        if (!ctrlAlone)
            return false;
        QApplication::clipboard()->setText(CutCell(table, block.row, block.column));
        return true;
    default: return false;
    }
}

bool vse_mer::editorKey(QLineEdit *editor, QKeyEvent *key)
{
    if (key->key() == Qt::Key_Escape) {
        // The cell keeps its text. Unsaved changes made before stay marked as such.
        hideEditors();
        Grid1->setFocus();
        return true;
    }
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    // A date only partly typed keeps its prompts, as the box shows it; one not typed at all is a blank.
    QString text = editor->displayText();
    if (editor == MaskEdBox1 && std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); }))
        text = QStringLiteral(" ");
    hideEditors();
    Grid1->setFocus();
    measurementTable().setText(editRow_, editColumn_, text);
    state().TableModified = kModifiedByEdit;
    return true;
}

void vse_mer::fontSizeKey(const QKeyEvent *key)
{
    const bool plus = key->key() == Qt::Key_Plus;
    if (!(key->modifiers() & Qt::KeypadModifier) || !(plus || key->key() == Qt::Key_Minus))
        return;
    QFont font = Grid1->font();
    int size = qRound(font.pointSizeF());
    if (key->modifiers() & Qt::ShiftModifier)
        size += plus ? kFontSizeStep : -kFontSizeStep;
    font.setPointSize(std::clamp(size, kMinFontSize, kMaxFontSize));
    Grid1->setFont(font);
    Grid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + TwipsToPixels(this, 60));
    Grid1->setColumnWidth(0, TwipsToPixels(this, MeasurementTable::columnWidthTwips(0)));
}

// Column 1 is edited in the date box, columns 2 to 5 in the text box; the row numbers not at all.
void vse_mer::startEdit()
{
    hideEditors();
    const CellBlock cell = selection();
    if (cell.column < 1)
        return;
    editRow_ = cell.row;
    editColumn_ = cell.column;
    QString text = measurementTable().text(cell.row, cell.column);
    QLineEdit *editor = Text1;
    if (cell.column == 1) {
        editor = MaskEdBox1;
        if (text.isEmpty() || text == QStringLiteral("?"))
            text = NowText();
    }
    editor->setFont(Grid1->font());
    editor->setText(text);
    placeOverCell(editor, cell.row, cell.column);
    editor->selectAll();
    editor->show();
    editor->raise();
    editor->setFocus();
}

void vse_mer::hideEditors()
{
    MaskEdBox1->hide();
    Text1->hide();
}

void vse_mer::placeOverCell(QLineEdit *editor, int row, int column)
{
    const QModelIndex index = Grid1->model()->index(row - 1, column);
    Grid1->scrollTo(index);
    const QRect cell = Grid1->visualRect(index);
    const int inset = TwipsToPixels(this, 20);
    editor->setGeometry(
        QRect(Grid1->viewport()->mapTo(this, cell.topLeft()), QSize(cell.width() - inset, cell.height() - inset)));
}

void vse_mer::applyColumnWidths()
{
    for (int column = 0; column < kTableColumns; ++column)
        Grid1->setColumnWidth(column, TwipsToPixels(this, MeasurementTable::columnWidthTwips(column)));
}

void vse_mer::scrollToTopRow(int row)
{
    Grid1->scrollTo(Grid1->model()->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

void vse_mer::makeCurrent(int row, int column)
{
    Grid1->selectionModel()->setCurrentIndex(Grid1->model()->index(row - 1, column),
                                             QItemSelectionModel::ClearAndSelect);
    // A date cell fits beside the row numbers at any real width; set current before the window
    // is laid out, it would scroll them away for a grid of no size, and they stay hidden.
    if (column <= 1)
        Grid1->horizontalScrollBar()->setValue(0);
}

} // namespace pxr3
