#pragma once
// The communication log as the operator reads it: a text the program appends to at every
// frame and the operator may edit. Appending paints the new lines only: the plain text
// layout asks for the whole view at every change, which is most of what a frame costs.
// Control characters of the analyser's binary frames are shown escaped (NUL as "\x00"): a raw
// NUL ends the line on screen and for a screen reader.

#include <QPlainTextEdit>

namespace pxr3 {

class LogView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LogView(QWidget *parent = nullptr);

    // Shows `text` scrolled to its end, appending when it continues what is shown.
    void follow(const QString &text);
    // The log text the view shows, control characters as themselves.
    const QString &shown() const { return shown_; }
    // True while the program (not the operator) changes the text.
    bool following() const { return following_; }
    // The operator's edits become what is shown, the escapes back as the characters they stand for.
    void takeEdits();

private:
    void append(const QString &tail);

    QString shown_;
    bool following_ = false;
};

} // namespace pxr3
