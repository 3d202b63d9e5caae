#include "ui/album/AlbumCustomPage.h"

#include "collection/AlbumDraft.h"
#include "ui/album/AlbumEditText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int RowHeight = 32;

} // namespace

AlbumCustomPage::AlbumCustomPage(const QStringList &fields, QWidget *parent)
    : AlbumPage(parent), m_fields(fields)
{
    auto *rows = new QWidget;
    auto *grid = new QGridLayout(rows);
    grid->setVerticalSpacing(0);
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        const QString &name = m_fields.at(i);
        auto *edit = new QLineEdit(rows);
        edit->setObjectName(QStringLiteral("Custom_") + name);
        auto *label = new QLabel(name + QLatin1Char(':'), rows);
        label->setBuddy(edit);
        grid->addWidget(label, int(i), 0);
        grid->addWidget(edit, int(i), 1);
        grid->setRowMinimumHeight(int(i), RowHeight);
        connect(edit, &QLineEdit::textEdited, this, &AlbumPage::changed);
        m_edits.append(edit);
    }
    grid->setRowStretch(int(m_fields.size()), 1);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);

    m_comments = new QPlainTextEdit(this);
    m_comments->setObjectName(QStringLiteral("CommentsEdit"));
    connect(m_comments, &QPlainTextEdit::textChanged, this, &AlbumPage::changed);
    auto *commentsLabel = new QLabel(tr("Comments"), this);
    commentsLabel->setBuddy(m_comments);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(commentsLabel);
    layout->addWidget(m_comments, 1);
}

QLineEdit *AlbumCustomPage::fieldEdit(const QString &name) const
{
    const qsizetype at = m_fields.indexOf(name);
    return at < 0 ? nullptr : m_edits.at(at);
}

void AlbumCustomPage::load(const AlbumDraft &draft)
{
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        m_edits.at(i)->setText(draft.customValue(m_fields.at(i)));
    m_comments->setPlainText(toEditorText(draft.comments));
}

void AlbumCustomPage::save(AlbumDraft &draft)
{
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        draft.setCustomValue(m_fields.at(i), m_edits.at(i)->text());
    draft.comments = fromEditorText(m_comments->toPlainText());
}

} // namespace Orbisong
