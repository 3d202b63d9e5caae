#pragma once

#include <QString>

#include <functional>

namespace Orbisong {

// What the install sequence needs from its windows. The sequence itself holds no widgets, so
// it runs the same behind real dialogs and behind a test's answers.
class InstallerUi
{
public:
    enum class Buttons { Ok, YesNo };
    enum Answer { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };
    enum class Verdict { StayOpen, Close };
    enum class DestinationResult { Closed, Accepted, Cancelled };

    virtual ~InstallerUi() = default;

    // A message box titled with the program title.
    virtual int showMessage(const QString &title, const QString &text, Buttons buttons) = 0;
    // Shows the destination dialog preset with `folder`. On OK `onOk` receives the text; the
    // dialog stays open when it answers StayOpen.
    virtual DestinationResult
    askDestination(const QString &folder, const std::function<Verdict(const QString &)> &onOk) = 0;
    // While the destination dialog is open: a note shown in it and a busy cursor over it.
    virtual void setDestinationNote(const QString &text) = 0;
    virtual void setBusy(bool busy) = 0;
    // Lets the windows repaint and react for `milliseconds`.
    virtual void wait(int milliseconds) = 0;

    // The modeless progress dialog. `advance` returns false once the user has cancelled and
    // confirmed it.
    virtual void openProgress(const QString &title, qint64 totalBytes) = 0;
    virtual void setSource(const QString &text) = 0;
    virtual void setCurrentFile(const QString &text) = 0;
    virtual bool advance(qint64 bytes) = 0;
    virtual void closeProgress() = 0;
};

} // namespace Orbisong
