#include "controls/MyButton.h"

#include "controls/AccessibleControls.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

// Resources of a static library are only linked in when something refers to them.
static void InitMyButtonResources() { Q_INIT_RESOURCE(MyButton); }

namespace pxr3 {

namespace {

const QString kDefaultSkinName = QStringLiteral("MyButtonDefSkin");
const QString kSkinPictureSource = QStringLiteral("MyButton::SkinPicture");
constexpr int kInvalidCall = 5;

// A rectangle from its left, top, right and bottom edges (right and bottom exclusive).
QRect Edges(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

short ButtonCode(Qt::MouseButtons b)
{
    short code = 0;
    if (b & Qt::LeftButton)
        code |= 1;
    if (b & Qt::RightButton)
        code |= 2;
    if (b & Qt::MiddleButton)
        code |= 4;
    return code;
}

short ShiftCode(Qt::KeyboardModifiers m)
{
    short code = 0;
    if (m & Qt::ShiftModifier)
        code |= 1;
    if (m & Qt::ControlModifier)
        code |= 2;
    if (m & Qt::AltModifier)
        code |= 4;
    return code;
}

// Key codes as the dialogs' handlers know them: letters, digits and the blank are their
// upper-case characters; the named keys have their classic virtual-key numbers.
short KeyCode(const QKeyEvent *e)
{
    const int k = e->key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9) || k == Qt::Key_Space)
        return short(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return short(112 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return short(k & 0x7FFF);
    }
}

// The character code of a key press, 0 when the key types no character.
short KeyAscii(const QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return 13;
    const QString t = e->text();
    if (t.isEmpty() || t.at(0).unicode() > 0x7FFF)
        return 0;
    return short(t.at(0).unicode());
}

QImage Shape(const QImage &picture, QRgb transparent, const QColor &colour)
{
    QImage img = MaskedImage(picture, transparent);
    const QRgb c = colour.rgb() & 0x00FFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = qAlpha(line[x]) ? (c | 0xFF000000u) : 0u;
    }
    return img;
}

} // namespace

QList<QImage> SkinFrames(const QImage &skin)
{
    QList<QImage> frames;
    const int f = skin.width() / 5;
    if (f <= 0)
        return frames;
    for (int s = 0; s < 5; ++s)
        frames.append(skin.copy(s * f, 0, f, skin.height()));
    return frames;
}

bool TileImage(QPainter &p, const QImage &src, const QRect &srcRect, const QRect &target)
{
    if (target.isEmpty())
        return true;
    const QRect from = srcRect & src.rect();
    if (from.isEmpty())
        return false; // nothing to repeat: the loop would never end
    p.save();
    p.setClipRect(target, Qt::IntersectClip);
    for (int y = target.top(); y <= target.bottom(); y += from.height())
        for (int x = target.left(); x <= target.right(); x += from.width())
            p.drawImage(QPoint(x, y), src, from);
    p.restore();
    return true;
}

QImage MaskedImage(const QImage &picture, QRgb transparent)
{
    QImage img = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent & 0x00FFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0x00FFFFFF) == key)
                line[x] = 0;
    }
    return img;
}

void TransparentCopy(QPainter &p, const QPoint &dest, const QImage &src, const QRect &srcRect, QRgb transparent)
{
    const QRect from = srcRect & src.rect();
    if (from.isEmpty())
        return;
    const QPoint shift = from.topLeft() - srcRect.topLeft();
    p.drawImage(dest + shift, MaskedImage(src.copy(from), transparent));
}

