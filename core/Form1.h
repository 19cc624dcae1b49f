#pragma once
// The quit dialog: the only way out of the program.

#include <QDialog>
#include <QPointer>

class QLabel;

namespace pxr3 {

class MDIForm1;
class MyButton;

class Form1 : public QDialog {
    Q_OBJECT
public:
    explicit Form1(MDIForm1 *mainWindow);

    MyButton *yesButton() const { return MyButton1[0]; }
    MyButton *noButton() const { return MyButton1[1]; }

    // "&Ano": save the settings, close the analyser, log the outcome, end the program.
    void MyButton1_Click(int index);

private:
    QPointer<MDIForm1> main_;
    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    MyButton *MyButton1[2] = {};
};

// As "&Ano" without the question: the program is told to end from outside (a signal).
void QuitWithoutAsking(MDIForm1 *mainWindow);

} // namespace pxr3
