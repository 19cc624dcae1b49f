// The skinned push button: skin frames, nine-part drawing with tiling and see-through
// corners, the visual states and the event sequences of mouse, space, Enter and focus,
// the access key, disabled drawing, pictures and the design data.

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
        for (int x = 0; x < skin.width(); ++x) skin.setPixel(x, y, qRgb(x, y, 7));
    for (int s = 0; s < 5; ++s) {
        const int x0 = s * frameW;
        const int x1 = x0 + frameW - 1;
        skin.setPixel(x0, 0, kMagenta);
        skin.setPixel(x1, 0, kMagenta);
        skin.setPixel(x0, height - 1, kMagenta);
        skin.setPixel(x1, height - 1, kMagenta);
    }
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

// Where the nine-part rule takes the pixel (x, y) of a w x h button from, in the skin;
// (-1, -1) for a corner pixel that is magenta in the skin (the back colour shows).
QPoint SourceOf(const QImage &skin, int state, int w, int h, int cw, int ch, int x, int y)
{
    const int F = skin.width() / 5;
    const int H = skin.height();
    const int x0 = (state - 1) * F;
    const int x1 = state * F;
    const int midW = F - 2 * cw;
    const int midH = H - 2 * ch;
    const bool left = x < cw, right = x >= w - cw, top = y < ch, bottom = y >= h - ch;
    int sx = 0, sy = 0;
    if (left) sx = x0 + x;
    else if (right) sx = x1 - cw + (x - (w - cw));
    else sx = x0 + cw + (x - cw) % midW;
    if (top) sy = y;
    else if (bottom) sy = H - ch + (y - (h - ch));
    else sy = ch + (y - ch) % midH;
    if ((left || right) && (top || bottom) && skin.pixel(sx, sy) == kMagenta) return QPoint(-1, -1);
    return QPoint(sx, sy);
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
            if ((img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF)) ++n;
    return n;
}

