#include "ui/lookup/TCDDBMOTDForm.h"

#include "cddb/CddbMatches.h"
#include "collection/Settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace Orbisong {

TCDDBMOTDForm::TCDDBMOTDForm(const QString &message, bool showOption, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Message From CDDB Server"));
    setAutoFillBackground(true);
    QPalette info = palette();
    info.setColor(QPalette::Window, info.color(QPalette::ToolTipBase));
    info.setColor(QPalette::WindowText, info.color(QPalette::ToolTipText));
    setPalette(info);

    m_caption = new QLabel(QStringLiteral("Message From CDDB Server"), this);
    m_caption->setObjectName(QStringLiteral("CaptionShape"));
    m_caption->setAutoFillBackground(true);
    QPalette captionColours = m_caption->palette();
    captionColours.setColor(QPalette::Window, captionColours.color(QPalette::Highlight));
    captionColours.setColor(QPalette::WindowText, captionColours.color(QPalette::HighlightedText));
    m_caption->setPalette(captionColours);
    m_caption->setContentsMargins(6, 3, 6, 3);
    // Drags on the caption reach the window.
    m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *explanation = new QLabel(
        QStringLiteral("The CDDB server sent the following welcome message. Either you have not "
                       "accessed this server before, or the message has changed since last time "
                       "you accessed it."),
        this);
    explanation->setWordWrap(true);
    explanation->setTextFormat(Qt::PlainText);

    // Server text is shown exactly as sent, never interpreted as markup.
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("MessageText"));
    m_text->setReadOnly(true);
    m_text->setPlainText(message);

    m_option =
        new QCheckBox(QStringLiteral("Show the server welcome message whenever it changes."), this);
    m_option->setObjectName(QStringLiteral("_GLOB_OPTION_SHOWCDDBMOTD"));
    m_option->setChecked(showOption);

    m_continue = new QPushButton(QStringLiteral("Continue"), this);
    m_continue->setFlat(true);
    m_continue->setDefault(true);
    connect(m_continue, &QPushButton::clicked, this, &QDialog::accept);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_option);
    bottom->addStretch();
    bottom->addWidget(m_continue);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 6, 10, 10);
    body->addWidget(explanation);
    body->addWidget(m_text);
    body->addLayout(bottom);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_caption);
    layout->addLayout(body);
    resize(440, 300);
}

bool TCDDBMOTDForm::inCaption(const QPoint &position) const
{
    return m_caption->geometry().contains(position);
}

void TCDDBMOTDForm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && inCaption(event->position().toPoint())) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void TCDDBMOTDForm::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void TCDDBMOTDForm::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

bool TCDDBMOTDForm::showWelcome(QWidget *player, const QString &response, Settings &settings)
{
    const CddbWelcome welcome = CddbWelcome::parse(response);
    if (!welcome.worthShowing())
        return false;
    if (welcome.stamp.compare(settings.cddbMessageDate, Qt::CaseInsensitive) == 0)
        return false;
    settings.cddbMessageDate = welcome.stamp;

    TCDDBMOTDForm form(welcome.text, settings.GetOptionFlag(_GLOB_OPTION_SHOWCDDBMOTD), player);
    // Centred over the player, then kept inside the screen.
    QRect frame(QPoint(), form.size());
    if (player)
        frame.moveCenter(player->frameGeometry().center());
    QScreen *screen = player && player->screen() ? player->screen() : form.screen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        if (!player)
            frame.moveCenter(area.center());
        frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width())));
        frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height())));
    }
    form.move(frame.topLeft());
    form.exec();
    settings.SetOptionFlag(_GLOB_OPTION_SHOWCDDBMOTD, form.optionBox()->isChecked());
    return true;
}

} // namespace Orbisong
