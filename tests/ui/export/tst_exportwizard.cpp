#include "ExportFixture.h"
#include "ScriptedQuestionPort.h"

#include "base/MessageText.h"
#include "ui/export/ExportAlbumList.h"
#include "ui/export/ExportProgressDialog.h"
#include "ui/export/TExportWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

void next(TExportWizard &wizard)
{
    wizard.nextButton()->click();
}

// Runs the accepted wizard's export under the progress window until it ends.
ExportResult runExport(ExportFixture &f, const TExportWizard &wizard)
{
    auto job =
        std::make_shared<const ExportJob>(*f.collection, wizard.profile(), wizard.templatePath());
    ExportProgressDialog progress(job, QStringLiteral("HTML"));
    QSignalSpy done(&progress, &ExportProgressDialog::exportDone);
    progress.show();
    progress.start();
    EXPECT_TRUE(done.wait(60000));
    EXPECT_EQ(progress.progressBar()->value(), progress.progressBar()->maximum());
    return progress.result();
}

} // namespace

// The way through for web pages of the collection window's member, with the folder made on
// request and the choices saved as a profile; then the export under its progress window.
TEST(ExportWizard, ExportsTheMemberAsWebPages)
{
    ExportFixture f;
    ScriptedQuestionPort questions;
    TExportWizard wizard(*f.collection, f.settings, &questions, 0, QStringLiteral("The Beatles"));
    wizard.show();
    EXPECT_EQ(wizard.currentPane(), wizard.profilePane());
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Export - Step 1 of 6"));
    next(wizard);
    ASSERT_EQ(wizard.currentPane(), wizard.albumsPane());
    EXPECT_EQ(wizard.groupChoice()->text(),
              QStringLiteral("Export a&lbums with artist \"The Beatles\"."));
    EXPECT_FALSE(wizard.albumList()->isEnabled());
    wizard.groupChoice()->setChecked(true);
    next(wizard);
    wizard.htmlFormat()->setChecked(true);
    next(wizard);
    ASSERT_EQ(wizard.currentPane(), wizard.htmlPane());
    EXPECT_EQ(wizard.htmlTemplate()->currentText(), QStringLiteral("Collection"));
    next(wizard);
    ASSERT_EQ(wizard.currentPane(), wizard.folderPane());

    // A folder that does not exist: "No" stays, "Yes" makes it and goes on.
    const QString site = f.home.file(QStringLiteral("web/beatles"));
    wizard.locationEdit()->setText(site + QStringLiteral("/"));
    questions.answer(ResultNo);
    next(wizard);
    EXPECT_EQ(wizard.currentPane(), wizard.folderPane());
    questions.answer(ResultYes);
    next(wizard);
    ASSERT_EQ(wizard.currentPane(), wizard.confirmPane());
    EXPECT_EQ(wizard.locationEdit()->text(), site);
    ASSERT_EQ(questions.asked().size(), 2);
    EXPECT_EQ(questions.asked().at(0).id, 12325);
    EXPECT_TRUE(wizard.finishButton()->isVisible());

    wizard.saveNameEdit()->setText(QStringLiteral("Beatles `pages"));
    wizard.finishButton()->click();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    ASSERT_EQ(f.settings.exportProfiles.size(), 1);
    EXPECT_TRUE(f.settings.exportProfiles.at(0).startsWith(
        QStringLiteral("Beatles  pages`00000042``Collection``") + site));

    const ExportResult result = runExport(f, wizard);
    ASSERT_TRUE(result.succeeded()) << result.error.toStdString();
    EXPECT_EQ(filesIn(site),
              QStringList({"1000000000001.html", "4000000000004.html", "index.html"}));
}

