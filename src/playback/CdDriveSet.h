#pragma once

#include "playback/CdDevice.h"

#include <QString>

#include <memory>

namespace Orbisong {

// The CD drives the player can choose from, each known by a drive letter.
class CdDriveSet
{
public:
    virtual ~CdDriveSet() = default;

    // The letters of the CD drives, upper case, in drive order.
    virtual QString letters() const = 0;
    // Opens the drive; nullptr with an error code and text when it cannot be opened.
    virtual std::shared_ptr<CdDevice> open(QChar letter, int *error, QString *errorText) = 0;

    bool isCdDrive(QChar letter) const { return letters().contains(letter.toUpper()); }
};

} // namespace Orbisong
