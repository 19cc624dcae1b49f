#pragma once
// The measurement table as a printed listing: where every text goes, in millimetres from the
// top-left corner of the printable area, page by page. Measuring text is left to the caller
// (the printer's fonts), so the layout is computed and tested without a printer.

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace pxr3 {

class MeasurementTable;

// Widths in millimetres of the seven print columns; a ">" prefix right-aligns a column,
// "^" centres it. The first, the row numbers, widens when the widest number printed needs more.
inline constexpr char kPrintLayout[] = "7|40|25|25|25|30|20";

// Title "Arial" 12 pt bold, the measuring conditions under it 10 pt, header line 10 pt bold,
// rows 10 pt.
enum class PrintFont { Title, Conditions, Header, Row };

struct PrintMetrics {
    std::function<double(PrintFont, const QString &)> textWidth; // mm
    std::function<double(PrintFont)> lineHeight;                 // mm
    double pageHeight = 0;                                       // mm of the printable area
};

struct PrintedText {
    double x = 0; // left edge, mm
    double y = 0; // top of the line, mm
    PrintFont font = PrintFont::Row;
    QString text;
};
using PrintedPage = QVector<PrintedText>;

// The text cut from the right until it fits the entry's width, then padded with blanks by
// the entry's prefix ("^" on both ends, ">" in front); trailing blanks are dropped.
QString FitText(const QString &text, const QString &entry, const std::function<double(const QString &)> &width);

// One line: the texts in the columns of layout, starting at left mm; missing texts count as
// empty. The texts stay apart as cells, so a note holding "|" is not split into columns.
QVector<PrintedText> PrintRow(int left, double y, const QString &layout, const QStringList &line, PrintFont font,
                              const PrintMetrics &metrics);

// The title, the measuring conditions line, an empty line, the header line and every row that
// holds data. A row that does not fit above the bottom margin starts a new page, which repeats
// the header line.
QVector<PrintedPage> TablePrintout(const MeasurementTable &table, const PrintMetrics &metrics);

} // namespace pxr3