bool PaintSkinFace(QPainter &p, const QImage &skin, int state, const QSize &size, int cw, int ch, bool fillWithColor,
                   const QColor &backColor)
{
    const int H = skin.height();
    const int F = skin.width() / 5;
    if (F <= 0 || H <= 0 || state < 1 || state > 5)
        return false;
    const int x0 = (state - 1) * F;
    const int x1 = state * F;
    const int w = size.width();
    const int h = size.height();

    QColor fill;
    if (fillWithColor) {
        const QPoint at(x0 + cw + 1, ch + 1);
        if (!skin.valid(at))
            return false;
        fill = QColor::fromRgb(skin.pixel(at));
    }

    p.fillRect(QRect(0, 0, w, h), backColor);
    const QRect middle = Edges(cw, ch, w - cw, h - ch);
    if (fillWithColor) {
        if (!middle.isEmpty())
            p.fillRect(middle, fill);
    } else if (!TileImage(p, skin, Edges(x0 + cw, ch, x1 - cw, H - ch), middle)) {
        return false;
    }

    if (cw > 0 && ch > 0) {
        // The edges stop where the corners begin, so that the corners' see-through pixels
        // show the back colour in all four corners rather than edge pixels.
        if (!TileImage(p, skin, Edges(x0 + cw, 0, x1 - cw, ch), Edges(cw, 0, w - cw, ch)))
            return false;
        if (!TileImage(p, skin, Edges(x0 + cw, H - ch, x1 - cw, H), Edges(cw, h - ch, w - cw, h)))
            return false;
        if (!TileImage(p, skin, Edges(x0, ch, x0 + cw, H - ch), Edges(0, ch, cw, h - ch)))
            return false;
        if (!TileImage(p, skin, Edges(x1 - cw, ch, x1, H - ch), Edges(w - cw, ch, w, h - ch)))
            return false;
        TransparentCopy(p, QPoint(0, 0), skin, QRect(x0, 0, cw, ch), kMagenta);
        TransparentCopy(p, QPoint(0, h - ch), skin, QRect(x0, H - ch, cw, ch), kMagenta);
        TransparentCopy(p, QPoint(w - cw, 0), skin, QRect(x1 - cw, 0, cw, ch), kMagenta);
        TransparentCopy(p, QPoint(w - cw, h - ch), skin, QRect(x1 - cw, H - ch, cw, ch), kMagenta);
    }
    return true;
}

QChar AccessKeyOf(const QString &text)
{
    QChar key;
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        const QChar next = text.at(i + 1);
        if (next != QLatin1Char(' ') && next != QLatin1Char('&'))
            key = next;
    }
    return key;
}

QPixmap DefaultSkinPixmap()
{
    InitMyButtonResources();
    return QPixmap(QStringLiteral(":/controls/MyButtonDefSkin.png"));
}

QLabel *AddDefaultSkinBox(QWidget *form)
{
    auto *box = new QLabel(form);
    box->setObjectName(kDefaultSkinName);
    box->setPixmap(DefaultSkinPixmap());
    box->hide();
    return box;
}

MyButton::MyButton(QWidget *parent) : QWidget(parent)
{
    InstallAccessibleControls(); // a screen reader sees a push button, not a drawn area
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    m_backColor = palette().color(QPalette::Button);
    m_text = objectName();
}

MyButton::MyButton(const QString &name, QWidget *parent) : MyButton(parent)
{
    setObjectName(name);
    SetText(name);
}

QSize MyButton::sizeHint() const
{
    const QFontMetrics fm(font());
    int w = fm.horizontalAdvance(QString(m_text).remove(QLatin1Char('&'))) + 2 * m_sizeCW + 16;
    int h = fm.height() + 2 * m_sizeCH + 8;
    if (!m_picture.isNull()) {
        w += m_picture.width() + 6;
        h = qMax(h, m_picture.height() + 2 * m_sizeCH + 4);
    }
    return QSize(qMax(w, 75), qMax(h, 23));
}

void MyButton::Refresh()
{
    if (m_state < Normal || m_state > Disabled)
        m_state = Normal;
    drawState(isEnabled() ? m_state : Disabled);
}

void MyButton::drawState(int s)
{
    if (m_disableHover && s == Hover)
        return;
    m_state = s;
    update();
}

void MyButton::SetSizeCW(int v)
{
    m_sizeCW = v;
    update();
}
void MyButton::SetSizeCH(int v)
{
    m_sizeCH = v;
    update();
}

bool MyButton::SetSkinPicture(QObject *box)
{
    auto *label = qobject_cast<QLabel *>(box);
    if (box && !label) {
        m_errorNumber = kInvalidCall;
        m_errorSource = kSkinPictureSource;
        return false;
    }
    m_errorNumber = 0;
    m_errorSource.clear();
    m_skinBox = label;
    m_skinName = label ? label->objectName() : QString();
    update();
    return true;
}

