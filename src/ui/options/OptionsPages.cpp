// The construction of the Options window's pages; the behaviour is in TOptionsForm.cpp.

#include "ui/options/ServerItemDelegate.h"
#include "ui/options/TOptionsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

QGroupBox *group(const QString &title, QVBoxLayout **layout)
{
    auto *box = new QGroupBox(title);
    *layout = new QVBoxLayout(box);
    return box;
}

QWidget *page(std::initializer_list<QWidget *> groups)
{
    auto *widget = new QWidget;
    auto *layout = new QVBoxLayout(widget);
    for (QWidget *g : groups)
        layout->addWidget(g);
    layout->addStretch(1);
    return widget;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *w : widgets)
        layout->addWidget(w);
    return layout;
}

QLabel *label(const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
}

} // namespace

QCheckBox *TOptionsForm::addFlag(QVBoxLayout *layout, int bit, const QString &text,
                                 const char *name)
{
    auto *box = new QCheckBox(text);
    box->setObjectName(QLatin1String(name));
    layout->addWidget(box);
    m_flagBoxes.insert(bit, box);
    return box;
}

QLineEdit *TOptionsForm::addEdit(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QWidget *TOptionsForm::buildGeneralPage()
{
    QVBoxLayout *ui = nullptr;
    QGroupBox *interface = group(tr("Interface"), &ui);
    addFlag(ui, _GLOB_OPTION_COLLECTIONALWAYSOPEN,
            tr("Keep the collection file &open at all times while Orbisong is running."),
            "CollectionAlwaysOpenCheck");
    addFlag(ui, _GLOB_OPTION_NOSINGLETRACK,
            tr("Always &ignore CDs that appear to be in CD-ROM format."), "NoSingleTrackCheck");
    addFlag(ui, _GLOB_OPTION_USEALBWIZ,
            tr("Show Add New Album wi&zard when a CD is inserted for the first time."),
            "UseAlbumWizardCheck");
    addFlag(ui, _GLOB_OPTION_TIMERWARNING,
            tr("Show &warning when Timer Play and Timer Stop can't start or stop playback."),
            "TimerWarningCheck");
    addFlag(ui, _GLOB_OPTION_CHANGERCOMPAT,
            tr("Use &CD-ROM changer compatibility mode (multi-drive systems only.)"),
            "ChangerCompatCheck");
    m_recentInserts = new QSpinBox;
    m_recentInserts->setObjectName(QStringLiteral("RecentInsertsEdit"));
    m_recentInserts->setRange(0, OptionsDraft::MaxRecentInserts);
    auto *recent =
        row({label(tr("Recent &inserts recorded per album:"), m_recentInserts), m_recentInserts});
    recent->addStretch(1);
    ui->addLayout(recent);

    QVBoxLayout *startup = nullptr;
    QGroupBox *start = group(tr("Startup"), &startup);
    addFlag(startup, _GLOB_OPTION_SAVEPOSITION, tr("&Save window position between sessions."),
            "SavePositionCheck");
    addFlag(startup, _GLOB_OPTION_ALWAYSMINIMIZE, tr("Always start &minimized."),
            "AlwaysMinimizeCheck");
    addFlag(startup, _GLOB_OPTION_SHOWTOTD, tr("Show &Tip of the Day on startup."), "ShowTipCheck");
    return page({interface, start});
}

QWidget *TOptionsForm::buildDisplayPage()
{
    QVBoxLayout *w = nullptr;
    QGroupBox *windows = group(tr("Windows"), &w);
    auto *stick = new QLabel(tr("Stick to screen edges:"));
    w->addWidget(stick);
    auto *edges = new QHBoxLayout;
    auto *edgeColumn = new QVBoxLayout;
    addFlag(edgeColumn, _GLOB_OPTION_STICKLEFT, tr("&Left"), "StickLeftCheck");
    addFlag(edgeColumn, _GLOB_OPTION_STICKTOP, tr("&Top"), "StickTopCheck");
    edges->addLayout(edgeColumn);
    edgeColumn = new QVBoxLayout;
    addFlag(edgeColumn, _GLOB_OPTION_STICKRIGHT, tr("&Right"), "StickRightCheck");
    addFlag(edgeColumn, _GLOB_OPTION_STICKBOTTOM, tr("&Bottom"), "StickBottomCheck");
    edges->addLayout(edgeColumn);
    edges->addStretch(1);
    w->addLayout(edges);
    addFlag(w, _GLOB_OPTION_STAYONTOP, tr("&Float above other windows."), "StayOnTopCheck");
    addFlag(w, _GLOB_OPTION_SCROLLPLAYLIST,
            tr("Scroll &playlist to keep the current track visible."), "ScrollPlaylistCheck");
    addFlag(w, _GLOB_OPTION_SHOWHINTS, tr("Show popup &hints in the main window."),
            "ShowHintsCheck");
    addFlag(w, _GLOB_OPTION_SHOWALBUMTITLES, tr("Show album &titles in drive selection menus."),
            "ShowAlbumTitlesCheck");
    addFlag(w, _GLOB_OPTION_STATMERGETRACKS,
            tr("&Merge tracks with matching titles in statistics displays."),
            "StatMergeTracksCheck");

    QVBoxLayout *t = nullptr;
    QGroupBox *tray = group(tr("Tray buttons"), &t);
    addFlag(t, _GLOB_OPTION_TRAYSTOP, tr("&Stop"), "TrayStopCheck");
    addFlag(t, _GLOB_OPTION_TRAYPLAY, tr("P&lay/Pause"), "TrayPlayCheck");
    addFlag(t, _GLOB_OPTION_TRAYPREV, tr("P&revious"), "TrayPrevCheck");
    addFlag(t, _GLOB_OPTION_TRAYNEXT, tr("&Next"), "TrayNextCheck");
    return page({windows, tray});
}

QWidget *TOptionsForm::buildAlbumsPage()
{
    QVBoxLayout *c = nullptr;
    QGroupBox *custom = group(tr("Custom data fields"), &c);
    m_fieldList = new QListWidget;
    m_fieldList->setObjectName(QStringLiteral("FieldList"));
    m_fieldList->setMaximumHeight(110);
    m_addField = new QPushButton(tr("&Add"));
    m_addField->setObjectName(QStringLiteral("AddFieldButton"));
    m_deleteField = new QPushButton(tr("&Delete"));
    m_deleteField->setObjectName(QStringLiteral("DeleteFieldButton"));
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_addField);
    buttons->addWidget(m_deleteField);
    buttons->addStretch(1);
    auto *fields = new QHBoxLayout;
    fields->addWidget(m_fieldList, 1);
    fields->addLayout(buttons);
    c->addLayout(fields);

    QVBoxLayout *p = nullptr;
    QGroupBox *playback = group(tr("Playback"), &p);
    addFlag(p, _GLOB_OPTION_NOALBUMBLANKTRACKS,
            tr("Do not include &blank tracks in the Album playlist."), "NoBlankTracksCheck");
    addFlag(p, _GLOB_OPTION_STOPONCLOSE,
            tr("Automatically &stop playback when Orbisong is closed."), "StopOnCloseCheck");
    addFlag(p, _GLOB_OPTION_AUTOSHUFFLE, tr("Automatically s&huffle the current playlist."),
            "AutoShuffleCheck");
    addFlag(p, _GLOB_OPTION_RANDOMDRIVE,
            tr("Use &multi-drive random and relay playback (multi-drive systems only.)"),
            "RandomDriveCheck");
    addFlag(p, _GLOB_OPTION_PLAYONINSERT,
            tr("Automatically s&tart playback when a CD is inserted."), "PlayOnInsertCheck");
    m_introSpec = new QComboBox;
    m_introSpec->setObjectName(QStringLiteral("IntroSpecCombo"));
    m_introSpec->addItems({tr("First"), tr("Middle"), tr("Last")});
    m_introValue = addEdit("IntroValueEdit");
    m_introValue->setMaximumWidth(80);
    auto *intro = row({label(tr("&Intro mode plays the"), m_introSpec), m_introSpec, m_introValue});
    intro->addStretch(1);
    p->addLayout(intro);
    return page({custom, playback});
}

