#pragma once

#include "CaptureTypes.h"
#include "GrabvidSettings.h"
#include "GrabvidStrings.h"
#include "MessagePort.h"
#include "PictureSequence.h"
#include "TCaptureSettingsSheet.h"

#include <QList>
#include <QMainWindow>

class QEventLoop;

namespace Orbisong {

class CaptureSession;
class PreviewWidget;
class TMediaWindow;

struct GrabvidOptions
{
    // The folder that holds "Grabvid.ini" (the current folder in the program).
    QString folder;
    // List the built-in test source after the real devices.
    bool withTestSource = true;
};

// The capture program's frame window: menus, toolbar, live picture and status bar. Each
// command's dialog part is separate from its action so the actions can be driven directly.
class TGrabvidFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit TGrabvidFrame(const GrabvidOptions &options, QWidget *parent = nullptr);
    ~TGrabvidFrame() override;

    // Finds the drivers, connects to one and applies the settings file.
    void startUp();

    // nullptr restores message boxes.
    void setMessagePort(MessagePort *port);
    CaptureSession &session() const { return *m_session; }
    const PictureSequence &pictures() const { return m_pictures; }
    QList<CaptureDriverInfo> drivers() const { return m_drivers; }
    QString settingsPath() const;
    PreviewWidget *preview() const { return m_preview; }

    bool setCaptureFile(const QString &path);
    bool saveVideoAs(const QString &path);
    void setPictureFile(const QString &path);
    bool capturePicture();
    // Records until Escape or a mouse click, or until the capture fails.
    bool captureVideo();
    bool toggleOverlay();
    bool togglePreview();
    bool allocateCaptureSpace(qint64 megabytes);
    CaptureChoice captureChoice() const;
    bool applyCaptureChoice(const CaptureChoice &choice);
    bool connectDriver(int index);
    bool disconnectDriver();
    void aboutCaptureDriver();
    TMediaWindow *openMediaFile(const QString &path);
    // What the program does on exit: the current parameters into the settings file.
    bool saveSettings();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(QMenu *menu, const QString &text, GrabvidText prompt,
                        void (TGrabvidFrame::*handler)(), const char *name);
    void createCommands();
    void updateCommands();
    void fail(GrabvidText text);
    void applySettings(const GrabvidSettings &settings);
    QString askSaveFile(const QString &title, const QString &preset, const QString &filter,
                        const QString &suffix);

    void onSetPictureFile();
    void onSetCaptureFile();
    void onAllocate();
    void onSaveVideoAs();
    void onOpenMediaFile();
    void onCaptureVideo();
    void onCapturePicture();
    void onOverlay();
    void onPreview();
    void onFormat();
    void onDisplay();
    void onVideoSource();
    void onCompression();
    void onDisconnect();
    void onConnect();
    void onAboutDriver();
    void onCaptureSettings();
    void onHelpTopics();
    void onAbout();

    GrabvidOptions m_options;
    CaptureSession *m_session;
    PreviewWidget *m_preview;
    QList<CaptureDriverInfo> m_drivers;
    PictureSequence m_pictures;
    GrabvidSettings m_settings;
    BoxMessagePort m_boxes;
    MessagePort *m_messages;
    QEventLoop *m_captureLoop = nullptr;
    bool m_closed = false;

    QAction *m_overlay = nullptr;
    QAction *m_previewAction = nullptr;
    QList<QAction *> m_driverCommands;
};

} // namespace Orbisong
