#include "app/AudioOutputMenu.h"

#include "collection/Settings.h"
#include "playback/AudioPipeline.h"

#include <QActionGroup>
#include <QMenu>

namespace Orbisong {

AudioOutputMenu::AudioOutputMenu(QMenu *menu, Settings &settings)
    : QObject(menu), m_menu(menu), m_settings(settings)
{
    connect(menu, &QMenu::aboutToShow, this, &AudioOutputMenu::fill);
    const QList<AudioOutput> outputs = ListAudioOutputs();
    const int saved = ChooseAudioOutput(outputs, settings.volumeControl);
    choose(saved >= 0 ? outputs.at(saved) : AudioOutput());
    fill();
}

void AudioOutputMenu::fill()
{
    const QList<AudioOutput> outputs = ListAudioOutputs();
    const int chosen = ChooseAudioOutput(outputs, m_settings.volumeControl);
    m_menu->clear();
    auto *group = new QActionGroup(m_menu);
    const auto add = [&](const QString &text, const AudioOutput &output, bool checked) {
        QAction *action = m_menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(checked);
        action->setData(output.name);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, output] { choose(output); });
    };
    add(tr("&Default output"), {}, chosen < 0);
    for (int i = 0; i < outputs.size(); ++i) {
        QString text = outputs.at(i).name;
        add(text.replace(QLatin1Char('&'), QLatin1String("&&")), outputs.at(i), i == chosen);
    }
}

void AudioOutputMenu::choose(const AudioOutput &output)
{
    m_settings.volumeControl = output.name;
    AudioPipeline::setChosenSink(output.sink);
}

} // namespace Orbisong
