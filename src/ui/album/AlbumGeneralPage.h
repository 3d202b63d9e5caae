#pragma once

#include "ui/album/AlbumPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace Orbisong {

class AlbumFieldCombo;
class Collection;

// "General": the album's title, artist and copyright, its cover, and its arrangement fields.
class AlbumGeneralPage : public AlbumPage
{
    Q_OBJECT

public:
    explicit AlbumGeneralPage(const Collection *collection, QWidget *parent = nullptr);

    void load(const AlbumDraft &draft) override;
    void save(AlbumDraft &draft) override;

private:
    QLineEdit *addEdit(const QString &name);

    QLineEdit *m_title = nullptr;
    AlbumFieldCombo *m_artist = nullptr;
    QLineEdit *m_copyright = nullptr;
    QCheckBox *m_lastNameFirst = nullptr;
    AlbumFieldCombo *m_binder = nullptr;
    AlbumFieldCombo *m_category = nullptr;
    QLineEdit *m_year = nullptr;
    QLineEdit *m_index = nullptr;
    AlbumFieldCombo *m_owner = nullptr;
    QLineEdit *m_other = nullptr;
    QLabel *m_cover = nullptr; // the album's stored cover, hidden without one
    static constexpr int CoverSize = 128;
};

} // namespace Orbisong