QImage Grab(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

} // namespace

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

    // ---- skin frames and the nine-part drawing (pure functions) ----

    void skinFramesAreFiveEqualColumns()
    {
        const QImage skin = CodedSkin(10, 12);
        const QList<QImage> frames = SkinFrames(skin);
        QCOMPARE(frames.size(), 5);
        for (int s = 0; s < 5; ++s) {
            QCOMPARE(frames[s].size(), QSize(10, 12));
            for (int x = 0; x < 10; ++x) QCOMPARE(frames[s].pixel(x, 5), skin.pixel(s * 10 + x, 5));
        }
        QVERIFY(SkinFrames(QImage(4, 10, QImage::Format_RGB32)).isEmpty());
    }

    void skinWidthNotMultipleOfFiveDropsTheFraction()
    {
        QImage skin = CodedSkin(10, 12, 3);
        for (int y = 0; y < 12; ++y)
            for (int x = 50; x < 53; ++x) skin.setPixel(x, y, qRgb(1, 2, 250)); // never shown
        const QList<QImage> frames = SkinFrames(skin);
        QCOMPARE(frames.size(), 5);
        QCOMPARE(frames[4].width(), 10);
        QCOMPARE(frames[4].pixel(9, 5), skin.pixel(49, 5));
        const QImage out = Paint(skin, 5, QSize(77, 31), 3, 3, false, Qt::gray);
        QVERIFY(!out.isNull());
        QCOMPARE(CountColour(out, qRgb(1, 2, 250)), 0);
    }

    void shippedSkinHasFiveDistinctFramesAndMagentaCorners()
    {
        QVERIFY(!m_skin.isNull());
        QVERIFY(m_skin.width() >= 5 * 7);
        QSet<QRgb> faces;
        for (int s = 1; s <= 5; ++s) {
            faces.insert(FrameFill(s));
            QCOMPARE(m_skin.pixel((s - 1) * (m_skin.width() / 5), 0), kMagenta);
        }
        QCOMPARE(faces.size(), 5);
        QVERIFY(!faces.contains(kMagenta));
    }

    void tilingRepeatsTheSourceClippedToTarget()
    {
        QImage src(3, 2, QImage::Format_RGB32);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) src.setPixel(x, y, qRgb(40 * x + 10, 100 * y + 20, 5));
        QImage out(20, 15, QImage::Format_RGB32);
        out.fill(qRgb(9, 9, 9));
        const QRect target(5, 4, 10, 7);
        QPainter p(&out);
        QVERIFY(TileImage(p, src, src.rect(), target));
        p.end();
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const QRgb want = target.contains(x, y) ? src.pixel((x - 5) % 3, (y - 4) % 2) : qRgb(9, 9, 9);
                QCOMPARE(out.pixel(x, y), want);
            }
    }

    void tilingFromNothingStops()
    {
        QImage out(10, 10, QImage::Format_RGB32);
        out.fill(qRgb(9, 9, 9));
        QImage src(4, 4, QImage::Format_RGB32);
        src.fill(Qt::red);
        QPainter p(&out);
        QVERIFY(!TileImage(p, src, QRect(2, 2, 0, 2), QRect(0, 0, 10, 10)));
        QVERIFY(TileImage(p, src, src.rect(), QRect(3, 3, 0, 0))); // nothing to cover
        p.end();
        QCOMPARE(CountColour(out, qRgb(9, 9, 9)), 100);
    }

    void transparentCopyLeavesMagentaPixelsAlone()
    {
        QImage src(4, 4, QImage::Format_RGB32);
        src.fill(qRgb(0, 80, 0));
        src.setPixel(0, 0, kMagenta);
        src.setPixel(3, 2, kMagenta);
        QImage out(8, 8, QImage::Format_RGB32);
        out.fill(qRgb(200, 10, 10));
        QPainter p(&out);
        TransparentCopy(p, QPoint(2, 3), src, src.rect(), kMagenta);
        p.end();
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const QRgb want = src.pixel(x, y) == kMagenta ? qRgb(200, 10, 10) : src.pixel(x, y);
                QCOMPARE(out.pixel(x + 2, y + 3), want);
            }
        const QImage masked = MaskedImage(src, kMagenta);
        QCOMPARE(qAlpha(masked.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(masked.pixel(1, 0)), 255);
    }

    void ninePartsOnALargeButton_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("cw");
        QTest::addColumn<int>("ch");
        QTest::addColumn<QSize>("size");
        QTest::newRow("normal 3x3 large") << 1 << 3 << 3 << QSize(157, 61);
        QTest::newRow("pressed 3x3 odd size") << 4 << 3 << 3 << QSize(41, 29);
        QTest::newRow("disabled 2x4") << 5 << 2 << 4 << QSize(90, 44);
        QTest::newRow("hover exactly one frame") << 3 << 3 << 3 << QSize(10, 14);
    }
    void ninePartsOnALargeButton()
    {
        QFETCH(int, state);
        QFETCH(int, cw);
        QFETCH(int, ch);
        QFETCH(QSize, size);
        const QImage skin = CodedSkin(10, 14);
        const QRgb back = qRgb(3, 250, 3);
        const QImage out = Paint(skin, state, size, cw, ch, false, back);
        QVERIFY(!out.isNull());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QPoint from = SourceOf(skin, state, size.width(), size.height(), cw, ch, x, y);
                const QRgb want = from.x() < 0 ? back : skin.pixel(from);
                if (out.pixel(x, y) != want)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
    }

    void fillWithColorTakesOneSkinPixel()
    {
        const QImage skin = CodedSkin(10, 14);
        const QImage out = Paint(skin, 2, QSize(60, 30), 3, 3, true, Qt::black);
        const QRgb fill = skin.pixel(10 + 3 + 1, 3 + 1);
        QCOMPARE(CountColour(out, fill, QRect(3, 3, 54, 24)), 54 * 24);
        // The edges are still tiled from the skin.
        QCOMPARE(out.pixel(20, 1), skin.pixel(10 + 3 + (20 - 3) % 4, 1));
    }

    void zeroCornersFillTheWholeButton()
    {
        const QImage skin = CodedSkin(10, 14);
        const QSize size(33, 37);
        const QImage out = Paint(skin, 1, size, 0, 0, false, Qt::black);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) QCOMPARE(out.pixel(x, y), skin.pixel(x % 10, y % 14));
        const QImage filled = Paint(skin, 1, size, 0, 3, true, Qt::black);
        // No edges: the bands above and below the middle keep the back colour.
        QCOMPARE(CountColour(filled, qRgb(0, 0, 0)), 2 * 3 * size.width());
    }

    void skinTooSmallForItsCornersStopsDrawing()
    {
        const QImage skin = CodedSkin(6, 6); // middle of 6 - 2 x 3 = 0 columns
        QVERIFY(Paint(skin, 1, QSize(40, 20), 3, 3, false, Qt::black).isNull());
        QVERIFY(Paint(QImage(), 1, QSize(40, 20), 3, 3, false, Qt::black).isNull());
    }

    // ---- states and events: mouse ----

    void pressLeaveReenterRelease()
    {
        QSignalSpy click(m_button, &MyButton::Click);
        QSignalSpy hover(m_button, &MyButton::MouseHover);
        QSignalSpy down(m_button, &MyButton::MouseDown);
        QSignalSpy move(m_button, &MyButton::MouseMove);
        QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(20, 15));
        QCOMPARE(m_button->State(), int(MyButton::Pressed));
        QVERIFY(m_button->MouseHeld());
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(0).value<short>(), short(1));
        QCOMPARE(move.count(), 1); // the press runs the move handling too
        QTest::mouseMove(m_button, QPoint(200, 15));
        QCOMPARE(m_button->State(), int(MyButton::Hover));
        QCOMPARE(hover.count(), 1);
        QTest::mouseMove(m_button, QPoint(30, 12));
        QCOMPARE(m_button->State(), int(MyButton::Pressed));
        QCOMPARE(click.count(), 0);
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(30, 12));
        QCOMPARE(click.count(), 1);
        QCOMPARE(m_button->State(), int(MyButton::Focused));
        QVERIFY(!m_button->MouseHeld());
    }

    void releaseOutsideGivesNoClick()
    {
        QSignalSpy click(m_button, &MyButton::Click);
        QSignalSpy up(m_button, &MyButton::MouseUp);
        QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(m_button, QPoint(-4, 5));
        QCOMPARE(m_button->State(), int(MyButton::Hover));
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(-4, 5));
        QCOMPARE(click.count(), 0);
        QCOMPARE(up.count(), 1);
        QCOMPARE(m_button->State(), int(MyButton::Focused));
        // Just past the right and bottom edges counts as outside too.
        QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(m_button->width(), m_button->height()));
        QCOMPARE(click.count(), 0);
    }

    void rightButtonNeitherHoldsNorClicks()
    {
        QSignalSpy click(m_button, &MyButton::Click);
        QSignalSpy down(m_button, &MyButton::MouseDown);
        QTest::mousePress(m_button, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(down.at(0).at(0).value<short>(), short(2));
        QVERIFY(!m_button->MouseHeld());
        QCOMPARE(m_button->State(), int(MyButton::Hover));
        QTest::mouseRelease(m_button, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(click.count(), 0);
        QCOMPARE(m_button->State(), int(MyButton::Normal));
    }

    void hoverAndMouseOut()
    {
        QSignalSpy hover(m_button, &MyButton::MouseHover);
        QSignalSpy out(m_button, &MyButton::MouseOut);
        QTest::mouseMove(m_button, QPoint(10, 10));
        QCOMPARE(m_button->State(), int(MyButton::Hover));
        QTest::mouseMove(m_button, QPoint(12, 11));
        QCOMPARE(hover.count(), 1); // already hovering
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(m_button, &leave);
        QCOMPARE(out.count(), 1);
        QCOMPARE(m_button->State(), int(MyButton::Normal));
        // A move outside while no button is held is the same as leaving.
        QTest::mouseMove(m_button, QPoint(10, 10));
        QTest::mouseMove(m_button, QPoint(10, -3));
        QCOMPARE(out.count(), 2);
        QCOMPARE(m_button->State(), int(MyButton::Normal));
    }

    void disableHoverRaisesHoverButKeepsTheLook()
    {
        m_button->SetDisableHover(true);
        QSignalSpy hover(m_button, &MyButton::MouseHover);
        const QImage before = Grab(*m_button);
        QTest::mouseMove(m_button, QPoint(10, 10));
        QVERIFY(hover.count() >= 1);
        QCOMPARE(m_button->State(), int(MyButton::Normal));
        QCOMPARE(Grab(*m_button), before);
        // Pressed still shows; leaving while held would be the hover look and is skipped.
        QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(m_button->State(), int(MyButton::Pressed));
        QTest::mouseMove(m_button, QPoint(-10, 10));
        QCOMPARE(m_button->State(), int(MyButton::Pressed));
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(-10, 10));
    }

    void clickHandlerMayDeleteTheButton()
    {
        QPointer<MyButton> button(m_button);
        connect(m_button, &MyButton::Click, m_button, [&button] { delete button.data(); });
        QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(button.isNull());
        m_button = nullptr;
    }

    // ---- states and events: keyboard and focus ----

    void spacePressAndReleaseClicksOnce()
    {
        QSignalSpy click(m_button, &MyButton::Click);
        QSignalSpy keyDown(m_button, &MyButton::KeyDown);
        QSignalSpy keyUp(m_button, &MyButton::KeyUp);
        QTest::keyPress(m_button, Qt::Key_Space);
        QCOMPARE(m_button->State(), int(MyButton::Pressed));
        QVERIFY(m_button->SpaceHeld());
        QCOMPARE(keyDown.at(0).at(0).value<short>(), short(32));
        // The key repeats while held: repeated presses and releases are not clicks.
        for (int i = 0; i < 3; ++i) {
            QKeyEvent rel(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
            QApplication::sendEvent(m_button, &rel);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
            QApplication::sendEvent(m_button, &press);
        }
        QCOMPARE(click.count(), 0);
        QTest::keyRelease(m_button, Qt::Key_Space);
        QCOMPARE(click.count(), 1);
        QCOMPARE(keyUp.count(), 1);
        QCOMPARE(m_button->State(), int(MyButton::Focused));
        QVERIFY(!m_button->SpaceHeld());
        QTest::keyRelease(m_button, Qt::Key_Space); // a second release alone does nothing
        QCOMPARE(click.count(), 1);
    }

    void anotherKeyWhileSpaceIsDownCancels()
    {
        QSignalSpy click(m_button, &MyButton::Click);
        QTest::keyPress(m_button, Qt::Key_Space);
        QTest::keyPress(m_button, Qt::Key_A);
        QCOMPARE(m_button->State(), int(MyButton::Focused));
        QVERIFY(!m_button->SpaceHeld());
        QTest::keyRelease(m_button, Qt::Key_A);
        QTest::keyRelease(m_button, Qt::Key_Space);
        QCOMPARE(click.count(), 0);
        QCOMPARE(m_button->State(), int(MyButton::Focused));
    }

    void mouseIsIgnoredWhileSpaceIsDown()
    {
        QSignalSpy move(m_button, &MyButton::MouseMove);
        QSignalSpy click(m_button, &MyButton::Click);
        QTest::keyPress(m_button, Qt::Key_Space);
        QTest::mouseMove(m_button, QPoint(-20, 3));
        QCOMPARE(move.count(), 0);
        QCOMPARE(m_button->State(), int(MyButton::Pressed));
        QTest::keyRelease(m_button, Qt::Key_Space);
        QCOMPARE(click.count(), 1);
    }

    void enterClicks_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("return") << int(Qt::Key_Return);
        QTest::newRow("keypad enter") << int(Qt::Key_Enter);
    }
    void enterClicks()
    {
        QFETCH(int, key);
        QSignalSpy click(m_button, &MyButton::Click);
        QSignalSpy keyPress(m_button, &MyButton::KeyPress);
        QTest::keyClick(m_button, Qt::Key(key));
        QCOMPARE(click.count(), 1);
        QCOMPARE(keyPress.count(), 1);
        QCOMPARE(keyPress.at(0).at(0).value<short>(), short(13));
        QCOMPARE(m_button->State(), int(MyButton::Focused));
        // A letter types a character but is no click.
        QTest::keyClick(m_button, Qt::Key_B);
        QCOMPARE(click.count(), 1);
        QCOMPARE(keyPress.count(), 2);
    }

    void focusInAndOut()
    {
        Activate();
        m_other->setFocus();
        QCOMPARE(m_button->State(), int(MyButton::Normal));
        m_button->setFocus();
        QVERIFY(m_button->HasFocusFlag());
        QCOMPARE(m_button->State(), int(MyButton::Focused));
        // Leaving a hovered focused button falls back to the focused look.
        QTest::mouseMove(m_button, QPoint(5, 5));
        QCOMPARE(m_button->State(), int(MyButton::Hover));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(m_button, &leave);
        QCOMPARE(m_button->State(), int(MyButton::Focused));
        m_other->setFocus();
        QVERIFY(!m_button->HasFocusFlag());
        QCOMPARE(m_button->State(), int(MyButton::Normal));
    }

    void focusGainedWhileMouseHeldKeepsPressed()
    {
        QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(m_button, &in);
        QVERIFY(m_button->HasFocusFlag());
        QCOMPARE(m_button->State(), int(MyButton::Pressed));
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 5));
    }

    void focusLostWhileSpaceIsDownForgetsTheSpace()
    {
        Activate();
        m_button->setFocus();
        QTest::keyPress(m_button, Qt::Key_Space);
        m_other->setFocus();
        QVERIFY(!m_button->SpaceHeld());
        QTest::mouseMove(m_button, QPoint(5, 5));
        QCOMPARE(m_button->State(), int(MyButton::Hover));
    }

    void accessKeyFromTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::newRow("first letter") << "&Ano" << "A";
        QTest::newRow("inner letter") << "Kon&ec" << "e";
        QTest::newRow("last qualifying") << "&a&b" << "b";
        QTest::newRow("blank after") << "a& b" << "";
        QTest::newRow("doubled") << "a&&b" << "b";
        QTest::newRow("at the end") << "abc&" << "";
        QTest::newRow("none") << "Ne" << "";
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
        const QImage plain = Grab(*m_button);
        m_button->SetText(QStringLiteral("&Ano"));
        QCOMPARE(m_button->AccessKeySequence(), QKeySequence(Qt::ALT | Qt::Key_A));
        const QImage marked = Grab(*m_button);
        // The underline adds pixels below the baseline and nothing else changes.
        QVERIFY(CountColour(marked, qRgb(0, 0, 0)) > CountColour(plain, qRgb(0, 0, 0)));

        Activate();
        m_other->setFocus();
        QSignalSpy click(m_button, &MyButton::Click);
        QTest::keyClick(m_form.get(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(click.count(), 1);
        QVERIFY(m_button->hasFocus());
        m_button->SetText(QStringLiteral("Ne"));
        QTest::keyClick(m_form.get(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(click.count(), 1);
    }

    // ---- drawing of the widget ----

    void disabledDrawsTheFifthFrame()
    {
        QVERIFY(FrameFill(5) != FrameFill(1));
        const QPoint probe(m_button->SizeCW() + 1, m_button->SizeCH() + 1);
        QCOMPARE(Grab(*m_button).pixel(probe), FrameFill(1));
        m_button->setEnabled(false);
        QCOMPARE(m_button->State(), int(MyButton::Disabled));
        const QImage img = Grab(*m_button);
        QCOMPARE(img.pixel(probe), FrameFill(5));
        const int F = m_skin.width() / 5;
        const int x = m_button->width() / 2;
        QCOMPARE(img.pixel(x, 1), m_skin.pixel(4 * F + 3 + (x - 3) % (F - 6), 1));
        // Disabled buttons take no input.
        QSignalSpy click(m_button, &MyButton::Click);
        QTest::keyClick(m_button, Qt::Key_Return);
        QCOMPARE(click.count(), 0);
        m_button->setEnabled(true);
        QCOMPARE(m_button->State(), int(MyButton::Normal));
        QCOMPARE(Grab(*m_button).pixel(probe), FrameFill(1));
    }

    void disabledTextIsDrawnOnceWhenBothColoursAgree()
    {
        m_button->setFont(CrispFont());
        m_button->SetText(QStringLiteral("Uložit"));
        m_button->SetTextColorDisabled(QColor(250, 0, 0));
        m_button->SetTextColorDisabled2(QColor(0, 0, 250));
        m_button->setEnabled(false);
        const QImage two = Grab(*m_button);
        const int red = CountColour(two, qRgb(250, 0, 0));
        QVERIFY(red > 0);
        QVERIFY(CountColour(two, qRgb(0, 0, 250)) > 0);
        m_button->SetTextColorDisabled2(QColor(250, 0, 0));
        const QImage one = Grab(*m_button);
        QCOMPARE(CountColour(one, qRgb(250, 0, 0)), red);
        QCOMPARE(CountColour(one, qRgb(0, 0, 250)), 0);
    }

    void cornersShowTheBackColour()
    {
        const QColor back(10, 200, 30);
        m_button->SetBackColor(back);
        m_button->resize(97, 41);
        const QImage img = Grab(*m_button);
        QCOMPARE(CountColour(img, kMagenta), 0);
        const int F = m_skin.width() / 5;
        const int H = m_skin.height();
        const int cw = m_button->SizeCW(), ch = m_button->SizeCH();
        const int w = img.width(), h = img.height();
        int seeThrough = 0;
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                const QPoint corners[4][2] = {{{x, y}, {x, y}},
                                              {{F - cw + x, y}, {w - cw + x, y}},
                                              {{x, H - ch + y}, {x, h - ch + y}},
                                              {{F - cw + x, H - ch + y}, {w - cw + x, h - ch + y}}};
                for (const auto &c : corners) {
                    const QRgb src = m_skin.pixel(c[0]);
                    if (src == kMagenta) ++seeThrough;
                    QCOMPARE(img.pixel(c[1]), src == kMagenta ? back.rgb() : src);
                }
            }
        QVERIFY(seeThrough >= 4);
    }

    void withoutSkinThePlainBackColour()
    {
        m_button->SetSkinPicture(nullptr);
        QCOMPARE(m_button->SkinPictureName(), QString());
        m_button->SetBackColor(QColor(1, 2, 3));
        m_button->SetText(QString());
        const QImage img = Grab(*m_button);
        QCOMPARE(CountColour(img, qRgb(1, 2, 3)), img.width() * img.height());
    }

    void focusRectangleInStatesTwoAndFour()
    {
        m_button->SetText(QString());
        m_button->SetTextColorEnabled(QColor(0, 0, 255));
        m_button->SetDrawFocus(4);
        const int w = m_button->width();
        const QRect row(4, 4, w - 8, 1);
        QCOMPARE(CountColour(Grab(*m_button), qRgb(0, 0, 255), row), 0); // state 1
        QTest::keyClick(m_button, Qt::Key_B); // any key draws state 2
        QCOMPARE(m_button->State(), int(MyButton::Focused));
        const int dots = CountColour(Grab(*m_button), qRgb(0, 0, 255), row);
        QVERIFY(dots >= (w - 8) / 2 - 1);
        QVERIFY(dots <= (w - 8) / 2 + 1); // dotted, not solid
        QTest::keyPress(m_button, Qt::Key_Space);
        QVERIFY(CountColour(Grab(*m_button), qRgb(0, 0, 255), row) > 0);
        QTest::keyRelease(m_button, Qt::Key_Space);
        m_button->SetDrawFocus(0);
        QCOMPARE(CountColour(Grab(*m_button), qRgb(0, 0, 255)), 0);
    }

    void picturePositions()
    {
        QImage pic(8, 6, QImage::Format_RGB32);
        pic.fill(qRgb(0, 0, 0));
        pic.setPixel(0, 0, kMagenta);
        m_button->SetPicture(QPixmap::fromImage(pic));
        m_button->SetText(QStringLiteral("OK"));
        const int w = m_button->width(), h = m_button->height();
        const int cw = m_button->SizeCW(), ch = m_button->SizeCH();
        const int L = cw, R = w - cw - 3;

        QImage img = Grab(*m_button);
        QCOMPARE(m_button->LastPictureRect(), QRect(L + 3, (h - 6) / 2, 8, 6));
        QCOMPARE(m_button->LastTextRect().left(), L + 3 + 8 + L);
        QCOMPARE(img.pixel(L + 3 + 1, (h - 6) / 2), qRgb(0, 0, 0));
        QVERIFY(img.pixel(L + 3, (h - 6) / 2) != kMagenta); // see-through pixel of the picture

        m_button->SetPicturePos(MyButton::PictureRight);
        Grab(*m_button);
        const int right = R - 8 - 3;
        QCOMPARE(m_button->LastPictureRect().left(), right);
        QCOMPARE(m_button->LastTextRect().right() + 1, right - 3);

        m_button->SetPicturePos(MyButton::PictureAbove);
        Grab(*m_button);
        QRect p = m_button->LastPictureRect(), t = m_button->LastTextRect();
        QCOMPARE(t.top(), p.bottom() + 1 + 3);
        QVERIFY(qAbs((p.top() - ch) - ((h - ch) - (t.bottom() + 1))) <= 1); // centred together
        QVERIFY(qAbs(p.center().x() - (L + R) / 2) <= 1);

        m_button->SetPicturePos(MyButton::PictureBelow);
        Grab(*m_button);
        p = m_button->LastPictureRect();
        t = m_button->LastTextRect();
        QCOMPARE(p.top(), t.bottom() + 1 + 3);

        m_button->SetPicturePos(MyButton::PictureAlone);
        m_button->SetDisplaceText(2);
        Grab(*m_button);
        QCOMPARE(m_button->LastPictureRect(), QRect((w - 8) / 2 + 2, (h - 6) / 2, 8, 6));
        QVERIFY(m_button->LastTextRect().isNull());
    }

    void pressedMovesTextAndPicture()
    {
        QImage pic(8, 6, QImage::Format_RGB32);
        pic.fill(qRgb(0, 0, 0));
        m_button->SetPicture(QPixmap::fromImage(pic));
        m_button->SetDisplaceText(2);
        Grab(*m_button);
        const QRect picUp = m_button->LastPictureRect();
        const QRect textUp = m_button->LastTextRect();
        QTest::keyPress(m_button, Qt::Key_Space);
        Grab(*m_button);
        QCOMPARE(m_button->LastPictureRect(), picUp.translated(2, 2));
        // The text's left edge follows the picture, which itself moved: 2 + 2.
        QCOMPARE(m_button->LastTextRect().top(), textUp.top() + 2);
        QCOMPARE(m_button->LastTextRect().left(), textUp.left() + 4);
        QTest::keyRelease(m_button, Qt::Key_Space);
    }

    void disabledPictureIsEmbossed()
    {
        QImage pic(8, 6, QImage::Format_RGB32);
        pic.fill(kMagenta);
        for (int y = 1; y < 5; ++y)
            for (int x = 1; x < 7; ++x) pic.setPixel(x, y, qRgb(200, 0, 0));
        m_button->SetPicture(QPixmap::fromImage(pic));
        m_button->SetText(QString());
        m_button->setEnabled(false);
        const QImage img = Grab(*m_button);
        const QPoint at = m_button->LastPictureRect().topLeft();
        const QRgb shadow = m_button->palette().color(QPalette::Dark).rgb();
        const QRgb light = m_button->palette().color(QPalette::Light).rgb();
        QCOMPARE(img.pixel(at + QPoint(3, 3)), shadow);
        QCOMPARE(img.pixel(at + QPoint(7, 5)), light); // one down and right of the shape
        QCOMPARE(CountColour(img, qRgb(200, 0, 0)), 0);
    }

    // ---- properties ----

    void skinPictureAcceptsOnlyPictureBoxes()
    {
        QLabel *def = m_form->findChild<QLabel *>(QStringLiteral("MyButtonDefSkin"));
        QCOMPARE(m_button->SkinPicture(), def); // bound by its default name when shown
        auto *notABox = new QPushButton(m_form.get());
        QVERIFY(!m_button->SetSkinPicture(notABox));
        QCOMPARE(m_button->LastErrorNumber(), 5);
        QCOMPARE(m_button->LastErrorSource(), QStringLiteral("MyButton::SkinPicture"));
        QCOMPARE(m_button->SkinPicture(), def);

        auto *other = new QLabel(m_form.get());
        other->setObjectName(QStringLiteral("OtherSkin"));
        other->setPixmap(QPixmap::fromImage(CodedSkin(10, 14)));
        QVERIFY(m_button->SetSkinPicture(other));
        QCOMPARE(m_button->LastErrorNumber(), 0);
        QCOMPARE(m_button->SkinPictureName(), QStringLiteral("OtherSkin"));

        m_button->SetSkinPictureName(QStringLiteral("NoSuchBox"));
        QCOMPARE(m_button->SkinPicture(), other);
        m_button->SetSkinPictureName(QStringLiteral("MyButtonDefSkin"));
        QCOMPARE(m_button->SkinPicture(), def);
        m_button->SetSkinPictureName(QString());
        QCOMPARE(m_button->SkinPicture(), static_cast<QLabel *>(nullptr));
    }

    void skinNameBindsWhenShown()
    {
        QWidget form;
        auto *button = new MyButton(QStringLiteral("Command2"), &form);
        QCOMPARE(button->Text(), QStringLiteral("Command2"));
        QCOMPARE(button->SkinPictureName(), QStringLiteral("MyButtonDefSkin"));
        QVERIFY(!button->SkinPicture());
        QLabel *box = AddDefaultSkinBox(&form);
        QVERIFY(!box->isVisible());
        form.show();
        QCOMPARE(button->SkinPicture(), box);
    }

    void refreshResetsAnOddState()
    {
        m_button->setEnabled(false);
        m_button->Refresh();
        QCOMPARE(m_button->State(), int(MyButton::Disabled));
        m_button->setEnabled(true);
        m_button->Refresh();
        QCOMPARE(m_button->State(), int(MyButton::Normal));
    }

    void designDataRoundTrip()
    {
        QCOMPARE(m_button->WriteProperties(), QVariantMap()); // all defaults
        m_button->SetText(QStringLiteral("&Ne"));
        m_button->SetSizeCW(4);
        m_button->SetDisableHover(true);
        m_button->SetDrawFocus(3);
        m_button->SetTextColorDisabled2(QColor(128, 128, 128));
        m_button->SetBackColor(QColor(1, 2, 3));
        m_button->SetTextAlign(MyButton::AlignLeft);
        const QVariantMap bag = m_button->WriteProperties();
        QCOMPARE(bag.value(QStringLiteral("Text")).toString(), QStringLiteral("&Ne"));
        QCOMPARE(bag.value(QStringLiteral("AccessKey")).toString(), QStringLiteral("N"));
        QVERIFY(!bag.contains(QStringLiteral("SizeCH")));
        QVERIFY(!bag.contains(QStringLiteral("SPN")));

        auto *copy = new MyButton(QStringLiteral("Command3"), m_form.get());
        copy->ReadProperties(bag);
        QCOMPARE(copy->Text(), QStringLiteral("&Ne"));
        QCOMPARE(copy->AccessKey(), QChar('N'));
        QCOMPARE(copy->SizeCW(), 4);
        QCOMPARE(copy->SizeCH(), 3);
        QVERIFY(copy->DisableHover());
        QCOMPARE(copy->DrawFocus(), 3);
        QCOMPARE(copy->TextColorDisabled2(), QColor(128, 128, 128));
        QCOMPARE(copy->BackColor(), QColor(1, 2, 3));
        QCOMPARE(copy->TextAlign(), int(MyButton::AlignLeft));
        QCOMPARE(copy->SkinPictureName(), QString()); // a missing "SPN" is an empty name
        copy->ReadProperties(QVariantMap());
        QCOMPARE(copy->Text(), QString()); // a missing "Text" is empty text
        QCOMPARE(copy->PictureTColor(), QColor::fromRgb(kMagenta));
        QVERIFY(copy->FillWithColor());
    }
};

QTEST_MAIN(MyButtonTest)
#include "MyButtonTest.moc"
