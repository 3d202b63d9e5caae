#pragma once

#include <QDialog>
#include <QRectF>
#include <QStringList>

class QComboBox;
class QFontComboBox;
class QLineEdit;
class QMenu;
class QTextCharFormat;
class QTextEdit;
class QToolButton;

namespace Orbisong {

// A print template block's properties: its place and size in inches ("Layout") and its rich
// text with the tags printing expands ("Contents"). The font, size, style and alignment
// controls follow the selection; the insert menu writes tags at the cursor.
class TPrintBlockProperties : public QDialog
{
    Q_OBJECT

public:
    // `movable` is false for header and footer, whose place follows the paper.
    TPrintBlockProperties(const QRectF &rect, const QString &contents, bool movable,
                          const QStringList &customFields, QWidget *parent = nullptr);

    QRectF rect() const;
    // The contents as rich text.
    QString contents() const;
    QTextEdit *editor() const { return m_contents; }
    QMenu *insertMenu() const { return m_insert; }
    void insertTag(const QString &tag);

private:
    QWidget *makeLayoutPage(bool movable);
    QWidget *makeContentsPage(const QStringList &customFields);
    void followFormat(const QTextCharFormat &format);
    void applyFormat(const QTextCharFormat &format);

    QRectF m_rect;
    QLineEdit *m_left = nullptr;
    QLineEdit *m_top = nullptr;
    QLineEdit *m_width = nullptr;
    QLineEdit *m_height = nullptr;
    QTextEdit *m_contents = nullptr;
    QFontComboBox *m_fonts = nullptr;
    QComboBox *m_size = nullptr;
    QToolButton *m_bold = nullptr;
    QToolButton *m_italic = nullptr;
    QToolButton *m_underline = nullptr;
    QList<QToolButton *> m_align;
    QMenu *m_insert = nullptr;
};

} // namespace Orbisong
