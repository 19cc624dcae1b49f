#pragma once
// A status-bar panel whose text changes often but whose size does not, such as the clock.
// A label tells its parent's layout of every new text, and a status bar answers each such
// request by laying out and repainting all of its panels. Here the label lies in a holder
// of its own that takes the request and passes it on only when the label's size hints
// really changed, so a new time repaints the label and nothing else.

#include <QSize>
#include <QWidget>

class QLabel;

namespace pxr3 {

class SteadyPanel : public QWidget {
public:
    // Takes the label as its child; the label keeps its name, text and look.
    explicit SteadyPanel(QLabel *label, QWidget *parent = nullptr);

    QLabel *label() const { return label_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void followLabel();

    QLabel *label_;
    QSize hint_;
    QSize minimumHint_;
};

} // namespace pxr3
