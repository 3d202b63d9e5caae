#pragma once

namespace Orbisong {

// String-table ids of the messages the program shows through a question port. One name each,
// so a reader finds every place that shows a message by its name.
namespace Msg {
constexpr int ReservedPlaylistTitle = 8193;
constexpr int PlaylistTitleInUse = 8194;
constexpr int ScriptHasNoMain = 8196;
constexpr int InvalidTime = 8197;
constexpr int InvalidInteger = 8198;
constexpr int CddbHandshakeFailed = 8201;
constexpr int CddbPermissionDenied = 8202;
constexpr int CddbTooManyUsers = 8203;
constexpr int CddbLoadTooHigh = 8204;
constexpr int LargeCollection = 12288;
constexpr int StillPlaying = 12290;
constexpr int AlbumNotFoundEnterManually = 12291;
constexpr int UnableToOpenDrive = 12293;
constexpr int DeleteOneAlbum = 12295;
constexpr int DeleteSeveralAlbums = 12296;
constexpr int SingleTrackDisc = 12308;
// A plain notice: "%1" is the heading, "%2" the body.
constexpr int Notice = 12309;
constexpr int CannotImportCurrentCollection = 12311;
constexpr int TimerPlayFailed = 12312;
constexpr int TimerStopFailed = 12313;
constexpr int InvalidIntroValue = 12326;
constexpr int AlbumNotInCddb = 12327;
constexpr int NoMailAddress = 12297;
constexpr int NoSmtpServer = 12298;
constexpr int InvalidMailAddress = 12299;
constexpr int CannotSubmitAlbum = 12310;
constexpr int SmtpTimedOut = 12322;
constexpr int AlbumsNotConverted = 12328;
constexpr int WebBrowserUnavailable = 8195;
constexpr int DuplicateExportAlbums = 12294;
constexpr int NoExportTemplate = 12305;
constexpr int NoExportLocation = 12307;
constexpr int ExportFolderMissing = 12325;
constexpr int TemplateNameInvalid = 12323;
constexpr int TemplateModified = 12324;
} // namespace Msg

} // namespace Orbisong
