#pragma once

#include <QDateTime>
#include <QDialog>

#include <functional>

class QButtonGroup;
class QLineEdit;
class QPlainTextEdit;

namespace Orbisong {

class QuestionPort;

// The shared body of the "Timer Play" and "Timer Stop" windows: a moment as a delay in
// minutes or a clock time of today, and the event script that runs when it comes.
class TTimerForm : public QDialog
{
    Q_OBJECT

public:
    struct Texts
    {
        QString caption;
        QString explanation;
        QString typeLabel;
        QString scriptText;
        QString eventName;
    };
    using Clock = std::function<QDateTime()>;

    TTimerForm(const Texts &texts, const QString &storedScript, QWidget *parent = nullptr,
               Clock clock = &QDateTime::currentDateTime);

    // Where a refused entry is reported.
    void setQuestionPort(QuestionPort *questions) { m_questions = questions; }
    // 0: after a delay of minutes, 1: at a clock time.
    void setType(int type);
    int type() const;
    QLineEdit *valueEdit() const { return m_value; }
    QPlainTextEdit *scriptEdit() const { return m_script; }

    // The stored form of a script: empty when it is the default apart from spacing and case.
    static QString storedScript(const QString &script);
    static QString defaultScript();

signals:
    void delayChosen(int minutes);
    void timeChosen(const QDateTime &moment);
    void scriptChanged(const QString &stored);

public slots:
    void accept() override;

private:
    QButtonGroup *m_types = nullptr;
    QLineEdit *m_value = nullptr;
    QPlainTextEdit *m_script = nullptr;
    Clock m_clock;
    QuestionPort *m_questions = nullptr;
};

// "Timer Play": starts playback at the moment.
class TAutoplayForm : public TTimerForm
{
    Q_OBJECT

public:
    explicit TAutoplayForm(const QString &storedScript, QWidget *parent = nullptr,
                           Clock clock = &QDateTime::currentDateTime);
};

// "Timer Stop": stops playback at the moment.
class TAutostopForm : public TTimerForm
{
    Q_OBJECT

public:
    explicit TAutostopForm(const QString &storedScript, QWidget *parent = nullptr,
                           Clock clock = &QDateTime::currentDateTime);
};

} // namespace Orbisong
