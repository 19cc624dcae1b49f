#include "records/Form2.h"

#include "acquisition/frm_USBkom.h"
#include "controls/MyButton.h"
#include "controls/NumberField.h"
#include "core/MDIForm1.h"
#include "core/NumberText.h"
#include "core/ParameterDisplay.h"
#include "core/SharedState.h"
#include "core/Twips.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace pxr3 {

namespace {

// Design positions and sizes, in twips.
constexpr int kFieldLeft = 2400;
constexpr int kFieldWidth = 975;
constexpr int kComboWidth = 1695;
constexpr int kRowHeight = 315;
constexpr int kLabelLeft = 120;
constexpr int kButtonLeft = 4200;
constexpr int kButtonWidth = 1335;
constexpr int kButtonHeight = 405;
constexpr int kMargin = 240;

struct Row {
    int index; // Text1 index; 2 is the list box's row
    int top;
    const char *label;
    int maxLength;
};
constexpr Row kRows[] = {
    {0, 240, QT_TRANSLATE_NOOP("pxr3::Form2", "Čas měření [s] :"), 4},
    {1, 720, QT_TRANSLATE_NOOP("pxr3::Form2", "Počet opakování :"), 3},
    {2, 1200, QT_TRANSLATE_NOOP("pxr3::Form2", "Radionuklid :"), 0},
    {3, 1680, QT_TRANSLATE_NOOP("pxr3::Form2", "Levá ROI :"), 4},
    {4, 2160, QT_TRANSLATE_NOOP("pxr3::Form2", "Pravá ROI :"), 4},
    {5, 2640, QT_TRANSLATE_NOOP("pxr3::Form2", "VN :"), 8},
    {6, 3120, QT_TRANSLATE_NOOP("pxr3::Form2", "KF :"), 8},
    {7, 3600, QT_TRANSLATE_NOOP("pxr3::Form2", "Pozadí :"), 8},
};

struct Button {
    int index;
    const char *caption;
    int top;
};
constexpr Button kButtons[] = {
    {0, QT_TRANSLATE_NOOP("pxr3::Form2", "N&astavit"), 120}, {4, QT_TRANSLATE_NOOP("pxr3::Form2", "&Nový"), 600},
    {2, QT_TRANSLATE_NOOP("pxr3::Form2", "&Uložit"), 1080},  {3, QT_TRANSLATE_NOOP("pxr3::Form2", "&Odebrat"), 1560},
    {1, QT_TRANSLATE_NOOP("pxr3::Form2", "&Zavřít"), 3600},
};

} // namespace

Form2::Form2(MDIForm1 *main, frm_USBkom *usbkom) : QDialog(main), main_(main), usbkom_(usbkom)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Parametry měření"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    AddDefaultSkinBox(this);
    auto px = [this](int twips) { return TwipsToPixels(this, twips); };

    QWidget *previous = nullptr;
    for (const Row &row : kRows) {
        QWidget *field = nullptr;
        if (row.index == 2) {
            Combo1 = new QComboBox(this);
            Combo1->setObjectName(QStringLiteral("Combo1"));
            Combo1->setEditable(true);
            Combo1->setInsertPolicy(QComboBox::NoInsert); // Enter must not add what was typed
            Combo1->setCompleter(nullptr);                // a typed name stays as typed
            Combo1->lineEdit()->setPlaceholderText(tr("nuklid"));
            Combo1->lineEdit()->setAccessibleName(tr("Název radionuklidu"));
            Combo1->setGeometry(px(kFieldLeft), px(row.top), px(kComboWidth), Combo1->sizeHint().height());
            connect(Combo1, &QComboBox::activated, this, &Form2::Combo1_Click);
            connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { selected_ = -1; });
            field = Combo1;
        } else {
            QLineEdit *edit = new QLineEdit(QStringLiteral("0"), this);
            edit->setObjectName(QStringLiteral("Text1_%1").arg(row.index));
            edit->setMaxLength(row.maxLength);
            edit->setGeometry(px(kFieldLeft), px(row.top), px(kFieldWidth), px(kRowHeight));
            edit->installEventFilter(this);
            // The high voltage stops at what the detector takes, as it is typed.
            MakeNumberField(edit, row.index == 5 ? HighVoltageAcceptable : std::function<bool(const QString &)>());
            Text1[row.index] = edit;
            field = edit;
        }
        auto *label = new QLabel(tr(row.label), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(field);
        label->setGeometry(px(kLabelLeft), field->y(), px(kFieldLeft - kLabelLeft - 90), field->height());
        if (previous)
            setTabOrder(previous, field);
        previous = field;
    }
    Text1[5]->setToolTip(QStringLiteral("[0-1000]"));

    // The high voltage's range and the background's unit, right of their fields.
    const struct {
        int index;
        QString text;
    } besides[] = {{5, QStringLiteral("[0-1000]")}, {7, QStringLiteral("[s<sup>-1</sup>]")}};
    for (const auto &beside : besides) {
        auto *label = new QLabel(beside.text, this);
        label->setTextFormat(Qt::RichText);
        label->adjustSize();
        label->move(px(kFieldLeft + kFieldWidth + 45),
                    Text1[beside.index]->y() + (Text1[beside.index]->height() - label->height()) / 2);
    }

    for (const Button &b : kButtons) {
        MyButton *button = new MyButton(QStringLiteral("MyButton1"), this);
        button->SetText(tr(b.caption));
        button->setGeometry(px(kButtonLeft), px(b.top), px(kButtonWidth), px(kButtonHeight));
        connect(button, &MyButton::Click, this, [this, index = b.index] { MyButton1_Click(index); });
        MyButton1[b.index] = button;
        setTabOrder(previous, button);
        previous = button;
    }
    setFixedSize(px(kButtonLeft + kButtonWidth + kMargin), px(kRows[7].top + kButtonHeight + kMargin));
}

