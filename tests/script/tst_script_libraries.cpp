#include "script/ScriptedResponder.h"
#include "script/TDynaTable.h"
#include "ScriptHarness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class FakeClock : public ScriptClock
{
public:
    QDateTime current{QDate(2024, 3, 9), QTime(14, 5, 6, 789)};
    bool allowed = true;
    QDateTime now() const override { return current; }
    bool set(const QDateTime &t) override
    {
        if (allowed)
            current = t;
        return allowed;
    }
};

QString path(const QString &p)
{
    QString escaped = p;
    return QLatin1Char('\'') + escaped.replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

} // namespace

TEST(ScriptLibraries, Math)
{
    expectOutputs(
        {{QStringLiteral(
              "var i : integer; ok : boolean; endvar\n ok := TRUE\n"
              "for i := 1 to 50 do if random(1) <> 0 then ok := FALSE endif endfor\n"
              "if ok then writeln('zero') endif\n"
              "writeln(sqr(3):0, sqrt(2):6:3, exp(0):2, ln(exp(2)):2, log10(1000):2, log2(8):2)\n"
              "writeln(abs(-2.5):4:1, sin(0):2, cos(0):2, tan(0):2, arctan(0):2, arcsin(1) * "
              "2:6:3, "
              "arccos(1):2)\n"
              "writeln(trunc(-3.7):0, round(3.5):3, round(2.5):3, pi:6:3, cotan(pi / 4):4:1)"),
          QStringLiteral("zero\n9 1.414 1 2 3 3\n 2.5 0 1 0 0 3.142 0\n-3  4  2 3.142 1.0\n")}});
    ScriptHarness domain;
    EXPECT_FALSE(domain.runMain(QStringLiteral("writeln(arcsin(2))")));
    EXPECT_EQ(domain.error(), QStringLiteral("Invalid argument for arcsin."));
}

TEST(ScriptLibraries, StringsClampLikePascal)
{
    expectOutputs(
        {{QStringLiteral(
              "var s : string; r : real; n : integer; endvar\n"
              "writeln('[', copy('hello', 0, 2), '|', copy('hello', 4, 99), '|', copy('hello', 9, "
              "1), "
              "'|', copy('hello', 2, -1), ']')\n"
              "s := 'abc'\n insert('X', s, 0)\n insert('Y', s, 99)\n delete(s, 2, 1)\n delete(s, "
              "0, 5)\n "
              "delete(s, 3, 99)\n writeln(s)\n"
              "n := val('12x', r)\n write(n:0)\n n := val('1.5', r)\n writeln(n:2, r:4:1)\n"
              "writeln(pos('lo', 'hello'):0, pos('z', 'hello'):2, pos('', 'a'):2, length(''):2)\n"
              "writeln(intToStr(-12), strToInt(' 34 '):3, chr(72), ord('A'):3)\n"
              "str(42:5, s)\n writeln('[', s, ']')\n str(2.5:0:2, s)\n writeln(s)"),
          QStringLiteral("[he|lo||]\nXb\n3 0 1.5\n4 0 0 0\n-12 34H 65\n[   42]\n2.50\n")}});
}

TEST(ScriptLibraries, VarLibrary)
{
    expectOutputs(
        {{QStringLiteral(
              "var i : integer; a : array [-2 .. 4] of integer; o : array of string; endvar\n"
              "inc(i)\n inc(i, 10)\n dec(i, 3)\n o[7] := 'x'\n"
              "writeln(i:0, low(a):3, high(a):2, lowBound(a):3, highBound(o):2)"),
          QStringLiteral("8 -2 4 -2 7\n")}});
    ScriptHarness bad;
    EXPECT_FALSE(bad.runMain(QStringLiteral("var s : string; endvar\n inc(s)")));
    EXPECT_EQ(bad.error(), QStringLiteral("Variable Type Mismatch, Numeric expected."));
}

TEST(ScriptLibraries, FilesReturnResultCodes)
{
    QTemporaryDir dir;
    ScriptHarness h;
    const QString file = dir.filePath(QStringLiteral("out.txt"));
    EXPECT_TRUE(h.runMain(
        QStringLiteral(
            "var t : text; s : string; n : integer; r : byte; endvar\n"
            "assign(t, %1)\n r := rewrite(t)\n writeln(t, 'first')\n write(t, 7:3)\n writeln(t)\n "
            "r := close(t)\n"
            "r := append(t)\n writeln(t, 'last')\n r := closeFile(t)\n"
            "r := reset(t)\n readln(t, s)\n read(t, n)\n writeln(s, n + 1:3)\n"
            "while not eof(t) do readln(t, s) writeln('[', s, ']') endwhile\n r := close(t)\n"
            "assignFile(t, %2)\n writeln(reset(t) <> 0)\n")
            .arg(path(file), path(dir.filePath("missing.txt")))
            .replace(QStringLiteral("writeln(reset(t) <> 0)"),
                     QStringLiteral("if reset(t) <> 0 then writeln('missing') endif"))));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("first  8\n[]\n[last]\nmissing\n"));
}

