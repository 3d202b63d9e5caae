#include "ui/collection/CollectionSearchPage.h"

#include "collection/AlbumSearch.h"
#include "ui/collection/ResultListModel.h"
#include "ui/collection/ResultListView.h"
#include "ui/player/TCursorStack.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orbisong {

CollectionSearchPage::CollectionSearchPage(Collection &collection, QuestionPort *questions,
                                           TCursorStack &cursors, QWidget *parent)
    : QWidget(parent), m_collection(collection), m_cursors(cursors), m_typeButton(new QToolButton),
      m_typeMenu(new QMenu(this)), m_edit(new QLineEdit),
      m_searchButton(new QPushButton(tr("&Search"))),
      m_instructions(new QLabel(tr("To search for an item, enter the data field and text to "
                                   "search for and then click the \"Search\" button."))),
      m_results(new ResultListView(
          new ResultListModel({tr("Artist"), tr("Album"), tr("Track"), tr("Text")}, this),
          questions))
{
    setObjectName(QStringLiteral("SearchPage"));
    m_typeButton->setObjectName(QStringLiteral("SearchTypeButton"));
    m_typeButton->setPopupMode(QToolButton::InstantPopup);
    m_typeButton->setMenu(m_typeMenu);
    m_typeMenu->setObjectName(QStringLiteral("SearchTypeMenu"));
    for (int type : searchTypesInMenuOrder()) {
        m_typeMenu->addAction(searchTypeCaption(type), this, [this, type] { setSearchType(type); });
    }
    m_edit->setObjectName(QStringLiteral("SearchEdit"));
    m_searchButton->setObjectName(QStringLiteral("SearchButton"));
    m_searchButton->setDefault(true);
    m_instructions->setObjectName(QStringLiteral("SearchInstructions"));
    m_instructions->setWordWrap(true);
    m_results->setObjectName(QStringLiteral("SearchResults"));

    auto *row = new QHBoxLayout;
    row->addWidget(m_typeButton);
    row->addWidget(m_edit, 1);
    row->addWidget(m_searchButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_instructions);
    layout->addWidget(m_results, 1);

    connect(m_searchButton, &QPushButton::clicked, this, &CollectionSearchPage::search);
    connect(m_edit, &QLineEdit::returnPressed, this, &CollectionSearchPage::search);
    connect(m_results, &ResultListView::propertiesRequested, this,
            &CollectionSearchPage::propertiesRequested);
    setSearchType(0);
}

void CollectionSearchPage::setSearchType(int type)
{
    if (searchTypeCaption(type).isEmpty())
        type = 0;
    m_type = type;
    m_typeButton->setText(searchTypeCaption(type));
}

void CollectionSearchPage::setText(const QString &text)
{
    m_edit->setText(text);
}

void CollectionSearchPage::search()
{
    const QString text = m_edit->text().trimmed();
    if (text.isEmpty())
        return;
    QList<ResultRow> rows;
    {
        const BusyCursor busy(m_cursors);
        const QList<SearchHit> hits = AlbumSearch(m_collection).run(m_type, text);
        rows.reserve(hits.size());
        for (const SearchHit &hit : hits) {
            const QString track = hit.track > 0 ? QString::number(hit.track) : QString();
            rows.append({{hit.artist, hit.title, track, hit.text},
                         hit.album,
                         hit.album ? hit.album->id : QString(),
                         hit.artist,
                         hit.title,
                         hit.track});
        }
    }
    m_results->resultModel()->setRows(rows);
}

void CollectionSearchPage::clear()
{
    m_results->resultModel()->setRows({});
}

void CollectionSearchPage::albumsRemoved(const QSet<const AlbumIndexNode *> &albums)
{
    m_results->resultModel()->removeAlbums(albums);
}

} // namespace Orbisong
