#include "GrabvidStrings.h"

#include <QHash>

namespace Orbisong {

namespace {

const QHash<GrabvidText, const char *> &table()
{
    using T = GrabvidText;
    static const QHash<GrabvidText, const char *> texts = {
        {T::PromptSetPictureFile, "Choose the BMP file name for 'Snapshot' pictures"},
        {T::PromptSetCaptureFile, "Choose the file that video is captured into"},
        {T::PromptAllocateSpace, "Allocate Disk space for the Capture File"},
        {T::PromptSaveVideoAs, "Save a copy of the Capture File under another name"},
        {T::PromptOpenMediaFile, "Opens an AVI, WAV, AU, or MIDI file."},
        {T::PromptExit, "Quit the application"},
        {T::PromptToolbar, "Show or hide the toolbar"},
        {T::PromptStatusBar, "Show or hide the status bar"},
        {T::PromptOverlay, "Show the live picture through the overlay hardware"},
        {T::PromptPreview, "Show the live picture in the window"},
        {T::PromptFormat, "Choose the picture size and frame rate of the driver"},
        {T::PromptDisplay, "Choose how the picture is displayed"},
        {T::PromptVideoSource, "Adjust the video source: brightness, contrast and more"},
        {T::PromptCompression, "Choose how captured video is compressed"},
        {T::PromptDisconnect, "Disconnect from the Capture Driver"},
        {T::PromptConnect, "Connect to a Capture Driver"},
        {T::PromptAboutDriver, "Show the name and version of the Capture Driver"},
        {T::PromptCaptureVideo, "Capture video into the Capture File"},
        {T::PromptCapturePicture, "Save Still 'Snapshot' Picture to a BMP file"},
        {T::PromptCaptureSettings, "Set the frame rate and the audio format of captures"},
        {T::PromptHelpTopics, "List Help topics"},
        {T::PromptAbout, "Display program information, version number and copyright"},
        {T::ErrorTitle, "Capture Driver Error"},
        {T::ErrorSetCaptureFile, "Grabvid was unable to set the Capture Filename"},
        {T::ErrorSaveCaptureFile, "Grabvid was unable to save the Capture File"},
        {T::ErrorSavePicture, "Grabvid was unable to save the picture"},
        {T::ErrorCaptureVideo, "An error occured while capturing video"},
        {T::ErrorReadStatus, "Grabvid was unable to read the Capture Status"},
        {T::ErrorAllocate, "Grabvid was unable to allocate the file space"},
        {T::ErrorReadParameters, "Grabvid was unable to read the Capture Parameters"},
        {T::ErrorSetParameters, "Grabvid was unable to set the Capture Parameters"},
        {T::ErrorSetAudioFormat, "Grabvid was unable to set the Audio Format"},
        {T::ErrorConnect, "Grabvid was unable to connect to a Capture Driver"},
        {T::ErrorDisconnect, "Grabvid was unable to disconnect the Capture Driver"},
        {T::NoAudioHardware, "Grabvid did not find any Audio Hardware"},
        {T::DriverNotFoundTitle, "Capture Driver not found"},
        {T::DriverNotFound, "A video capture driver was not found.\n\n"
                            "Check the Multimedia Control Panel to\n"
                            "verify the presence of a capture driver."},
        {T::NotConnected, "Grabvid is not connected to a Video Capture Driver.\n\n"
                          "Click 'Video' and then 'Connect to a driver' to connect."},
        {T::AboutDriverTitle, "About Capture Driver"},
        {T::PictureSaved, "Picture saved as "},
        {T::CaptureTitle, "Grabvid - Hit ESCAPE or click to end capture"},
        {T::ProgramTitle, "Grabvid"},
        {T::FreeSpaceError, "Can't measure free disk space."},
        {T::FreeSpaceErrorTitle, "Error"},
        {T::PlaybackClassMissing, "Grabvid may not be able to open video files."},
        {T::PlaybackClassMissingTitle, "Video Playback Class not Found"},
    };
    return texts;
}

} // namespace

QString grabvidText(GrabvidText id)
{
    return QString::fromUtf8(table().value(id, ""));
}

} // namespace Orbisong
