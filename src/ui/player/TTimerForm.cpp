#include "ui/player/TTimerForm.h"

#include "base/MessageIds.h"
#include "ui/script/ScriptEditor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

QString significant(const QString &script)
{
    QString out;
    for (QChar ch : script) {
        if (ch.unicode() >= 33 && ch.unicode() <= 125)
            out += ch.toLower();
    }
    return out;
}

QTime parseClockTime(const QString &text)
{
    const QString t = text.trimmed();
    const QLocale locale;
    for (const QString &format : {locale.timeFormat(QLocale::ShortFormat), QStringLiteral("H:mm"),
                                  QStringLiteral("h:mm AP"), QStringLiteral("h:mmAP"),
                                  QStringLiteral("h:mm ap"), QStringLiteral("H:mm:ss")}) {
        const QTime time = locale.toTime(t, format);
        if (time.isValid())
            return time;
        const QTime plain = QTime::fromString(t, format);
        if (plain.isValid())
            return plain;
    }
    return {};
}

} // namespace

TTimerForm::TTimerForm(const Texts &texts, const QString &storedScript, QWidget *parent,
                       Clock clock)
    : QDialog(parent), m_clock(std::move(clock))
{
    setWindowTitle(texts.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *tabs = new QTabWidget(this);

    auto *timePage = new QWidget;
    auto *timeLayout = new QVBoxLayout(timePage);
    auto *explanation = new QLabel(texts.explanation);
    explanation->setWordWrap(true);
    timeLayout->addWidget(explanation);
    timeLayout->addWidget(new QLabel(texts.typeLabel));
    m_types = new QButtonGroup(this);
    auto *delay = new QRadioButton(tr("After a delay of this many minutes:"));
    auto *at = new QRadioButton(tr("At this time:"));
    m_types->addButton(delay, 0);
    m_types->addButton(at, 1);
    timeLayout->addWidget(delay);
    timeLayout->addWidget(at);
    m_value = new QLineEdit;
    m_value->setObjectName(QStringLiteral("ValueEdit"));
    timeLayout->addWidget(m_value);
    timeLayout->addStretch();
    tabs->addTab(timePage, tr("Time"));

    auto *scriptPage = new QWidget;
    auto *scriptLayout = new QVBoxLayout(scriptPage);
    auto *scriptText = new QLabel(texts.scriptText);
    scriptText->setWordWrap(true);
    scriptLayout->addWidget(scriptText);
    auto *events = new QComboBox;
    events->addItem(texts.eventName);
    scriptLayout->addWidget(events);
    m_script = new ScriptEditor;
    m_script->setObjectName(QStringLiteral("ScriptEdit"));
    m_script->setPlainText(storedScript.trimmed().isEmpty() ? defaultScript() : storedScript);
    scriptLayout->addWidget(m_script);
    tabs->addTab(scriptPage, tr("Scripts"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TTimerForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TTimerForm::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    connect(m_types, &QButtonGroup::idClicked, this, &TTimerForm::setType);
    setType(0);
}

void TTimerForm::setType(int type)
{
    m_types->button(type)->setChecked(true);
    m_value->setText(type == 1 ? QLocale().toString(m_clock().time(), QLocale::ShortFormat)
                               : QStringLiteral("0"));
    m_value->selectAll();
    m_value->setFocus();
}

int TTimerForm::type() const
{
    return m_types->checkedId();
}

void TTimerForm::setQuestionPort(QuestionPort *port)
{
    m_questions = port ? port : &m_defaultAnswers;
}

QString TTimerForm::defaultScript()
{
    return QStringLiteral("procedure Main;\n  // Enter code for this event here.\n\nendproc;");
}

QString TTimerForm::storedScript(const QString &script)
{
    return significant(script) == significant(defaultScript()) ? QString() : script;
}

void TTimerForm::accept()
{
    // The script is kept even when the time is refused.
    emit scriptChanged(storedScript(m_script->toPlainText()));
    if (type() == 1) {
        const QTime time = parseClockTime(m_value->text());
        if (!time.isValid()) {
            m_questions->ask(Msg::InvalidTime, {}, {}, {});
            return;
        }
        emit timeChosen(QDateTime(m_clock().date(), time));
    } else {
        bool ok = false;
        const int minutes = m_value->text().trimmed().toInt(&ok);
        if (!ok) {
            m_questions->ask(Msg::InvalidInteger, {}, {}, {});
            return;
        }
        emit delayChosen(minutes);
    }
    QDialog::accept();
}

TAutoplayForm::TAutoplayForm(const QString &storedScript, QWidget *parent, Clock clock)
    : TTimerForm({tr("Timer Play"),
                  tr("This setting will cause playback to begin automatically at the specified "
                     "time, or after the specified period of delay."),
                  tr("&Begin playback"),
                  tr("Use this script to control Timer Play-related events. You are not "
                     "required to enter anything here."),
                  QStringLiteral("On_TimerPlay")},
                 storedScript, parent, std::move(clock))
{
    setObjectName(QStringLiteral("TAutoplayForm"));
}

TAutostopForm::TAutostopForm(const QString &storedScript, QWidget *parent, Clock clock)
    : TTimerForm({tr("Timer Stop"),
                  tr("This setting will cause playback to stop automatically at the specified "
                     "time, or after the specified period of delay."),
                  tr("&Stop playback"),
                  tr("Use this script to control Timer Stop-related events. You are not "
                     "required to enter anything here."),
                  QStringLiteral("On_TimerStop")},
                 storedScript, parent, std::move(clock))
{
    setObjectName(QStringLiteral("TAutostopForm"));
}

} // namespace Orbisong
