#pragma once

#include <QImage>
#include <QWidget>

namespace Orbisong {

// Shows the latest picture of a capture or a playback, scaled to the widget or at its own
// size, centred.
class PreviewWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewWidget(QWidget *parent = nullptr);

    void setScaled(bool scaled);
    bool isScaled() const { return m_scaled; }
    void setPlaceholder(const QString &text);
    QSize sizeHint() const override;

public slots:
    void showFrame(const QImage &frame);
    void clearFrame();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_frame;
    QString m_placeholder;
    bool m_scaled = true;
};

} // namespace Orbisong
