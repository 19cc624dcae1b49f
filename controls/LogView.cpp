#include "controls/LogView.h"

#include "controls/SteadyScrollBar.h"

#include <QAbstractTextDocumentLayout>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextLayout>

namespace pxr3 {

namespace {

// Lines that keep their shaped glyphs are drawn without shaping their text again each time
// the view repaints them.
void KeepShapedLines(QTextBlock block)
{
    for (; block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
}

} // namespace

LogView::LogView(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new SteadyScrollBar(Qt::Horizontal, this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Bars that are always shown need no new layout when their range changes: the area would
    // raise them and so repaint both at every line.
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()})
        disconnect(bar, SIGNAL(rangeChanged(int, int)), this, SLOT(_q_showOrHideScrollBars()));
}

void LogView::follow(const QString &text)
{
    if (text == shown_)
        return;
    following_ = true;
    if (!shown_.isEmpty() && text.startsWith(shown_)) {
        append(text.mid(shown_.size()));
    } else {
        setPlainText(text);
        KeepShapedLines(document()->firstBlock());
    }
    shown_ = text;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    following_ = false;
}

void LogView::append(const QString &tail)
{
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    const QTextBlock first = end.block();
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    {
        const QSignalBlocker quiet(layout); // its "repaint everything"
        end.insertText(tail);
    }
    KeepShapedLines(first);
    // What the blocked layout would have said: the bars follow the new size.
    emit layout->documentSizeChanged(layout->documentSize());
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    // Scrolling moved the lines already shown; from the first changed line down is new.
    const int top = int(blockBoundingGeometry(first).translated(contentOffset()).top());
    viewport()->update(0, top, viewport()->width(), viewport()->height() - top);
}

} // namespace pxr3
