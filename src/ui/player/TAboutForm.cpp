#include "ui/player/TAboutForm.h"

#include "ui/player/JpegPicture.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTemporaryFile>
#include <QUrl>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

const char *const AboutStyle = R"(
QDialog { background: black; }
QLabel { color: #d8dde6; }
QLabel#VersionLabel { color: white; font-weight: bold; }
QPushButton { color: white; background: #22262e; border: 1px solid #3b4250; padding: 4px 12px;
              border-radius: 3px; }
QPushButton:checked { background: #3a6ea5; }
)";

QLabel *panelText(const QString &html)
{
    auto *label = new QLabel(html);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return label;
}

} // namespace

QImage TAboutForm::loadPicture(int displayDepth)
{
    QFile resource(QStringLiteral(":/pictures/about.jpg"));
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    QTemporaryFile file;
    if (!file.open())
        return {};
    file.write(resource.readAll());
    file.close();
    return DecodeJpegFile(file.fileName(), displayDepth);
}

TAboutForm::TAboutForm(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TAboutForm"));
    setWindowTitle(tr("About Orbisong"));
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QString::fromLatin1(AboutStyle));

    m_picture = new QLabel;
    const QScreen *screen = this->screen();
    m_picture->setPixmap(QPixmap::fromImage(loadPicture(screen ? screen->depth() : 24)));

    auto *version = new QLabel(QStringLiteral("4.0.3"));
    version->setObjectName(QStringLiteral("VersionLabel"));

    m_panels = new QStackedWidget;
    m_panels->addWidget(
        panelText(tr("<b>Credits</b><br>Design and programming: the Orbisong team.<br>"
                     "Artwork drawn for this release.")));
    m_panels->addWidget(
        panelText(tr("<b>Acknowledgements</b><br>Built with Qt, libcdio, GStreamer and the "
                     "Independent JPEG Group's software.")));
    m_panels->setFixedHeight(64);

    auto *credits = new QPushButton(tr("Credits"));
    auto *thanks = new QPushButton(tr("Acknowlegements"));
    credits->setCheckable(true);
    thanks->setCheckable(true);
    credits->setChecked(true);
    auto *toggles = new QButtonGroup(this);
    toggles->addButton(credits, 0);
    toggles->addButton(thanks, 1);
    connect(toggles, &QButtonGroup::idClicked, m_panels, &QStackedWidget::setCurrentIndex);
    auto *close = new QPushButton(tr("Close"));
    close->setObjectName(QStringLiteral("CloseButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto *web = new QLabel(
        QStringLiteral("<a style=\"color:#7fb3ff\" href=\"https://orbisong.example.org/\">"
                       "orbisong.example.org</a>"));
    web->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(web, &QLabel::linkActivated, this,
            [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(credits);
    buttons->addWidget(thanks);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *header = new QHBoxLayout;
    header->addWidget(version);
    header->addStretch();
    header->addWidget(web);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);
    layout->addLayout(header);
    layout->addWidget(m_panels);
    layout->addLayout(buttons);
    adjustSize();
    if (screen)
        move(screen->geometry().center() - rect().center());
}

} // namespace Orbisong
