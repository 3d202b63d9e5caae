// Draws the about picture (pictures/about.jpg) and the status animations (animations/*.gif).
// Build and run by hand from the data folder when the artwork changes:
//   g++ -std=c++20 -fPIC pictures/make_pictures.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o /tmp/make_pictures && QT_QPA_PLATFORM=offscreen /tmp/make_pictures
#include <climits>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {

bool drawAbout(const QString &path)
{
    QImage image(460, 220, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 220);
    sky.setColorAt(0, QColor(0x10, 0x24, 0x44));
    sky.setColorAt(1, Qt::black);
    p.fillRect(image.rect(), sky);

    const QPointF centre(120, 110);
    QRadialGradient disc(centre, 86, QPointF(95, 80));
    disc.setColorAt(0, QColor(0xf2, 0xf6, 0xff));
    disc.setColorAt(0.45, QColor(0x9c, 0xc8, 0xff));
    disc.setColorAt(0.75, QColor(0x5a, 0x7d, 0xd8));
    disc.setColorAt(1, QColor(0x8e, 0x5a, 0xc8));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(centre, 86, 86);
    p.setBrush(QColor(0x10, 0x24, 0x44));
    p.drawEllipse(centre, 14, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    for (int r = 24; r < 86; r += 9)
        p.drawEllipse(centre, r, r);

    QPen wave(QColor(0xff, 0xb3, 0x47), 5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(wave);
    for (int i = 0; i < 3; ++i) {
        const int r = 110 + i * 22;
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -35 * 16, 70 * 16);
    }

    p.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"), 30, QFont::Bold);
    title.setPixelSize(38);
    p.setFont(title);
    p.drawText(QRectF(262, 60, 190, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Orbisong"));
    p.setPen(QColor(0x9c, 0xc8, 0xff));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    p.drawText(QRectF(264, 108, 190, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Audio CD player"));
    p.end();
    return image.save(path, "JPG", 90);
}

// GIF writer for small frames: every pixel is sent as a literal 9-bit code and the code
// table is cleared before it grows, which every decoder reads.
class GifWriter
{
public:
    explicit GifWriter(const QList<QRgb> &palette, int width, int height)
        : m_palette(palette), m_width(width), m_height(height)
    {
        m_out += "GIF89a";
        word(width);
        word(height);
        m_out += char(0xF7); // global table of 256 colours
        m_out += char(0);
        m_out += char(0);
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < palette.size() ? palette.at(i) : 0;
            m_out += char(qRed(c));
            m_out += char(qGreen(c));
            m_out += char(qBlue(c));
        }
        m_out += QByteArray::fromHex("21FF0B4E45545343415045322E300301000000");
    }

    void frame(const QImage &rgba, int delayCs)
    {
        m_out += QByteArray::fromHex("21F904");
        m_out += char(0x09); // restore to background, index 0 transparent
        word(delayCs);
        m_out += char(0);
        m_out += char(0);
        m_out += char(0x2C);
        word(0);
        word(0);
        word(m_width);
        word(m_height);
        m_out += char(0);
        m_out += char(8);
        QByteArray data;
        quint32 bits = 0;
        int count = 0;
        auto code = [&](int c) {
            bits |= quint32(c) << count;
            count += 9;
            while (count >= 8) {
                data += char(bits & 0xFF);
                bits >>= 8;
                count -= 8;
            }
        };
        int sinceClear = 0;
        code(256);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (sinceClear == 254) {
                    code(256);
                    sinceClear = 0;
                }
                code(nearest(rgba.pixel(x, y)));
                ++sinceClear;
            }
        }
        code(257);
        if (count > 0)
            data += char(bits & 0xFF);
        for (qsizetype i = 0; i < data.size(); i += 255) {
            const QByteArray block = data.mid(i, 255);
            m_out += char(block.size());
            m_out += block;
        }
        m_out += char(0);
    }

    bool save(const QString &path)
    {
        m_out += char(0x3B);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(m_out) == m_out.size();
    }

private:
    void word(int v)
    {
        m_out += char(v & 0xFF);
        m_out += char((v >> 8) & 0xFF);
    }
    int nearest(QRgb c) const
    {
        if (qAlpha(c) < 128)
            return 0;
        int best = 1;
        int bestDistance = INT_MAX;
        for (int i = 1; i < m_palette.size(); ++i) {
            const QRgb p = m_palette.at(i);
            const int d = (qRed(p) - qRed(c)) * (qRed(p) - qRed(c)) +
                          (qGreen(p) - qGreen(c)) * (qGreen(p) - qGreen(c)) +
                          (qBlue(p) - qBlue(c)) * (qBlue(p) - qBlue(c));
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return best;
    }

    QList<QRgb> m_palette;
    int m_width;
    int m_height;
    QByteArray m_out;
};

const QColor Blue(0x3a, 0x6e, 0xa5);
const QColor Light(0xcf, 0xe0, 0xf5);
const QColor Dark(0x1d, 0x2b, 0x3a);
const QColor Amber(0xff, 0xb3, 0x47);

QList<QRgb> palette()
{
    QList<QRgb> colours{qRgb(255, 0, 255)};
    for (const QColor &base : {Blue, Light, Dark, Amber}) {
        for (int step = 0; step < 16; ++step) {
            const QColor c = QColor::fromRgbF(base.redF() * (0.55f + step * 0.03f),
                                              base.greenF() * (0.55f + step * 0.03f),
                                              base.blueF() * (0.55f + step * 0.03f));
            colours.append(c.rgb());
        }
    }
    return colours;
}

template <typename Draw> bool animation(const QString &path, int frames, int delayCs, Draw draw)
{
    GifWriter gif(palette(), 43, 42);
    for (int i = 0; i < frames; ++i) {
        QImage image(43, 42, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, i);
        p.end();
        gif.frame(image, delayCs);
    }
    return gif.save(path);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    bool ok = drawAbout(QStringLiteral("pictures/about.jpg"));
    ok &= animation(QStringLiteral("animations/play.gif"), 12, 8, [](QPainter &p, int i) {
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawEllipse(QPointF(21.5, 21), 19, 19);
        p.setBrush(Light);
        p.drawEllipse(QPointF(21.5, 21), 7, 7);
        p.setBrush(Dark);
        p.drawEllipse(QPointF(21.5, 21), 3, 3);
        p.translate(21.5, 21);
        p.rotate(i * 30);
        p.setBrush(Amber);
        p.drawRoundedRect(QRectF(8, -2, 10, 4), 2, 2);
    });
    ok &= animation(QStringLiteral("animations/rcddb_get.gif"), 8, 10, [](QPainter &p, int i) {
        p.setPen(QPen(Light, 1.5));
        p.setBrush(Blue);
        p.drawEllipse(QPointF(31, 21), 10, 10);
        p.drawLine(QPointF(21, 21), QPointF(41, 21));
        p.drawEllipse(QPointF(31, 21), 4, 10);
        p.setPen(Qt::NoPen);
        p.setBrush(Amber);
        for (int d = 0; d < 3; ++d) {
            const double x = 2 + ((i + d * 3) % 8) * 2.2;
            p.drawEllipse(QPointF(x, 21), 2, 2);
        }
    });
    ok &= animation(QStringLiteral("animations/stats.gif"), 8, 12, [](QPainter &p, int i) {
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        for (int b = 0; b < 4; ++b) {
            const int h = 6 + ((i * (b + 2) * 7) % 28);
            p.drawRect(QRectF(4 + b * 10, 38 - h, 7, h));
        }
        p.setBrush(Amber);
        p.drawRect(QRectF(2, 38, 39, 2));
    });
    return ok ? 0 : 1;
}
