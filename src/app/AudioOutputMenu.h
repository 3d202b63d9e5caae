#pragma once

#include "playback/AudioOutputs.h"

#include <QObject>

class QMenu;

namespace Orbisong {

struct Settings;

// The volume bar's menu of audio outputs: the desktop's default output and the machine's
// outputs, the choice kept in "Volume Control" and given to the playback pipelines.
class AudioOutputMenu : public QObject
{
    Q_OBJECT

public:
    AudioOutputMenu(QMenu *menu, Settings &settings);

    // Lists the outputs anew into the menu, the chosen one marked.
    void fill();
    void choose(const AudioOutput &output);

private:
    QMenu *m_menu;
    Settings &m_settings;
};

} // namespace Orbisong
