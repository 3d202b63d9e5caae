#include "cli/CliCommand.h"

#include "collection/SettingsSession.h"

namespace Orbisong::Cli {

namespace {

const QString Synopsis =
    QStringLiteral("settings get SECTION VALUE | settings set SECTION VALUE TEXT | "
                   "settings flag N [on|off] | settings list [SECTION]");
const QString Details = QStringLiteral(
    "  get SECTION VALUE       prints a value as the player reads it (defaults applied);\n"
    "                          exit 1 when the value is not there\n"
    "  set SECTION VALUE TEXT  changes a value\n"
    "  flag N [on|off]         prints option bit N (0-127), after changing it when asked\n"
    "  list [SECTION]          the known sections, or a section's values with their current\n"
    "                          value (SECTION<TAB>VALUE<TAB>current)\n"
    "Names are matched without regard to case; quote names with blanks:\n"
    "  orbisong-cli settings get Options \"Intro Value\"");

int list(Context &c, SettingsSession &session)
{
    const QString section = c.args.value(1);
    QStringList sections;
    bool known = section.isEmpty();
    for (const SettingField &field : settingFields()) {
        if (!sections.contains(field.section))
            sections.append(field.section);
        if (section.isEmpty() || field.section.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        known = true;
        c.out << field.section << '\t' << field.name << '\t' << field.get(session.settings())
              << '\n';
    }
    if (section.isEmpty()) {
        for (const QString &name : std::as_const(sections))
            c.out << name << '\n';
    }
    if (!known) {
        c.err << "no section " << section << "; the sections are: " << sections.join(", ") << '\n';
        return NotFound;
    }
    return Success;
}

int get(Context &c, SettingsSession &session)
{
    const QString section = c.args.at(1);
    const QString name = c.args.at(2);
    if (const SettingField *field = findSettingField(section, name)) {
        c.out << field->get(session.settings()) << '\n';
        return Success;
    }
    const Settings &s = session.settings();
    bool isNumber = false;
    const int index = name.toInt(&isNumber) - 1;
    if (isNumber && section.compare(QLatin1String("Custom Fields"), Qt::CaseInsensitive) == 0) {
        if (index < 0 || index >= s.customFields.size()) {
            c.err << "no custom field " << name << '\n';
            return NotFound;
        }
        c.out << s.customFields.at(index) << '\n';
        return Success;
    }
    if (isNumber && section.compare(QLatin1String("Export Profiles"), Qt::CaseInsensitive) == 0) {
        if (index < 0 || index >= s.exportProfiles.size()) {
            c.err << "no export profile " << name << '\n';
            return NotFound;
        }
        c.out << s.exportProfiles.at(index) << '\n';
        return Success;
    }
    if (!session.store().valueExists(section, name)) {
        c.err << "no value " << name << " in section " << section
              << " (settings list shows the known ones)\n";
        return NotFound;
    }
    c.out << session.store().readString(section, name, QString()) << '\n';
    return Success;
}

int set(Context &c, SettingsSession &session)
{
    const SettingField *field = findSettingField(c.args.at(1), c.args.at(2));
    if (field) {
        field->set(session.settings(), c.args.at(3));
        return session.save() ? Success : c.fail(QStringLiteral("cannot write the settings"));
    }
    session.store().writeString(c.args.at(1), c.args.at(2), c.args.at(3));
    return session.store().sync() ? Success : c.fail(QStringLiteral("cannot write the settings"));
}

int flag(Context &c, SettingsSession &session)
{
    bool ok = false;
    const int bit = c.args.at(1).toInt(&ok);
    if (!ok || bit < 0 || bit > 127)
        return c.fail(QStringLiteral("flag %1: no such option bit (0-127)").arg(c.args.at(1)));
    if (c.args.size() == 3) {
        const QString state = c.args.at(2).toLower();
        if (state != QLatin1String("on") && state != QLatin1String("off"))
            return c.fail(QStringLiteral("flag %1: say on or off, not %2").arg(bit).arg(state));
        session.settings().SetOptionFlag(bit, state == QLatin1String("on"));
        if (!session.save())
            return c.fail(QStringLiteral("cannot write the settings"));
    }
    c.out << (session.settings().GetOptionFlag(bit) ? "on" : "off") << '\n';
    return Success;
}

int settingsCommand(Context &c)
{
    const QString verb = c.args.value(0);
    SettingsSession session;
    if (verb == QLatin1String("get") && c.args.size() == 3)
        return get(c, session);
    if (verb == QLatin1String("set") && c.args.size() == 4)
        return set(c, session);
    if (verb == QLatin1String("flag") && (c.args.size() == 2 || c.args.size() == 3))
        return flag(c, session);
    if (verb == QLatin1String("list") && c.args.size() <= 2)
        return list(c, session);
    return c.usage(Synopsis);
}

const Registration registration(QStringLiteral("settings"), Synopsis, settingsCommand, Details);

} // namespace

} // namespace Orbisong::Cli
