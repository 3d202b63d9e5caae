#include "TGrabvidFrame.h"

#include "CaptureDrivers.h"
#include "CaptureFileOps.h"
#include "CaptureMath.h"
#include "CaptureSession.h"
#include "PreviewWidget.h"
#include "TAllocateDialog.h"
#include "TCompressionDialog.h"
#include "TMediaWindow.h"
#include "TSelectDriverDialog.h"
#include "TVideoDisplayDialog.h"
#include "TVideoFormatDialog.h"
#include "TVideoSourceDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include <gst/gst.h>

namespace Orbisong {

namespace {

constexpr int PreviewRateMs = 66;

} // namespace

TGrabvidFrame::TGrabvidFrame(const GrabvidOptions &options, QWidget *parent)
    : QMainWindow(parent), m_options(options), m_session(new CaptureSession(this)),
      m_preview(new PreviewWidget(this)), m_boxes(this), m_messages(&m_boxes)
{
    if (m_options.folder.isEmpty())
        m_options.folder = QDir::currentPath();
    setWindowTitle(grabvidText(GrabvidText::ProgramTitle));
    setCentralWidget(m_preview);
    m_preview->setPlaceholder(tr("Preview is off"));
    createCommands();
    statusBar()->showMessage(tr("Ready"));
    connect(m_session, &CaptureSession::frameReady, m_preview, &PreviewWidget::showFrame);
    connect(m_session, &CaptureSession::statusText, this,
            [this](const QString &text) { statusBar()->showMessage(text); });
    resize(480, 420);
}

TGrabvidFrame::~TGrabvidFrame() = default;

void TGrabvidFrame::setMessagePort(MessagePort *port)
{
    m_messages = port ? port : &m_boxes;
}

QString TGrabvidFrame::settingsPath() const
{
    return QDir(m_options.folder).filePath(GrabvidSettings::fileName());
}

void TGrabvidFrame::startUp()
{
    if (GstElementFactory *playbin = gst_element_factory_find("playbin"))
        gst_object_unref(playbin);
    else
        m_messages->show(MessagePort::Warning, grabvidText(GrabvidText::PlaybackClassMissingTitle),
                         grabvidText(GrabvidText::PlaybackClassMissing));
    m_drivers = enumerateCaptureDrivers(m_options.withTestSource);
    if (m_drivers.size() == 1) {
        connectDriver(0);
    } else if (m_drivers.size() > 1) {
        TSelectDriverDialog dialog(m_drivers, 0, this);
        if (dialog.exec() == QDialog::Accepted)
            connectDriver(dialog.selectedIndex());
    }
    const GrabvidSettings defaults = GrabvidSettings::defaults(m_options.folder);
    applySettings(GrabvidSettings::load(settingsPath(), defaults));
    updateCommands();
}

void TGrabvidFrame::applySettings(const GrabvidSettings &settings)
{
    m_settings = settings;
    if (m_session->isConnected()) {
        CaptureChoice choice;
        choice.fps = settings.fps;
        choice.captureAudio = settings.captureAudio;
        choice.bitsPerSample = settings.bitsPerSample;
        choice.samplesPerSec = settings.samplesPerSec;
        choice.channels = settings.channels;
        applyCaptureChoice(choice);
        // The format is kept even while audio is off so that it comes back when turned on.
        m_session->setAudioFormat(
            makeWaveFormat(settings.bitsPerSample, settings.samplesPerSec, settings.channels));
    }
    m_session->setCaptureFile(settings.captureFile);
    m_pictures.restore(settings.pictureBase, settings.pictureCounter);
}

bool TGrabvidFrame::saveSettings()
{
    CaptureParams params;
    if (m_session->getSequenceSetup(params)) {
        m_settings.fps = fpsFromPeriod(params.microSecPerFrame);
        m_settings.captureAudio = params.captureAudio;
    }
    WaveFormat format;
    if (m_session->getAudioFormat(format)) {
        m_settings.bitsPerSample = format.bitsPerSample;
        m_settings.samplesPerSec = format.samplesPerSec;
        m_settings.channels = format.channels;
    }
    if (!m_session->captureFile().isEmpty())
        m_settings.captureFile = m_session->captureFile();
    m_settings.pictureBase = m_pictures.base();
    m_settings.pictureCounter = m_pictures.counter();
    return m_settings.save(settingsPath());
}

QAction *TGrabvidFrame::addCommand(QMenu *menu, const QString &text, GrabvidText prompt,
                                   void (TGrabvidFrame::*handler)(), const char *name)
{
    QAction *action = menu->addAction(text);
    action->setStatusTip(grabvidText(prompt));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TGrabvidFrame::createCommands()
{
    using T = GrabvidText;
    QMenu *file = menuBar()->addMenu(tr("&File"));
    addCommand(file, tr("Set Picture File"), T::PromptSetPictureFile,
               &TGrabvidFrame::onSetPictureFile, "actionSetPictureFile");
    addCommand(file, tr("Set Capture File"), T::PromptSetCaptureFile,
               &TGrabvidFrame::onSetCaptureFile, "actionSetCaptureFile");
    addCommand(file, tr("Allocate Capture Space"), T::PromptAllocateSpace,
               &TGrabvidFrame::onAllocate, "actionAllocate");
    addCommand(file, tr("Save Video as"), T::PromptSaveVideoAs, &TGrabvidFrame::onSaveVideoAs,
               "actionSaveVideoAs");
    file->addSeparator();
    QAction *openMedia = addCommand(file, tr("Open Media File"), T::PromptOpenMediaFile,
                                    &TGrabvidFrame::onOpenMediaFile, "actionOpenMediaFile");
    openMedia->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    file->addSeparator();
    QAction *exit = file->addAction(tr("E&xit"), this, &QWidget::close);
    exit->setStatusTip(grabvidText(T::PromptExit));
    exit->setObjectName(QStringLiteral("actionExit"));

    QToolBar *toolBar = addToolBar(tr("Toolbar"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setMovable(false);
    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *showToolBar = toolBar->toggleViewAction();
    showToolBar->setText(tr("&Toolbar"));
    showToolBar->setStatusTip(grabvidText(T::PromptToolbar));
    view->addAction(showToolBar);
    QAction *showStatusBar = view->addAction(tr("&Status Bar"));
    showStatusBar->setCheckable(true);
    showStatusBar->setChecked(true);
    showStatusBar->setStatusTip(grabvidText(T::PromptStatusBar));
    connect(showStatusBar, &QAction::toggled, statusBar(), &QWidget::setVisible);

    QMenu *video = menuBar()->addMenu(tr("Video"));
    m_overlay = addCommand(video, tr("Overlay"), T::PromptOverlay, &TGrabvidFrame::onOverlay,
                           "actionOverlay");
    m_overlay->setCheckable(true);
    m_previewAction = addCommand(video, tr("Preview"), T::PromptPreview, &TGrabvidFrame::onPreview,
                                 "actionPreview");
    m_previewAction->setCheckable(true);
    m_previewAction->setIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
    video->addSeparator();
    m_driverCommands = {
        addCommand(video, tr("Format"), T::PromptFormat, &TGrabvidFrame::onFormat, "actionFormat"),
        addCommand(video, tr("Display"), T::PromptDisplay, &TGrabvidFrame::onDisplay,
                   "actionDisplay"),
        addCommand(video, tr("Video Source"), T::PromptVideoSource, &TGrabvidFrame::onVideoSource,
                   "actionVideoSource"),
        addCommand(video, tr("Compression"), T::PromptCompression, &TGrabvidFrame::onCompression,
                   "actionCompression")};
    video->addSeparator();
    m_driverCommands.append(addCommand(video, tr("Disconnect Capture Driver"), T::PromptDisconnect,
                                       &TGrabvidFrame::onDisconnect, "actionDisconnect"));
    addCommand(video, tr("Connect to a Capture Driver"), T::PromptConnect,
               &TGrabvidFrame::onConnect, "actionConnect");
    addCommand(video, tr("About Capture Driver"), T::PromptAboutDriver,
               &TGrabvidFrame::onAboutDriver, "actionAboutDriver");
    connect(video, &QMenu::aboutToShow, this, &TGrabvidFrame::updateCommands);

    QMenu *capture = menuBar()->addMenu(tr("Capture"));
    QAction *captureVideo = addCommand(capture, tr("Capture Video"), T::PromptCaptureVideo,
                                       &TGrabvidFrame::onCaptureVideo, "actionCaptureVideo");
    captureVideo->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    QAction *capturePicture = addCommand(capture, tr("Capture Picture"), T::PromptCapturePicture,
                                         &TGrabvidFrame::onCapturePicture, "actionCapturePicture");
    capturePicture->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    capture->addSeparator();
    QAction *settings = addCommand(capture, tr("Capture Settings"), T::PromptCaptureSettings,
                                   &TGrabvidFrame::onCaptureSettings, "actionCaptureSettings");
    settings->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_driverCommands << captureVideo << capturePicture << settings;
    connect(capture, &QMenu::aboutToShow, this, &TGrabvidFrame::updateCommands);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    addCommand(help, tr("&Help Topics"), T::PromptHelpTopics, &TGrabvidFrame::onHelpTopics,
               "actionHelpTopics");
    help->addSeparator();
    QAction *about = addCommand(help, tr("&About Grabvid..."), T::PromptAbout,
                                &TGrabvidFrame::onAbout, "actionAbout");
    about->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));

    toolBar->addAction(openMedia);
    toolBar->addSeparator();
    toolBar->addAction(m_previewAction);
    toolBar->addAction(captureVideo);
    toolBar->addAction(capturePicture);
    toolBar->addAction(settings);
    toolBar->addSeparator();
    toolBar->addAction(about);
    updateCommands();
}

void TGrabvidFrame::updateCommands()
{
    const bool connected = m_session->isConnected();
    CaptureStatus status;
    m_session->getStatus(status);
    m_overlay->setEnabled(connected && m_session->driverCaps().hasOverlay);
    m_overlay->setChecked(status.overlayWindow);
    m_previewAction->setEnabled(connected);
    m_previewAction->setChecked(status.liveWindow);
    for (QAction *action : std::as_const(m_driverCommands))
        action->setEnabled(connected);
    if (!connected)
        m_preview->setPlaceholder(tr("No capture driver connected"));
    else if (!status.liveWindow)
        m_preview->setPlaceholder(tr("Preview is off"));
}

void TGrabvidFrame::fail(GrabvidText text)
{
    m_messages->show(MessagePort::Error, grabvidText(GrabvidText::ErrorTitle), grabvidText(text));
}

QString TGrabvidFrame::askSaveFile(const QString &title, const QString &preset,
                                   const QString &filter, const QString &suffix)
{
    QFileDialog dialog(this, title, preset, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (!preset.isEmpty())
        dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool TGrabvidFrame::setCaptureFile(const QString &path)
{
    if (!m_session->setCaptureFile(path)) {
        fail(GrabvidText::ErrorSetCaptureFile);
        return false;
    }
    return true;
}

bool TGrabvidFrame::saveVideoAs(const QString &path)
{
    if (!m_session->fileSaveAs(path)) {
        fail(GrabvidText::ErrorSaveCaptureFile);
        return false;
    }
    return true;
}

void TGrabvidFrame::setPictureFile(const QString &path)
{
    m_pictures.choose(path);
}

bool TGrabvidFrame::capturePicture()
{
    const QString file = m_pictures.next();
    if (!m_session->saveDib(file)) {
        fail(GrabvidText::ErrorSavePicture);
        return false;
    }
    statusBar()->showMessage(grabvidText(GrabvidText::PictureSaved) + file);
    return true;
}

bool TGrabvidFrame::captureVideo()
{
    if (m_captureLoop)
        return false;
    setWindowTitle(grabvidText(GrabvidText::CaptureTitle));
    bool ok = m_session->sequenceStart();
    if (ok) {
        QEventLoop loop;
        m_captureLoop = &loop;
        const QMetaObject::Connection failed =
            connect(m_session, &CaptureSession::captureFailed, &loop, &QEventLoop::quit);
        qApp->installEventFilter(this);
        loop.exec();
        qApp->removeEventFilter(this);
        disconnect(failed);
        m_captureLoop = nullptr;
        ok = m_session->sequenceStop();
    }
    setWindowTitle(grabvidText(GrabvidText::ProgramTitle));
    statusBar()->clearMessage();
    if (!ok)
        fail(GrabvidText::ErrorCaptureVideo);
    return ok;
}

bool TGrabvidFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_captureLoop)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            m_captureLoop->quit();
        return true;
    case QEvent::MouseButtonPress:
        m_captureLoop->quit();
        return true;
    // Like the capture itself, the rest of the program waits: no command may start meanwhile.
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

bool TGrabvidFrame::toggleOverlay()
{
    CaptureStatus status;
    if (!m_session->getStatus(status)) {
        fail(GrabvidText::ErrorReadStatus);
        return false;
    }
    const bool ok = m_session->setOverlay(!status.overlayWindow);
    updateCommands();
    return ok;
}

bool TGrabvidFrame::togglePreview()
{
    CaptureStatus status;
    if (!m_session->getStatus(status)) {
        fail(GrabvidText::ErrorReadStatus);
        return false;
    }
    const bool ok = m_session->setPreview(!status.liveWindow);
    if (ok && status.liveWindow)
        m_preview->clearFrame();
    updateCommands();
    return ok;
}

bool TGrabvidFrame::allocateCaptureSpace(qint64 megabytes)
{
    if (!m_session->fileAllocate(megabytesToBytes(megabytes))) {
        fail(GrabvidText::ErrorAllocate);
        return false;
    }
    return true;
}

CaptureChoice TGrabvidFrame::captureChoice() const
{
    CaptureChoice choice;
    CaptureParams params;
    WaveFormat format;
    if (m_session->getSequenceSetup(params) && m_session->getAudioFormat(format)) {
        choice.fps = fpsFromPeriod(params.microSecPerFrame);
        choice.captureAudio = params.captureAudio;
        choice.bitsPerSample = format.bitsPerSample;
        choice.samplesPerSec = format.samplesPerSec;
        choice.channels = format.channels;
    } else {
        choice.fps = m_settings.fps;
        choice.captureAudio = m_settings.captureAudio;
        choice.bitsPerSample = m_settings.bitsPerSample;
        choice.samplesPerSec = m_settings.samplesPerSec;
        choice.channels = m_settings.channels;
    }
    return choice;
}

bool TGrabvidFrame::applyCaptureChoice(const CaptureChoice &choice)
{
    CaptureParams params;
    if (!m_session->getSequenceSetup(params)) {
        fail(GrabvidText::ErrorReadParameters);
        return false;
    }
    params.microSecPerFrame = periodFromFps(choice.fps);
    params.captureAudio = choice.captureAudio;
    if (!m_session->setSequenceSetup(params)) {
        fail(GrabvidText::ErrorSetParameters);
        return false;
    }
    if (choice.captureAudio && !m_session->setAudioFormat(makeWaveFormat(
                                   choice.bitsPerSample, choice.samplesPerSec, choice.channels))) {
        fail(GrabvidText::ErrorSetAudioFormat);
        return false;
    }
    return true;
}

bool TGrabvidFrame::connectDriver(int index)
{
    if (index < 0 || index >= m_drivers.size() || !m_session->driverConnect(m_drivers.at(index))) {
        fail(GrabvidText::ErrorConnect);
        updateCommands();
        return false;
    }
    m_session->setOverlay(false);
    m_session->setPreview(false);
    m_session->setPreviewRate(PreviewRateMs);
    CaptureStatus status;
    if (!m_session->getStatus(status))
        fail(GrabvidText::ErrorReadStatus);
    else if (!status.audioHardware)
        m_messages->show(MessagePort::Warning, grabvidText(GrabvidText::ProgramTitle),
                         grabvidText(GrabvidText::NoAudioHardware));
    updateCommands();
    return true;
}

bool TGrabvidFrame::disconnectDriver()
{
    m_session->setOverlay(false);
    m_session->setPreview(false);
    const bool ok = m_session->driverDisconnect();
    if (!ok)
        fail(GrabvidText::ErrorDisconnect);
    m_preview->clearFrame();
    updateCommands();
    return ok;
}

void TGrabvidFrame::aboutCaptureDriver()
{
    if (m_drivers.isEmpty()) {
        m_messages->show(MessagePort::Information, grabvidText(GrabvidText::DriverNotFoundTitle),
                         grabvidText(GrabvidText::DriverNotFound));
    } else if (!m_session->isConnected()) {
        m_messages->show(MessagePort::Information, grabvidText(GrabvidText::AboutDriverTitle),
                         grabvidText(GrabvidText::NotConnected));
    } else {
        const CaptureDriverInfo driver = m_session->driver();
        m_messages->show(MessagePort::Information, grabvidText(GrabvidText::AboutDriverTitle),
                         driver.name + QLatin1Char('\n') + driver.version);
    }
}

TMediaWindow *TGrabvidFrame::openMediaFile(const QString &path)
{
    auto *window = new TMediaWindow(path, this);
    window->show();
    return window;
}

void TGrabvidFrame::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (m_captureLoop) {
        // Closing ends the capture first; the file is finished before the program goes.
        m_captureLoop->quit();
        event->ignore();
        return;
    }
    if (!saveSettings())
        qWarning("Grabvid: cannot write %s", qPrintable(settingsPath()));
    if (m_session->isConnected()) {
        m_session->setOverlay(false);
        m_session->setPreview(false);
        m_session->driverDisconnect();
    }
    m_closed = true;
    event->accept();
}

void TGrabvidFrame::onSetPictureFile()
{
    const QString preset =
        m_pictures.base().isEmpty() ? QString() : m_pictures.base() + QStringLiteral(".bmp");
    const QString path =
        askSaveFile(tr("Save Pictures as"), preset, tr("Bitmap (*.bmp)"), QStringLiteral("bmp"));
    if (!path.isEmpty())
        setPictureFile(path);
}

void TGrabvidFrame::onSetCaptureFile()
{
    const QString path = askSaveFile(tr("Set Capture File"), m_session->captureFile(),
                                     tr("Microsoft AVI (*.avi)"), QStringLiteral("avi"));
    if (!path.isEmpty())
        setCaptureFile(path);
}

void TGrabvidFrame::onAllocate()
{
    const QString file = m_session->captureFile();
    const qint64 free = freeSpaceFor(file);
    if (free < 0)
        m_messages->show(MessagePort::Error, grabvidText(GrabvidText::FreeSpaceErrorTitle),
                         grabvidText(GrabvidText::FreeSpaceError));
    TAllocateDialog dialog(bytesToMegabytes(free), bytesToMegabytes(captureFileSize(file)), this);
    if (dialog.exec() == QDialog::Accepted)
        allocateCaptureSpace(dialog.megabytes());
}

void TGrabvidFrame::onSaveVideoAs()
{
    const QString path = askSaveFile(tr("Save Video as"), QString(), tr("Microsoft AVI (*.avi)"),
                                     QStringLiteral("avi"));
    if (!path.isEmpty())
        saveVideoAs(path);
}

void TGrabvidFrame::onOpenMediaFile()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open Media"), QFileInfo(m_session->captureFile()).absolutePath(),
        tr("Microsoft AVI (*.avi);;Sound (*.wav *.au *.mid *.midi);;All files (*)"));
    if (!path.isEmpty())
        openMediaFile(path);
}

