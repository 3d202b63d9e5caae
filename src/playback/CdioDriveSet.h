#pragma once

#include "playback/CdDriveSet.h"

#include <QMap>
#include <QStringList>

namespace Orbisong {

// The machine's CD drives as libcdio finds them, lettered from "D" in libcdio's order, then
// disc images as virtual drives lettered after them.
class CdioDriveSet : public CdDriveSet
{
public:
    // `images` are image files (CUE/BIN, TOC, NRG); `audioSink` as for AudioPipeline.
    explicit CdioDriveSet(const QStringList &images = {}, const QString &audioSink = {});

    // Adds an image as the next virtual drive and returns its letter (null when none is free
    // or the file is not an image). An image added twice keeps its letter.
    QChar addImage(const QString &path);
    // The device path or image file of a letter.
    QString source(QChar letter) const { return m_sources.value(letter.toUpper()); }

    QString letters() const override;
    std::shared_ptr<CdDevice> open(QChar letter, int *error, QString *errorText) override;

private:
    QMap<QChar, QString> m_sources;
    QString m_order;
    QString m_audioSink;
};

} // namespace Orbisong
