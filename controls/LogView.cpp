#include "controls/LogView.h"

#include "controls/SteadyScrollBar.h"

#include <QAbstractTextDocumentLayout>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace pxr3 {

namespace {

// A control character (but tab and line feed) is shown as "\x" and its two hex digits, and so is
// a backslash that a literal "x" follows: every "\xHH" on screen then stands for one character.
bool Escaped(const QString &text, qsizetype i)
{
    const char16_t c = text.at(i).unicode();
    if (c == u'\\')
        return i + 1 < text.size() && text.at(i + 1) == QLatin1Char('x');
    return (c < 0x20 && c != u'\t' && c != u'\n') || c == 0x7F;
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'0' && u <= u'9' ? u - u'0' : u >= u'a' && u <= u'f' ? u - u'a' + 10 : -1;
}

// Lines that keep their shaped glyphs are drawn without shaping their text again each time
// the view repaints them.
void KeepShapedLines(QTextBlock block)
{
    for (; block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
}

// `text` as the view shows it; text without anything to escape (the usual line) is returned as is.
QString Visible(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && !Escaped(text, i))
        ++i;
    if (i == text.size())
        return text;
    QString visible = text.first(i);
    visible.reserve(text.size() + 16);
    for (; i < text.size(); ++i) {
        if (Escaped(text, i))
            visible += QStringLiteral("\\x%1").arg(text.at(i).unicode(), 2, 16, QLatin1Char('0'));
        else
            visible += text.at(i);
    }
    return visible;
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

void LogView::takeEdits()
{
    const QString edited = toPlainText();
    shown_.clear();
    shown_.reserve(edited.size());
    for (qsizetype i = 0; i < edited.size(); ++i) {
        const int high =
            i + 3 < edited.size() && edited.at(i) == QLatin1Char('\\') && edited.at(i + 1) == QLatin1Char('x')
            ? HexDigit(edited.at(i + 2))
            : -1;
        const int low = high < 0 ? -1 : HexDigit(edited.at(i + 3));
        if (low < 0) {
            shown_ += edited.at(i);
        } else {
            shown_ += QChar(char16_t(high * 16 + low));
            i += 3;
        }
    }
}

void LogView::follow(const QString &text)
{
    if (text == shown_)
        return;
    following_ = true;
    // A backslash shown last is escaped only when an "x" follows: then the whole text is set anew.
    const bool backslashGetsEscaped =
        shown_.endsWith(QLatin1Char('\\')) && text.size() > shown_.size() && text.at(shown_.size()) == QLatin1Char('x');
    if (!shown_.isEmpty() && text.startsWith(shown_) && !backslashGetsEscaped) {
        append(Visible(text.mid(shown_.size())));
    } else {
        setPlainText(Visible(text));
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
