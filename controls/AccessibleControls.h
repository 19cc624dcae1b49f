#pragma once
// How the program's own controls reach a screen reader: the skinned button is a push button
// named by its caption that can be pressed, and a read-out label is named by what it shows
// (a quantity and its unit) with the shown number as its value, not by the changing number.

class QLabel;
class QString;

namespace pxr3 {

// Makes the skinned button's interface the one a screen reader is given; once is enough.
void InstallAccessibleControls();

// The label's name and its read-out interface, right after the label is made.
void NameReadout(QLabel *label, const QString &name);

} // namespace pxr3
