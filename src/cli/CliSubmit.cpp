#include "cli/CliCommand.h"

#include "cddb/CddbSubmitter.h"
#include "cddb/SubmitRun.h"
#include "cli/CliCddbAlbum.h"

namespace Orbisong::Cli {

namespace {

const QString Synopsis =
    QStringLiteral("submit --album ID [--category CAT] [--dry-run] [--http URL]");

int submitCommand(Context &c)
{
    QStringList args = c.args;
    QString albumId;
    QString category;
    QString url;
    bool dryRun = false;
    while (!args.isEmpty()) {
        const QString word = args.takeFirst();
        if (word == QLatin1String("--dry-run"))
            dryRun = true;
        else if (word == QLatin1String("--album") && !args.isEmpty())
            albumId = args.takeFirst().trimmed().toUpper();
        else if (word == QLatin1String("--category") && !args.isEmpty())
            category = args.takeFirst();
        else if (word == QLatin1String("--http") && !args.isEmpty())
            url = args.takeFirst();
        else
            return c.usage(Synopsis);
    }
    if (albumId.isEmpty())
        return c.usage(Synopsis);

    CddbAlbumSession session(c.collection, c.questions);
    if (!session.collection().FindAlbum(albumId)) {
        c.err << "no album " << albumId << '\n';
        return NotFound;
    }
    CddbSubmitter submitter(session.collection(), session.settings(), &c.questions);
    submitter.setHttpUrl(url);
    submitter.setCategoryChooser([&c, &category](QString *stored) {
        if (!category.isEmpty()) {
            *stored = category;
            return true;
        }
        c.err << "the album's category '" << *stored
              << "' is not a CDDB category; choose one with --category\n";
        return false;
    });
    SubmitJob job;
    if (!submitter.prepare(albumId, &job))
        return Failure;
    if (dryRun) {
        c.out << job.text();
        return Success;
    }
    SubmitRun run;
    if (run.run(job) != SubmitRun::Sent) {
        SubmitRun::report(&c.questions, job.method, run.result(), run.errorText());
        return Failure;
    }
    c.out << "sent\n";
    return Success;
}

const Registration registration(
    QStringLiteral("submit"), Synopsis, submitCommand,
    QStringLiteral(
        "  submit --album ID\n"
        "      sends album ID to the CDDB database: by mail through the SMTP settings, or by\n"
        "      HTTP to the settings' submit address when the submit method is HTTP.\n"
        "  --category CAT   the category to send when the album's is not a CDDB category\n"
        "  --http URL       posts to the submit script at URL, whatever the settings say\n"
        "  --dry-run        prints the whole message instead of sending it\n"
        "      An album that cannot be sent, missing settings and a failed exchange print\n"
        "      their message on stderr and exit 2."));

} // namespace

} // namespace Orbisong::Cli