void TGrabvidFrame::onCaptureVideo()
{
    captureVideo();
}

void TGrabvidFrame::onCapturePicture()
{
    capturePicture();
}

void TGrabvidFrame::onOverlay()
{
    toggleOverlay();
}

void TGrabvidFrame::onPreview()
{
    togglePreview();
}

void TGrabvidFrame::onFormat()
{
    const CaptureChoice choice = captureChoice();
    TVideoFormatDialog dialog(*m_session, choice.fps, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!m_session->setFrameSize(dialog.frameSize())) {
        fail(GrabvidText::ErrorSetParameters);
        return;
    }
    CaptureChoice changed = choice;
    changed.fps = dialog.fps();
    applyCaptureChoice(changed);
}

void TGrabvidFrame::onDisplay()
{
    TVideoDisplayDialog dialog(m_preview->isScaled(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_preview->setScaled(dialog.scaled());
}

void TGrabvidFrame::onVideoSource()
{
    TVideoSourceDialog dialog(*m_session, this);
    dialog.exec();
}

void TGrabvidFrame::onCompression()
{
    TCompressionDialog dialog(m_session->encoder(), this);
    if (dialog.exec() == QDialog::Accepted && !m_session->setEncoder(dialog.encoder()))
        fail(GrabvidText::ErrorSetParameters);
}

void TGrabvidFrame::onDisconnect()
{
    disconnectDriver();
}

void TGrabvidFrame::onConnect()
{
    m_drivers = enumerateCaptureDrivers(m_options.withTestSource);
    if (m_drivers.size() > 1) {
        const CaptureDriverInfo connected = m_session->driver();
        int current = 0;
        for (int i = 0; i < m_drivers.size(); ++i) {
            if (m_drivers.at(i).kind == connected.kind &&
                m_drivers.at(i).devicePath == connected.devicePath)
                current = i;
        }
        TSelectDriverDialog dialog(m_drivers, current, this);
        if (dialog.exec() == QDialog::Accepted)
            connectDriver(dialog.selectedIndex());
        return;
    }
    connectDriver(m_drivers.isEmpty() ? -1 : 0);
}

void TGrabvidFrame::onAboutDriver()
{
    aboutCaptureDriver();
}

void TGrabvidFrame::onCaptureSettings()
{
    TCaptureSettingsSheet sheet(captureChoice(), this);
    if (sheet.exec() == QDialog::Accepted)
        applyCaptureChoice(sheet.choice());
}

void TGrabvidFrame::onHelpTopics()
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Grabvid Help"));
    auto *browser = new QTextBrowser(&dialog);
    QFile help(QStringLiteral(":/grabvid/grabvid-help.html"));
    if (help.open(QIODevice::ReadOnly))
        browser->setHtml(QString::fromUtf8(help.readAll()));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    dialog.resize(520, 480);
    dialog.exec();
}

void TGrabvidFrame::onAbout()
{
    m_messages->show(MessagePort::Information, tr("About Grabvid"),
                     tr("Grabvid Version %1\n\nVideo capture and playback with GStreamer %2.%3")
                         .arg(QCoreApplication::applicationVersion())
                         .arg(GST_VERSION_MAJOR)
                         .arg(GST_VERSION_MINOR));
}

} // namespace Orbisong