void MyButton::SetSkinPictureName(const QString &name)
{
    if (name.isEmpty()) {
        SetSkinPicture(nullptr);
        return;
    }
    // Kept even when not found yet: the next show binds it once the form has the box.
    m_skinName = name;
    bindSkinByName();
}

void MyButton::bindSkinByName()
{
    if (m_skinName.isEmpty())
        return;
    QWidget *form = window();
    if (!form || form == this)
        return;
    if (QObject *found = form->findChild<QObject *>(m_skinName))
        SetSkinPicture(found);
}

void MyButton::SetText(const QString &text)
{
    m_text = text;
    update();
    m_accessKey = AccessKeyOf(text);
    if (m_shortcutId)
        releaseShortcut(m_shortcutId);
    m_shortcutId = m_accessKey.isNull() ? 0 : grabShortcut(AccessKeySequence());
}

QKeySequence MyButton::AccessKeySequence() const
{
    if (m_accessKey.isNull())
        return QKeySequence();
    return QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(m_accessKey.toUpper().unicode())));
}

void MyButton::SetFillWithColor(bool v)
{
    m_fillWithColor = v;
    update();
}
void MyButton::SetTextColorEnabled(const QColor &c)
{
    m_textEnabled = c;
    update();
}
void MyButton::SetTextColorDisabled(const QColor &c)
{
    m_textDisabled = c;
    update();
}
void MyButton::SetTextColorDisabled2(const QColor &c)
{
    m_textDisabled2 = c;
    update();
}
void MyButton::SetDisableHover(bool v)
{
    m_disableHover = v;
    update();
}
void MyButton::SetDisplaceText(int v)
{
    m_displaceText = v;
    update();
}
void MyButton::SetDrawFocus(int v)
{
    m_drawFocus = v;
    update();
}
void MyButton::SetPicture(const QPixmap &p)
{
    m_picture = p;
    update();
}
void MyButton::SetPicturePos(int v)
{
    m_picturePos = v;
    update();
}
void MyButton::SetPictureTColor(const QColor &c)
{
    m_pictureTColor = c;
    update();
}
void MyButton::SetTextAlign(int v)
{
    m_textAlign = v;
    update();
}
void MyButton::SetBackColor(const QColor &c)
{
    m_backColor = c;
    update();
}
void MyButton::SetMousePointer(Qt::CursorShape shape)
{
    m_mousePointer = shape;
    updateCursor();
}
void MyButton::SetMouseIcon(const QPixmap &icon)
{
    m_mouseIcon = icon;
    updateCursor();
}

void MyButton::updateCursor()
{
    if (m_mousePointer == Qt::BitmapCursor && !m_mouseIcon.isNull())
        setCursor(QCursor(m_mouseIcon));
    else if (m_mousePointer == Qt::BitmapCursor)
        unsetCursor();
    else
        setCursor(QCursor(m_mousePointer));
}

QImage MyButton::skinImage() const
{
    if (!m_skinBox)
        return QImage();
    return m_skinBox->pixmap().toImage();
}

// ---- drawing ----

void MyButton::paintText(QPainter &p, const QRect &r, const QColor &c) const
{
    if (r.width() <= 0 || r.height() <= 0 || m_text.isEmpty())
        return;
    int align = Qt::AlignHCenter;
    if (m_textAlign == AlignLeft)
        align = Qt::AlignLeft;
    else if (m_textAlign == AlignRight)
        align = Qt::AlignRight;
    const int flags = align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QFontMetrics fm(font());
    p.setFont(font());
    p.setPen(c);
    p.drawText(r, flags, fm.elidedText(m_text, Qt::ElideRight, r.width(), Qt::TextShowMnemonic));
}

void MyButton::paintDisabledText(QPainter &p, const QRect &r) const
{
    if (m_textDisabled != m_textDisabled2)
        paintText(p, r.translated(1, 1), m_textDisabled2);
    paintText(p, r, m_textDisabled);
}

