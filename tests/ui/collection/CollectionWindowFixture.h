#pragma once

#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/Settings.h"
#include "ScriptedQuestionPort.h"
#include "TestHome.h"
#include "ui/collection/TCollectionForm.h"

#include <QStringList>

#include <memory>
#include <ostream>

// Readable failures for texts and lists of texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << '{' << texts.join(QStringLiteral("|")).toStdString() << '}';
}

// One stored album of a test collection, in the written form.
struct TestAlbum
{
    QString id;
    QString artist;
    QString title;
    QString category;
    QString year;
    QString owner;
    int flags = 0;
    int mediaKind = 65537;
    QStringList tracks;    // titles
    QList<int> playCounts; // per track
    int inserts = 0;
    QStringList insertTimes;
};

QByteArray collectionText(const QList<TestAlbum> &albums);

// A collection of six albums (one a CD-ROM) in a fresh data folder, and a collection window
// over it that asks its questions of a scripted port.
struct CollectionWindowFixture
{
    CollectionWindowFixture();
    ~CollectionWindowFixture();

    static QList<TestAlbum> albums();
    // Opens the window on the collection (shown, so it follows the changes).
    Orbisong::TCollectionForm *openWindow();
    // Chooses the grouping and the member whose button reads `text`; false when none does.
    bool chooseMember(Orbisong::GroupField field, const QString &text);
    QStringList memberTexts() const;
    // The listed albums' titles, top to bottom.
    QStringList listedTitles() const;
    void selectAll();
    // Puts the album `id` in the drive.
    void insertDisc(const QString &id);

    TestHome home;
    QString path;
    Orbisong::Settings settings;
    std::unique_ptr<Orbisong::Collection> collection;
    ScriptedQuestionPort questions;
    Orbisong::CurrentAlbum current;
    std::unique_ptr<Orbisong::TCollectionForm> window;
};
