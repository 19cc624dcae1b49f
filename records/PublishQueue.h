#pragma once
// The results not yet taken by the broker, oldest first, kept in a file of the data folder so
// that neither a broker away for the night nor a restart of the program loses one. Bounded: past
// its capacity the oldest is dropped, and the log says so.

#include <QByteArray>
#include <QString>
#include <deque>

namespace pxr3 {

class PublishQueue {
public:
    // About a month of one-minute cycles.
    static constexpr int kDefaultCapacity = 50'000;

    explicit PublishQueue(QString path, int capacity = kDefaultCapacity);

    // What an earlier run left. A line that is not a whole JSON object (a write cut off by a
    // power failure) is dropped with a log line rather than sent.
    void load();
    // Into memory and at once onto the end of the file.
    void push(const QByteArray &message);
    // The broker has taken the first `count`: the file is written anew by save().
    void dropFront(int count);
    // The file as the queue stands: removed when empty. False, logged, when it cannot be written.
    bool save();
    bool dirty() const { return dirty_; }

    int size() const { return int(messages_.size()); }
    bool empty() const { return messages_.empty(); }
    const QByteArray &at(int index) const { return messages_[size_t(index)]; }
    const QString &path() const { return path_; }

private:
    void noteFileFailure(const QString &what, const QString &error);

    QString path_;
    int capacity_;
    std::deque<QByteArray> messages_;
    bool dirty_ = false;
    bool failureNoted_ = false;
};

} // namespace pxr3
