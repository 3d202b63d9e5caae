#pragma once

#include <QWidget>

namespace Orbisong {

class AlbumDraft;

// One page of the album properties window: it shows its part of the draft, tells of every
// change, and writes its edits back into the draft.
class AlbumPage : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void load(const AlbumDraft &draft) = 0;
    virtual void save(AlbumDraft &draft) = 0;

signals:
    void changed();
};

} // namespace Orbisong
