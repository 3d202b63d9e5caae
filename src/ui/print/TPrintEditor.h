#pragma once

#include "print/PrintTemplate.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QScrollArea;

namespace Orbisong {

class PrintPageView;
class PrintRuler;
class QuestionPort;
class TPrintBlockProperties;

// "Edit Print Template": the paper with its header, footer and areas, rulers, zoom and the
// tools that draw, select, resize and delete blocks, set the flow and single-album mode and
// open a block's properties. Saving writes the template file; closing with unsaved changes
// asks whether to save them.
class TPrintEditor : public QMainWindow
{
    Q_OBJECT

public:
    explicit TPrintEditor(QuestionPort *questions, QWidget *parent = nullptr);

    // A new template is written to `path` when saved: header and footer an inch high.
    void newTemplate(const QString &path);
    bool load(const QString &path);
    bool save();
    // Where Save writes: a shipped template is edited into the user's templates folder.
    void setSavePath(const QString &path) { m_path = path; }
    QString savePath() const { return m_path; }
    bool isModified() const { return m_modified; }
    const PrintTemplate &printTemplate() const { return m_template; }
    PrintPageView *page() const { return m_page; }
    QComboBox *zoomBox() const { return m_zoom; }
    // A toolbar action by its name ("AreaTool", "SaveTool", ...).
    QAction *tool(const QString &name) const;
    // "Block properties" for the selected block.
    void editProperties();
    // Replaces the properties window's exec() (tests accept or change it without a user).
    void setPropertiesRunner(std::function<bool(TPrintBlockProperties &)> runner);
    // The custom field names the block properties' insert menu offers.
    void setCustomFields(const QStringList &fields) { m_customFields = fields; }

signals:
    void saved(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addTool(const QString &name, const QString &text, bool checkable);
    void buildToolBar();
    void markChanged();
    void syncTools();
    void updateRulers();
    void setFlag(int flag, bool on);

    QuestionPort *m_questions;
    PrintTemplate m_template;
    QString m_path;
    bool m_modified = false;
    PrintPageView *m_page = nullptr;
    QScrollArea *m_scroll = nullptr;
    PrintRuler *m_horizontal = nullptr;
    PrintRuler *m_vertical = nullptr;
    QComboBox *m_zoom = nullptr;
    QLabel *m_position = nullptr;
    std::function<bool(TPrintBlockProperties &)> m_runProperties;
    QStringList m_customFields;
};

} // namespace Orbisong
