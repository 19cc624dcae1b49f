#pragma once
// The About box: title, version, a system-information tool when the machine has one,
// and the mail address for questions.

#include <QDialog>

namespace pxr3 {

class MyButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // The first system-information tool found on the PATH, empty when there is none.
    static QString SystemInfoTool();
    MyButton *systemInfoButton() const { return cmdSysInfo; }

private:
    void StartSysInfo();
    MyButton *cmdOK = nullptr;
    MyButton *cmdSysInfo = nullptr;
};

extern const char *const kSupportMail;

} // namespace pxr3
