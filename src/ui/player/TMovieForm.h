#pragma once

#include <QDialog>

class QLabel;
class QMovie;

namespace Orbisong {

// "Working...": a text and an animation over a window that is busy with a long task.
class TMovieForm : public QDialog
{
    Q_OBJECT

public:
    // Creates the window centred over `ownerBounds` and shows it at once.
    static TMovieForm *Show(const QRect &ownerBounds, const QString &animation, const QString &text,
                            QWidget *parent = nullptr);
    static void Hide(TMovieForm *form);

    QString text() const;
    QMovie *movie() const { return m_movie; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    explicit TMovieForm(QWidget *parent);

    QLabel *m_text = nullptr;
    QLabel *m_player = nullptr;
    QMovie *m_movie = nullptr;
    bool m_hiding = false;
};

// The resource of a named status animation ("AVI_PLAY", "AVI_RCDDB_GET", "AVI_STATS").
QString AnimationResource(const QString &name);

} // namespace Orbisong
