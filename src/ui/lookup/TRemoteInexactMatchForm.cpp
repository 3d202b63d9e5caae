#include "ui/lookup/TRemoteInexactMatchForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int RowHeight = 16;
constexpr int ArtistRole = Qt::UserRole + 1;

// Title at the left, artist from the middle of the row; both drawn as plain text.
class MatchDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect,
                          selected ? option.palette.highlight() : option.palette.base());
        painter->setPen(selected ? option.palette.highlightedText().color()
                                 : option.palette.text().color());
        const QRect r = option.rect;
        const int middle = r.left() + r.width() / 2;
        const QRect titleRect(r.left() + 4, r.top(), middle - r.left() - 8, r.height());
        const QRect artistRect(middle, r.top(), r.right() - middle, r.height());
        const QFontMetrics metrics(option.font);
        painter->drawText(titleRect, Qt::AlignVCenter | Qt::AlignLeft,
                          metrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                             titleRect.width()));
        painter->drawText(artistRect, Qt::AlignVCenter | Qt::AlignLeft,
                          metrics.elidedText(index.data(ArtistRole).toString(), Qt::ElideRight,
                                             artistRect.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), RowHeight);
    }
};

} // namespace

TRemoteInexactMatchForm::TRemoteInexactMatchForm(const QString &response, QWidget *parent)
    : QDialog(parent), m_matches(ParseCddbMatches(response))
{
    setWindowTitle(QStringLiteral("Possible Matches"));
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    tabs->addTab(page, style()->standardIcon(QStyle::SP_DriveCDIcon), QStringLiteral("Albums"));

    auto *explanation = new QLabel(
        QStringLiteral("The remote CDDB database query did not return an exact match, but at "
                       "least one possible inexact match was found. If the album appears in the "
                       "list below, double-click its name to load the information."),
        page);
    explanation->setWordWrap(true);
    explanation->setTextFormat(Qt::PlainText);

    m_list = new QListWidget(page);
    m_list->setObjectName(QStringLiteral("MatchList"));
    m_list->setItemDelegate(new MatchDelegate(m_list));
    m_list->setUniformItemSizes(true);
    for (const CddbMatch &match : std::as_const(m_matches)) {
        auto *item = new QListWidgetItem(match.title, m_list);
        item->setData(ArtistRole, match.artist);
        item->setToolTip(match.artist + QStringLiteral(" / ") + match.title);
    }

    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(explanation);
    pageLayout->addWidget(m_list);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    resize(460, 300);

    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_ok->setEnabled(chosen() != nullptr); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        if (item && item->isSelected())
            accept();
    });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (chosen())
            accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

const CddbMatch *TRemoteInexactMatchForm::chosen() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int row = m_list->row(selected.first());
    return row >= 0 && row < m_matches.size() ? &m_matches.at(row) : nullptr;
}

bool TRemoteInexactMatchForm::chooseMatch(QWidget *parent, const QString &response,
                                          QString *category, QString *discId)
{
    TRemoteInexactMatchForm form(response, parent);
    if (form.exec() != QDialog::Accepted || !form.chosen())
        return false;
    *category = form.chosen()->category;
    *discId = form.chosen()->discId;
    return true;
}

} // namespace Orbisong
