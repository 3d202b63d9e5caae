#pragma once

#include "collection/FieldChoices.h"

#include <QComboBox>

namespace Orbisong {

class Collection;

// An editable drop-down of an album field whose list is rebuilt from the collection and the
// typed text each time it opens.
class AlbumFieldCombo : public QComboBox
{
    Q_OBJECT

public:
    AlbumFieldCombo(const Collection *collection, FieldChoices::Field field,
                    QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;

    void showPopup() override;

signals:
    void textEdited();

private:
    const Collection *m_collection;
    FieldChoices::Field m_field;
};

} // namespace Orbisong
