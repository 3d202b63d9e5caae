#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// Answers the installer's windows from environment variables so that tests can run the real
// program without a person. Inactive unless ARCWELL_SETUP_TEST_LOG names a file:
// - ARCWELL_SETUP_TEST_LOG: every message box is appended there as "title<TAB>text", with
//   backslashes doubled and line breaks written as "\n".
// - ARCWELL_SETUP_TEST_DESTINATIONS: the texts typed into the destination dialog, one per
//   line, one per press of OK; "<keep>" presses OK on the text shown, "<cancel>" presses
//   Cancel, "<close>" closes the dialog. When
//   the list runs out the dialog is cancelled.
// - ARCWELL_SETUP_TEST_ANSWERS: "yes"/"no" answers to questions, comma-separated, in order;
//   "yes" when they run out.
// - ARCWELL_SETUP_TEST_CANCEL_AT: press the progress dialog's Cancel at this file name.
class SetupAutomation
{
public:
    SetupAutomation();

    bool active() const { return !m_log.isEmpty(); }
    void record(const QString &title, const QString &text) const;
    // The next text for the destination dialog; "<cancel>" or "<close>" as described.
    QString nextDestination();
    bool nextAnswer();
    QString cancelAtFile() const { return m_cancelAt; }

    static QString encode(const QString &text);

private:
    QString m_log;
    QStringList m_destinations;
    QStringList m_answers;
    QString m_cancelAt;
};

} // namespace Orbisong
