#include "ui/album/AlbumDatabasePage.h"

#include "collection/AlbumDraft.h"
#include "collection/AlbumInfo.h"

#include <QFormLayout>
#include <QLineEdit>

namespace Orbisong {

AlbumDatabasePage::AlbumDatabasePage(QWidget *parent) : AlbumPage(parent)
{
    m_source = new QLineEdit(this);
    m_source->setObjectName(QStringLiteral("SourceEdit"));
    m_source->setReadOnly(true);
    m_id = new QLineEdit(this);
    m_id->setObjectName(QStringLiteral("IDEdit"));
    m_id->setReadOnly(true);
    auto *form = new QFormLayout(this);
    form->addRow(tr("&Source:"), m_source);
    form->addRow(tr("&ID:"), m_id);
}

void AlbumDatabasePage::load(const AlbumDraft &draft)
{
    m_source->setText(albumSourceText(draft.source));
    m_id->setText(draft.albumId());
}

void AlbumDatabasePage::save(AlbumDraft &draft)
{
    Q_UNUSED(draft)
}

} // namespace Orbisong
