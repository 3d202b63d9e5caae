#pragma once

#include "CdDriveSet.h"

#include <QList>
#include <QPair>

namespace Orbisong {

// The machine's CD drives (/dev/sr*) from "D" on, then the disc images named at start, each
// under the next letter, all read through libcdio.
class LocalDriveSet : public CdDriveSet
{
public:
    explicit LocalDriveSet(const QStringList &discImages, bool realDrives = true);

    QString letters() const override;
    std::shared_ptr<CdDevice> open(QChar letter, int *error, QString *errorText) override;
    // The letter under which an image or drive path is known; null when none.
    QChar letterOf(const QString &source) const;

private:
    QList<QPair<QChar, QString>> m_sources;
};

} // namespace Orbisong
