#include "app/ExportWindows.h"

#include "app/CollectionWindows.h"
#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "ui/collection/CollectionGeneralPage.h"
#include "ui/collection/MemberColumn.h"
#include "ui/collection/MemberListModel.h"
#include "ui/export/ExportProgressDialog.h"
#include "ui/export/TExportWizard.h"
#include "ui/player/TPlayerForm.h"

#include <QApplication>

namespace Orbisong {

ExportWindows::ExportWindows(TPlayerForm *player, CollectionWindows *collectionWindows,
                             Collection *collection, Settings &settings, QuestionPort *questions,
                             QObject *parent)
    : QObject(parent), m_player(player), m_collectionWindows(collectionWindows),
      m_collection(collection), m_settings(settings), m_questions(questions)
{
    connect(collectionWindows, &CollectionWindows::exportRequested, this,
            &ExportWindows::openWizard);
    connect(player, &TPlayerForm::closing, this, &ExportWindows::closeAll);
}

ExportWindows::~ExportWindows()
{
    closeAll();
}

void ExportWindows::openWizard()
{
    if (!m_collection)
        return;
    if (!m_wizard) {
        int kind = -1;
        QString value;
        if (TCollectionForm *window = m_collectionWindows->window()) {
            CollectionGeneralPage *page = window->generalPage();
            if (const GroupMember *member =
                    page->memberColumn()->model()->memberAt(page->currentMember())) {
                kind = int(page->grouping());
                value = memberValue(*member);
            }
        }
        QWidget *parent = m_collectionWindows->window();
        m_wizard = new TExportWizard(*m_collection, m_settings, m_questions, kind, value,
                                     parent ? parent : static_cast<QWidget *>(m_player));
        m_wizard->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_wizard, &QDialog::accepted, this, &ExportWindows::runExport);
    }
    m_wizard->show();
    m_wizard->raise();
    m_wizard->activateWindow();
}

void ExportWindows::runExport()
{
    const ExportProfile profile = m_wizard->profile();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto job = std::make_shared<const ExportJob>(*m_collection, profile, m_wizard->templatePath());
    QApplication::restoreOverrideCursor();
    const QString format = profile.isHtml()    ? tr("HTML")
                           : profile.isAscii() ? tr("ASCII database")
                                               : tr("Orbisong collection");
    m_progress = new ExportProgressDialog(job, format, m_wizard->parentWidget());
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_progress, &ExportProgressDialog::exportDone, this, &ExportWindows::report);
    m_progress->show();
    m_progress->start();
}

void ExportWindows::report()
{
    const ExportResult result = m_progress->result();
    if (result.messageId != 0) {
        askOrDefault(m_questions, result.messageId);
        return;
    }
    QString problem = result.error;
    if (!result.refused.isEmpty()) {
        problem += tr("These files were not written because their names lead out of the "
                      "output folder: %1")
                       .arg(result.refused.join(QStringLiteral(", ")));
    }
    if (!problem.isEmpty())
        askOrDefault(m_questions, Msg::Notice, tr("Export"), problem);
}

void ExportWindows::closeAll()
{
    if (m_progress)
        m_progress->reject();
    if (m_wizard)
        m_wizard->close();
}

} // namespace Orbisong
