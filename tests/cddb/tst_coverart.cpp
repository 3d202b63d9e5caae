// Cover pictures: fetched from the cover peer (redirects within the rules), stored in the data
// folder's covers folder by album ID, and the refusals that store nothing.

#include "ServicePeer.h"
#include "TestHome.h"

#include "cddb/TCoverArtThread.h"
#include "collection/AlbumCover.h"

#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString AlbumId = QStringLiteral("0A00000000002");

QByteArray jpeg(QColor colour)
{
    QImage image(250, 250, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

class CoverArt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        picture = jpeg(Qt::darkCyan);
        const QString file = home.file(QStringLiteral("rel-1.jpg"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(picture);
        out.close();
        ASSERT_TRUE(peer.startCover({QStringLiteral("rel-1=") + file}));
    }
    bool fetch(const QString &releaseId, TCoverArtThread **done = nullptr)
    {
        thread = std::make_unique<TCoverArtThread>(peer.url(), releaseId, AlbumId);
        QEventLoop loop;
        bool stored = false;
        QObject::connect(thread.get(), &TCoverArtThread::coverFinished, &loop, [&](bool ok) {
            stored = ok;
            loop.quit();
        });
        thread->start();
        loop.exec();
        if (done)
            *done = thread.get();
        return stored;
    }

    TestHome home;
    ServicePeer peer;
    QByteArray picture;
    std::unique_ptr<TCoverArtThread> thread;
};

} // namespace

TEST_F(CoverArt, FrontPictureIsStoredByAlbumId)
{
    EXPECT_TRUE(AlbumCover::path(AlbumId).isEmpty());
    ASSERT_TRUE(fetch(QStringLiteral("rel-1")));
    const QString path = AlbumCover::path(AlbumId);
    EXPECT_EQ(path, home.path() + QStringLiteral("/covers/") + AlbumId + QStringLiteral(".jpg"));
    EXPECT_EQ(thread->coverPath(), path);
    QFile stored(path);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), picture);

    // Through a redirect the picture arrives the same.
    QFile::remove(path);
    ASSERT_TRUE(fetch(QStringLiteral("moved-rel-1")));
    EXPECT_FALSE(AlbumCover::path(AlbumId).isEmpty());
    EXPECT_EQ(peer.requests(),
              QStringList({QStringLiteral("GET /release/rel-1/front-250 HTTP/1.1"),
                           QStringLiteral("GET /release/moved-rel-1/front-250 HTTP/1.1"),
                           QStringLiteral("GET /images/rel-1.jpg HTTP/1.1")}));
}

TEST_F(CoverArt, RefusalsStoreNothing)
{
    TCoverArtThread *done = nullptr;
    EXPECT_FALSE(fetch(QStringLiteral("rel-unknown"), &done));
    EXPECT_TRUE(done->notFound());
    EXPECT_FALSE(fetch(QStringLiteral("../../etc"), &done));
    EXPECT_FALSE(done->errorText().isEmpty());
    EXPECT_TRUE(AlbumCover::path(AlbumId).isEmpty());

    // A redirect to another scheme is not followed.
    ServicePeer elsewhere;
    const QString file = home.file(QStringLiteral("rel-1.jpg"));
    ASSERT_TRUE(elsewhere.startCover({QStringLiteral("rel-1=") + file},
                                     QStringLiteral("ftp://127.0.0.1/rel-1.jpg")));
    TCoverArtThread refused(elsewhere.url(), QStringLiteral("moved-rel-1"), AlbumId);
    QEventLoop loop;
    QObject::connect(&refused, &TCoverArtThread::coverFinished, &loop, &QEventLoop::quit);
    refused.start();
    loop.exec();
    EXPECT_TRUE(refused.coverPath().isEmpty());
    EXPECT_TRUE(refused.errorText().contains(QLatin1String("redirect")));
    EXPECT_TRUE(AlbumCover::path(AlbumId).isEmpty());

    // Only pictures are stored, and a PNG replaces a JPEG.
    QString error;
    EXPECT_FALSE(AlbumCover::store(AlbumId, "<html>not a picture</html>", nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(AlbumCover::store(AlbumId, picture));
    QImage png(8, 8, QImage::Format_RGB32);
    png.fill(Qt::red);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    png.save(&buffer, "PNG");
    ASSERT_TRUE(AlbumCover::store(AlbumId, pngBytes));
    EXPECT_TRUE(AlbumCover::path(AlbumId).endsWith(QLatin1String(".png")));
    EXPECT_FALSE(
        QFile::exists(home.path() + QStringLiteral("/covers/") + AlbumId + QStringLiteral(".jpg")));
}
