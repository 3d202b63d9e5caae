#pragma once

#include "ui/album/AlbumPage.h"

#include <QList>
#include <QStringList>

class QLineEdit;
class QPlainTextEdit;

namespace Orbisong {

// "Custom": one row per custom field of the settings, and the album's comments.
class AlbumCustomPage : public AlbumPage
{
    Q_OBJECT

public:
    explicit AlbumCustomPage(const QStringList &fields, QWidget *parent = nullptr);

    void load(const AlbumDraft &draft) override;
    void save(AlbumDraft &draft) override;

    QLineEdit *fieldEdit(const QString &name) const;

private:
    QStringList m_fields;
    QList<QLineEdit *> m_edits;
    QPlainTextEdit *m_comments = nullptr;
};

} // namespace Orbisong
