#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// One of the machine's audio outputs: its name as the desktop shows it and the pipeline
// description of an output element that plays to it.
struct AudioOutput
{
    QString name;
    QString sink;
};

// The audio outputs GStreamer's device monitor finds ("Audio/Sink"), in its order, each name
// once; empty on a machine without sound.
QList<AudioOutput> ListAudioOutputs();

// The output named `saved` (without regard to case), or -1 for the desktop's default output.
int ChooseAudioOutput(const QList<AudioOutput> &outputs, const QString &saved);

} // namespace Orbisong
