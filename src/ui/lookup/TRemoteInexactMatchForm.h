#pragma once

#include "cddb/CddbMatches.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace Orbisong {

// "Possible Matches": lets the user pick one of the discs a server offered.
class TRemoteInexactMatchForm : public QDialog
{
    Q_OBJECT

public:
    explicit TRemoteInexactMatchForm(const QString &response, QWidget *parent = nullptr);

    // Shows the window modally; on "OK" returns true with the chosen match's category and
    // disc id.
    static bool chooseMatch(QWidget *parent, const QString &response, QString *category,
                            QString *discId);

    const QList<CddbMatch> &matches() const { return m_matches; }
    QListWidget *MatchList() const { return m_list; }
    QPushButton *OKButton() const { return m_ok; }
    QPushButton *CancelButton() const { return m_cancel; }
    // The selected match; nullptr without a selection.
    const CddbMatch *chosen() const;

private:
    QList<CddbMatch> m_matches;
    QListWidget *m_list = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace Orbisong
