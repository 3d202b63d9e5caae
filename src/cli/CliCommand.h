#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace Orbisong {
class QuestionPort;
}

namespace Orbisong::Cli {

// Exit codes shared by every subcommand.
enum ExitCode { Success = 0, NotFound = 1, Failure = 2 };

struct Context
{
    QStringList args;   // the words after the subcommand's name
    QString collection; // --collection, empty when not given
    QTextStream &out;
    QTextStream &err;
    // Handed to every part the subcommand runs that may ask or report.
    QuestionPort &questions;

    int usage(const QString &text) const
    {
        err << "usage: orbisong-cli " << text << '\n';
        return Failure;
    }
    int fail(const QString &text) const
    {
        err << text << '\n';
        return Failure;
    }
};

using Handler = std::function<int(Context &)>;

// Subcommands register themselves with a static Registration in their own file. `details`
// explains the arguments for `help COMMAND`, one line each.
struct Registration
{
    Registration(const QString &name, const QString &synopsis, Handler handler,
                 const QString &details = {});
};

} // namespace Orbisong::Cli
