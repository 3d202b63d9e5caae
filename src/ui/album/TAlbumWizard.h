#pragma once

#include "collection/AlbumWizardDraft.h"
#include "player/AlbumWindow.h"
#include "ui/common/TWizardForm.h"

class QCheckBox;
class QLineEdit;

namespace Orbisong {

class AlbumFieldCombo;
class AlbumTrackPane;
class Collection;
class QuestionPort;
struct Settings;

// "Add New Album": takes the description of a disc the collection does not know, typed in or
// found by a lookup the user starts from its first pane, and writes it with the collection's
// setters on "Finish".
class TAlbumWizard : public TWizardForm, public AlbumWindow
{
    Q_OBJECT

public:
    TAlbumWizard(Collection &collection, const Settings &settings, const QString &albumId,
                 QWidget *parent = nullptr);

    QString albumId() const { return m_draft.albumId(); }
    const AlbumWizardDraft &draft() const { return m_draft; }
    // Where "nothing found" is told; none answers it unseen.
    void setQuestionPort(QuestionPort *questions) { m_questions = questions; }

    QWidget *sourcePane() const { return m_sourcePane; }
    QWidget *confirmPane() const { return m_confirmPane; }
    AlbumTrackPane *trackPane() const { return m_trackPane; }
    QCheckBox *submitCheck() const { return m_submit; }

    // A lookup the wizard asked for ended (RecognitionSequence::Notice).
    void lookupFinished(int result);

    void takeEntry(const CddbAlbumFields &fields) override;

signals:
    void localLookupRequested(const QString &albumId);
    void remoteLookupRequested(const QString &albumId);
    // "Submit information to the CDDB database." was ticked on "Finish"; the album was stored.
    void submitRequested(const QString &albumId);

protected:
    QWidget *focusControl(QWidget *pane) override;
    void finish() override;

private:
    QWidget *buildSourcePane(const Settings &settings);
    QWidget *buildGeneralPane();
    QWidget *buildOrganizationPane();
    QWidget *buildConfirmPane();
    QLineEdit *addEdit(QWidget *pane, const QString &name);
    void fill();
    void collect();

    Collection &m_collection;
    AlbumWizardDraft m_draft;
    QuestionPort *m_questions = nullptr;
    QWidget *m_sourcePane = nullptr;
    QWidget *m_generalPane = nullptr;
    QWidget *m_organizationPane = nullptr;
    AlbumTrackPane *m_trackPane = nullptr;
    QWidget *m_confirmPane = nullptr;
    AlbumFieldCombo *m_artist = nullptr;
    QLineEdit *m_title = nullptr;
    QLineEdit *m_copyright = nullptr;
    QLineEdit *m_year = nullptr;
    QCheckBox *m_lastNameFirst = nullptr;
    AlbumFieldCombo *m_category = nullptr;
    AlbumFieldCombo *m_binder = nullptr;
    AlbumFieldCombo *m_owner = nullptr;
    QLineEdit *m_index = nullptr;
    QCheckBox *m_submit = nullptr;
};

} // namespace Orbisong
