#include "records/TableFile.h"

#include "core/SharedState.h"
#include "records/MeasurementTable.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace pxr3 {

namespace {

constexpr int kFileColumns = 5; // columns 1..5; the row numbers are not stored
constexpr qsizetype kMaxLineBytes = 64 * 1024;

// A cell's text as it can stand in its place on a line. A line end inside a cell would split the
// row and shift every later row of the file, a TAB before the last column would shift the row's
// cells: both become blanks. The last column keeps its TABs, loading gives them back.
QString FileCellText(QString text, int column)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (column < kFileColumns)
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

// Lines of a file ended by CR LF, LF or CR, read through a fixed buffer so that a file of any
// size costs no more memory than the lines asked for; a line longer than the bound is cut there
// and its rest skipped. The cut never splits a UTF-8 character: a broken one would make the
// whole file fail as UTF-8 and every row be read in the code page (in a file that is in the
// code page, at most three bytes more of the cut line go).
class BoundedLineReader {
public:
    explicit BoundedLineReader(QIODevice &device) : device_(device), buffer_(kMaxLineBytes, '\0') { }

    // False at the end of the file or on a read error (see failed()).
    bool next(QByteArray &line)
    {
        line.clear();
        bool any = false;
        bool cut = false;
        for (;;) {
            if (pos_ == end_ && !refill())
                return any;
            any = true;
            const char *start = buffer_.constData() + pos_;
            const qsizetype available = end_ - pos_;
            const char *stop = findLineEnd(start, available);
            const qsizetype length = stop ? stop - start : available;
            if (!cut) {
                const qsizetype room = kMaxLineBytes - line.size();
                line.append(start, std::min(length, room));
                cut = length > room;
                if (cut)
                    dropBrokenCharacterAtEnd(line);
            }
            pos_ += length;
            if (stop) {
                const bool cr = *stop == '\r';
                ++pos_;
                if (cr && (pos_ < end_ || refill()) && buffer_[pos_] == '\n')
                    ++pos_;
                return true;
            }
        }
    }

    bool failed() const { return failed_; }

private:
    // A UTF-8 lead byte among the last three whose sequence the cut left incomplete goes, with
    // what follows it.
    static void dropBrokenCharacterAtEnd(QByteArray &line)
    {
        for (qsizetype back = 1; back <= std::min<qsizetype>(3, line.size()); ++back) {
            const uchar c = uchar(line[line.size() - back]);
            if ((c & 0xC0) == 0x80)
                continue; // a continuation byte: its lead is further back
            const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (length > back)
                line.chop(back);
            return;
        }
    }

    static const char *findLineEnd(const char *data, qsizetype size)
    {
        const char *lf = static_cast<const char *>(std::memchr(data, '\n', size_t(size)));
        const char *cr = static_cast<const char *>(std::memchr(data, '\r', size_t(lf ? lf - data : size)));
        return cr ? cr : lf;
    }

    bool refill()
    {
        const qint64 got = device_.read(buffer_.data(), buffer_.size());
        if (got < 0)
            failed_ = true;
        pos_ = 0;
        end_ = got > 0 ? got : 0;
        return end_ > 0;
    }

    QIODevice &device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    qsizetype end_ = 0;
    bool failed_ = false;
};

// One line into row `row`: the text before each TAB fills the next cell, the fourth TAB hands all
// the rest to the last cell; where the TABs run out the remaining cells keep their texts and the
// text after the last TAB is dropped. A line without a TAB empties the row.
void ParseLine(MeasurementTable &table, int row, const QString &line)
{
    qsizetype start = 0;
    for (int column = 1; column < kFileColumns; ++column) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0) {
            if (column == 1)
                for (int c = 1; c <= kFileColumns; ++c)
                    table.setText(row, c, QString());
            return;
        }
        table.setText(row, column, line.mid(start, tab - start));
        start = tab + 1;
    }
    table.setText(row, kFileColumns, line.mid(start));
}

} // namespace

QByteArray TableFileBytes(const MeasurementTable &table)
{
    QString text;
    text.reserve(kTableRows * 64);
    for (int row = 1; row <= kTableRows; ++row) {
        for (int column = 1; column <= kFileColumns; ++column) {
            if (column > 1)
                text += QLatin1Char('\t');
            text += FileCellText(table.text(row, column), column);
        }
        text += QLatin1String("\r\n");
    }
    // In the code page only when the load reads the same text back: code-page bytes that happen
    // to be valid UTF-8 (a lone "MÍŠA") would be taken for UTF-8.
    QByteArray bytes;
    if (EncodeWindows1250(text, bytes).ok && DecodeTextFile(bytes) == text)
        return bytes;
    // Otherwise, and for a character the code page lacks (pasted from elsewhere), UTF-8 with a
    // byte-order mark, which the load honours: no result loses its file, the autosave above all.
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

FileResult SaveTableFile(const MeasurementTable &table, const QString &path)
{
    return WriteFileAtomically(path, TableFileBytes(table));
}

FileResult LoadTableFile(MeasurementTable &table, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, file.errorString()};
    // The lines are read before any cell changes, so a file failing half way leaves the table as
    // it was; they are decoded together so that the whole file is taken in one encoding.
    BoundedLineReader reader(file);
    QByteArray raw;
    QByteArray line;
    int lines = 0;
    while (lines < kTableRows && reader.next(line)) {
        if (lines > 0)
            raw += '\n';
        raw += line;
        ++lines;
    }
    if (reader.failed())
        return {false, file.errorString()};
    const QStringList texts = lines > 0 ? DecodeTextFile(raw).split(QLatin1Char('\n')) : QStringList();

    // Rows after the file's last line are emptied: the file holds nothing for them.
    for (int row = 1; row <= kTableRows; ++row)
        ParseLine(table, row, row <= texts.size() ? texts[row - 1] : QString());
    return {};
}

} // namespace pxr3
