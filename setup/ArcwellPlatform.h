#pragma once

#include <QString>

namespace Orbisong {

// The desktop integration that the archiver once had on its original platform: the
// platform's profile naming the program for each archive extension, a file manager add-on
// listed in a profile file, and a shell extension registered in a registry. Here they are
// files in one folder (the profiles "win.ini" and "winfile.ini", the product's "arcwell32.ini"
// and a registry file "registry.ini"); on an ordinary system the folder holds none of them
// and every step that depends on them passes at once.
class ArcwellPlatform
{
public:
    explicit ArcwellPlatform(const QString &folder);

    // $ARCWELL_PLATFORM_DIR, else "arcwell-platform" in the user's config folder.
    static QString defaultFolder();

    QString folder() const { return m_folder; }

    // The entry "zip" in section "extensions" of "win.ini": the program that opens archives,
    // possibly followed by " ^.zip"; empty when there is none.
    QString zipExtensionProgram() const;

    // The file named by the add-on entry, or empty when there is none.
    QString fileManagerExtension() const;
    void removeFileManagerExtension();

    void setAlwaysUnloadDll();
    void removeShellExtensionRegistration();
    void disableShellExtension();

    static const char *const ShellExtensionClassIds[3];

private:
    QString m_folder;
};

// True when the file can be opened for writing and locked exclusively, i.e. no program
// holds it. A missing file holds nothing and counts as free.
bool canOpenExclusively(const QString &path);

} // namespace Orbisong