QLineEdit *Form2::text1(int index) const { return index >= 0 && index < 8 ? Text1[index] : nullptr; }

void Form2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Form_Activate();
}

void Form2::Form_Activate()
{
    if (main_)
        main_->showDelivering(false);
    const ParameterFields f = ActivateParameters();
    showList();
    showFields(f);
}

ParameterFields Form2::fields() const
{
    ParameterFields f;
    f.measureTime = Text1[0]->text();
    f.repeatCount = Text1[1]->text();
    f.name = Combo1->currentText();
    f.selected = selected_;
    f.shown = shown_;
    f.leftRoi = Text1[3]->text();
    f.rightRoi = Text1[4]->text();
    f.highVoltage = Text1[5]->text();
    f.calFactor = Text1[6]->text();
    f.background = Text1[7]->text();
    return f;
}

void Form2::showList()
{
    Combo1->clear();
    Combo1->addItems(NuclideNames());
}

void Form2::showFields(const ParameterFields &f)
{
    Text1[0]->setText(f.measureTime);
    Text1[1]->setText(f.repeatCount);
    Combo1->setCurrentIndex(f.selected);
    Combo1->setEditText(f.name);
    selected_ = f.selected;
    shown_ = f.shown;
    Text1[3]->setText(f.leftRoi);
    Text1[4]->setText(f.rightRoi);
    Text1[5]->setText(f.highVoltage);
    Text1[6]->setText(f.calFactor);
    Text1[7]->setText(f.background);
}

void Form2::Combo1_Click(int position)
{
    ParameterFields f = fields();
    SelectNuclide(f, position);
    showFields(f);
}

void Form2::MyButton1_Click(int index)
{
    ParameterFields f = fields();
    switch (index) {
    case 0: apply(); break;
    case 1: close(); break;
    case 2:
        SaveParameters(f);
        showList();
        showFields(f);
        break;
    case 3: {
        const Removal removal = RemoveNuclide(f);
        if (removal == Removal::None)
            break;
        if (removal == Removal::MeasuringSet && main_ && usbkom_)
            ApplyMeasuringSet(main_, usbkom_);
        showList();
        showFields(f);
        break;
    }
    case 4:
        NewParameters(f);
        showFields(f);
        Combo1->setFocus();
        break;
    }
}

void Form2::apply()
{
    const ParameterFields f = fields();
    if (!ApplyParameters(f))
        return;
    // A set without a name is applied from the fields alone: there is no record to apply.
    if (main_ && usbkom_ && !ApplyMeasuringSet(main_, usbkom_))
        ShowMeasuringSet(main_, usbkom_, f.name);
    accept();
}

void Form2::done(int result)
{
    CloseParameters();
    QDialog::done(result);
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter goes on to the next field, as Tab does.
            focusNextPrevChild(true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pxr3