void MyButton::paintState(QPainter &p, int s)
{
    const int w = width();
    const int h = height();
    const QImage skin = skinImage();
    if (skin.isNull()) {
        p.fillRect(rect(), m_backColor);
        paintText(p, QRect(0, 0, w, h), s == Disabled ? m_textDisabled : m_textEnabled);
        return;
    }
    if (!PaintSkinFace(p, skin, s, size(), m_sizeCW, m_sizeCH, m_fillWithColor, m_backColor))
        return;

    const int d = s == Pressed ? m_displaceText : 0;
    int L = m_sizeCW + d;
    int T = m_sizeCH + d;
    int R = w - m_sizeCW - 3 + d;
    int B = h - m_sizeCH + d;
    bool drawText = true;

    if (m_picture.isNull()) {
        if (s == Disabled)
            paintDisabledText(p, Edges(L, T, R, B));
        else
            paintText(p, Edges(L, T, R, B), m_textEnabled);
    } else {
        const int pw = m_picture.width();
        const int ph = m_picture.height();
        int picTop = (h - ph) / 2 + d;
        int picLeft = L + 3;
        switch (m_picturePos) {
        case PictureRight:
            picLeft = R - pw - 3 + (L - m_sizeCW);
            R = picLeft - 3;
            break;
        case PictureAbove:
        case PictureBelow: {
            const int line = int(QFontMetrics(font()).height() * 1.2);
            const int top = T + ((B - T) - (ph + 3 + line)) / 2;
            picLeft = L + ((R - L) - pw) / 2;
            if (m_picturePos == PictureAbove) {
                picTop = top;
                T = top + ph + 3;
            } else {
                T = top;
                picTop = top + line + 3;
            }
            B = T + line;
            break;
        }
        case PictureAlone:
            picLeft = (w - pw) / 2 + m_displaceText;
            drawText = false;
            break;
        default: // left of the text
            picLeft = L + 3;
            L = picLeft + pw + L;
            break;
        }
        const QRect textRect = Edges(L, T, R, B);
        const QImage pic = m_picture.toImage();
        if (s == Disabled) {
            p.drawImage(QPoint(picLeft + 1, picTop + 1),
                        Shape(pic, m_pictureTColor.rgb(), palette().color(QPalette::Light)));
            p.drawImage(QPoint(picLeft, picTop), Shape(pic, m_pictureTColor.rgb(), palette().color(QPalette::Dark)));
            if (drawText)
                paintDisabledText(p, textRect);
        } else {
            if (drawText)
                paintText(p, textRect, m_textEnabled);
            p.drawImage(QPoint(picLeft, picTop), MaskedImage(pic, m_pictureTColor.rgb()));
        }
    }

    if (m_drawFocus > 0 && (s == Focused || s == Pressed)) {
        // A dotted rectangle of every other pixel, as the platform draws focus.
        QPen pen(m_textEnabled, 1);
        pen.setCosmetic(true);
        pen.setDashPattern({1.0, 1.0});
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRect r = Edges(m_drawFocus, m_drawFocus, w - m_drawFocus, h - m_drawFocus);
        if (r.width() > 1 && r.height() > 1)
            p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

// ---- events ----

bool MyButton::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut) {
        auto *se = static_cast<QShortcutEvent *>(e);
        if (m_shortcutId && se->shortcutId() == m_shortcutId) {
            // The underlined letter promises the button's action, not only its focus; a
            // letter shared by several buttons only moves the focus among them.
            setFocus(Qt::ShortcutFocusReason);
            if (!se->isAmbiguous())
                emit Click();
            return true;
        }
    }
    return QWidget::event(e);
}

void MyButton::paintEvent(QPaintEvent *)
{
    if (m_state < Normal || m_state > Disabled)
        m_state = Normal;
    if (!isEnabled())
        m_state = Disabled;
    QPainter p(this);
    paintState(p, m_state);
}

void MyButton::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Refresh();
}

void MyButton::showEvent(QShowEvent *e)
{
    bindSkinByName();
    QWidget::showEvent(e);
}

void MyButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange)
        drawState(isEnabled() ? Normal : Disabled);
    QWidget::changeEvent(e);
}

