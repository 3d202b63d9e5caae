// The script tokenizer and interpreter, within a step and a memory budget. Scripts that name
// a routine which writes, moves or removes files are left out: the fuzzer must not change the
// machine it runs on.
#include "FuzzSupport.h"
#include "script/TQuillan.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orbisong;
    TQuillan engine;
    engine.setMemoryLimit(qint64(64) << 20);
    int steps = 0;
    engine.OnSrcLineEnter = [&steps](TQuillan &e) {
        if (++steps > 20000)
            e.requestStop();
    };
    engine.OnLoopCallback = engine.OnSrcLineEnter;
    engine.OnRead = [](TQuillan &, QString *) { return false; };
    engine.OnWrite = [](TQuillan &, const QString &) {};
    engine.OnError = [](TQuillan &, const QString &) {};
    const QString text = QString::fromUtf8(Fuzz::bytesOf(data, size));
    static const QRegularExpression touchesFiles(
        QStringLiteral("assign|rewrite|append|erase|rename|chdir|mkdir|rmkdir|profile|"
                       "tempfile|mcistring|uses|exec|shell"),
        QRegularExpression::CaseInsensitiveOption);
    if (text.contains(touchesFiles))
        return 0;
    engine.LoadScriptLines(text.split(QLatin1Char('\n')));
    engine.RunProcedure(QStringLiteral("Main"), true);
    return 0;
}
