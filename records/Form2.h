#pragma once
// "Parametry měření": the modal dialog in which the operator picks, edits, applies, saves,
// adds and removes radionuclide parameter sets. The decisions are NuclideEditing's; the
// dialog shows the fields and passes the commands on.

#include "records/NuclideEditing.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLineEdit;

namespace pxr3 {

class MDIForm1;
class MyButton;
class frm_USBkom;

class Form2 : public QDialog {
    Q_OBJECT
public:
    // Applying a set shows it on these windows.
    Form2(MDIForm1 *main, frm_USBkom *usbkom);

    QLineEdit *text1(int index) const; // 0, 1 and 3 to 7; there is no 2
    QComboBox *combo1() const { return Combo1; }
    // 0 "N&astavit", 1 "&Zavřít", 2 "&Uložit", 3 "&Odebrat", 4 "&Nový".
    MyButton *myButton1(int index) const { return MyButton1[index]; }

    void MyButton1_Click(int index);
    void Combo1_Click(int position);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void done(int result) override; // every way of closing leaves MeasureState idle

private:
    void Form_Activate();
    ParameterFields fields() const;
    void showFields(const ParameterFields &f);
    void showList();
    void apply();

    QPointer<MDIForm1> main_;
    QPointer<frm_USBkom> usbkom_;
    QLineEdit *Text1[8] = {};
    QComboBox *Combo1 = nullptr;
    MyButton *MyButton1[5] = {};
    int selected_ = -1; // the list position Combo1's text was chosen from; -1 once typed
    int shown_ = 0;     // the record the fields show, that Save and Remove act on; 0 for a new one
};

} // namespace pxr3
