#pragma once

#include "playback/CdDriveSet.h"
#include "playback/ScriptedDevice.h"

#include <QMap>

namespace Orbisong {

// Scripted drives under chosen letters; every open of a letter answers the same drive, so a
// test keeps its handle on the disc across closes and reopens.
class ScriptedDriveSet : public CdDriveSet
{
public:
    // Adds a drive (without a disc) and returns it.
    ScriptedDevice &addDrive(QChar letter);
    ScriptedDevice &drive(QChar letter) { return *m_drives.value(letter.toUpper()); }
    // Opening this letter fails with `code` (0 lets it open again).
    void setOpenFailure(QChar letter, int code) { m_openFailures.insert(letter.toUpper(), code); }
    int openCount(QChar letter) const { return m_openCounts.value(letter.toUpper()); }

    QString letters() const override;
    std::shared_ptr<CdDevice> open(QChar letter, int *error, QString *errorText) override;

private:
    QMap<QChar, std::shared_ptr<ScriptedDevice>> m_drives;
    QMap<QChar, int> m_openFailures;
    QMap<QChar, int> m_openCounts;
};

} // namespace Orbisong
