#include "cddb/CddbSubmitter.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "cddb/CddbSubmission.h"
#include "collection/Settings.h"
#include "net/MailAddress.h"

#include <QDate>

namespace Orbisong {

namespace {

const QByteArray SubmitMode = "submit";

} // namespace

CddbSubmitter::CddbSubmitter(Collection &collection, Settings &settings, QuestionPort *questions)
    : m_collection(collection), m_settings(settings), m_questions(questions),
      m_year(QDate::currentDate().year())
{
}

QString CddbSubmitter::validCategory(const QString &category)
{
    const QString trimmed = category.trimmed();
    return IsCddbCategory(trimmed) ? trimmed.toLower() : QString();
}

int CddbSubmitter::checkAddress(Settings &settings)
{
    settings.smtpAddress = settings.smtpAddress.trimmed();
    if (settings.smtpAddress.isEmpty())
        return Msg::NoMailAddress;
    if (!IsValidMailAddress(settings.smtpAddress))
        return Msg::InvalidMailAddress;
    return 0;
}

bool CddbSubmitter::prepare(const QString &albumId, SubmitJob *job)
{
    CddbSubmission s = CddbSubmission::read(m_collection, albumId, m_settings);
    if (s.problem == CddbSubmission::AlbumMissing)
        return false;
    if (s.problem == CddbSubmission::Incomplete) {
        askOrDefault(m_questions, Msg::CannotSubmitAlbum);
        return false;
    }
    if (s.problem != CddbSubmission::Ready) {
        askOrDefault(m_questions, Msg::Notice, s.problemHeading(), s.problemText());
        return false;
    }
    QString category = validCategory(s.category);
    if (category.isEmpty()) {
        category = s.category.trimmed();
        if (!m_chooser || !m_chooser(&category))
            return false;
        category = validCategory(category);
        if (category.isEmpty())
            return false;
    }
    s.category = category;

    const bool byHttp =
        !m_httpUrl.isEmpty() || m_settings.cddbSubmitMethod == Settings::SubmitByHttp;
    if (const int problem = checkAddress(m_settings)) {
        askOrDefault(m_questions, problem, m_settings.smtpAddress);
        return false;
    }
    const QString entry = s.entry(m_year);
    *job = {};
    if (byHttp) {
        job->method = SubmitJob::ByHttp;
        job->url = m_httpUrl.isEmpty() ? m_settings.cddbSubmitUrl.trimmed() : m_httpUrl;
        const QByteArray charset = s.input.utf8 ? "UTF-8" : "US-ASCII";
        job->headers = {
            {"Category", category.toLatin1()},
            {"Discid", s.discId.toLatin1()},
            {"User-Email", HeaderSafe(m_settings.smtpAddress).toUtf8()},
            {"Submit-Mode", SubmitMode},
            {"Charset", charset},
            {"X-Cddbd-Note", "Sent by Orbisong"},
        };
        job->body = entry.toUtf8();
        return true;
    }
    m_settings.smtpServer = m_settings.smtpServer.trimmed();
    if (m_settings.smtpServer.isEmpty()) {
        askOrDefault(m_questions, Msg::NoSmtpServer);
        return false;
    }
    job->method = SubmitJob::ByMail;
    job->smtpServer = m_settings.smtpServer;
    job->mail.from = m_settings.smtpAddress;
    job->mail.recipient = CddbSubmissionMailbox;
    job->mail.subject = s.subject();
    job->mail.body = entry;
    job->mail.charSet = s.input.utf8 ? MailMessage::Utf8 : MailMessage::UsAscii;
    return true;
}

} // namespace Orbisong