TEST(ScriptLibraries, TablesKeepKeyOrderAndRoundTripThroughFiles)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("songs.tbl"));
    const QString types = QStringLiteral(
        "type\n Song = record\n key artist : string;\n key no : integer;\n title : string;\n"
        " length : real;\n cover : pointer;\n endrecord\nendtype\n"
        "var\n songs : table of Song;\n copyOf : table of Song;\n s : Song;\nendvar\n"
        "procedure Show\n writeln(s.artist, s.no:2, ' ', s.title, s.length:6:2)\nendproc\n");
    ScriptHarness h;
    EXPECT_TRUE(h.run(
        types + QStringLiteral(
                    "procedure Add(a : string; n : integer; t : string)\n s.artist := a\n s.no := "
                    "n\n s.title := t\n"
                    " s.length := n * 1.25\n writeRecord(songs, s)\nendproc\n"
                    "procedure Main\n Add('B', 2, 'b2')\n Add('A', 9, 'a9')\n Add('B', 1, 'b1')\n "
                    "Add('A', 9, 'again')\n"
                    " forEachRecord(songs, s, 'Show')\n saveTable(songs, %1)\n"
                    " s.artist := 'B'\n s.no := 1\n setKeysFromRecord(songs, s)\n"
                    " if recordExists(songs) then writeln('exists') endif\n"
                    " if deleteRecord(songs) then writeln('deleted') endif\n"
                    " if not readRecord(songs, s) then writeln('gone') endif\n"
                    " if loadTable(copyOf, %1) then forEachRecord(copyOf, s, Show) endif\n"
                    " s.artist := 'A'\n s.no := 9\n setKeysFromRecord(copyOf, s)\n s.title := ''\n"
                    " if readRecord(copyOf, s) then writeln(s.title) endif\nendproc")
                    .arg(path(file))));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output,
              QStringLiteral("A 9 again 11.25\nB 1 b1  1.25\nB 2 b2  2.50\nexists\ndeleted\ngone\n"
                             "A 9 again 11.25\nB 1 b1  1.25\nB 2 b2  2.50\nagain\n"));
    // 256 + 4 + 256 + 6 + 4 bytes a record; the pointer member is stored as NIL.
    EXPECT_EQ(QFileInfo(file).size(), 3 * 526);

    QFile broken(file);
    ASSERT_TRUE(broken.open(QIODevice::Append));
    broken.write("xx");
    broken.close();
    ScriptHarness bad;
    EXPECT_FALSE(bad.run(
        types + QStringLiteral("procedure Main\n if loadTable(songs, %1) then endif\nendproc")
                    .arg(path(file))));
    EXPECT_TRUE(
        bad.error().endsWith(QStringLiteral("File size is not a multiple of the record size")));

    ScriptHarness unknown;
    EXPECT_FALSE(unknown.run(
        types + QStringLiteral("procedure Main\n forEachRecord(songs, s, 'Nope')\nendproc")));
    EXPECT_EQ(unknown.error(), QStringLiteral("Procedure NOPE not defined."));
}

TEST(ScriptLibraries, Real48RoundTrip)
{
    for (double v : {0.0, 1.0, -1.0, 3.14159, 1e-30, -123456.789, 1e30}) {
        unsigned char bytes[6];
        encodeReal48(v, bytes);
        EXPECT_NEAR(decodeReal48(bytes), v, std::abs(v) * 1e-11) << v;
    }
}

TEST(ScriptLibraries, DatesUseTheEnginesClock)
{
    FakeClock clock;
    ScriptHarness h;
    h.engine.setClock(&clock);
    EXPECT_TRUE(h.runMain(QStringLiteral(
        "var y : word; m : word; d : word; w : word; j : longint; endvar\n"
        "GetDate(y, m, d, w)\n writeln(y:0, m:3, d:3, w:3)\n GetTime(y, m, d, w)\n writeln(y:0, "
        "m:3, d:3, w:4)\n"
        "writeln(GregToJul(1, 1, 2000):0)\n JulToGreg(2451545, m, d, y)\n writeln(m:0, d:2, y:5)\n"
        "j := GregToJul(3, 1, 2024) - GregToJul(2, 1, 2024)\n writeln(j:0)\n"
        "SetDate(2030, 12, 24)\n SetTime(8, 30, 0, 0)")));
    EXPECT_EQ(h.output, QStringLiteral("2024  3  9  7\n14  5  6 789\n2451545\n1 1 2000\n29\n"));
    EXPECT_EQ(clock.current, QDateTime(QDate(2030, 12, 24), QTime(8, 30, 0, 789)));
    clock.allowed = false;
    ScriptHarness denied;
    denied.engine.setClock(&clock);
    EXPECT_FALSE(denied.runMain(QStringLiteral("SetTime(1, 2, 3, 0)")));
    EXPECT_EQ(denied.error(), QStringLiteral("Not allowed to set the system clock."));
}

