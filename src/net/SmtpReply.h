#pragma once

#include <QByteArray>
#include <QString>

namespace Orbisong {

// Collects one SMTP reply from the bytes as they arrive. A line whose fourth character is
// "-" announces more lines; the reply ends with the first line that does not.
class SmtpReply
{
public:
    // A server that never ends its reply must not fill the memory.
    static constexpr qsizetype MaxBytes = 64 * 1024;

    // Adds received bytes; false once the reply has grown past MaxBytes.
    bool append(const QByteArray &bytes);
    bool complete() const;
    bool overflowed() const { return m_overflow; }
    // "2xx" and "354" are accepted; anything else refuses.
    bool accepted() const;
    int code() const;
    // The last line from its fourth character on: the server's reason.
    QString text() const;
    QString lastLine() const;
    // The complete reply's lines, for the transcript.
    QByteArray bytes() const { return m_buffer; }
    void clear();

private:
    QByteArray m_buffer;
    bool m_overflow = false;
};

} // namespace Orbisong
