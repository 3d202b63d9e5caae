#pragma once

#include <QString>

namespace Orbisong {

// Numbered still pictures: base path + "_" + number + ".bmp". Numbers only grow, and a
// number whose file already exists is passed over, so earlier pictures are never overwritten.
class PictureSequence
{
public:
    // Takes a chosen file name; its extension is dropped and numbering starts again.
    void choose(const QString &fileName);
    void restore(const QString &base, int counter);

    QString base() const { return m_base; }
    int counter() const { return m_counter; }

    // The next unused picture file; advances the counter to its number.
    QString next();

private:
    QString m_base;
    int m_counter = 0;
};

} // namespace Orbisong
