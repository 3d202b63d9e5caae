#pragma once

#include "collection/Collection.h"
#include "collection/CollectionSink.h"
#include "collection/Settings.h"
#include "TestHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// A collection in a fresh data folder, with the default settings of a user "ann".
struct CollectionFixture
{
    TestHome home;
    Orbisong::Settings settings =
        Orbisong::Settings::defaults(home.path(), QStringLiteral("ann"), QString());
    QString path = home.file(QStringLiteral("ann.obc"));

    // The collection's questions go to `questions`, answered by default buttons when none.
    std::unique_ptr<Orbisong::Collection> open(Orbisong::QuestionPort *questions = nullptr)
    {
        auto collection = std::make_unique<Orbisong::Collection>(settings, path);
        collection->setQuestionPort(questions);
        collection->BuildAlbumIndex();
        return collection;
    }

    void write(const QByteArray &bytes) const
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    // The file once every change of `collection` has been written.
    QByteArray flushed(Orbisong::Collection &collection) const
    {
        EXPECT_TRUE(collection.flush());
        return read();
    }

    QByteArray read() const
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }
};

// Records every notice of the collection.
struct RecordingSink : Orbisong::CollectionSink
{
    struct Notice
    {
        QString id;
        int code;
        QVariant value;
    };
    QList<Notice> index;
    QList<QPair<QString, int>> album;
    QList<int> current;

    void albumIndexChanged(const Orbisong::AlbumIndexNode &node, int code,
                           const QVariant &value) override
    {
        index.append({node.id, code, value});
    }
    void albumChanged(const QString &id, int code) override { album.append({id, code}); }
    void currentAlbumChanged(int code) override { current.append(code); }
};
