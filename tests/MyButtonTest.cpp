// The skinned push button as the dialogs use it: skin frames, the visual states and the
// event sequences of mouse, space, Enter and focus, the access key, the skin picture and
// the disabled look.

#include "controls/MyButton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace pxr3;

namespace {

// A skin whose every pixel tells where it came from: red = column, green = row, blue = 7.
// The outermost pixel of every corner of every frame is magenta.
QImage CodedSkin(int frameW, int height, int extraColumns = 0)
{
    QImage skin(frameW * 5 + extraColumns, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < skin.width(); ++x)
            skin.setPixel(x, y, qRgb(x, y, 7));
    for (int s = 0; s < 5; ++s)
        for (int x : {s * frameW, s * frameW + frameW - 1})
            for (int y : {0, height - 1})
                skin.setPixel(x, y, kMagenta);
    return skin;
}

QImage Paint(const QImage &skin, int state, QSize size, int cw, int ch, bool fill, QColor back)
{
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    const bool ok = PaintSkinFace(p, skin, state, size, cw, ch, fill, back);
    p.end();
    return ok ? out : QImage();
}

QFont CrispFont()
{
    QFont f(QStringLiteral("DejaVu Sans"), 10);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

int CountColour(const QImage &img, QRgb c, const QRect &area = QRect())
{
    const QRect r = area.isNull() ? img.rect() : area;
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF))
                ++n;
    return n;
}

QImage Grab(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// One step of an event script: what happens, then the state and the number of clicks so far.
enum Act {
    Press,
    Release,
    RightPress,
    RightRelease,
    Move,
    Leave,
    SpaceDown,
    SpaceUp,
    SpaceRepeat,
    KeyA,
    KeyAUp,
    KeyB,
    Return,
    Enter,
    FocusButton,
    FocusOther,
    FocusInEvent
};
struct Step {
    Act act;
    int state = 0;
    int clicks = 0;
    QPoint at = QPoint(5, 5);
};
using Script = QList<Step>;
constexpr int kN = MyButton::Normal, kF = MyButton::Focused, kH = MyButton::Hover, kP = MyButton::Pressed;

} // namespace

Q_DECLARE_METATYPE(Script)

class MyButtonTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_form;
    MyButton *m_button = nullptr;
    QLineEdit *m_other = nullptr;
    QImage m_skin;

    QRgb FrameFill(int state) const
    {
        const int F = m_skin.width() / 5;
        return m_skin.pixel((state - 1) * F + m_button->SizeCW() + 1, m_button->SizeCH() + 1);
    }
    void Activate()
    {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void Do(const Step &s)
    {
        switch (s.act) {
        case Press: QTest::mousePress(m_button, Qt::LeftButton, {}, s.at); break;
        case Release: QTest::mouseRelease(m_button, Qt::LeftButton, {}, s.at); break;
        case RightPress: QTest::mousePress(m_button, Qt::RightButton, {}, s.at); break;
        case RightRelease: QTest::mouseRelease(m_button, Qt::RightButton, {}, s.at); break;
        case Move: QTest::mouseMove(m_button, s.at); break;
        case Leave: SendEvent(QEvent(QEvent::Leave)); break;
        case SpaceDown: QTest::keyPress(m_button, Qt::Key_Space); break;
        case SpaceUp: QTest::keyRelease(m_button, Qt::Key_Space); break;
        case SpaceRepeat:
            for (int i = 0; i < 3; ++i)
                for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress})
                    SendEvent(QKeyEvent(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true));
            break;
        case KeyA: QTest::keyPress(m_button, Qt::Key_A); break;
        case KeyAUp: QTest::keyRelease(m_button, Qt::Key_A); break;
        case KeyB: QTest::keyClick(m_button, Qt::Key_B); break;
        case Return: QTest::keyClick(m_button, Qt::Key_Return); break;
        case Enter: QTest::keyClick(m_button, Qt::Key_Enter); break;
        case FocusButton: m_button->setFocus(); break;
        case FocusOther: m_other->setFocus(); break;
        case FocusInEvent: SendEvent(QFocusEvent(QEvent::FocusIn, Qt::MouseFocusReason)); break;
        }
    }
    void SendEvent(QEvent &&e) { QApplication::sendEvent(m_button, &e); }

