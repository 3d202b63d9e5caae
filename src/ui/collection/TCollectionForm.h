#pragma once

#include "collection/CollectionSink.h"
#include "ui/collection/AlbumListModel.h"
#include "ui/collection/CollectionGeneralPage.h"

#include <QWidget>

#include <functional>
#include <memory>

class QPushButton;
class QTabWidget;

namespace Orbisong {

class Collection;
class CollectionSearchPage;
class CollectionStatisticsPage;
class QuestionPort;
class TCursorStack;

// "Collection": browses, searches, ranks, deletes and imports the albums of the collection.
// While it is shown it follows every change of the index.
class TCollectionForm : public QWidget, public CollectionSink
{
    Q_OBJECT

public:
    // Asks for a collection file to import; an empty path when none was chosen.
    using FileChooser = std::function<QString(QWidget *parent)>;

    // `cursors` is the program's busy-cursor stack; without one the window keeps its own.
    TCollectionForm(Collection &collection, QuestionPort *questions,
                    TCursorStack *cursors = nullptr, QWidget *parent = nullptr);
    ~TCollectionForm() override;

    // Replaces the file dialog of "&Import" (tests choose without a dialog).
    void setImportChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    // Replaces the input window of "&New".
    void setValueAsker(CollectionGeneralPage::ValueAsker asker);

    CollectionGeneralPage *generalPage() const { return m_general; }
    CollectionSearchPage *searchPage() const { return m_search; }
    CollectionStatisticsPage *statisticsPage() const { return m_statistics; }
    QTabWidget *pages() const { return m_pages; }
    QPushButton *closeButton() const { return m_close; }
    QPushButton *exportButton() const { return m_export; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *importButton() const { return m_import; }

    // "&Import": asks for a file and merges it, unless it is the current collection file.
    void importCollection();
    void importFile(const QString &path);

    void albumIndexChanged(const AlbumIndexNode &node, int code, const QVariant &value) override;

signals:
    void propertiesRequested(const QString &albumId);
    void exportRequested();
    void printRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void attach();
    void detach();
    void restoreState();
    void storeState();
    void albumsRemoved(const AlbumSet &albums);

    Collection &m_collection;
    QuestionPort *m_questions;
    std::unique_ptr<TCursorStack> m_ownCursors;
    TCursorStack *m_cursors;
    FileChooser m_chooser;
    bool m_attached = false;
    bool m_importing = false;
    bool m_deleting = false;
    AlbumSet m_removed;

    QTabWidget *m_pages;
    CollectionGeneralPage *m_general;
    CollectionSearchPage *m_search;
    CollectionStatisticsPage *m_statistics;
    QPushButton *m_close;
    QPushButton *m_export;
    QPushButton *m_print;
    QPushButton *m_import;
};

} // namespace Orbisong
