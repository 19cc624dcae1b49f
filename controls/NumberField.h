#pragma once
// Text fields for numbers as the operators type them: digits, a comma and a point only (any
// other character, typed or pasted, is dropped), the whole text selected and the field
// brought to the front when it gets the focus.

#include <QString>
#include <functional>

class QLineEdit;

namespace pxr3 {

// acceptable, when given, is a further rule on the whole text (an upper limit, say): an edit
// that breaks it is refused as it is typed.
void MakeNumberField(QLineEdit *field, std::function<bool(const QString &)> acceptable = {});

} // namespace pxr3