private slots:
    void init()
    {
        m_form = std::make_unique<QWidget>();
        m_form->resize(300, 120);
        AddDefaultSkinBox(m_form.get());
        m_button = new MyButton(QStringLiteral("Command1"), m_form.get());
        m_button->setGeometry(10, 10, 120, 30);
        m_other = new QLineEdit(m_form.get());
        m_other->setGeometry(10, 60, 120, 24);
        m_form->show();
        // A known start: the form active, the focus elsewhere, the pointer off the button.
        Activate();
        m_other->setFocus();
        QTest::mouseMove(m_form.get(), QPoint(295, 115));
        m_skin = DefaultSkinPixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
    void cleanup()
    {
        m_form.reset();
        m_button = nullptr;
        m_other = nullptr;
    }

    // ---- skin frames (pure functions) ----

    void skinFramesAreFiveEqualColumnsDroppingTheFraction()
    {
        QImage skin = CodedSkin(10, 12, 3);
        for (int y = 0; y < 12; ++y)
            for (int x = 50; x < 53; ++x)
                skin.setPixel(x, y, qRgb(1, 2, 250)); // never shown
        const QList<QImage> frames = SkinFrames(skin);
        QCOMPARE(frames.size(), 5);
        QCOMPARE(frames[4], skin.copy(40, 0, 10, 12));
        QVERIFY(SkinFrames(QImage(4, 10, QImage::Format_RGB32)).isEmpty());
        const QImage out = Paint(skin, 5, QSize(77, 31), 3, 3, false, Qt::gray);
        QVERIFY(!out.isNull());
        QCOMPARE(CountColour(out, qRgb(1, 2, 250)), 0);
        QCOMPARE(CountColour(out, kMagenta), 0); // the corners' see-through pixels
        // A skin too small for its corners (a middle of 6 - 2 x 3 = 0 columns), or none, stops drawing.
        QVERIFY(Paint(CodedSkin(6, 6), 1, QSize(40, 20), 3, 3, false, Qt::black).isNull());
        QVERIFY(Paint(QImage(), 1, QSize(40, 20), 3, 3, false, Qt::black).isNull());
    }

    void eventScripts_data()
    {
        QTest::addColumn<Script>("script");
        const QPoint in(5, 5);
        QTest::newRow("press, leave, re-enter, release") << Script{
            {Press, kP, 0, {20, 15}}, {Move, kH, 0, {200, 15}}, {Move, kP, 0, {30, 12}}, {Release, kF, 1, {30, 12}}};
        // Just past the right and bottom edges counts as outside too.
        QTest::newRow("release outside") << Script{{Press, kP, 0, in},
                                                   {Move, kH, 0, {-4, 5}},
                                                   {Release, kF, 0, {-4, 5}},
                                                   {Press, kP, 0, in},
                                                   {Release, kF, 0, {120, 30}}};
        QTest::newRow("right button neither holds nor clicks")
            << Script{{RightPress, kH, 0, in}, {RightRelease, kN, 0, in}};
        // A move outside while no button is held is the same as leaving.
        QTest::newRow("hover and leave") << Script{{Move, kH, 0, {10, 10}},
                                                   {Move, kH, 0, {12, 11}},
                                                   {Leave, kN},
                                                   {Move, kH, 0, {10, 10}},
                                                   {Move, kN, 0, {10, -3}}};
        // Repeated presses and releases of a held key are no clicks; the mouse is ignored meanwhile.
        QTest::newRow("space clicks once")
            << Script{{SpaceDown, kP}, {SpaceRepeat, kP}, {Move, kP, 0, {-20, 3}}, {SpaceUp, kF, 1}, {SpaceUp, kF, 1}};
        // The move shows the space is no longer held.
        QTest::newRow("another key cancels the space")
            << Script{{SpaceDown, kP}, {KeyA, kF}, {KeyAUp, kF}, {SpaceUp, kF, 0}, {Move, kH, 0, {7, 7}}};
        QTest::newRow("enter clicks, a letter does not") << Script{{Return, kF, 1}, {KeyB, kF, 1}, {Enter, kF, 2}};
        // Leaving a hovered focused button falls back to the focused look; losing the focus
        // forgets a held space; a focus gained while the mouse is held keeps the pressed look.
        QTest::newRow("focus") << Script{{FocusButton, kF},  {Move, kH, 0, in},  {Leave, kF},
                                         {SpaceDown, kP},    {FocusOther, kN},   {Move, kH, 0, {6, 6}},
                                         {Press, kP, 0, in}, {FocusInEvent, kP}, {Release, kF, 1, in}};
    }
    void eventScripts()
    {
        QFETCH(Script, script);
        QSignalSpy click(m_button, &MyButton::Click);
        for (int i = 0; i < script.size(); ++i) {
            const Step &s = script.at(i);
            Do(s);
            const QString what = QStringLiteral("step %1: state %2, clicks %3").arg(i).arg(m_button->State());
            QVERIFY2(m_button->State() == s.state && click.count() == s.clicks, qPrintable(what.arg(click.count())));
        }
    }

    void clickHandlerMayDeleteTheButton()
    {
        QPointer<MyButton> button(m_button);
        connect(m_button, &MyButton::Click, m_button, [&button] { delete button.data(); });
        Do({Press});
        Do({Release});
        QVERIFY(button.isNull());
        m_button = nullptr;
    }

    void accessKeyFromTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::newRow("inner letter") << "Kon&ec"
                                      << "e";
        QTest::newRow("last qualifying") << "&a&b"
                                         << "b";
        QTest::newRow("blank after") << "a& b"
                                     << "";
        QTest::newRow("doubled") << "a&&b"
                                 << "b";
        QTest::newRow("at the end") << "abc&"
                                    << "";
    }
    void accessKeyFromTheText()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        const QChar want = key.isEmpty() ? QChar() : key.at(0);
        QCOMPARE(AccessKeyOf(text), want);
        m_button->SetText(text);
        QCOMPARE(m_button->AccessKey(), want);
        QCOMPARE(m_button->AccessKeySequence().isEmpty(), key.isEmpty());
    }

    void altAccessKeyClicksAndUnderlineIsDrawn()
    {
        m_button->setFont(CrispFont());
        m_button->SetText(QStringLiteral("Ano"));
        const int plain = CountColour(Grab(*m_button), qRgb(0, 0, 0));
        m_button->SetText(QStringLiteral("&Ano"));
        QCOMPARE(m_button->AccessKeySequence(), QKeySequence(Qt::ALT | Qt::Key_A));
        QVERIFY(CountColour(Grab(*m_button), qRgb(0, 0, 0)) > plain); // the underline
        QSignalSpy click(m_button, &MyButton::Click);
        QTest::keyClick(m_form.get(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(click.count(), 1);
        QVERIFY(m_button->hasFocus());
        m_button->SetText(QStringLiteral("Ne"));
        QTest::keyClick(m_form.get(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(click.count(), 1);
    }

    // ---- drawing of the widget ----

    void disabledDrawsTheFifthFrameAndTakesNoInput()
    {
        QVERIFY(FrameFill(5) != FrameFill(1));
        const QPoint probe(m_button->SizeCW() + 1, m_button->SizeCH() + 1);
        QCOMPARE(Grab(*m_button).pixel(probe), FrameFill(1));
        m_button->setEnabled(false);
        QCOMPARE(m_button->State(), int(MyButton::Disabled));
        QCOMPARE(Grab(*m_button).pixel(probe), FrameFill(5));
        QSignalSpy click(m_button, &MyButton::Click);
        QTest::keyClick(m_button, Qt::Key_Return);
        QCOMPARE(click.count(), 0);
    }

    void theSkinIsTheFormsDefaultPictureBoxAndOnlyAPictureBoxReplacesIt()
    {
        QLabel *def = m_form->findChild<QLabel *>(QStringLiteral("MyButtonDefSkin"));
        QVERIFY(def && !def->isVisible());
        QCOMPARE(m_button->SkinPicture(), def); // bound by its default name when shown
        QVERIFY(!m_button->SetSkinPicture(new QPushButton(m_form.get())));
        m_button->SetSkinPictureName(QStringLiteral("NoSuchBox"));
        QCOMPARE(m_button->SkinPicture(), def);
    }
};

QTEST_MAIN(MyButtonTest)
#include "MyButtonTest.moc"
