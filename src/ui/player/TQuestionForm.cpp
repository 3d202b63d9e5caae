#include "ui/player/TQuestionForm.h"

#include "base/StringTable.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace Orbisong {

namespace {

constexpr int BoxWidth = 425;
constexpr int BoxHeight = 172;
constexpr int StripHeight = 9;
constexpr int ButtonWidth = 66;
constexpr int ButtonHeight = 22;
constexpr int ButtonStep = 71;
constexpr int FirstButtonLeft = 352;

QIcon pictureIcon(MessagePicture picture, const QStyle *style)
{
    switch (picture) {
    case MessagePicture::Question:
        return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case MessagePicture::Error:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case MessagePicture::Information:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case MessagePicture::Delete:
        return style->standardIcon(QStyle::SP_TrashIcon);
    case MessagePicture::Exclamation:
        break;
    }
    return style->standardIcon(QStyle::SP_MessageBoxWarning);
}

} // namespace

TQuestionForm::TQuestionForm(const MessageText &message, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_message(message), m_owner(owner)
{
    setObjectName(QStringLiteral("TQuestionForm"));
    setModal(true);
    setFixedSize(BoxWidth, BoxHeight);
    setWindowTitle(message.title);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    setPalette(pal);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture"));
    picture->setGeometry(9, 17, 40, 40);
    picture->setPixmap(pictureIcon(message.picture, style()).pixmap(40, 40));

    auto *title = new QLabel(message.title, this);
    title->setObjectName(QStringLiteral("TitleLabel"));
    title->setTextFormat(Qt::PlainText);
    title->setGeometry(57, 25, 352, 20);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(15);
    title->setFont(titleFont);

    auto *body = new QLabel(message.body, this);
    body->setObjectName(QStringLiteral("BodyLabel"));
    body->setTextFormat(Qt::PlainText);
    body->setWordWrap(true);
    body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    body->setGeometry(57, 48, 352, 81);
    QFont bodyFont = body->font();
    bodyFont.setPixelSize(13);
    body->setFont(bodyFont);

    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(9, 128, BoxWidth - 18, 2);

    if (!message.helpTopic.isEmpty()) {
        auto *help = new QPushButton(tr("&Help"), this);
        help->setObjectName(QStringLiteral("HelpButton"));
        help->setFlat(true);
        help->setGeometry(9, 144, ButtonWidth, ButtonHeight);
        help->setAutoDefault(false);
    }

    // Packed from the right: Cancel, OK, No, Yes.
    const MessageButton order[] = {MessageButton::Cancel, MessageButton::Ok, MessageButton::No,
                                   MessageButton::Yes};
    int left = FirstButtonLeft;
    for (MessageButton which : order) {
        if (!message.hasButton(which))
            continue;
        auto *button = new QPushButton(MessageText::nameOf(which), this);
        button->setObjectName(MessageText::nameOf(which) + QStringLiteral("Button"));
        button->setFlat(true);
        button->setAutoDefault(false);
        button->setGeometry(left, 144, ButtonWidth, ButtonHeight);
        if (which == message.defaultButton()) {
            QFont bold = button->font();
            bold.setBold(true);
            button->setFont(bold);
        }
        const int result = MessageText::resultOf(which);
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        m_buttons.append({which, button});
        left -= ButtonStep;
    }
}

QPushButton *TQuestionForm::button(MessageButton which) const
{
    for (const auto &entry : m_buttons) {
        if (entry.first == which)
            return entry.second;
    }
    return nullptr;
}

void TQuestionForm::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        done(m_message.enterResult());
        return;
    case Qt::Key_Escape:
        done(m_message.escapeResult());
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TQuestionForm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && event->position().y() < StripHeight) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void TQuestionForm::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void TQuestionForm::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

void TQuestionForm::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(0, 0, width(), StripHeight, palette().color(QPalette::Highlight));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TQuestionForm::showEvent(QShowEvent *event)
{
    placeOverOwner();
    QDialog::showEvent(event);
}

void TQuestionForm::placeOverOwner()
{
    const QScreen *screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QRect owner = m_owner ? m_owner->frameGeometry() : area;
    int x = owner.left() + (owner.width() - width()) / 2;
    int y = owner.top() + (owner.height() - height()) / 2;
    x = qMax(x, area.left());
    y = qMax(y, area.top());
    x = qMin(x, area.right() + 1 - width());
    y = qMin(y, area.bottom() + 1 - height());
    move(x, y);
}

WidgetQuestionPort::WidgetQuestionPort(QWidget *owner, std::function<void(bool)> suspendTopMost)
    : m_owner(owner), m_suspendTopMost(std::move(suspendTopMost))
{
}

int WidgetQuestionPort::ask(int id, const QString &text1, const QString &text2,
                            const QString &text3)
{
    const MessageText message = MessageText::parse(StringTable::text(id), text1, text2, text3);
    if (m_suspendTopMost)
        m_suspendTopMost(true);
    TQuestionForm box(message, m_owner);
    const int result = box.exec();
    if (m_suspendTopMost)
        m_suspendTopMost(false);
    // A box closed by the window system without a button counts as Escape.
    return result == QDialog::Rejected ? message.escapeResult() : result;
}

} // namespace Orbisong
