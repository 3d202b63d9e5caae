#pragma once

#include "CaptureTypes.h"

#include <QDialog>
#include <QList>

namespace Orbisong {

class CaptureSession;

// The driver's "Video Source" dialog: one slider per picture control of the source, applied
// while it moves; Cancel puts the old values back.
class TVideoSourceDialog : public QDialog
{
    Q_OBJECT

public:
    TVideoSourceDialog(CaptureSession &session, QWidget *parent = nullptr);

    void reject() override;

private:
    CaptureSession &m_session;
    QList<SourceControl> m_original;
};

} // namespace Orbisong
