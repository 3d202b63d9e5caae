TYPE
  Entry = RECORD
    KEY id : longint;
    value : longint;
  ENDRECORD
ENDTYPE

procedure Main
  var i : longint; s : longint; a : array of longint; t : table of Entry; e : Entry; endvar
  for i := 0 to 199999
    a[i] := i * 2
  endfor
  for i := 0 to 199999
    s := s + a[i] % 10
  endfor
  for i := 1 to 50000
    e.id := i % 20000
    e.value := i
    writeRecord(t, e)
  endfor
  for i := 0 to 19999
    e.id := i
    setKeysFromRecord(t, e)
    if readRecord(t, e) then
      s := s + e.value % 10
    endif
  endfor
  writeln(s:0)
endproc
