#pragma once
// The frame window: menu, toolbar, parameter panel, activity pictures, status bar and the
// area that holds the child windows. Every command is dispatched to the window that does it.

#include "records/WindowPlacement.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QStyle>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QProgressBar;
class QToolBar;

namespace pxr3 {

class Form1;
class frm_USBkom;

class MDIForm1 : public QMainWindow, public MainWindowPlacement {
    Q_OBJECT
public:
    explicit MDIForm1(QWidget *parent = nullptr);

    // The caption as the program sets it; a simulation is always added to the shown title.
    void setCaption(const QString &caption);
    QString caption() const { return caption_; }
    void setSimulated(bool simulated);

    QMdiArea *area() const { return area_; }
    QMdiSubWindow *addChild(QWidget *child);
    void setCommunicationWindow(frm_USBkom *window, QMdiSubWindow *frame);
    void setTableWindow(QMdiSubWindow *frame) { tableFrame_ = frame; }
    void setCourseWindow(QMdiSubWindow *frame) { courseFrame_ = frame; }
    void tileVertically();
    void tileHorizontally();

    // The toolbar's handler: the key of the pressed button.
    void p2_ButtonClick(const QString &key);
    QAction *toolButton(const QString &key) const { return toolButtons_.value(key); }
    QAction *menuItem(const QString &name) const { return menuItems_.value(name); }

    // Command enabling while a measurement series runs.
    void setSeriesRunning(bool running);

    // Panels 4 and 5, and the activity pictures.
    void showConnected(bool connected);
    void showDelivering(bool delivering);
    bool connectedShown() const;
    bool notConnectedShown() const;

    void setStatusText(const QString &text); // panel 1
    // The broker the results are published to; its panel appears with the first state.
    void showBrokerState(const QString &text);
    QString statusText() const;
    // Where a series stands: the text, and the running cycle's seconds as a bar (none when 0).
    void showSeriesProgress(const QString &text, int secondsDone, int secondsPerCycle);
    QLabel *seriesProgressText() const { return seriesText_; }
    QProgressBar *seriesProgressBar() const { return seriesBar_; }

    QLabel *panelValue(int index) const; // Label2(index); there is no Label2(7)
    // The value label grows to its text: a value is never shown cut.
    void setPanelValue(int index, const QString &text);
    QCheckBox *rollingCheck() const { return Check1; }
    QLineEdit *rowsInView() const { return Text1; }

    // Placement in twips, as the settings file keeps it.
    WindowPlacement placement() const override;
    void applyState(int16_t state) override;
    void applyPosition(int32_t top, int32_t left) override;
    void applySize(int32_t width, int32_t height) override;

    Form1 *quitDialog() const;

    // Set by the quit dialog: from then on the window may close.
    void allowClose() { closeAllowed_ = true; }

signals:
    // "S&top" from the menu or the toolbar.
    void stopRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenu();
    void buildToolbar();
    void buildPanel();
    void buildStatusBar();
    QAction *addMenuItem(QMenu *menu, const QString &name, const QString &text, const QKeySequence &key,
                         const char *iconName, QStyle::StandardPixmap fallback, void (MDIForm1::*handler)());
    QIcon themed(const char *name, QStyle::StandardPixmap fallback);
    void showMenuIcons(QMenu *menu);
    void runCommand(const std::function<void()> &command);
    void showQuitDialog(bool modal);
    void updateClock();

    void printerSetup();
    void reconnect();
    void parameters();
    void quit();
    void clearTable();
    void saveTable();
    void loadTable();
    void printTable();
    void previewTable();
    void printTableToPdf();
    void exportTable();
    void start();
    void stopFromMenu();
    void showTable();
    void showCourse();
    void bringUp(QMdiSubWindow *frame);
    void about();

    QMdiArea *area_ = nullptr;
    QWidget *Picture1 = nullptr;
    QLabel *Label1[9] = {};
    QLabel *Label2[9] = {};
    QCheckBox *Check1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *imgConnected = nullptr;
    QLabel *imgNotConnected = nullptr;
    QToolBar *p2 = nullptr;
    QMap<QString, QAction *> toolButtons_;
    QMap<QString, QAction *> menuItems_;
    QHash<QString, QIcon> icons_;
    struct MenuIcon {
        QMenu *menu;
        QAction *action;
        const char *name;
        QStyle::StandardPixmap fallback;
    };
    QList<MenuIcon> menuIcons_; // not made yet: their menu has not been opened
    QList<QAction *> toolOrder_;
    QLabel *panels_[5] = {};
    QLabel *brokerPanel_ = nullptr;
    QLabel *simulationNotice_ = nullptr;
    QLabel *seriesText_ = nullptr;
    QProgressBar *seriesBar_ = nullptr;

    frm_USBkom *usbkom_ = nullptr;
    QMdiSubWindow *usbkomFrame_ = nullptr;
    QMdiSubWindow *tableFrame_ = nullptr;
    QMdiSubWindow *courseFrame_ = nullptr;
    QString caption_;
    bool simulated_ = false;
    bool closeAllowed_ = false;
    QPointer<Form1> quitDialog_;
};

} // namespace pxr3
