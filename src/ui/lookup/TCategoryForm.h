#pragma once

#include <QDialog>

class QComboBox;

namespace Orbisong {

// Lets the user pick one of the CDDB categories for an album whose category is not one.
class TCategoryForm : public QDialog
{
    Q_OBJECT

public:
    explicit TCategoryForm(const QString &current, QWidget *parent = nullptr);

    // True when `category` (trimmed, in any case) is a CDDB category, then written in lower
    // case, or the user picked one, which replaces it.
    static bool ValidateCategory(QWidget *parent, QString *category);

    QComboBox *categoryCombo() const { return m_combo; }
    // The chosen category in lower case.
    QString chosen() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QComboBox *m_combo = nullptr;
};

} // namespace Orbisong
