#include "PictureSequence.h"

#include <QFileInfo>

namespace Orbisong {

void PictureSequence::choose(const QString &fileName)
{
    const QFileInfo info(fileName);
    m_base = info.suffix().isEmpty() ? fileName
                                     : fileName.left(fileName.size() - info.suffix().size() - 1);
    m_counter = 0;
}

void PictureSequence::restore(const QString &base, int counter)
{
    m_base = base;
    m_counter = qMax(0, counter);
}

QString PictureSequence::next()
{
    QString file;
    do {
        ++m_counter;
        file = m_base + QLatin1Char('_') + QString::number(m_counter) + QStringLiteral(".bmp");
    } while (QFileInfo::exists(file));
    return file;
}

} // namespace Orbisong
