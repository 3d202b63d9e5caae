#pragma once

#include <QString>

namespace Orbisong {

// The capture program's string table: status-bar prompts of the commands and the texts of its
// message boxes.
enum class GrabvidText {
    PromptSetPictureFile,
    PromptSetCaptureFile,
    PromptAllocateSpace,
    PromptSaveVideoAs,
    PromptOpenMediaFile,
    PromptExit,
    PromptToolbar,
    PromptStatusBar,
    PromptOverlay,
    PromptPreview,
    PromptFormat,
    PromptDisplay,
    PromptVideoSource,
    PromptCompression,
    PromptDisconnect,
    PromptConnect,
    PromptAboutDriver,
    PromptCaptureVideo,
    PromptCapturePicture,
    PromptCaptureSettings,
    PromptHelpTopics,
    PromptAbout,
    ErrorTitle,
    ErrorSetCaptureFile,
    ErrorSaveCaptureFile,
    ErrorSavePicture,
    ErrorCaptureVideo,
    ErrorReadStatus,
    ErrorAllocate,
    ErrorReadParameters,
    ErrorSetParameters,
    ErrorSetAudioFormat,
    ErrorConnect,
    ErrorDisconnect,
    NoAudioHardware,
    DriverNotFoundTitle,
    DriverNotFound,
    NotConnected,
    AboutDriverTitle,
    PictureSaved,
    CaptureTitle,
    ProgramTitle,
    FreeSpaceError,
    FreeSpaceErrorTitle,
    PlaybackClassMissing,
    PlaybackClassMissingTitle,
};

QString grabvidText(GrabvidText id);

} // namespace Orbisong
