#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace Orbisong {

class TMeter;

// The modeless progress window: the meter, the folder being installed from, the file being
// written and a Cancel button whose press is confirmed before it counts.
class TProgressDialog : public QDialog
{
    Q_OBJECT
public:
    TProgressDialog(const QString &title, qint64 totalBytes, std::function<bool()> confirmCancel,
                    QWidget *parent = nullptr);

    void setSource(const QString &text);
    void setCurrentFile(const QString &text);
    // Counts `bytes` more as done; false once the user has cancelled.
    bool advance(qint64 bytes);
    bool cancelled() const { return m_cancelled; }

    TMeter *meter() const { return m_meter; }
    QLabel *fileLabel() const { return m_file; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void reject() override;

private:
    std::function<bool()> m_confirmCancel;
    TMeter *m_meter;
    QLabel *m_source;
    QLabel *m_file;
    QPushButton *m_cancel;
    qint64 m_done = 0;
    bool m_cancelled = false;
    bool m_asking = false;
};

} // namespace Orbisong
