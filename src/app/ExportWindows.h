#pragma once

#include "ui/export/ExportProgressDialog.h"
#include "ui/export/TExportWizard.h"

#include <QObject>
#include <QPointer>

namespace Orbisong {

class Collection;
class CollectionWindows;
class QuestionPort;
class TPlayerForm;
struct Settings;

// Opens the export wizard when the collection window asks for it, at most one at a time,
// with the window's grouping; once the wizard is accepted, runs the export under its
// progress window and reports what went wrong.
class ExportWindows : public QObject
{
    Q_OBJECT

public:
    ExportWindows(TPlayerForm *player, CollectionWindows *collectionWindows, Collection *collection,
                  Settings &settings, QuestionPort *questions, QObject *parent = nullptr);
    ~ExportWindows() override;

    void openWizard();
    void closeAll();
    TExportWizard *wizard() const { return m_wizard; }
    ExportProgressDialog *progress() const { return m_progress; }

private:
    void runExport();
    void report();

    TPlayerForm *m_player;
    CollectionWindows *m_collectionWindows;
    Collection *m_collection;
    Settings &m_settings;
    QuestionPort *m_questions;
    QPointer<TExportWizard> m_wizard;
    QPointer<ExportProgressDialog> m_progress;
};

} // namespace Orbisong
