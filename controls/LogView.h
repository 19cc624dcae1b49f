#pragma once
// The communication log as the operator reads it: a text the program appends to at every
// frame and the operator may edit. Appending paints the new lines only: the plain text
// layout asks for the whole view at every change, which is most of what a frame costs.

#include <QPlainTextEdit>

namespace pxr3 {

class LogView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LogView(QWidget *parent = nullptr);

    // Shows `text` scrolled to its end, appending when it continues what is shown.
    void follow(const QString &text);
    // What the view shows, as far as the program put it there.
    const QString &shown() const { return shown_; }
    // True while the program (not the operator) changes the text.
    bool following() const { return following_; }
    // The operator's edits become what is shown.
    void takeEdits() { shown_ = toPlainText(); }

private:
    void append(const QString &tail);

    QString shown_;
    bool following_ = false;
};

} // namespace pxr3
