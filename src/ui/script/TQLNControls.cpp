#include "ui/script/TQLNBitBtn.h"
#include "ui/script/TQLNCheckBox.h"
#include "ui/script/TQLNEdit.h"
#include "ui/script/TQLNStatic.h"

namespace Orbisong {

TQLNEdit::TQLNEdit(int id, const QString &caption, QWidget *parent)
    : QLineEdit(caption, parent), m_id(id)
{
}

TQLNCheckBox::TQLNCheckBox(int id, const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent), m_id(id)
{
}

TQLNBitBtn::TQLNBitBtn(int id, const QString &caption, QWidget *parent)
    : QPushButton(caption, parent), m_id(id)
{
}

TQLNStatic::TQLNStatic(int id, const QString &caption, QWidget *parent)
    : QLabel(caption, parent), m_id(id)
{
}

} // namespace Orbisong
