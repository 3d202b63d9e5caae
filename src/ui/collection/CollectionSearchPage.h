#pragma once

#include <QSet>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace Orbisong {

class Collection;
class QuestionPort;
class ResultListView;
class TCursorStack;
struct AlbumIndexNode;

// The "Search" page: a search type, a text, and the albums or tracks found.
class CollectionSearchPage : public QWidget
{
    Q_OBJECT

public:
    CollectionSearchPage(Collection &collection, QuestionPort *questions, TCursorStack &cursors,
                         QWidget *parent = nullptr);

    void setSearchType(int type);
    int searchType() const { return m_type; }
    void setText(const QString &text);
    // Searches for the edit field's text; an empty field does nothing.
    void search();
    void clear();
    // The entries are about to be freed, or were freed during a deletion.
    void albumsRemoved(const QSet<const AlbumIndexNode *> &albums);

    QToolButton *typeButton() const { return m_typeButton; }
    QMenu *typeMenu() const { return m_typeMenu; }
    QPushButton *searchButton() const { return m_searchButton; }
    ResultListView *results() const { return m_results; }

signals:
    void propertiesRequested(const QString &albumId);

private:
    Collection &m_collection;
    TCursorStack &m_cursors;
    int m_type = 0;
    QToolButton *m_typeButton;
    QMenu *m_typeMenu;
    QLineEdit *m_edit;
    QPushButton *m_searchButton;
    QLabel *m_instructions;
    ResultListView *m_results;
};

} // namespace Orbisong
