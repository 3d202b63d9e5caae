#include "ui/player/TMovieForm.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>

namespace Orbisong {

QString AnimationResource(const QString &name)
{
    const QString base = name.startsWith(QLatin1String("AVI_")) ? name.mid(4).toLower() : name;
    return QStringLiteral(":/animations/%1.gif").arg(base);
}

TMovieForm::TMovieForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("TMovieForm"));
    setWindowTitle(tr("Working..."));
    m_player = new QLabel;
    m_player->setObjectName(QStringLiteral("MoviePlayer"));
    m_player->setFixedSize(48, 48);
    m_text = new QLabel;
    m_text->setObjectName(QStringLiteral("MovieText"));
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(240);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_player);
    layout->addWidget(m_text, 1);
    setFixedSize(340, 96);
    m_movie = new QMovie(this);
    m_player->setMovie(m_movie);
}

TMovieForm *TMovieForm::Show(const QRect &ownerBounds, const QString &animation,
                             const QString &text, QWidget *parent)
{
    auto *form = new TMovieForm(parent);
    form->move(ownerBounds.left() + (ownerBounds.width() - form->width()) / 2,
               ownerBounds.top() + (ownerBounds.height() - form->height()) / 2);
    form->m_text->setText(text);
    form->m_movie->setFileName(AnimationResource(animation));
    form->show();
    form->repaint();
    form->m_movie->start();
    return form;
}

void TMovieForm::Hide(TMovieForm *form)
{
    if (!form)
        return;
    form->m_movie->stop();
    form->m_hiding = true;
    form->hide();
    form->deleteLater();
}

QString TMovieForm::text() const
{
    return m_text->text();
}

void TMovieForm::closeEvent(QCloseEvent *event)
{
    // The user cannot close it; the task that showed it hides it.
    if (!m_hiding)
        event->ignore();
}

void TMovieForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

} // namespace Orbisong
