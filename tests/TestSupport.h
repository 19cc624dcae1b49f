#pragma once
// Shared set-up of the logic tests: a clean state in a temporary program folder, the
// messages the code shows captured instead of shown, and a chosen locale.

#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace pxr3::test {

class ProgramFolderFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        SetProgramFolder(folder.path());
        ResetSharedState();
        previousSink = SetMessageSink([this](const UserMessage &m) {
            messages.push_back(m);
            return answer;
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
    bool answer = false;
    MessageSink previousSink;
};

// Sets the default locale for the scope.
struct LocaleScope {
    explicit LocaleScope(QLocale::Language language) { QLocale::setDefault(QLocale(language)); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

} // namespace pxr3::test
