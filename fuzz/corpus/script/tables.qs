// A TABLE keeps records sorted by their KEY members.

TYPE
  Album = RECORD
    KEY artist : string;
    KEY year : integer;
    title : string;
  ENDRECORD
ENDTYPE

VAR
  albums : TABLE OF Album;
  a : Album;
ENDVAR

procedure Add(artist : string; year : integer; title : string)
  a.artist := artist
  a.year := year
  a.title := title
  writeRecord(albums, a)
endproc

procedure Show
  writeln(a.artist, " ", a.year:0, " ", a.title)
endproc

procedure Main
  Add("Quartet", 1999, "Second")
  Add("Band", 2004, "Late")
  Add("Quartet", 1995, "First")
  Add("Band", 1990, "Early")
  forEachRecord(albums, a, "Show")

  a.artist := "Quartet"
  a.year := 1995
  setKeysFromRecord(albums, a)
  if readRecord(albums, a) then
    writeln("Found: ", a.title)
  endif
  if deleteRecord(albums) then
    writeln("Deleted the first Quartet album")
  endif
  if not recordExists(albums) then
    writeln("It is gone")
  endif
endproc
