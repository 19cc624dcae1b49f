#include "controls/AccessibleControls.h"

#include "controls/MyButton.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace pxr3 {

namespace {

class AccessibleMyButton : public QAccessibleWidget {
public:
    explicit AccessibleMyButton(MyButton *button) : QAccessibleWidget(button, QAccessible::Button) { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QString(button()->Text()).remove(QLatin1Char('&'));
        if (t == QAccessible::Accelerator)
            return button()->AccessKeySequence().toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction()) {
            if (button()->isEnabled())
                emit button()->Click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action == pressAction() && !button()->AccessKeySequence().isEmpty())
            return {button()->AccessKeySequence().toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    MyButton *button() const { return static_cast<MyButton *>(widget()); }
};

class AccessibleReadout : public QAccessibleWidget {
public:
    explicit AccessibleReadout(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) { }

    QString text(QAccessible::Text t) const override
    {
        // The number as value, and as description too, which is what the AT-SPI bridge passes on.
        if (t == QAccessible::Value || t == QAccessible::Description)
            return static_cast<QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }
};

QAccessibleInterface *AccessibleControl(const QString &className, QObject *object)
{
    if (className == QLatin1String("pxr3::MyButton"))
        return new AccessibleMyButton(static_cast<MyButton *>(object));
    return nullptr;
}

} // namespace

void InstallAccessibleControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(AccessibleControl);
        return true;
    }();
    (void)installed;
}

void NameReadout(QLabel *label, const QString &name)
{
    label->setAccessibleName(name);
    // Qt's own factory answers for every QLabel before any other, so the read-out's interface is
    // put in place of the one made for it (while a reader runs, made as soon as the label was).
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(label)));
    QAccessible::registerAccessibleInterface(new AccessibleReadout(label));
}

} // namespace pxr3
