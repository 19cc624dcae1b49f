#include "controls/NumberField.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

namespace pxr3 {

namespace {

class NumberValidator : public QValidator {
public:
    NumberValidator(std::function<bool(const QString &)> acceptable, QObject *parent)
        : QValidator(parent), acceptable_(std::move(acceptable))
    {
    }

    State validate(QString &input, int &) const override
    {
        for (const QChar c : input) {
            const bool allowed =
                (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(',') || c == QLatin1Char('.');
            if (!allowed)
                return Invalid;
        }
        return !acceptable_ || acceptable_(input) ? Acceptable : Invalid;
    }

private:
    std::function<bool(const QString &)> acceptable_;
};

class SelectOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto *field = static_cast<QLineEdit *>(watched);
            // After the click that brought the focus has placed the cursor.
            QTimer::singleShot(0, field, &QLineEdit::selectAll);
            field->raise();
        }
        return false;
    }
};

} // namespace

void MakeNumberField(QLineEdit *field, std::function<bool(const QString &)> acceptable)
{
    field->setValidator(new NumberValidator(std::move(acceptable), field));
    field->installEventFilter(new SelectOnFocus(field));
}

} // namespace pxr3