// A saved profile fills every pane and leads straight to "Confirm".
TEST(ExportWizard, ReplaysASavedProfile)
{
    ExportFixture f;
    ExportProfile saved;
    saved.flags = ExportListedAlbums | ExportFormatAscii | ExportTrackTitles;
    saved.albumIds = {QStringLiteral("2000000000002"), QStringLiteral("1000000000001")};
    saved.outputFile = f.home.file(QStringLiteral("list.txt"));
    saved.fieldDelimiter = QStringLiteral(";");
    saved.templateName = QStringLiteral("Collection");
    ExportProfiles::save(f.settings.exportProfiles, QStringLiteral("Zed"), ExportProfile());
    ExportProfiles::save(f.settings.exportProfiles, QStringLiteral("Spreadsheet"), saved);
    ScriptedQuestionPort questions;
    TExportWizard wizard(*f.collection, f.settings, &questions, -1, QString());
    EXPECT_FALSE(wizard.groupChoice()->isEnabled());
    ASSERT_EQ(wizard.profileCombo()->count(), 3);
    EXPECT_EQ(wizard.profileCombo()->itemText(1), QStringLiteral("Spreadsheet"));
    wizard.profileCombo()->setCurrentIndex(1);
    next(wizard);
    ASSERT_EQ(wizard.currentPane(), wizard.confirmPane());
    EXPECT_TRUE(wizard.listChoice()->isChecked());
    EXPECT_TRUE(wizard.asciiFormat()->isChecked());
    EXPECT_TRUE(wizard.includeTracks()->isChecked());
    EXPECT_EQ(wizard.albumList()->albumIds(), saved.albumIds);
    EXPECT_EQ(wizard.profile().toText(), saved.toText());
    wizard.backButton()->click();
    EXPECT_EQ(wizard.currentPane(), wizard.filePane());
    next(wizard);
    wizard.finishButton()->click();

    const ExportResult result = runExport(f, wizard);
    ASSERT_TRUE(result.succeeded()) << result.error.toStdString();
    EXPECT_EQ(readFile(saved.outputFile),
              "AC/DC;Back in Black;Rock;Bob;1980;;Hells Bells,Shoot to Thrill\r\n"
              "The Beatles;Abbey Road;Rock;Ann;1969;;Come Together,Something,Track 3");
    EXPECT_EQ(ExportProfiles::names(f.settings.exportProfiles),
              QStringList({"Zed", "Spreadsheet"}));
}

// The checks on leaving a pane: repeated albums in the list, an empty file name.
TEST(ExportWizard, ChecksThePanes)
{
    ExportFixture f;
    ScriptedQuestionPort questions;
    TExportWizard wizard(*f.collection, f.settings, &questions, 2, QStringLiteral("Rock"));
    next(wizard);
    wizard.listChoice()->setChecked(true);
    EXPECT_TRUE(wizard.albumList()->isEnabled());
    wizard.albumList()->addAlbums({"1000000000001", "2000000000002", "1000000000001", "nope"});
    wizard.albumList()->addAlbums({"2000000000002"});
    ASSERT_EQ(wizard.albumList()->count(), 4);
    wizard.albumList()->item(3)->setSelected(true);
    wizard.albumList()->setFocus();
    QTest::keyClick(wizard.albumList(), Qt::Key_Delete);
    EXPECT_EQ(wizard.albumList()->count(), 3);

    wizard.show();
    const QDir out(TestHome::binaryDir());
    out.mkpath(QStringLiteral("screenshots"));
    EXPECT_TRUE(wizard.grab().save(out.filePath(QStringLiteral("screenshots/export-wizard.png"))));

    questions.answer(ResultYes);
    next(wizard);
    ASSERT_EQ(questions.asked().size(), 1);
    EXPECT_EQ(questions.asked().at(0).id, 12294);
    EXPECT_EQ(wizard.albumList()->albumIds(), QStringList({"1000000000001", "2000000000002"}));
    wizard.collectionFormat()->setChecked(true);
    next(wizard);
    ASSERT_EQ(wizard.currentPane(), wizard.filePane());
    wizard.fileEdit()->setText(QStringLiteral("   "));
    next(wizard);
    EXPECT_EQ(wizard.currentPane(), wizard.filePane());
    EXPECT_EQ(questions.asked().last().id, 12307);
    wizard.backButton()->click();
    EXPECT_EQ(wizard.currentPane(), wizard.formatPane());
}
