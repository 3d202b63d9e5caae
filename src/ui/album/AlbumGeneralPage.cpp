#include "ui/album/AlbumGeneralPage.h"

#include "collection/AlbumCover.h"
#include "collection/AlbumDraft.h"
#include "ui/album/AlbumFieldCombo.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace Orbisong {

AlbumGeneralPage::AlbumGeneralPage(const Collection *collection, QWidget *parent)
    : AlbumPage(parent)
{
    auto combo = [this, collection](FieldChoices::Field field, const QString &name) {
        auto *box = new AlbumFieldCombo(collection, field, this);
        box->setObjectName(name);
        connect(box, &AlbumFieldCombo::textEdited, this, &AlbumPage::changed);
        return box;
    };
    m_title = addEdit(QStringLiteral("TitleEdit"));
    m_artist = combo(FieldChoices::Artist, QStringLiteral("ArtistCombo"));
    m_copyright = addEdit(QStringLiteral("CopyrightEdit"));
    m_lastNameFirst = new QCheckBox(tr("Alphabetize &last name first."), this);
    m_lastNameFirst->setObjectName(QStringLiteral("LastNameCheck"));
    connect(m_lastNameFirst, &QCheckBox::toggled, this, &AlbumPage::changed);
    m_binder = combo(FieldChoices::Binder, QStringLiteral("BinderCombo"));
    m_category = combo(FieldChoices::Category, QStringLiteral("CategoryCombo"));
    m_year = addEdit(QStringLiteral("YearEdit"));
    m_index = addEdit(QStringLiteral("IndexEdit"));
    m_owner = combo(FieldChoices::Owner, QStringLiteral("OwnerCombo"));
    m_other = addEdit(QStringLiteral("OtherEdit"));

    auto *album = new QGroupBox(tr("Album"), this);
    auto *albumForm = new QFormLayout(album);
    albumForm->addRow(tr("&Title:"), m_title);
    albumForm->addRow(tr("&Artist:"), m_artist);
    albumForm->addRow(tr("&Copyright:"), m_copyright);
    albumForm->addRow(QString(), m_lastNameFirst);

    auto *arrangement = new QGroupBox(tr("Arrangement"), this);
    auto *arrangementForm = new QFormLayout(arrangement);
    arrangementForm->addRow(tr("&Binder:"), m_binder);
    arrangementForm->addRow(tr("Cate&gory:"), m_category);
    arrangementForm->addRow(tr("&Year:"), m_year);
    arrangementForm->addRow(tr("&Index:"), m_index);
    arrangementForm->addRow(tr("O&wner:"), m_owner);
    arrangementForm->addRow(tr("Ot&her:"), m_other);

    m_cover = new QLabel(this);
    m_cover->setObjectName(QStringLiteral("CoverPicture"));
    m_cover->setFixedSize(CoverSize, CoverSize);
    m_cover->setAlignment(Qt::AlignCenter);
    m_cover->hide();
    auto *top = new QHBoxLayout;
    top->addWidget(album, 1);
    top->addWidget(m_cover, 0, Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(arrangement);
    layout->addStretch(1);
}

QLineEdit *AlbumGeneralPage::addEdit(const QString &name)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    connect(edit, &QLineEdit::textEdited, this, &AlbumPage::changed);
    return edit;
}

void AlbumGeneralPage::load(const AlbumDraft &draft)
{
    m_title->setText(draft.title);
    m_artist->setText(draft.artist);
    m_copyright->setText(draft.copyright);
    m_lastNameFirst->setChecked(draft.lastNameFirst);
    m_binder->setText(draft.binder);
    m_category->setText(draft.category);
    m_year->setText(draft.year);
    m_index->setText(draft.index);
    m_owner->setText(draft.owner);
    m_other->setText(draft.other);
    const QPixmap cover(AlbumCover::path(draft.albumId()));
    m_cover->setVisible(!cover.isNull());
    if (!cover.isNull())
        m_cover->setPixmap(
            cover.scaled(m_cover->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void AlbumGeneralPage::save(AlbumDraft &draft)
{
    draft.title = m_title->text();
    draft.artist = m_artist->text();
    draft.copyright = m_copyright->text();
    draft.lastNameFirst = m_lastNameFirst->isChecked();
    draft.binder = m_binder->text();
    draft.category = m_category->text();
    draft.year = m_year->text();
    draft.index = m_index->text();
    draft.owner = m_owner->text();
    draft.other = m_other->text();
}

} // namespace Orbisong
