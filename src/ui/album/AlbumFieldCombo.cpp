#include "ui/album/AlbumFieldCombo.h"

#include <QLineEdit>

namespace Orbisong {

AlbumFieldCombo::AlbumFieldCombo(const Collection *collection, FieldChoices::Field field,
                                 QWidget *parent)
    : QComboBox(parent), m_collection(collection), m_field(field)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connect(lineEdit(), &QLineEdit::textEdited, this, &AlbumFieldCombo::textEdited);
    connect(this, &QComboBox::activated, this, &AlbumFieldCombo::textEdited);
}

void AlbumFieldCombo::setText(const QString &text)
{
    setEditText(text);
}

QString AlbumFieldCombo::text() const
{
    return currentText();
}

void AlbumFieldCombo::showPopup()
{
    const QString typed = currentText();
    clear();
    if (m_collection)
        addItems(FieldChoices::values(*m_collection, m_field, typed));
    setCurrentIndex(findText(typed.trimmed()));
    setEditText(typed);
    QComboBox::showPopup();
}

} // namespace Orbisong
