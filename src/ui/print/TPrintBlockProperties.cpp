#include "ui/print/TPrintBlockProperties.h"

#include "print/RtfReader.h"
#include "print/RtfWriter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

QToolButton *toolButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setObjectName(name);
    button->setCheckable(true);
    return button;
}

} // namespace

TPrintBlockProperties::TPrintBlockProperties(const QRectF &rect, const QString &contents,
                                             bool movable, const QStringList &customFields,
                                             QWidget *parent)
    : QDialog(parent), m_rect(rect)
{
    setWindowTitle(tr("Block Properties"));
    auto *pages = new QTabWidget(this);
    pages->addTab(makeLayoutPage(movable), tr("Layout"));
    pages->addTab(makeContentsPage(customFields), tr("Contents"));
    pages->setCurrentIndex(1);
    readRtf(contents, *m_contents->document());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);
    resize(560, 400);
    followFormat(m_contents->currentCharFormat());
}

QWidget *TPrintBlockProperties::makeLayoutPage(bool movable)
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    const auto edit = [&](const char *name, double inches, const QString &label, bool enabled) {
        auto *line = new QLineEdit(QString::number(inches, 'f', 2), page);
        line->setObjectName(QLatin1String(name));
        line->setEnabled(enabled);
        form->addRow(label, line);
        return line;
    };
    m_left = edit("LeftEdit", m_rect.left(), tr("&Left (inches):"), movable);
    m_top = edit("TopEdit", m_rect.top(), tr("&Top (inches):"), movable);
    m_width = edit("WidthEdit", m_rect.width(), tr("&Width (inches):"), movable);
    m_height = edit("HeightEdit", m_rect.height(), tr("&Height (inches):"), true);
    return page;
}

QWidget *TPrintBlockProperties::makeContentsPage(const QStringList &customFields)
{
    auto *page = new QWidget(this);
    auto *tools = new QHBoxLayout;
    m_fonts = new QFontComboBox(page);
    m_fonts->setObjectName(QStringLiteral("Fonts"));
    m_size = new QComboBox(page);
    m_size->setObjectName(QStringLiteral("Size"));
    m_size->setEditable(true);
    for (int size : {8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48})
        m_size->addItem(QString::number(size));
    m_bold = toolButton(tr("B"), QStringLiteral("Bold"), page);
    m_italic = toolButton(tr("I"), QStringLiteral("Italic"), page);
    m_underline = toolButton(tr("U"), QStringLiteral("Underline"), page);
    m_align = {toolButton(tr("Left"), QStringLiteral("AlignLeft"), page),
               toolButton(tr("Centre"), QStringLiteral("AlignCenter"), page),
               toolButton(tr("Right"), QStringLiteral("AlignRight"), page)};
    auto *insert = new QToolButton(page);
    insert->setText(tr("&Insert"));
    insert->setPopupMode(QToolButton::InstantPopup);
    m_insert = new QMenu(insert);
    insert->setMenu(m_insert);
    tools->addWidget(m_fonts, 1);
    tools->addWidget(m_size);
    for (QToolButton *b : {m_bold, m_italic, m_underline})
        tools->addWidget(b);
    for (QToolButton *b : std::as_const(m_align))
        tools->addWidget(b);
    tools->addWidget(insert);

    m_contents = new QTextEdit(page);
    m_contents->setObjectName(QStringLiteral("Contents"));
    m_contents->setAcceptRichText(false);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(tools);
    layout->addWidget(m_contents, 1);

    const QString loop = QStringLiteral("[&foreach %1]\n\n[&end]");
    const QList<QPair<QString, QString>> tags = {
        {tr("Track loop"), loop.arg(QStringLiteral("track"))},
        {tr("Album loop"), loop.arg(QStringLiteral("album"))},
        {tr("Track title"), QStringLiteral("[%track_title]")},
        {tr("Track other"), QStringLiteral("[%track_other]")},
        {tr("Track length"), QStringLiteral("[%track_length]")},
        {tr("Track number"), QStringLiteral("[%track_number]")},
        {tr("Album artist"), QStringLiteral("[%album_artist]")},
        {tr("Album title"), QStringLiteral("[%album_title]")},
        {tr("Album binder"), QStringLiteral("[%album_binder]")},
        {tr("Album category"), QStringLiteral("[%album_category]")},
        {tr("Album owner"), QStringLiteral("[%album_owner]")},
        {tr("Album year"), QStringLiteral("[%album_year]")},
        {tr("Album comments"), QStringLiteral("[%album_comments]")},
    };
    for (const auto &[text, tag] : tags)
        m_insert->addAction(text, this, [this, tag] { insertTag(tag); });
    if (!customFields.isEmpty()) {
        QMenu *custom = m_insert->addMenu(tr("Custom fields"));
        for (const QString &field : customFields) {
            const QString tag = QStringLiteral("[%album_") + field + QLatin1Char(']');
            custom->addAction(field, this, [this, tag] { insertTag(tag); });
        }
    }
    m_insert->addSeparator();
    const QList<QPair<QString, QString>> more = {
        {tr("Date"), QStringLiteral("[%date]")},
        {tr("Time"), QStringLiteral("[%time]")},
        {tr("Album count"), QStringLiteral("[%album_count]")},
        {tr("Album number"), QStringLiteral("[%album_number]")},
        {tr("Album index"), QStringLiteral("[%album_index]")},
        {tr("Page"), QStringLiteral("[%page]")},
        {tr("Program"), QStringLiteral("[%program]")},
        {tr("Version"), QStringLiteral("[%version]")},
        {tr("New line"), QStringLiteral("[&nl]")},
        {tr("Tab"), QStringLiteral("[&tab]")},
    };
    for (const auto &[text, tag] : more)
        m_insert->addAction(text, this, [this, tag] { insertTag(tag); });

    connect(m_contents, &QTextEdit::currentCharFormatChanged, this,
            &TPrintBlockProperties::followFormat);
    connect(m_contents, &QTextEdit::cursorPositionChanged, this,
            [this] { followFormat(m_contents->currentCharFormat()); });
    connect(m_fonts, &QFontComboBox::currentFontChanged, this, [this](const QFont &font) {
        QTextCharFormat f;
        f.setFontFamilies(QStringList{font.family()});
        applyFormat(f);
    });
    connect(m_size, &QComboBox::textActivated, this, [this](const QString &text) {
        QTextCharFormat f;
        f.setFontPointSize(text.toDouble());
        applyFormat(f);
    });
    connect(m_bold, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        applyFormat(f);
    });
    connect(m_italic, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        applyFormat(f);
    });
    connect(m_underline, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        applyFormat(f);
    });
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 0; i < 3; ++i) {
        connect(m_align[i], &QToolButton::clicked, this, [this, i, alignments] {
            m_contents->setAlignment(alignments[i]);
            followFormat(m_contents->currentCharFormat());
        });
    }
    return page;
}