TEST(ScriptLibraries, Directories)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    ScriptHarness h;
    const QString sub = dir.filePath(QStringLiteral("sub"));
    EXPECT_TRUE(h.runMain(QStringLiteral("writeln(MKDir(%1):0, MKDir(%1):2)\n writeln(ChDir(%1):0, "
                                         "ChDir(%2):2)\n writeln(GetDir(0))\n"
                                         "writeln(ChDir(%3):0, RmKDir(%1):2, RmKDir(%1):2)")
                              .arg(path(sub), path(sub + "/none"), path(dir.path()))));
    QDir::setCurrent(previous);
    EXPECT_EQ(h.output, QStringLiteral("0 5\n0 3\n") + QDir(dir.path()).canonicalPath() +
                            QStringLiteral("/sub") + QStringLiteral("\n0 0 3\n"));
    EXPECT_FALSE(QFileInfo::exists(sub));
}

TEST(ScriptLibraries, SystemRoutinesAndIniFiles)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("app.ini"));
    ScriptedResponder responder(QStringList{QStringLiteral("yes")});
    ScriptHarness h;
    h.engine.setInteractivePort(&responder);
    EXPECT_TRUE(h.runMain(
        QStringLiteral("var f : string; endvar\n"
                       "writePrivateProfileString('Main', 'Count', '12', %1)\n"
                       "writePrivateProfileString('Other', 'Name', 'x', %1)\n"
                       "writePrivateProfileString('main', 'count', '13', %1)\n"
                       "writeln(getPrivateProfileInt('MAIN', 'COUNT', 0, %1):0, "
                       "getPrivateProfileInt('Main', 'none', 7, %1):2)\n"
                       "writeln(GetPrivateProfileString('Other', 'Name', 'd', %1), "
                       "GetPrivateProfileString('No', 'Name', 'd', %1))\n"
                       "if messageBox('Sure?', 'Title', mb_yesNo + mb_iconQuestion) = IDYES then "
                       "writeln('yes') endif\n"
                       "beep\n f := createTempFile\n if length(f) > 0 then writeln('temp') endif")
            .arg(path(ini))));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("13 7\nxd\nyes\ntemp\n"));
    EXPECT_EQ(responder.shown().value(0), QStringLiteral("messageBox Sure?|Title|36"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Main]\ncount=13\n[Other]\nName=x\n"));
}

TEST(ScriptLibraries, InteractiveRoutinesGoThroughThePort)
{
    ScriptedResponder responder(
        QStringList{QStringLiteral(""), QStringLiteral("0"), QStringLiteral("b")});
    ScriptHarness h;
    h.engine.setInteractivePort(&responder);
    EXPECT_TRUE(
        h.runMain(QStringLiteral("if ANSWER('Name?') then writeln('[', it, ']') endif\n"
                                 "writeln(CHOOSE('Pick', 'b', 'a', 'b', 'c'):0, ' ', it)\n"
                                 "clearChooseBox\n addChooseItem('x')\n addChooseItem('b')\n"
                                 "writeln(CHOOSEOPTION('Again', 'x'):0, ' ', it)\n"
                                 "writeln(CHOOSE('Cancelled', 'a', 'a'):0, '[', it, ']')\n"
                                 "if not ANSWER('More?') then writeln('cancel') endif")));
    EXPECT_EQ(h.errors, QStringList());
    EXPECT_EQ(h.output, QStringLiteral("[]\n0 a\n1 b\n-1[]\ncancel\n"));
    EXPECT_EQ(responder.shown().value(1), QStringLiteral("choose Pick|a,b,c|1"));

    ScriptHarness forms;
    EXPECT_TRUE(forms.runMain(
        QStringLiteral("var n : word; endvar\n CREATEFORM('Dlg', 'Caption', 10, 10, 200, 100)\n"
                       "n := ADDEDITBOX('Dlg', 'src', 'dst', 5, 5, 50, 12)\n write(n:0)\n"
                       "n := ADDSTATIC('Dlg', 'Label', 5, 20, 50, 12)\n writeln(n:2)\n"
                       "if not FORMDIALOG('Dlg') then writeln('cancelled') endif")));
    EXPECT_EQ(forms.output, QStringLiteral("1 2\ncancelled\n"));
    ScriptHarness noScreen;
    EXPECT_FALSE(noScreen.runMain(
        QStringLiteral("var n : word; endvar\n n := ADDSTATIC('None', 'x', 1, 1, 1, 1)")));
    EXPECT_EQ(noScreen.error(), QStringLiteral("Screen Specified Not Found."));
    ScriptHarness separator;
    EXPECT_FALSE(
        separator.runMain(QStringLiteral("var n : integer; endvar\n n := CHOOSE('a' 'b')")));
    EXPECT_EQ(separator.error(), QStringLiteral(", Expected."));
}
