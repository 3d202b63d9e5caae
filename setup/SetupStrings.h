#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// The installer's own message texts. A text beginning with "!" is continued by the text of
// the next id, so long messages can be kept as several short entries.
class SetupStrings
{
public:
    enum Id {
        CannotCreateFolder = 1004,
        ConfirmCancel = 1005,
        NotInstalled = 1006,
        LooseFileMissing = 1013,
        SameAsSource = 1016,
        CannotOpenForWriting = 1018,
        Title = 1021,
        ProductRunning = 1022,
        WrongTimeStamp = 1023,
        InvalidDestination = 1024,
        AlreadyRunning = 1025,
        Installing = 1026,
        WaitForShellExtension = 1029,
        CannotCreateOutput = 1030,
        CannotOpenInput = 1031,
        UnknownCompression = 1032,
        BadCrc = 1033,
        InvalidHeader = 1034,
        OutOfMemory = 1035,
        WriteError = 1036,
        ReadError = 1037,
        ShellExtensionStuck = 1039,
        FileManagerStuck = 1044,
        ShellExtensionRemoved = 1046,
    };

    static constexpr int MaximumLength = 512;

    // The text of `id` with its continuations; an internal-error text when the id is
    // missing or the text grows too long.
    static QString text(int id);
    // `text(id)` with printf-style "%s", "%d" and "%08lx" conversions filled from `args`.
    static QString format(int id, const QStringList &args = {});
    // Fills printf-style conversions of `pattern` from `args`, in order.
    static QString fill(const QString &pattern, const QStringList &args);
};

} // namespace Orbisong
