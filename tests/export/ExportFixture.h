#pragma once

#include "collection/Collection.h"
#include "collection/Settings.h"
#include "export/ExportJob.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QDir>
#include <QStringList>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << '{' << texts.join(QStringLiteral("|")).toStdString() << '}';
}

// The export fixture collection (six albums: one CD-ROM, one stored under a block name of its
// own, artists "AC/DC" and "../../evil") in a fresh data folder.
struct ExportFixture
{
    TestHome home;
    Orbisong::Settings settings =
        Orbisong::Settings::defaults(home.path(), QStringLiteral("ann"), QString());
    QString path = home.file(QStringLiteral("ann.obc"));
    std::unique_ptr<Orbisong::Collection> collection;

    ExportFixture()
    {
        writeFile(path, readFile(data(QStringLiteral("export.obc"))));
        collection = std::make_unique<Orbisong::Collection>(settings, path);
        collection->BuildAlbumIndex();
    }

    static QString data(const QString &name)
    {
        return TestHome::sourceDir() + QStringLiteral("/tests/data/export/") + name;
    }

    // A fresh folder inside the data folder.
    QString folder(const QString &name) const
    {
        QDir(home.path()).mkpath(name);
        return home.file(name);
    }

    Orbisong::ExportResult exportHtml(const QString &templatePath, const QString &outputFolder,
                                      const QStringList &ids = {})
    {
        Orbisong::ExportProfile profile;
        profile.flags = Orbisong::ExportFormatHtml |
                        (ids.isEmpty() ? Orbisong::ExportAllAlbums : Orbisong::ExportListedAlbums);
        profile.albumIds = ids;
        profile.outputFolder = outputFolder;
        return Orbisong::ExportJob(*collection, profile, templatePath).run();
    }

    Orbisong::ExportResult exportFile(int format, const QString &outputFile,
                                      const QStringList &ids = {})
    {
        Orbisong::ExportProfile profile;
        profile.flags = format | Orbisong::ExportTrackTitles |
                        (ids.isEmpty() ? Orbisong::ExportAllAlbums : Orbisong::ExportListedAlbums);
        profile.albumIds = ids;
        profile.outputFile = outputFile;
        return Orbisong::ExportJob(*collection, profile).run();
    }
};

// Every file under `folder` (hidden ones too), by name.
inline QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
