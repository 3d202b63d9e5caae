#pragma once

#include <QDialog>

class QLabel;
class QStackedWidget;

namespace Orbisong {

// "About Orbisong": the picture, the version, credits and acknowledgements.
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutForm(QWidget *parent = nullptr);

    // The about picture decoded for the given display depth; the resource is written to a
    // temporary file for the decoder, which is removed again.
    static QImage loadPicture(int displayDepth);

    QLabel *picture() const { return m_picture; }

private:
    QLabel *m_picture = nullptr;
    QStackedWidget *m_panels = nullptr;
};

} // namespace Orbisong
