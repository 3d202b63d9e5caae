#include "ui/playlist/TStepPropertiesForm.h"

#include "collection/StepProperties.h"
#include "player/PlayerEngine.h"
#include "player/PlayerText.h"
#include "player/PlaylistEditor.h"
#include "ui/script/ScriptEditor.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Orbisong {

TStepPropertiesForm::TStepPropertiesForm(PlayerEngine &engine, int serial, QWidget *parent)
    : QDialog(parent), m_engine(engine), m_serial(serial)
{
    setObjectName(QStringLiteral("StepPropertiesForm"));
    setWindowTitle(tr("Item Properties"));
    m_pages = new QTabWidget(this);
    m_pages->addTab(buildTitlePage(), tr("Title"));

    const int row = PlaylistEditor(engine).rowOfStep(serial);
    const TStep step = row >= 0 ? engine.list().at(row) : TStep();
    const CurrentAlbum &current = engine.current();
    const StepProperties properties(current.disc, current.album, step);
    m_pages->addTab(
        buildPositionPage(properties.track(), properties.trackTitle(), properties.trackLength()),
        tr("Position"));
    m_pages->addTab(buildScriptPage(), tr("Scripts"));
    m_title->setText(properties.title());
    m_start->setValue(properties.startOffset());
    m_end->setValue(properties.endOffset());
    m_script->setPlainText(properties.shownScript());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TStepPropertiesForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TStepPropertiesForm::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buttons);
    resize(420, 300);
}

QWidget *TStepPropertiesForm::buildTitlePage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *text = new QLabel(tr("If you would like to give this item a title different than that "
                               "of the corresponding track, enter it here."),
                            page);
    text->setWordWrap(true);
    m_title = new QLineEdit(page);
    m_title->setObjectName(QStringLiteral("TitleEdit"));
    layout->addWidget(text);
    layout->addWidget(m_title);
    layout->addStretch(1);
    return page;
}

QWidget *TStepPropertiesForm::buildPositionPage(int track, const QString &title, int length)
{
    auto *page = new QWidget(this);
    auto *layout = new QGridLayout(page);
    const QString heading = tr("Track %1").arg(TwoDigits(track));
    layout->addWidget(
        new QLabel(title.isEmpty() ? heading : heading + QStringLiteral(": ") + title, page), 0, 0,
        1, 2);
    const QString captions[] = {tr("&Starting position:"), tr("&Ending position:")};
    QSlider **sliders[] = {&m_start, &m_end};
    QLabel **times[] = {&m_startTime, &m_endTime};
    for (int i = 0; i < 2; ++i) {
        auto *caption = new QLabel(captions[i], page);
        QSlider *slider = new QSlider(Qt::Horizontal, page);
        slider->setObjectName(i == 0 ? QStringLiteral("StartSlider") : QStringLiteral("EndSlider"));
        slider->setRange(0, length);
        // A second per step of the arrow keys, ten per page.
        slider->setSingleStep(75);
        slider->setPageStep(750);
        caption->setBuddy(slider);
        QLabel *time = new QLabel(FramesToText(0), page);
        time->setMinimumWidth(time->fontMetrics().horizontalAdvance(QStringLiteral("000:00")));
        time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(slider, &QSlider::valueChanged, time,
                [time](int value) { time->setText(FramesToText(value)); });
        layout->addWidget(caption, 1 + 2 * i, 0, 1, 2);
        layout->addWidget(slider, 2 + 2 * i, 0);
        layout->addWidget(time, 2 + 2 * i, 1);
        *sliders[i] = slider;
        *times[i] = time;
    }
    layout->setRowStretch(5, 1);
    return page;
}

QWidget *TStepPropertiesForm::buildScriptPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *caption = new QLabel(tr("On_ItemPlay"), page);
    m_script = new ScriptEditor(page);
    m_script->setObjectName(QStringLiteral("ScriptEdit"));
    m_script->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    caption->setBuddy(m_script);
    layout->addWidget(caption);
    layout->addWidget(m_script, 1);
    return page;
}

void TStepPropertiesForm::accept()
{
    PlaylistEditor editor(m_engine);
    // A step deleted from the list meanwhile has nothing left to change.
    if (editor.rowOfStep(m_serial) >= 0) {
        if (!editor.editStep(m_serial, m_title->text(), m_script->toPlainText(), m_start->value(),
                             m_end->value()))
            return;
        emit stepChanged();
    }
    QDialog::accept();
}

} // namespace Orbisong