QWidget *TOptionsForm::buildReceivingPage()
{
    QVBoxLayout *l = nullptr;
    QGroupBox *local = group(tr("Local"), &l);
    m_localPath = addEdit("CDDBPathEdit");
    auto *browse = new QPushButton(tr("&Browse"));
    browse->setObjectName(QStringLiteral("BrowseButton"));
    connect(browse, &QPushButton::clicked, this, &TOptionsForm::browseLocalPath);
    l->addLayout(row({m_localPath, browse}));

    QVBoxLayout *i = nullptr;
    QGroupBox *internet = group(tr("Internet"), &i);
    m_serverCombo = new QComboBox;
    m_serverCombo->setObjectName(QStringLiteral("ServerCombo"));
    m_serverCombo->setItemDelegate(new ServerItemDelegate(m_serverCombo));
    m_serverCombo->setMinimumWidth(300);
    i->addWidget(m_serverCombo);
    auto *form = new QFormLayout;
    m_host = addEdit("CDDBDomainEdit");
    m_port = addEdit("CDDBPortEdit");
    m_port->setMaximumWidth(70);
    m_protocol = new QComboBox;
    m_protocol->setObjectName(QStringLiteral("CDDBProtocolCombo"));
    m_protocol->addItems({QStringLiteral("CDDBP"), QStringLiteral("HTTP")});
    m_protocolLevel = new QSpinBox;
    m_protocolLevel->setObjectName(QStringLiteral("ProtocolLevelSpin"));
    m_protocolLevel->setRange(1, 6);
    auto *address = row({m_host, label(tr("Po&rt:"), m_port), m_port});
    form->addRow(label(tr("&Host:"), m_host), address);
    auto *protocol =
        row({m_protocol, label(tr("Protocol &level:"), m_protocolLevel), m_protocolLevel});
    protocol->addStretch(1);
    form->addRow(label(tr("Pro&tocol:"), m_protocol), protocol);
    i->addLayout(form);
    addFlag(i, _GLOB_OPTION_AUTORCDDB,
            tr("Automatically query the database se&rver when a CD is inserted for the "
               "first time."),
            "AutoRemoteCddbCheck");
    addFlag(i, _GLOB_OPTION_SHOWCDDBMOTD,
            tr("Show server's &welcome message (it will be shown only when it has "
               "changed.)"),
            "ShowMotdCheck");
    addFlag(i, _GLOB_OPTION_USEPROXY, tr("Access CDDBP servers through Socks pro&xy host:"),
            "UseProxyCheck");
    m_proxyServer = addEdit("CDDBProxyServerEdit");
    m_proxyPort = addEdit("CDDBProxyPortEdit");
    m_proxyPort->setMaximumWidth(70);
    i->addLayout(row({m_proxyServer, new QLabel(tr("Port:")), m_proxyPort}));
    m_updateList = new QPushButton(tr("&Update List"));
    m_updateList->setObjectName(QStringLiteral("UpdateListButton"));
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    auto *update = row({m_updateList, m_status});
    update->addStretch(1);
    i->addLayout(update);

    QVBoxLayout *m = nullptr;
    QGroupBox *musicBrainz = group(tr("MusicBrainz"), &m);
    m_preferMusicBrainz = new QCheckBox(tr("Prefer MusicBrainz"));
    m_preferMusicBrainz->setObjectName(QStringLiteral("PreferMusicBrainzCheck"));
    m->addWidget(m_preferMusicBrainz);
    m_musicBrainzServer = addEdit("MusicBrainzServerEdit");
    m->addLayout(row({label(tr("&Server:"), m_musicBrainzServer), m_musicBrainzServer}));
    return page({local, internet, musicBrainz});
}

