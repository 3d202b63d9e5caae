// The player's checks of what the disc-image probe reported.
#include "FuzzSupport.h"
#include "playback/ImageProbeReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const auto report =
        Orbisong::ImageProbeReport::parse(Orbisong::Fuzz::bytesOf(data, size), &error);
    if (report && (report->starts().isEmpty() || report->starts().size() > 99))
        __builtin_trap();
    return 0;
}
