#include "script/InteractivePort.h"
#include "script/LibrarySupport.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>

namespace Orbisong::Library {

namespace {

QStringList readIniLines(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isSection(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// Section and key names compare without regard to case, as in initialisation files.
bool iniValue(const QString &fileName, const QString &app, const QString &key, QString *value)
{
    bool inSection = false;
    for (const QString &line : readIniLines(fileName)) {
        QString section;
        if (isSection(line, &section)) {
            inSection = section.compare(app, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inSection && eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            *value = line.mid(eq + 1).trimmed();
            return true;
        }
    }
    return false;
}

bool writeIniValue(const QString &fileName, const QString &app, const QString &key,
                   const QString &value)
{
    QStringList lines = readIniLines(fileName);
    int sectionLine = -1;
    int insertAt = -1;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        QString section;
        if (isSection(lines[i], &section)) {
            if (inSection)
                break;
            inSection = section.compare(app, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionLine = insertAt = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!lines[i].trimmed().isEmpty())
            insertAt = i;
        const qsizetype eq = lines[i].indexOf(QLatin1Char('='));
        if (eq > 0 && lines[i].left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = key + QLatin1Char('=') + value;
            insertAt = -2;
            break;
        }
    }
    if (sectionLine < 0) {
        lines << QLatin1Char('[') + app + QLatin1Char(']') << key + QLatin1Char('=') + value;
    } else if (insertAt != -2) {
        lines.insert(insertAt + 1, key + QLatin1Char('=') + value);
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return file.commit();
}

class TWinSDKLibrary : public TQuillanPlugIn
{
public:
    TWinSDKLibrary() : TQuillanPlugIn(QStringLiteral("WinSDK")) {}

    void registerConsts() override
    {
        static const std::pair<const char *, int> words[] = {{"mb_ok", 0x0},
                                                             {"mb_okCancel", 0x1},
                                                             {"mb_abortRetryIgnore", 0x2},
                                                             {"mb_yesNoCancel", 0x3},
                                                             {"mb_yesNo", 0x4},
                                                             {"mb_retryCancel", 0x5},
                                                             {"mb_iconHand", 0x10},
                                                             {"mb_iconStop", 0x10},
                                                             {"mb_iconQuestion", 0x20},
                                                             {"mb_iconExclamation", 0x30},
                                                             {"mb_iconAsterisk", 0x40},
                                                             {"mb_iconInformation", 0x40},
                                                             {"help_context", 0x1},
                                                             {"help_quit", 0x2},
                                                             {"help_index", 0x3},
                                                             {"help_contents", 0x3},
                                                             {"help_helpOnHelp", 0x4},
                                                             {"help_setIndex", 0x5},
                                                             {"help_setContents", 0x5},
                                                             {"help_contextPopup", 0x8},
                                                             {"help_forceFile", 0x9},
                                                             {"help_key", 0x101},
                                                             {"help_command", 0x102},
                                                             {"help_partialKey", 0x105},
                                                             {"help_multikey", 0x201},
                                                             {"help_setWinPos", 0x203}};
        static const std::pair<const char *, int> integers[] = {
            {"IDOK", 1},     {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4},
            {"IDIGNORE", 5}, {"IDYES", 6},    {"IDNO", 7}};
        for (const auto &[name, value] : words)
            ScriptEngine->RegisterConst(QString::fromLatin1(name), TypeWord,
                                        result(TypeWord, value));
        for (const auto &[name, value] : integers)
            ScriptEngine->RegisterConst(QString::fromLatin1(name), TypeInteger,
                                        result(TypeInteger, value));
    }

    void registerProcs() override
    {
        TQuillan &e = *ScriptEngine;
        e.RegisterProc(
            QStringLiteral(
                "function messageBox(textMsg : string; titleMsg : string; flags : word) : integer"),
            [](void *, TQuillan &engine, TProcParms &p) {
                InteractivePort *port = engine.interactivePort();
                // Without a window to show it in, the box answers OK.
                p.setInteger(
                    0, port ? port->messageBox(p.asString(1), p.asString(2), p.asInteger(3)) : 1);
            });
        e.RegisterProc(QStringLiteral("procedure beep"),
                       [](void *, TQuillan &engine, TProcParms &) {
                           if (InteractivePort *port = engine.interactivePort())
                               port->beep();
                       });
        e.RegisterProc(QStringLiteral("function mciString(cmd : string) : string"),
                       [](void *, TQuillan &, TProcParms &p) {
                           // There is no media control layer to send command strings to.
                           p.setString(0, QString());
                       });
        e.RegisterProc(QStringLiteral("function createTempFile : string"),
                       [](void *, TQuillan &, TProcParms &p) {
                           QTemporaryFile file;
                           file.setAutoRemove(false);
                           p.setString(0, file.open() ? file.fileName() : QString());
                       });
        e.RegisterProc(QStringLiteral("function getPrivateProfileInt(appName : string; keyName : "
                                      "string; default : integer; fileName : string) : integer"),
                       [](void *, TQuillan &, TProcParms &p) {
                           QString value;
                           bool ok = false;
                           qint32 number = 0;
                           if (iniValue(p.asString(4), p.asString(1), p.asString(2), &value))
                               number = value.toInt(&ok);
                           p.setInteger(0, ok ? number : p.asInteger(3));
                       });
        e.RegisterProc(QStringLiteral("function GetPrivateProfileString(appName : string; keyName "
                                      ": string; default :  string; fileName : string) : string"),
                       [](void *, TQuillan &, TProcParms &p) {
                           QString value;
                           if (!iniValue(p.asString(4), p.asString(1), p.asString(2), &value))
                               value = p.asString(3);
                           p.setString(0, value.left(250));
                       });
        e.RegisterProc(QStringLiteral("procedure writePrivateProfileString(appName : string, "
                                      "keyName : string, str :  string, fileName : string)"),
                       [](void *, TQuillan &, TProcParms &p) {
                           writeIniValue(p.asString(4), p.asString(1), p.asString(2),
                                         p.asString(3));
                       });
    }
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeWinSdkLibrary()
{
    return std::make_unique<TWinSDKLibrary>();
}

} // namespace Orbisong::Library
