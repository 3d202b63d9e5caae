#pragma once

#include "ui/print/TPrintEditor.h"
#include "ui/print/TPrintWizard.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QWidget;

namespace Orbisong {

class Collection;
class CollectionWindows;
class QuestionPort;

// Opens the print wizard when the collection window asks for it, at most one at a time, and
// hands it what the collection window shows.
class PrintWindows : public QObject
{
    Q_OBJECT

public:
    PrintWindows(CollectionWindows *collectionWindows, Collection *collection,
                 QuestionPort *questions, QWidget *parent, QObject *owner = nullptr);
    ~PrintWindows() override;

    // Where the editor learns the custom field names when it opens (they follow the options).
    void setCustomFields(std::function<QStringList()> fields) { m_customFields = std::move(fields); }

    void openWizard();
    // The template editor on `path`, saving into the user's templates folder; a new template
    // when `path` is empty.
    void openEditor(const QString &path);
    TPrintWizard *wizard() const { return m_wizard; }
    TPrintEditor *editor() const { return m_editor; }

private:
    CollectionWindows *m_collectionWindows;
    Collection *m_collection;
    QuestionPort *m_questions;
    QWidget *m_parent;
    QPointer<TPrintWizard> m_wizard;
    QPointer<TPrintEditor> m_editor;
    std::function<QStringList()> m_customFields;
};

} // namespace Orbisong