QWidget *TOptionsForm::buildSendingPage()
{
    QVBoxLayout *s = nullptr;
    QGroupBox *setup = group(tr("Setup"), &s);
    auto *form = new QFormLayout;
    m_submitByMail = new QRadioButton(tr("Submit by e-&mail"));
    m_submitByMail->setObjectName(QStringLiteral("SubmitByMailRadio"));
    m_submitByHttp = new QRadioButton(tr("Submit over &HTTP"));
    m_submitByHttp->setObjectName(QStringLiteral("SubmitByHttpRadio"));
    m_smtpServer = addEdit("SMTPServerEdit");
    m_emailAddress = addEdit("EmailAddressEdit");
    m_submitUrl = addEdit("SubmitUrlEdit");
    form->addRow(m_submitByMail);
    form->addRow(label(tr("&Outgoing mail server:"), m_smtpServer), m_smtpServer);
    form->addRow(label(tr("&E-mail address:"), m_emailAddress), m_emailAddress);
    form->addRow(m_submitByHttp);
    form->addRow(label(tr("Submit &address:"), m_submitUrl), m_submitUrl);
    s->addLayout(form);

    QVBoxLayout *b = nullptr;
    QGroupBox *submission = group(tr("Submission"), &b);
    addFlag(b, _GLOB_OPTION_SUBMITCOMMENTS, tr("Include &comments in my submissions."),
            "SubmitCommentsCheck");
    addFlag(b, _GLOB_OPTION_SUBMITWEBLINKS,
            tr("Include &WebLinks in my submissions (only 'http://' URLs will be sent)."),
            "SubmitWebLinksCheck");
    return page({setup, submission});
}

QWidget *TOptionsForm::buildMiscPage()
{
    QVBoxLayout *w = nullptr;
    QGroupBox *weblink = group(tr("WebLink"), &w);
    w->addWidget(new QLabel(tr("Open web links in:")));
    auto *form = new QFormLayout;
    m_firstBrowserRadio = new QRadioButton(tr("&First browser:"));
    m_firstBrowserRadio->setObjectName(QStringLiteral("FirstBrowserRadio"));
    m_secondBrowserRadio = new QRadioButton(tr("&Second browser:"));
    m_secondBrowserRadio->setObjectName(QStringLiteral("SecondBrowserRadio"));
    m_firstBrowser = addEdit("FirstBrowserEdit");
    m_firstBrowser->setPlaceholderText(tr("the desktop's default browser"));
    m_secondBrowser = addEdit("SecondBrowserEdit");
    m_secondBrowser->setPlaceholderText(tr("program name or path"));
    form->addRow(m_firstBrowserRadio, m_firstBrowser);
    form->addRow(m_secondBrowserRadio, m_secondBrowser);
    w->addLayout(form);

    QVBoxLayout *f = nullptr;
    QGroupBox *formats = group(tr("Format strings"), &f);
    addFlag(f, _GLOB_OPTION_USEFORMATSTRINGS, tr("&Use these format strings:"),
            "UseFormatStringsCheck");
    auto *strings = new QFormLayout;
    m_captionFormat = addEdit("CaptionFormatEdit");
    m_infoFormat = addEdit("InfoFormatEdit");
    strings->addRow(label(tr("Window &caption bar:"), m_captionFormat), m_captionFormat);
    strings->addRow(label(tr("Playback &information bar:"), m_infoFormat), m_infoFormat);
    f->addLayout(strings);
    return page({weblink, formats});
}

} // namespace Orbisong
