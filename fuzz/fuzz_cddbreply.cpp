// A server's replies as a lookup reads them: the transcript is cut into the responses the
// state machine hands to its parsers (a status line, then a body up to a "." line).
#include "cddb/CddbMatches.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orbisong;
    const QString transcript = QString::fromUtf8(Fuzz::bytesOf(data, size));
    for (const QString &response : transcript.split(QStringLiteral("\r\n.\r\n"))) {
        ParseCddbMatches(response);
        CddbWelcome::parse(response);
    }
    return 0;
}
