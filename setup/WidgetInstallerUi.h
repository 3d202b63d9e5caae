#pragma once

#include "InstallerUi.h"
#include "SetupAutomation.h"

#include <QPointer>

namespace Orbisong {

class TDestinationDialog;
class TProgressDialog;

// The installer's windows: message boxes, the destination dialog and the progress dialog.
class WidgetInstallerUi : public InstallerUi
{
public:
    WidgetInstallerUi();
    ~WidgetInstallerUi() override;

    int showMessage(const QString &title, const QString &text, Buttons buttons) override;
    DestinationResult askDestination(const QString &folder,
                                     const std::function<Verdict(const QString &)> &onOk) override;
    void setDestinationNote(const QString &text) override;
    void setBusy(bool busy) override;
    void wait(int milliseconds) override;
    void openProgress(const QString &title, qint64 totalBytes) override;
    void setSource(const QString &text) override;
    void setCurrentFile(const QString &text) override;
    bool advance(qint64 bytes) override;
    void closeProgress() override;

private:
    void answerDestination();

    SetupAutomation m_automation;
    QString m_title;
    QPointer<TDestinationDialog> m_destination;
    TProgressDialog *m_progress = nullptr;
};

} // namespace Orbisong
