#pragma once
// The communication log and the status line: written by the device link and the
// acquisition, shown by the communication window, readable by tests.

#include <QObject>
#include <QString>

namespace pxr3 {

class CommLog : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 20000; // the log is emptied once it grows past this

    // Appends CR LF and the entry.
    void append(const QString &entry);
    // An entry of the night's story (link losses, reconnections, failed saves, series), with
    // the date and time in front, so the kept log file tells when each happened.
    void event(const QString &text);
    using QObject::event; // the entry above takes a text, not Qt's events
    // Appends text to the last entry, without a new line in front.
    void extend(const QString &text);
    // Replaces the whole text, as an edit of the log box does; the length rule applies.
    void setText(const QString &text);
    void clear();
    const QString &text() const { return text_; }

    // The short state that overwrites the previous one. `shown` is the same in the user's
    // language where it differs: the log keeps the Czech status, the window shows `shown`.
    void setStatus(const QString &status, const QString &shown = QString());
    const QString &status() const { return status_; }
    const QString &shownStatus() const { return shownStatus_; }

signals:
    void textChanged(const QString &text);
    void statusChanged(const QString &shownStatus);
    // setText is about to put `next` in place of `current` (an edit of the log box).
    void replacing(const QString &current, const QString &next);
    // The log has just been emptied (the length rule, clear(), an emptied box); `text` is
    // all it held, so that it can be kept elsewhere before it is gone.
    void emptied(const QString &text);

private:
    void grow(QStringView first, QStringView second = {});
    void empty(QString gone);

    QString text_;
    QString status_;
    QString shownStatus_;
};

CommLog &commLog();

} // namespace pxr3
