#include "cddb/TCDDBThread.h"

#include "cddb/CddbApply.h"
#include "cddb/CddbEntry.h"
#include "cddb/RunningLookups.h"
#include "collection/StoredText.h"
#include "base/ThreadWindow.h"
#include "cddb/THTTPCDDBThread.h"
#include "cddb/TSockCDDBThread.h"

#include <QCoreApplication>

#include <memory>

namespace Orbisong {

TCDDBThread::TCDDBThread(RunningLookups &lookups, const CddbLookupSettings &settings,
                         const QString &albumId, const QString &query)
    : m_settings(settings), m_albumId(albumId.toUpper()), m_query(query), m_lookups(&lookups),
      m_window(lookups.threadWindow()), m_receiver(lookups.receiver())
{
    lookups.add(this);
    connect(this, &QThread::finished, this, &TCDDBThread::finishOnMainThread);
}

TCDDBThread::~TCDDBThread()
{
    if (m_lookups)
        m_lookups->remove(this);
}

TCDDBThread *TCDDBThread::StartLookup(RunningLookups &lookups, const CddbLookupSettings &settings,
                                      const QString &albumId, const QString &query)
{
    TCDDBThread *thread = nullptr;
    if (settings.usesHttp())
        thread = new THTTPCDDBThread(lookups, settings, albumId, query);
    else
        thread = new TSockCDDBThread(lookups, settings, albumId, query);
    thread->start(QThread::LowPriority);
    return thread;
}

void TCDDBThread::finishOnMainThread()
{
    emit statusChanged(QString());
    if (m_lookups)
        m_lookups->remove(this);
    emit lookupFinished(m_result);
    deleteLater();
}

bool TCDDBThread::programClosing() const
{
    return m_window && m_window->isClosing();
}

QString TCDDBThread::statusText(int state, const QString &host)
{
    switch (state) {
    case Finding:
        return QStringLiteral("Finding ") + host;
    case Connecting:
        return QStringLiteral("Connecting");
    case QuerySent:
        return QStringLiteral("Searching");
    case ReadSent:
        return QStringLiteral("Loading");
    case Disconnecting:
        return QStringLiteral("Disconnecting");
    default:
        return {};
    }
}

QByteArray TCDDBThread::encodeFormValue(const QString &value)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char c : value.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')) {
            out += c;
        } else if (u == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }
    return out;
}

bool TCDDBThread::responseComplete(const QByteArray &buffer)
{
    if (buffer.size() >= 2 && buffer.at(1) == '1' && buffer.at(0) == '2')
        return buffer.contains("\n.\r") || buffer.contains("\n.\n");
    return buffer.contains('\n');
}

int TCDDBThread::responseStatus(const QByteArray &response)
{
    bool ok = false;
    const int status = response.left(3).toInt(&ok);
    return ok && status > 0 ? status : 0;
}

QString TCDDBThread::decodeResponse(const QByteArray &response)
{
    return decodeStoredText(response);
}

QString TCDDBThread::word(const QString &line, int index)
{
    return line.section(QLatin1Char(' '), index, index, QString::SectionSkipEmpty);
}

void TCDDBThread::setState(int state)
{
    m_state = state;
    const QString text = statusText(state, m_settings.host());
    if (text.isEmpty() && state != Idle)
        return;
    // Emitted on the main thread, so whoever connected after the start hears it too.
    QMetaObject::invokeMethod(
        this, [this, text] { emit statusChanged(text); }, Qt::QueuedConnection);
}

void TCDDBThread::fail(int kind, int code)
{
    if (m_errorKind != NoError)
        return;
    m_errorKind = kind;
    m_errorCode = code;
}

bool TCDDBThread::askMainThread(ThreadRequest *request)
{
    return m_window && m_window->request(request);
}

bool TCDDBThread::takeMatch(const QString &category, const QString &discId)
{
    // Both words go back into a command and into the album: anything else is a bad answer.
    if (!IsCddbCategory(category) || !IsCddbDiscId(discId)) {
        fail(BadResponse, -5);
        return false;
    }
    m_category = category.toLower();
    m_discId = discId.toLower();
    return true;
}

bool TCDDBThread::chooseMatch()
{
    ThreadRequest request;
    request.kind = ThreadRequest::ChooseMatch;
    request.textA = m_matches;
    if (!askMainThread(&request) || request.textC.isEmpty())
        return false;
    return takeMatch(request.textB, request.textC);
}

QString TCDDBThread::helloText() const
{
    return m_settings.login + QLatin1Char(' ') + m_settings.hostName +
           QStringLiteral(" Orbisong 4.0.3");
}

int TCDDBThread::errorMessageId() const
{
    switch (m_errorKind) {
    case NoError:
        return 0;
    case StartupFailed:
        return 16384;
    case ProxyFailed:
        return m_errorCode == -3 ? 16641 : m_errorCode == -4 ? 16642 : 16640;
    case BadResponse:
        return 16896;
    default:
        break;
    }
    switch (m_errorCode) {
    case 10050:
        return 16389;
    case 10051:
        return 16392;
    case 10052:
        return 16390;
    case 10053:
        return 16385;
    case 10054:
        return 16387;
    case 10055:
        return 16391;
    case 10060:
        return 16393;
    case 10061:
        return 16386;
    case 10065:
        return 16388;
    case 10091:
        return 16395;
    case 11001:
    case 11002:
        return 16394;
    case 12001:
    case 12004:
        return 17153;
    case 12002:
        return 16393;
    case 12005:
        return 17154;
    case 12007:
        return 16394;
    case 12020:
        return 17155;
    case 12023:
        return 17156;
    case 12029:
        return 16387;
    case 12042:
        return 17158;
    default:
        return 0;
    }
}

void TCDDBThread::reportError()
{
    const int id = errorMessageId();
    if (id == 0)
        return;
    ThreadRequest request;
    request.kind = ThreadRequest::ShowMessage;
    request.value = id;
    if (m_errorKind == ProxyFailed) {
        request.textA = m_settings.proxyHost;
        request.textB = m_settings.server;
    } else if (m_errorCode == 12007) {
        request.textA = m_settings.host();
    } else {
        request.textA = m_settings.server;
    }
    askMainThread(&request);
}

bool TCDDBThread::runOnMainThread(const std::function<void()> &call)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [call, done] {
            call();
            done->store(true);
        },
        Qt::QueuedConnection);
    while (!done->load()) {
        if (programClosing())
            return false;
        QThread::msleep(10);
    }
    return true;
}

void TCDDBThread::run()
{
    runLookup();
    setState(Idle);
    if (m_errorKind != NoError) {
        m_result = Failed;
        if (!m_stop)
            reportError();
        return;
    }
    if (m_stop) {
        m_result = Failed;
        return;
    }
    if (m_result == Found && !m_entry.isEmpty() && m_receiver) {
        CddbEntryReceiver *receiver = m_receiver;
        const QString category = m_category;
        const QString albumId = m_albumId;
        const QString entry = m_entry;
        if (!runOnMainThread(
                [=] { ApplyEntry(*receiver, category, albumId, SourceCddbServer, entry); }))
            m_result = Failed;
    }
    if (!m_welcome.isEmpty()) {
        ThreadRequest request;
        request.kind = ThreadRequest::ShowGreeting;
        request.textA = m_welcome;
        askMainThread(&request);
    }
}

} // namespace Orbisong