void TPrintBlockProperties::followFormat(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    const QSignalBlocker fonts(m_fonts);
    const QSignalBlocker size(m_size);
    if (!families.isEmpty())
        m_fonts->setCurrentFont(QFont(families.first()));
    const double points = format.fontPointSize() > 0
                              ? format.fontPointSize()
                              : m_contents->document()->defaultFont().pointSizeF();
    m_size->setCurrentText(QString::number(points));
    m_bold->setChecked(format.fontWeight() >= QFont::DemiBold);
    m_italic->setChecked(format.fontItalic());
    m_underline->setChecked(format.fontUnderline());
    const Qt::Alignment align = m_contents->alignment();
    m_align[0]->setChecked(!(align & (Qt::AlignHCenter | Qt::AlignRight)));
    m_align[1]->setChecked(align & Qt::AlignHCenter);
    m_align[2]->setChecked(align & Qt::AlignRight);
}

void TPrintBlockProperties::applyFormat(const QTextCharFormat &format)
{
    m_contents->mergeCurrentCharFormat(format);
    m_contents->setFocus();
}

void TPrintBlockProperties::insertTag(const QString &tag)
{
    m_contents->textCursor().insertText(tag);
    m_contents->setFocus();
}

QRectF TPrintBlockProperties::rect() const
{
    const auto value = [](QLineEdit *edit, double fallback) {
        bool ok = false;
        const double v = edit->text().toDouble(&ok);
        return ok && v >= 0 ? v : fallback;
    };
    return QRectF(value(m_left, m_rect.left()), value(m_top, m_rect.top()),
                  qMax(0.1, value(m_width, m_rect.width())),
                  qMax(0.1, value(m_height, m_rect.height())));
}

QString TPrintBlockProperties::contents() const
{
    return writeRtf(*m_contents->document());
}

} // namespace Orbisong
