#pragma once
// Shared set-up of the logic tests: a clean state in a temporary program folder, the
// messages the code shows captured instead of shown, and a chosen locale.

#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/TextFile.h"
#include "core/UserMessages.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <vector>

namespace pxr3::test {

// The bytes of a file, empty when it cannot be read.
inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class ProgramFolderFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        SetProgramFolder(folder.path());
        ResetSharedState();
        previousSink = SetMessageSink([this](const UserMessage &m) {
            messages.push_back(m);
            if (answers.empty())
                return answer;
            const bool next = answers.front();
            answers.pop_front();
            return next;
        });
    }
    void TearDown() override
    {
        SetMessageSink(previousSink);
        QLocale::setDefault(QLocale::c());
    }
    QString path(const QString &name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    std::vector<UserMessage> messages;
    std::deque<bool> answers; // to the next questions; then `answer` to all others
    bool answer = false;
    MessageSink previousSink;
};

// The program's writes fail as on a full disk after `bytes` bytes of a file, for the scope.
struct WriteLimitScope {
    explicit WriteLimitScope(qint64 bytes) { SetWriteLimitForTests(bytes); }
    ~WriteLimitScope() { SetWriteLimitForTests(std::nullopt); }
};

// A real small disk: a tmpfs of 64 KiB mounted on a temporary folder for the test's life.
// Mounting needs root; a test skips when mounted() is false.
class SmallDisk {
public:
    SmallDisk() { mounted_ = dir_.isValid() && ::mount("tmpfs", qPrintable(dir_.path()), "tmpfs", 0, "size=64k") == 0; }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(qPrintable(dir_.path()), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    bool makeReadOnly() const
    {
        return ::mount(nullptr, qPrintable(dir_.path()), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
    }
    QString path() const { return dir_.path(); }
    QString filePath(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// Sets the default locale for the scope.
struct LocaleScope {
    explicit LocaleScope(QLocale::Language language) { QLocale::setDefault(QLocale(language)); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

} // namespace pxr3::test
