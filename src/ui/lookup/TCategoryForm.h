#pragma once

#include <QDialog>

class QListWidget;

namespace Orbisong {

// Lets the user pick one of the CDDB categories for an album whose category is not one.
class TCategoryForm : public QDialog
{
    Q_OBJECT

public:
    explicit TCategoryForm(const QString &current, QWidget *parent = nullptr);

    // True when `category` is a CDDB category (it is then written in lower case) or the user
    // picked one, which replaces it.
    static bool ValidateCategory(QWidget *parent, QString *category);

    QListWidget *categoryList() const { return m_list; }
    QString chosen() const;

private:
    QListWidget *m_list = nullptr;
};

} // namespace Orbisong
