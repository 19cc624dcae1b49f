#pragma once
// The dialogs' own push button. It draws itself from a skin picture (five frames side by
// side, one per visual state, each a nine-part image with magenta see-through corners)
// and raises its events in the order and under the conditions the dialogs rely on.

#include <QColor>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

class QPainter;

namespace pxr3 {

// The see-through colour of skins and the default see-through colour of pictures.
inline constexpr QRgb kMagenta = 0xFFFF00FF;

// The skin cut into its five frames (frame width = skin width / 5, fraction dropped).
// An empty list when the skin is narrower than five pixels.
QList<QImage> SkinFrames(const QImage &skin);

// Copies src (within srcRect) repeatedly in rows and columns from target's top-left corner
// until target is covered, clipped to target. False when there is nothing to copy from.
bool TileImage(QPainter &p, const QImage &src, const QRect &srcRect, const QRect &target);

// Copies srcRect of src to dest, leaving the destination unchanged where the source pixel
// has the colour transparent.
void TransparentCopy(QPainter &p, const QPoint &dest, const QImage &src, const QRect &srcRect, QRgb transparent);

// The picture with its pixels of colour transparent made see-through.
QImage MaskedImage(const QImage &picture, QRgb transparent);

// Steps of the skin drawing: back colour, middle (filled or tiled), edges tiled between the
// corners, corners with magenta see-through. False when drawing had to stop (a skin too
// small for its corners); whatever was drawn stays.
bool PaintSkinFace(QPainter &p, const QImage &skin, int state, const QSize &size, int cornerW, int cornerH,
                   bool fillWithColor, const QColor &backColor);

// The access key of a caption: the character after the last "&" that is followed by
// neither a blank nor another "&". A null character when there is none.
QChar AccessKeyOf(const QString &text);

// The default skin shipped with the program.
QPixmap DefaultSkinPixmap();

// Puts the hidden picture box "MyButtonDefSkin" with the default skin on a form, so that
// its buttons find their skin by the default name.
QLabel *AddDefaultSkinBox(QWidget *form);

class MyButton : public QWidget {
    Q_OBJECT
public:
    enum ButtonState { Normal = 1, Focused = 2, Hover = 3, Pressed = 4, Disabled = 5 };
    enum PicturePosition { PictureLeft = 0, PictureAbove = 1, PictureBelow = 2, PictureRight = 3, PictureAlone = 4 };
    enum TextAlignment { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

    explicit MyButton(QWidget *parent = nullptr);
    // A button named like its form control; the name is also its first caption.
    MyButton(const QString &name, QWidget *parent);

    // Redraws the current state (out of range becomes 1; disabled draws state 5).
    void Refresh();
    int State() const { return m_state; }

    int SizeCW() const { return m_sizeCW; }
    void SetSizeCW(int v);
    int SizeCH() const { return m_sizeCH; }
    void SetSizeCH(int v);

    // The picture box (a QLabel holding a pixmap) whose picture is the skin. Anything that
    // is not a picture box is refused with error 5; null clears the skin.
    QLabel *SkinPicture() const { return m_skinBox.data(); }
    bool SetSkinPicture(QObject *box);
    QString SkinPictureName() const { return m_skinName; }
    void SetSkinPictureName(const QString &name);
    // The last setter error: number 0 when none.
    int LastErrorNumber() const { return m_errorNumber; }
    QString LastErrorSource() const { return m_errorSource; }

    QString Text() const { return m_text; }
    void SetText(const QString &text);
    QChar AccessKey() const { return m_accessKey; }
    QKeySequence AccessKeySequence() const;

    bool FillWithColor() const { return m_fillWithColor; }
    void SetFillWithColor(bool v);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool v) { setEnabled(v); }
    QColor TextColorEnabled() const { return m_textEnabled; }
    void SetTextColorEnabled(const QColor &c);
    QColor TextColorDisabled() const { return m_textDisabled; }
    void SetTextColorDisabled(const QColor &c);
    QColor TextColorDisabled2() const { return m_textDisabled2; }
    void SetTextColorDisabled2(const QColor &c);
    bool DisableHover() const { return m_disableHover; }
    void SetDisableHover(bool v);
    int DisplaceText() const { return m_displaceText; }
    void SetDisplaceText(int v);
    int DrawFocus() const { return m_drawFocus; }
    void SetDrawFocus(int v);
    QPixmap Picture() const { return m_picture; }
    void SetPicture(const QPixmap &p);
    int PicturePos() const { return m_picturePos; }
    void SetPicturePos(int v);
    QColor PictureTColor() const { return m_pictureTColor; }
    void SetPictureTColor(const QColor &c);
    int TextAlign() const { return m_textAlign; }
    void SetTextAlign(int v);
    QColor BackColor() const { return m_backColor; }
    void SetBackColor(const QColor &c);
    Qt::CursorShape MousePointer() const { return m_mousePointer; }
    void SetMousePointer(Qt::CursorShape shape);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    void SetMouseIcon(const QPixmap &icon);

    QSize sizeHint() const override;

signals:
    void Click();
    void MouseHover();
    void MouseOut();
    void MouseDown(short button, short shift, float x, float y);
    void MouseMove(short button, short shift, float x, float y);
    void MouseUp(short button, short shift, float x, float y);
    void KeyPress(short keyAscii);
    void KeyDown(short keyCode, short shift);
    void KeyUp(short keyCode, short shift);

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void drawState(int s);
    void handleMove(short button, short shift, const QPointF &pos);
    void paintState(QPainter &p, int s);
    void paintText(QPainter &p, const QRect &r, const QColor &c) const;
    void paintDisabledText(QPainter &p, const QRect &r) const;
    void bindSkinByName();
    void updateCursor();
    QImage skinImage() const;

    int m_state = Normal;
    bool m_hasFocus = false;
    bool m_mouseHeld = false;
    bool m_spaceHeld = false;

    int m_sizeCW = 3;
    int m_sizeCH = 3;
    QPointer<QLabel> m_skinBox;
    QString m_skinName = QStringLiteral("MyButtonDefSkin");
    int m_errorNumber = 0;
    QString m_errorSource;
    QString m_text;
    QChar m_accessKey;
    int m_shortcutId = 0;
    bool m_fillWithColor = true;
    QColor m_textEnabled = Qt::black;
    QColor m_textDisabled = Qt::black;
    QColor m_textDisabled2 = Qt::black;
    bool m_disableHover = false;
    int m_displaceText = 0;
    int m_drawFocus = 0;
    QPixmap m_picture;
    int m_picturePos = PictureLeft;
    QColor m_pictureTColor = QColor::fromRgb(kMagenta);
    int m_textAlign = AlignCentre;
    QColor m_backColor;
    Qt::CursorShape m_mousePointer = Qt::ArrowCursor;
    QPixmap m_mouseIcon;
};

} // namespace pxr3
