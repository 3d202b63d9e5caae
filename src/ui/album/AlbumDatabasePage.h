#pragma once

#include "ui/album/AlbumPage.h"

class QLineEdit;

namespace Orbisong {

// "Database": where the description came from and the album ID, both read-only.
class AlbumDatabasePage : public AlbumPage
{
    Q_OBJECT

public:
    explicit AlbumDatabasePage(QWidget *parent = nullptr);

    void load(const AlbumDraft &draft) override;
    void save(AlbumDraft &draft) override;

private:
    QLineEdit *m_source = nullptr;
    QLineEdit *m_id = nullptr;
};

} // namespace Orbisong