void MyButton::handleMove(short button, short shift, const QPointF &pos)
{
    if (m_spaceHeld)
        return;
    QPointer<MyButton> self(this);
    emit MouseMove(button, shift, float(pos.x()), float(pos.y()));
    if (!self)
        return;
    const bool inside = pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height();
    if (inside && m_mouseHeld) {
        if (m_state != Pressed)
            drawState(Pressed);
    } else if (inside) {
        if (m_state != Hover) {
            emit MouseHover();
            if (self)
                drawState(Hover);
        }
    } else if (m_mouseHeld) {
        emit MouseHover();
        if (self)
            drawState(Hover);
    } else {
        emit MouseOut();
        if (self)
            drawState(m_hasFocus ? Focused : Normal);
    }
}

void MyButton::mousePressEvent(QMouseEvent *e)
{
    QPointer<MyButton> self(this);
    const short button = ButtonCode(e->button());
    const short shift = ShiftCode(e->modifiers());
    emit MouseDown(button, shift, float(e->position().x()), float(e->position().y()));
    if (!self)
        return;
    if (e->button() == Qt::LeftButton)
        m_mouseHeld = true;
    handleMove(button, shift, e->position());
}

void MyButton::mouseMoveEvent(QMouseEvent *e)
{
    handleMove(ButtonCode(e->buttons()), ShiftCode(e->modifiers()), e->position());
}

void MyButton::mouseReleaseEvent(QMouseEvent *e)
{
    QPointer<MyButton> self(this);
    m_mouseHeld = false;
    drawState(Normal);
    const QPointF pos = e->position();
    emit MouseUp(ButtonCode(e->button()), ShiftCode(e->modifiers()), float(pos.x()), float(pos.y()));
    if (!self || e->button() != Qt::LeftButton)
        return;
    if (pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height()) {
        emit Click();
        if (!self)
            return; // the handler may have closed the form with the button
    }
    drawState(Focused);
}

void MyButton::mouseDoubleClickEvent(QMouseEvent *) { drawState(Pressed); }

void MyButton::leaveEvent(QEvent *e)
{
    // Moves outside reach us only while a button is held; otherwise the pointer's leaving
    // is the first move outside.
    QWidget::leaveEvent(e);
    if (m_mouseHeld || m_spaceHeld)
        return;
    QPointer<MyButton> self(this);
    emit MouseOut();
    if (self)
        drawState(m_hasFocus ? Focused : Normal);
}

void MyButton::keyPressEvent(QKeyEvent *e)
{
    QPointer<MyButton> self(this);
    emit KeyDown(KeyCode(e), ShiftCode(e->modifiers()));
    if (!self)
        return;
    if (e->key() == Qt::Key_Space) {
        m_spaceHeld = true;
        drawState(Pressed);
    } else {
        m_spaceHeld = false;
        drawState(Focused);
    }
    const short ascii = KeyAscii(e);
    if (ascii) {
        emit KeyPress(ascii);
        if (!self)
            return;
        if (ascii == 13) {
            emit Click();
            return;
        }
    }
    // Keys the button has no use for still reach the form (Escape, function keys).
    if (e->key() != Qt::Key_Space)
        e->ignore();
}

void MyButton::keyReleaseEvent(QKeyEvent *e)
{
    if (e->isAutoRepeat())
        return; // a held key repeats its press only
    QPointer<MyButton> self(this);
    emit KeyUp(KeyCode(e), ShiftCode(e->modifiers()));
    if (!self)
        return;
    if (e->key() == Qt::Key_Space && m_spaceHeld && m_state == Pressed) {
        m_spaceHeld = false;
        drawState(Normal);
        emit Click();
        if (!self)
            return;
        drawState(Focused);
    }
}

void MyButton::focusInEvent(QFocusEvent *e)
{
    m_hasFocus = true;
    if (!m_mouseHeld)
        drawState(Focused);
    QWidget::focusInEvent(e);
}

void MyButton::focusOutEvent(QFocusEvent *e)
{
    m_hasFocus = false;
    // A space released elsewhere never reaches us; a stale held flag would make the
    // button ignore the mouse from then on.
    m_spaceHeld = false;
    drawState(Normal);
    QWidget::focusOutEvent(e);
}

} // namespace pxr3
